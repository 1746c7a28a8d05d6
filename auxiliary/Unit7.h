// The information window TForm7. Windows layer (fylui).
#pragma once

#include "auxiliary/information.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace fyl {

struct AppState;
class Dialogs;
class Shell;

// The information window: the maker's contact lines, its e-mail and web address (opened by a
// double-click) and the version. Created once at start and only shown and hidden afterwards.
class TForm7 : public QWidget {
    Q_OBJECT
public:
    TForm7(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent = nullptr);

    void FormCreate();
    void Label2Click(); // double-click on the e-mail address
    void Label4Click(); // double-click on the web address
    void Button1Click();

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLink(QLabel* label, InformationLink link);

    AppState& state_;
    Dialogs& dialogs_;
    Shell& shell_;
};

} // namespace fyl
