// The ceiling-plan tool's window. Window layer of the ceiling-plan tool (QtWidgets): it binds the
// controls to the layout, the page and the writers.
#include "companions/deckenspiegel/planwindow.h"

#include "companions/deckenspiegel/ceilingoutput.h"
#include "companions/deckenspiegel/ceilingpage.h"
#include "frame/errors.h"
#include "widgets/screenfit.h"
#include "widgets/scrolledlayout.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace fyl::ceiling {

PlanView::PlanView(const CeilingExchange& x, const CeilingLayout& layout, QDate date, QWidget* parent)
    : QWidget(parent), x_(x), layout_(layout), date_(date) {
    // Narrower, the title block and the plan no longer fit side by side; lower, the title block
    // would be cut off. The window scrolls the plan where the screen is smaller.
    const int width = 780;
    const double dpi = logicalDpiX();
    const double least = ceilingPage(x_, layout_, {width, 500, dpi, false}, date_).leastHeight;
    setMinimumSize(width, std::max(500, static_cast<int>(std::ceil(least / 25.4 * dpi))));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintCeilingPlan(painter, {width(), height(), static_cast<double>(logicalDpiX()), false}, x_, layout_,
                     date_);
}

CeilingPlanWindow::CeilingPlanWindow(CeilingExchange x, const std::optional<LayoutExchange>& judged,
                                     const QString& sourcePath, const std::optional<QString>& projectFolder,
                                     QDate date)
    : x_(std::move(x)), layout_(planCeiling(x_, judged)), date_(date),
      lastFolder_(
          projectFolder.value_or(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))) {
    setWindowTitle(
        QStringLiteral("Deckenspiegel – %1 – %2")
            .arg(x_.project.isEmpty() ? x_.outletName : x_.project, QDir::toNativeSeparators(sourcePath)));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    // The plan scrolls where the screen is smaller than its least size; figures and buttons stay.
    column->addWidget(scrollingArea(new PlanView(x_, layout_, date_)), 1);
    figures_ = new QLabel(figuresLine(x_, layout_), central);
    figures_->setWordWrap(true);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!layout_.problem.isEmpty() || layout_.worst == Breach::Limit)
        figures_->setStyleSheet(QStringLiteral("color: #dc0000;"));
    column->addWidget(figures_);

    auto* buttons = new QHBoxLayout;
    pdfButton_ = new QPushButton(QStringLiteral("Als PDF speichern…"), central);
    pngButton_ = new QPushButton(QStringLiteral("Als PNG speichern…"), central);
    auto* quit = new QPushButton(QStringLiteral("Beenden"), central);
    buttons->addWidget(pdfButton_);
    buttons->addWidget(pngButton_);
    buttons->addStretch(1);
    buttons->addWidget(quit);
    column->addLayout(buttons);
    setCentralWidget(central);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* pdf =
        file->addAction(QStringLiteral("Als &PDF speichern…"), this, [this] { save(Format::Pdf); });
    QAction* png =
        file->addAction(QStringLiteral("Als P&NG speichern…"), this, [this] { save(Format::Png); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, this, &QWidget::close);
    connect(pdfButton_, &QPushButton::clicked, this, [this] { save(Format::Pdf); });
    connect(pngButton_, &QPushButton::clicked, this, [this] { save(Format::Png); });
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    // Without a layout there is no plan to keep.
    const bool savable = layout_.problem.isEmpty();
    pdf->setEnabled(savable);
    png->setEnabled(savable);
    pdfButton_->setEnabled(savable);
    pngButton_->setEnabled(savable);
    resize(1200, 800);
    // The plan follows the window's size, so a screen too small for it gets a smaller window.
    centreOnScreen(*this, nullptr, WhenTooLarge::Shrink);
}

void CeilingPlanWindow::save(Format format) {
    const bool pdf = format == Format::Pdf;
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    const QString base = x_.project.trimmed().isEmpty()
                             ? QStringLiteral("Deckenspiegel")
                             : QStringLiteral("Deckenspiegel %1").arg(x_.project.trimmed());
    QString path = QFileDialog::getSaveFileName(
        this, pdf ? QStringLiteral("Als PDF speichern") : QStringLiteral("Als PNG speichern"),
        QDir(lastFolder_).filePath(base + suffix),
        pdf ? QStringLiteral("PDF-Dokument (*.pdf)") : QStringLiteral("PNG-Bild (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    try {
        if (pdf)
            writeCeilingPlanPdf(path, x_, layout_, date_);
        else
            writeCeilingPlanPng(path, x_, layout_, date_);
        lastFolder_ = QFileInfo(path).absolutePath();
        statusBar()->showMessage(QStringLiteral("Gespeichert: %1").arg(QDir::toNativeSeparators(path)));
    } catch (const Error& e) {
        QMessageBox::critical(this, QStringLiteral("Deckenspiegel"), e.message());
    }
}

} // namespace fyl::ceiling
