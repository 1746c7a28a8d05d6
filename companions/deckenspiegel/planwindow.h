// The ceiling-plan tool's window: the plan scaled to the window, a line of figures and the
// commands to save it as PDF or PNG. Window layer of the ceiling-plan tool (QtWidgets).
#pragma once

#include "exchange/ceilinglayout.h"

#include <QDate>
#include <QMainWindow>

#include <optional>

class QAction;
class QLabel;
class QPushButton;

namespace fyl::ceiling {

// Paints the page laid out for its own size.
class PlanView : public QWidget {
    Q_OBJECT
public:
    PlanView(const CeilingExchange& x, const CeilingLayout& layout, QDate date, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CeilingExchange& x_;
    const CeilingLayout& layout_;
    QDate date_;
};

class CeilingPlanWindow : public QMainWindow {
    Q_OBJECT
public:
    // `projectFolder` is the working directory's project folder, where the save dialogs open;
    // without one they open in the planner's documents folder.
    // `judged`: the layout file that came with the exchange file, when one did.
    CeilingPlanWindow(CeilingExchange x, const std::optional<LayoutExchange>& judged,
                      const QString& sourcePath, const std::optional<QString>& projectFolder = std::nullopt,
                      QDate date = QDate::currentDate());

    QPushButton* pdfButton() const { return pdfButton_; }
    QPushButton* pngButton() const { return pngButton_; }
    QLabel* figures() const { return figures_; }

private:
    enum class Format { Pdf, Png };
    void save(Format format);

    CeilingExchange x_;
    CeilingLayout layout_;
    QDate date_;
    QString lastFolder_;
    QLabel* figures_ = nullptr;
    QPushButton* pdfButton_ = nullptr;
    QPushButton* pngButton_ = nullptr;
};

} // namespace fyl::ceiling
