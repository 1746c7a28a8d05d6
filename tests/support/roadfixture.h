// The planning road through the real windows, as the road tests share it: a new project with the
// room data panel open, driven as a planner drives it, on a copy of the built program directory.
// Test support.
#pragma once

#include "room/Unit1.h"
#include "results/Unit3.h"
#include "selection/Unit2.h"
#include "tests/support/mainwindowfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace fyl::test {

inline void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir())
            copyFolder(entry.filePath(), target);
        else {
            QFile::remove(target); // the built program's own files replace the fixture's stand-ins
            ASSERT_TRUE(QFile::copy(entry.filePath(), target)) << target.toStdString();
        }
    }
}

// The detail record fields every outlet of the tests' own catalogues shares: LWA = 20 lg V - 15.6.
inline QJsonObject outletCoefficients() {
    return QJsonObject{
        {"pressure_k", 0.001}, {"pressure_m", 2.0},      {"sound_a", 20.0},        {"sound_b", -15.6},
        {"decay_k", 0.0015},   {"decay_b", 1.0},         {"decay_a", 1.0},         {"free_jet_f", 0.7},
        {"detach_c", 0.02},    {"detach_temp_exp", 0.5}, {"detach_flow_exp", 1.0}, {"head_coef", 0.001},
        {"head_exp", 1.0},     {"pen_coef", 0.01},       {"pen_temp_exp", 0.5},    {"pen_flow_exp", 1.0},
        {"angle", 0.0},        {"buoyancy", 5000.0},     {"traj_exp", 3.0},        {"zone_coef", -1.0},
        {"spread", 24.0},      {"width_term", 0.05},     {"value_524", 0.1}};
}

// A new project with the room data panel open, driven as a planner drives it: keys, clicks and
// the scripted answers of the message boxes.
class RoadTest : public MainWindowFixture {
protected:
    void openWindows() {
        forms = start();
        main = forms->form1.get();
        selection = forms->form2.get();
        results = forms->form3.get();
        main->show();
        activate(main);
    }
    void startWindows() {
        openWindows();
        main->Neu1->trigger();
        main->Vorgaben1->trigger();
        ASSERT_TRUE(main->GroupBox3->isVisible());
        dialogs.shown.clear();
    }

    // Focus changes reach a window's fields only while it is the active one.
    void activate(QWidget* window) {
        QApplication::processEvents();
        if (!window->isActiveWindow()) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        }
    }
    // The planner enters a room field, types over its text and presses Enter.
    void enter(QLineEdit* edit, const QString& text) {
        activate(main);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Types into the calculation window's count field and presses Enter.
    void enterCount(const QString& text) {
        QLineEdit* count = edit(form3::Edit1);
        count->selectAll();
        QTest::keyClicks(count, text);
        QTest::keyClick(count, Qt::Key_Return);
    }
    // Clicks the item whose text, without its padding, is `text` or begins with it and a blank.
    void pick(QListWidget* list, const QString& text) {
        ASSERT_TRUE(list->isVisible() && list->isEnabled()) << list->objectName().toStdString();
        for (int i = 0; i < list->count(); ++i) {
            const QString item = list->item(i)->text().trimmed();
            if (item == text || item.startsWith(text + QLatin1Char(' '))) {
                list->scrollToItem(list->item(i));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(i)).center());
                return;
            }
        }
        FAIL() << list->objectName().toStdString() << " has no " << text.toStdString();
    }
    void press(QPushButton* button) {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // A click on one of the count bar's arrows.
    void clickArrow(QStyle::SubControl arrow) {
        QScrollBar* bar = results->ScrollBar1;
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.state |= QStyle::State_Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar).center());
    }
    void save(const QString& file) {
        dialogs.fileAnswers.push_back(file);
        main->Speichern1->trigger();
        ASSERT_TRUE(QFile::exists(file));
    }

    QString shown(form3::Control id) const {
        QWidget* w = results->widget(id);
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        return qobject_cast<QLineEdit*>(w)->text();
    }
    QLineEdit* edit(form3::Control id) const { return qobject_cast<QLineEdit*>(results->widget(id)); }
    bool red(form3::Control id) const {
        const QWidget* w = results->widget(id);
        const QPalette::ColorRole role = id == form3::Edit1 ? QPalette::Base : QPalette::WindowText;
        return w->palette().color(role) == QColor(Qt::red);
    }
    bool white(form3::Control id) const {
        return edit(id)->palette().color(QPalette::Base) == QColor(Qt::white);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList errors() const { return dialogs.texts(ScriptedDialogs::Shown::Kind::Error); }

    std::unique_ptr<Forms> forms;
    TForm1* main = nullptr;
    TForm2* selection = nullptr;
    TForm3* results = nullptr;
};

} // namespace fyl::test
