// The suggestion list of the selection window. Windows layer (fylui).
#include "selection/suggestionswindow.h"

#include "widgets/screenfit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace fyl {

namespace {

// A cell that sorts by the figure it shows ("9 Pa" before "10 Pa"), not by its text.
class SuggestionItem : public QTableWidgetItem {
public:
    SuggestionItem(const QString& text, std::optional<double> key) : QTableWidgetItem(text), key_(key) {}
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* o = dynamic_cast<const SuggestionItem*>(&other);
        if (o == nullptr || (!key_ && !o->key_))
            return QTableWidgetItem::operator<(other);
        if (!key_ || !o->key_)
            return !key_;
        return *key_ < *o->key_;
    }

private:
    std::optional<double> key_;
};

// Where a row's suggestion sits in the list, whatever the table is sorted by.
constexpr int kListIndexRole = Qt::UserRole + 1;

} // namespace

SuggestionsWindow::SuggestionsWindow(std::vector<Suggestion> list, QWidget* parent)
    : QDialog(parent), list_(std::move(list)) {
    setObjectName(QStringLiteral("SuggestionsWindow"));
    setWindowTitle(QStringLiteral("ZELK        Vorschläge"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1100, 560);

    summary = new QLabel(suggestionSummary(list_), this);
    summary->setWordWrap(true);

    const std::vector<SuggestionRow> rows = suggestionRows(list_);
    const QStringList columns = suggestionColumns();
    table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()), this);
    table->setObjectName(QStringLiteral("Vorschlaege"));
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->setWordWrap(false);
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < rows[r].cells.size(); ++c) {
            auto* item = new SuggestionItem(rows[r].cells[c], rows[r].sortKeys[static_cast<std::size_t>(c)]);
            item->setData(kListIndexRole, r);
            if (c != 1 && c != 3 && c != columns.size() - 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!rows[r].feasible)
                item->setForeground(grey);
            // The notes column shows a long note whole; every other cell the row's checks.
            if (c == columns.size() - 1 && !rows[r].cells[c].isEmpty())
                item->setToolTip(rows[r].cells[c] + QStringLiteral("\n\n") + rows[r].toolTip);
            else
                item->setToolTip(rows[r].toolTip);
            table->setItem(r, c, item);
        }
    }
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // Sorted by rank to begin with: enabling sorting sorts at once by the header's indicator. Before
    // the widths are fitted, so that the indicator's arrow does not cover a heading.
    table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->resizeColumnsToContents();
    // The reasons take the room that is left; a long one is cut and shown whole as a tool tip. The
    // window is as wide as the figures and a readable notes column need, as far as the screen allows.
    const int notes = static_cast<int>(columns.size()) - 1;
    int figuresWidth = 0;
    for (int c = 0; c < notes; ++c)
        figuresWidth += table->columnWidth(c);
    table->horizontalHeader()->setSectionResizeMode(notes, QHeaderView::Stretch);
    const int wanted = figuresWidth + 320 + table->verticalScrollBar()->sizeHint().width() + 40;
    const int available = screen() != nullptr ? screen()->availableGeometry().width() - 40 : wanted;
    resize(std::max(width(), std::min(wanted, available)), height());
    connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (const QTableWidgetItem* item = table->item(row, column))
            take(item->data(kListIndexRole).toInt());
    });

    closeButton = new QPushButton(QStringLiteral("Schließen"), this);
    closeButton->setAutoDefault(false); // Enter in the table must not close the list by accident
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    // Over the selection window, and never larger than the screen: the table scrolls instead.
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QPoint centre = owner != nullptr ? owner->frameGeometry().center() : pos();
    placeOnScreen(*this, centre - QPoint(width() / 2, height() / 2), WhenTooLarge::Shrink);
}

void SuggestionsWindow::take(int index) {
    if (index < 0 || index >= static_cast<int>(list_.size()))
        return;
    const Suggestion suggestion = list_[static_cast<std::size_t>(index)];
    const auto handler = chosen; // the window may be gone once it has closed
    close();
    if (handler)
        handler(suggestion);
}

} // namespace fyl
