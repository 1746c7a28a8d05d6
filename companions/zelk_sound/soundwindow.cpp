// The sound tool's window. Windows layer of the sound tool (QtWidgets).
#include "companions/zelk_sound/soundwindow.h"

#include "companions/zelk_sound/soundprint.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "widgets/screenfit.h"
#include "widgets/scrolledlayout.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace fyl::sound {

namespace {

const QString kNoValue = QStringLiteral("—");

// Long project texts wrap; the outlet's short figures stay on one line.
QGroupBox* rowsBox(const QString& title, const std::vector<SheetRow>& rows, bool wrap) {
    auto* box = new QGroupBox(title);
    auto* form = new QFormLayout(box);
    for (const SheetRow& row : rows) {
        auto* value = new QLabel(row.value);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(wrap);
        form->addRow(row.label.isEmpty() ? QString() : row.label + QLatin1Char(':'), value);
    }
    return box; // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks): the box owns its layout and labels
}

QString colourStyle(Rgb c, bool bold) {
    return QStringLiteral("color: rgb(%1, %2, %3);%4")
        .arg(int(c.r))
        .arg(int(c.g))
        .arg(int(c.b))
        .arg(bold ? QStringLiteral(" font-weight: bold;") : QString());
}

} // namespace

SoundWindow::SoundWindow(const SoundExchange& exchange, const WindowStart& start, Dialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), exchange_(exchange), pdfFolder_(start.pdfFolder), dialogs_(dialogs),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("SoundWindow"));
    setWindowTitle(QStringLiteral("ZELK FYL – Schallberechnung"));
    prepareSheetPrinter(*printer_);

    auto* title = new QLabel(QStringLiteral("Schallberechnung"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* source =
        new QLabel(QStringLiteral("Austauschdatei: ") + QDir::toNativeSeparators(start.exchangePath));
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    source->setStyleSheet(QStringLiteral("color: palette(dark);"));

    // The planner's choices.
    auto* inputs = new QGroupBox(QStringLiteral("Annahmen"));
    auto* inputForm = new QFormLayout(inputs);
    reverberationEdit = new QLineEdit(start.reverberation);
    reverberationEdit->setObjectName(QStringLiteral("reverberationEdit"));
    reverberationEdit->setToolTip(QStringLiteral("Nachhallzeit des Raumes, %1 bis %2 s")
                                      .arg(numbers::formatGeneral(kMinReverberationTime),
                                           numbers::formatGeneral(kMaxReverberationTime)));
    distanceEdit = new QLineEdit(start.distance);
    distanceEdit->setObjectName(QStringLiteral("distanceEdit"));
    distanceEdit->setToolTip(QStringLiteral("Abstand des Hörers (Kopf) vom nächsten Durchlass"));
    useBox = new QComboBox;
    useBox->setObjectName(QStringLiteral("useBox"));
    for (const RoomUseInfo& use : roomUses()) {
        useBox->addItem(QStringLiteral("%1 (%2 dB(A))")
                            .arg(QString::fromUtf8(use.name), numbers::formatGeneral(use.limit)),
                        static_cast<int>(use.use));
        if (use.use == start.use)
            useBox->setCurrentIndex(useBox->count() - 1);
    }
    inputForm->addRow(QStringLiteral("Nachhallzeit T [s]:"), reverberationEdit);
    inputForm->addRow(QStringLiteral("Abstand zum nächsten Durchlass r [m]:"), distanceEdit);
    inputForm->addRow(QStringLiteral("Raumnutzung:"), useBox);
    // Under the fields: their ranges, or in red why the typed values give no figures. Room for
    // the longest message is kept, so that the window does not jump while the planner types.
    messageLabel = new QLabel;
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel->setMinimumHeight(messageLabel->fontMetrics().lineSpacing() * 4);
    inputForm->addRow(messageLabel);

    // The figures: one label pair per row, filled by recompute().
    auto* results = new QGroupBox(QStringLiteral("Ergebnisse"));
    auto* resultForm = new QFormLayout(results);
    const std::size_t rowCount = resultRows(SoundFigures{}).size() + 3;
    for (std::size_t i = 0; i < rowCount; ++i) {
        auto* value = new QLabel(kNoValue);
        value->setObjectName(QStringLiteral("resultValue%1").arg(i));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(150);
        resultValues.push_back(value);
        resultForm->addRow(new QLabel, value);
    }

    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the group box owns the form and its labels
    auto* formulas = new QGroupBox(QStringLiteral("Formeln"));
    auto* formulaLayout = new QVBoxLayout(formulas);
    auto* formulaText = new QLabel(formulaLines().join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                                   noteLines().join(QLatin1Char('\n')));
    formulaText->setWordWrap(true);
    formulaText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    formulaLayout->addWidget(formulaText);

    auto* left = new QVBoxLayout;
    left->addWidget(rowsBox(QStringLiteral("Projekt"), projectRows(exchange_), true));
    left->addWidget(rowsBox(QStringLiteral("Durchlässe und Raum"), outletRows(exchange_), false));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(inputs);
    right->addWidget(results);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    printButton = new QPushButton(QStringLiteral("Drucken…"));
    printButton->setObjectName(QStringLiteral("printButton"));
    pdfButton = new QPushButton(QStringLiteral("Als PDF speichern…"));
    pdfButton->setObjectName(QStringLiteral("pdfButton"));
    closeButton = new QPushButton(QStringLiteral("Beenden"));
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(printButton);
    buttons->addWidget(pdfButton);
    buttons->addWidget(closeButton);

    // The figures scroll where the screen is smaller than they are; the buttons stay in sight.
    auto* body = new QWidget;
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addWidget(title);
    bodyLayout->addWidget(source);
    bodyLayout->addLayout(columns);
    bodyLayout->addWidget(formulas);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollingArea(body, this), 1);
    layout->addLayout(buttons);

    connect(reverberationEdit, &QLineEdit::textChanged, this, &SoundWindow::recompute);
    connect(distanceEdit, &QLineEdit::textChanged, this, &SoundWindow::recompute);
    connect(useBox, &QComboBox::currentIndexChanged, this, &SoundWindow::recompute);
    connect(printButton, &QPushButton::clicked, this, &SoundWindow::printClicked);
    connect(pdfButton, &QPushButton::clicked, this, &SoundWindow::pdfClicked);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    recompute();
}

SoundWindow::~SoundWindow() = default;

void SoundWindow::recompute() {
    choice_ = evaluateTyped(inputsFrom(exchange_), reverberationEdit->text(), distanceEdit->text(),
                            static_cast<RoomUse>(useBox->currentData().toInt()));
    const auto* figures = std::get_if<SoundFigures>(&choice_.outcome);
    std::vector<SheetRow> rows = resultRows(figures != nullptr ? *figures : SoundFigures{});
    rows.push_back(listenerRow(figures != nullptr ? *figures : SoundFigures{}));
    rows.push_back(
        {QStringLiteral("Richtwert ") + QString::fromUtf8(roomUseInfo(choice_.inputs.use).name),
         numbers::formatGeneral(roomUseInfo(choice_.inputs.use).limit) + QStringLiteral(" dB(A)")});
    rows.push_back({QStringLiteral("Bewertung"), figures != nullptr ? verdictText(*figures) : kNoValue});
    auto* form = qobject_cast<QFormLayout*>(resultValues.front()->parentWidget()->layout());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool keep = figures != nullptr || i + 2 == rows.size(); // the guide value holds without figures
        resultValues[i]->setText(keep ? rows[i].value : kNoValue);
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(resultValues[i])))
            label->setText(rows[i].label + QLatin1Char(':'));
    }
    // The listener level and the verdict stand out; the verdict in its colour.
    const std::size_t listener = rows.size() - 3, verdict = rows.size() - 1;
    resultValues[listener]->setStyleSheet(colourStyle(Rgb{}, true));
    resultValues[verdict]->setStyleSheet(figures != nullptr ? colourStyle(verdictColour(*figures), true)
                                                            : QString());
    messageLabel->setText(figures != nullptr ? inputRangeText(choice_.inputs)
                                             : std::get<QString>(choice_.outcome));
    messageLabel->setStyleSheet(figures != nullptr ? QStringLiteral("color: palette(dark);")
                                                   : colourStyle(Rgb{200, 0, 0}, false));
    printButton->setEnabled(figures != nullptr);
    pdfButton->setEnabled(figures != nullptr);
}

void SoundWindow::fitToScreen() {
    // Not adjustSize(): it keeps a window within two thirds of the screen.
    resize(sizeHint());
    centreOnScreen(*this, nullptr, WhenTooLarge::Shrink);
}

SoundSheet SoundWindow::sheet() const {
    return {exchange_, choice_.inputs, std::get<SoundFigures>(choice_.outcome), QDate::currentDate()};
}

void SoundWindow::printClicked() {
    if (!std::holds_alternative<SoundFigures>(choice_.outcome) || !dialogs_.printDialog(*printer_))
        return;
    runAction(dialogs_, [this] {
        QPainter painter;
        if (!painter.begin(printer_.get()))
            throw FileError(QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
        printSoundSheet(painter, sheet(), printer_->resolution());
        if (!painter.end())
            throw FileError(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden."));
    });
}

void SoundWindow::pdfClicked() {
    if (!std::holds_alternative<SoundFigures>(choice_.outcome))
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Als PDF speichern");
    request.folder = pdfFolder_;
    request.fileName = proposedPdfName(exchange_);
    request.filter = QStringLiteral("PDF (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    const auto path = dialogs_.saveFile(request);
    if (path)
        runAction(dialogs_, [&] { writeSoundSheetPdf(*path, sheet()); });
}

} // namespace fyl::sound
