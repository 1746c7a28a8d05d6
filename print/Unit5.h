// The print window TForm5. Windows layer (fylui).
#pragma once

#include "print/printchoices.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QPainter;
class QPrinter;
class QPushButton;

namespace fyl {

struct AppState;
class Dialogs;

// The print window: choice of the report pages. Created once at start and only shown and hidden
// afterwards.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    TForm5(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm5() override;

    // Draws the report onto the started print job, at the printer's resolution in dots per inch.
    // Unset, Button1 says the report cannot be printed yet instead of printing.
    std::function<void(QPainter&, const PrintChoices&, double dpi)> printPages;

    // Opening from the calculation window: CheckBox2 ticked and enabled, or unticked and disabled
    // when the picture page would show no temperature difference.
    void setPicturePageAvailable(bool available);
    PrintChoices choices() const;
    const QImage& logo() const { return logo_; }
    // The printer the dialog works on; it keeps the planner's choice between jobs.
    QPrinter& printer() { return *printer_; }

    void FormCreate();
    void Button1Click();
    void Button2Click();

    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    AppState& state_;
    Dialogs& dialogs_;
    std::unique_ptr<QPrinter> printer_;
    QImage logo_;
};

} // namespace fyl
