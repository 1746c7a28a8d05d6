// fyl-guideshots: plans an office through the real windows offscreen and saves the pictures the
// short guide shows. Build-time tool over the windows layer (fylui).
//
//   fyl-guideshots PROGRAMDIR OUTDIR
//
// The windows start in PROGRAMDIR as the program does; a temporary home and settings file keep the
// planner's own settings untouched, and the scripted dialogs answer instead of message boxes. A
// step that ends in an error box fails the tool, so the guide never shows a broken state.
#include "app/forms.h"
#include "flowsim/Unit4.h"
#include "frame/scripteddialogs.h"
#include "frame/workdir.h"
#include "print/Unit5.h"
#include "results/Unit3.h"
#include "room/Unit1.h"
#include "selection/Unit2.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWindow>

#include <memory>
#include <stdexcept>
#include <utility>

namespace {

using fyl::ScriptedDialogs;
using Kind = ScriptedDialogs::Shown::Kind;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The planner's keys and clicks, delivered to the widget through the application as the platform
// delivers them: shortcuts first, an ignored key passed on to the parent.

void sendKey(QWidget* widget, Qt::Key key, const QString& text) {
    QPointer<QWidget> alive(widget);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    // A handler of the key may have deleted the widget.
    if (alive.isNull())
        return;
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// The focus a press on the screen gives: to the first widget from the pressed one outwards that
// takes focus by click, unless one on the way has it already.
void giveClickFocus(QWidget* widget, QPoint pos) {
    const auto takesClickFocus = [](QWidget* w) {
        QWidget* proxy = w;
        while (proxy->focusProxy() != nullptr)
            proxy = proxy->focusProxy();
        return (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus &&
               (proxy->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus;
    };
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->isEnabled() && w->rect().contains(pos) && takesClickFocus(w)) {
            w->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (w->isWindow() || (w->focusProxy() != nullptr ? w->focusProxy() : w)->hasFocus())
            return;
        pos += w->pos();
    }
}

// A click of the left button at `pos`, the widget's centre when none is given.
void sendClick(QWidget* widget, QPoint pos = {}) {
    if (pos.isNull())
        pos = widget->rect().center();
    giveClickFocus(widget, pos);
    const QPointF inWindow = widget->mapTo(widget->window(), QPointF(pos));
    const QPointF onScreen = widget->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, pos, inWindow, onScreen, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, inWindow, onScreen, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// Activation on the platform is asynchronous; waits up to five seconds for it.
bool waitUntilActive(QWidget* widget) {
    const auto active = [widget] {
        const QWindow* handle = widget->window()->windowHandle();
        return handle != nullptr && handle->isActive();
    };
    if (widget->window()->windowHandle() == nullptr)
        return false;
    const QDeadlineTimer deadline(5000);
    while (!active() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(10);
    }
    return active();
}

class Planner {
public:
    Planner(fyl::Forms& forms, ScriptedDialogs& dialogs, const QString& outDir)
        : forms_(forms), dialogs_(dialogs), outDir_(outDir) {}

    // Focus changes reach a window's fields only while it is the active one.
    void activate(QWidget* window) {
        QApplication::processEvents();
        if (!window->isActiveWindow()) {
            window->activateWindow();
            if (!waitUntilActive(window))
                throw Failure("window " + window->objectName().toStdString() + " does not become active");
        }
    }
    // Enters a field, types over its text and presses Enter, as the planner does.
    void enter(QLineEdit* edit, const QString& text) {
        activate(edit->window());
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        typeText(edit, text);
        sendKey(edit, Qt::Key_Return, QStringLiteral("\r"));
        check(edit->objectName());
    }
    // A project text: typed, no action behind it.
    void type(QWidget* edit, const QString& text) {
        edit->setFocus(Qt::TabFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(edit))
            line->selectAll();
        typeText(edit, text);
    }
    // Key by key, umlauts included: the key of a letter is its capital.
    static void typeText(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            if (c == QLatin1Char('\n'))
                sendKey(widget, Qt::Key_Return, QStringLiteral("\r"));
            else
                sendKey(widget, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c));
        }
    }
    void pick(QListWidget* list, const QString& text) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().trimmed() == text) {
                list->scrollToItem(list->item(i));
                sendClick(list->viewport(), list->visualItemRect(list->item(i)).center());
                check(list->objectName() + QLatin1Char(' ') + text);
                return;
            }
        }
        throw Failure(list->objectName().toStdString() + " offers no " + text.toStdString());
    }
    void press(QPushButton* button) {
        if (!button->isVisible() || !button->isEnabled())
            throw Failure("button " + button->text().toStdString() + " cannot be pressed");
        sendClick(button);
        check(button->text());
    }
    // What the next file dialog answers.
    void answerFile(const QString& path) { dialogs_.fileAnswers.push_back(path); }
    void trigger(QAction* action) {
        action->trigger();
        check(action->text());
    }
    void click(QAbstractButton* box) {
        sendClick(box, QPoint(8, box->height() / 2));
        check(box->text());
    }
    // The window, or its top left part up to `size` (window coordinates).
    void save(QWidget* window, const char* name, QSize size = {}) {
        QApplication::processEvents();
        if (!window->isVisible())
            throw Failure(std::string(name) + ": the window is not open");
        const QPixmap shot = size.isValid() ? window->grab(QRect(QPoint(0, 0), size)) : window->grab();
        write(shot.toImage(), name);
    }
    // One page of the report as the print window prints it, on A4 at 300 dpi, reduced for the guide.
    void saveReportPage(fyl::TForm5& print, bool dataPage, const char* name) {
        QImage page(2480, 3508, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        fyl::PrintChoices choices = print.choices();
        choices.dataPage = dataPage;
        choices.picturePage = !dataPage;
        print.printPages(painter, choices, 300);
        painter.end();
        // Reduced, and framed so that the white sheet stands out on the white page of the guide.
        QImage sheet = page.scaledToWidth(1240, Qt::SmoothTransformation);
        QPainter frame(&sheet);
        frame.setPen(QPen(QColor(150, 150, 150), 3));
        frame.drawRect(QRectF(1.5, 1.5, sheet.width() - 3, sheet.height() - 3));
        frame.end();
        write(sheet, name);
    }

private:
    void write(const QImage& image, const char* name) {
        if (!image.save(QDir(outDir_).filePath(QString::fromLatin1(name) + QStringLiteral(".png")), "PNG"))
            throw Failure(std::string("cannot write ") + name);
    }
    // The guide shows the road without failures: an error box ends the run.
    void check(const QString& step) {
        QApplication::processEvents();
        const QStringList errors = dialogs_.texts(Kind::Error);
        if (!errors.isEmpty())
            throw Failure(step.toStdString() + ": " + errors.join(QStringLiteral("; ")).toStdString());
    }

    fyl::Forms& forms_;
    ScriptedDialogs& dialogs_;
    QString outDir_;
};

// An office of 6 × 8 × 3 m with five air changes, cooled from 26 °C with supply air of 18 °C,
// planned with four ceiling diffusers DRL 400 blowing along the ceiling.
void planOffice(fyl::Forms& forms, Planner& p, const QString& workingDir) {
    fyl::TForm1& main = *forms.form1;
    main.show();
    p.activate(&main);
    p.trigger(main.Neu1);
    // The main window's pictures end a little beside and below the panel; the rest is background.
    const QPoint panelCorner = main.centralWidget()->pos() + QPoint(12, 12);

    p.trigger(main.Projektdaten1);
    const std::pair<QLineEdit*, const char*> project[] = {{main.Edit15, "Verwaltungsgebäude Nord, Büro 2.14"},
                                                          {main.Edit16, "2024-031"},
                                                          {main.Edit18, "Planungsbüro Beispiel"},
                                                          {main.Edit19, "Am Lüftungsweg 4"},
                                                          {main.Edit20, "12345 Musterstadt"},
                                                          {main.Edit23, "M. Mustermann"},
                                                          {main.Edit24, "TGA-Planung"}};
    for (const auto& [edit, text] : project)
        p.type(edit, QString::fromUtf8(text));
    p.type(main.Memo1,
           QStringLiteral("Zuluft über die abgehängte Decke,\nAbluft über Überströmer zum Flur."));
    const QString plan = QDir(workingDir).filePath(QStringLiteral("Projekte/Plan.pdf"));
    QFile(plan).open(QIODevice::WriteOnly);
    p.answerFile(plan);
    p.press(main.Add1);
    main.Memo1->clearFocus();
    p.save(&main, "projektdaten", main.GroupBox1->size() + QSize(panelCorner.x(), panelCorner.y()));

    p.trigger(main.Vorgaben1);
    // Width and length, the air change rate, then room and supply temperature: the cooling load follows.
    const std::pair<QLineEdit*, const char*> room[] = {
        {main.Edit4, "6"}, {main.Edit5, "8"}, {main.Edit6, "5"}, {main.Edit12, "26"}, {main.Edit13, "18"}};
    for (const auto& [edit, text] : room)
        p.enter(edit, QString::fromUtf8(text));
    main.Edit13->clearFocus();
    p.save(&main, "raumdaten", QSize(main.width(), main.GroupBox3->height() + panelCorner.y()));

    p.press(main.BitBtn1);
    fyl::TForm2& selection = *forms.form2;
    p.pick(selection.listbox1, QStringLiteral("Deckendurchlässe"));
    p.pick(selection.ListBox8, QStringLiteral("DRL"));
    p.save(&selection, "auswahl");

    // DRL 400 offers one jet form, which the selection takes at once.
    p.pick(selection.ListBox9, QStringLiteral("DRL 400"));
    p.press(selection.weiter);
    // Four outlets, set as the planner sets them: the count only takes effect when it changes.
    fyl::TForm3& results = *forms.form3;
    auto* count = qobject_cast<QLineEdit*>(results.widget(fyl::form3::Edit1));
    p.enter(count, QStringLiteral("5"));
    p.enter(count, QStringLiteral("4"));
    count->clearFocus();
    p.save(&results, "berechnung");

    p.trigger(qobject_cast<QAction*>(results.control(fyl::form3::Raumschnitt1)));
    fyl::TForm4& section = *forms.form4;
    // Four outlets in two rows: the section along the 8 m length, 4 m between the outlets.
    auto* spacing = qobject_cast<QLineEdit*>(section.widget(fyl::form4::Edit2));
    p.enter(spacing, QStringLiteral("4"));
    p.click(section.CheckBox2);
    spacing->clearFocus();
    p.save(&section, "raumschnitt");

    p.trigger(qobject_cast<QAction*>(results.control(fyl::form3::Drucken1)));
    p.save(forms.form5.get(), "drucken");
    p.saveReportPage(*forms.form5, true, "bericht1");
    p.saveReportPage(*forms.form5, false, "bericht2");
}

} // namespace

int main(int argc, char* argv[]) {
    // Offscreen, and at twice the screen's pixel density so that the pictures stay sharp on paper.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    // The attachment's path shows this folder's name.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/planer-XXXXXX"));
    if (!home.isValid()) {
        QTextStream(stderr) << "fyl-guideshots: no temporary folder\n";
        return 1;
    }
    // Nothing of this run may reach the planner's own settings or folders.
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, home.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        err << "usage: fyl-guideshots PROGRAMDIR OUTDIR\n";
        return 2;
    }
    const QString outDir = QDir(args[2]).absolutePath();
    QDir().mkpath(outDir);
    if (!QDir::setCurrent(args[1])) {
        err << "fyl-guideshots: no program directory " << args[1] << "\n";
        return 1;
    }

    auto settings =
        std::make_unique<QSettings>(home.filePath(QStringLiteral("zol.ini")), QSettings::IniFormat);
    settings->setValue(QString::fromLatin1(fyl::kWorkingDirectoryKey), home.filePath(QStringLiteral("ZELK")));
    ScriptedDialogs dialogs;
    fyl::RecordingShell shell;
    try {
        fyl::Forms forms(std::move(settings), dialogs, shell);
        Planner planner(forms, dialogs, outDir);
        planOffice(forms, planner, home.filePath(QStringLiteral("ZELK")));
    } catch (const std::exception& e) {
        err << "fyl-guideshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
