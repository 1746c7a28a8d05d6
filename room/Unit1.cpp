// The main window TForm1: room and project data panels over the background picture, and the
// menus. Windows layer (fylui).
#include "room/Unit1.h"

#include "catalogue/loaders.h"
#include "drawing/picture.h"
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/files.h"
#include "frame/workdir.h"
#include "room/appstate.h"
#include "room/mainwindowcontent.h"
#include "room/mainwindowtexts.h"
#include "widgets/screenfit.h"
#include "widgets/scrolledlayout.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <iterator>

namespace fyl {

namespace {

// Lets the attachment list scroll sideways over a fixed extent, so long paths can be read.
class HorizontalExtentDelegate : public QStyledItemDelegate {
public:
    HorizontalExtentDelegate(int extent, QObject* parent) : QStyledItemDelegate(parent), extent_(extent) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::max(size.width(), extent_));
        return size;
    }

private:
    int extent_;
};

const QColor kPanelColour(221, 215, 208);

// The letter Alt opens each menu and command with; the texts come from the text table, so the
// mark is put in front of that letter's first appearance.
QString withMnemonic(const QString& objectName, const QString& text) {
    static const std::pair<const char*, char> letters[] = {
        {"Projekt1", 'P'},      {"Neu1", 'N'},     {"Laden1", 'L'}, {"Speichern1", 'S'},
        {"Beenden1", 'B'},      {"Info1", 'I'},    {"Hilfe2", 'H'}, {"Kurzanleitung1", 'K'},
        {"Projektdaten1", 'd'}, {"Vorgaben1", 'R'}};
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    for (const auto& [name, letter] : letters) {
        if (objectName != QLatin1String(name))
            continue;
        const qsizetype at = escaped.indexOf(QLatin1Char(letter), 0, Qt::CaseInsensitive);
        if (at >= 0)
            escaped.insert(at, QLatin1Char('&'));
    }
    return escaped;
}

// The one place where the documented control names meet the room fields they show.
struct RoomFieldControl {
    QLineEdit* TForm1::*edit;
    const char* name;
    RoomField field;
};
constexpr RoomFieldControl kRoomFieldControls[] = {
    {&TForm1::Edit4, "Edit4", RoomField::Width},
    {&TForm1::Edit5, "Edit5", RoomField::Length},
    {&TForm1::Edit2, "Edit2", RoomField::Height},
    {&TForm1::Edit1, "Edit1", RoomField::FloorArea},
    {&TForm1::Edit3, "Edit3", RoomField::Volume},
    {&TForm1::Edit6, "Edit6", RoomField::AirChangeRate},
    {&TForm1::edit7, "edit7", RoomField::VolumeFlow},
    {&TForm1::Edit8, "Edit8", RoomField::VelocityLimit},
    {&TForm1::Edit9, "Edit9", RoomField::HeadHeight},
    {&TForm1::Edit10, "Edit10", RoomField::MountingHeight},
    {&TForm1::Edit11, "Edit11", RoomField::CoolingLoad},
    {&TForm1::Edit12, "Edit12", RoomField::RoomTemperature},
    {&TForm1::Edit13, "Edit13", RoomField::SupplyTemperature},
    {&TForm1::Edit14, "Edit14", RoomField::MaxSoundPowerLevel},
};
// Every field once, in its order: a field without its control would leave a null in roomEdits_.
static_assert(std::size(kRoomFieldControls) == kRoomFieldCount);
static_assert([] {
    for (std::size_t i = 0; i < std::size(kRoomFieldControls); ++i)
        if (static_cast<std::size_t>(kRoomFieldControls[i].field) != i)
            return false;
    return true;
}());

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 230) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, 24);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 110) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(x, y, w, 26);
    return edit;
}

QGroupBox* makePanel(QWidget* parent, const char* name, const QString& title, int w, int h,
                     const QString& hint) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(0, 0, w, h);
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, kPanelColour);
    box->setPalette(pal);
    QFont font = box->font();
    font.setBold(true);
    font.setPixelSize(15);
    box->setFont(font);
    box->setToolTip(hint);
    return box;
}

} // namespace

TForm1::TForm1(AppState& state, Dialogs& dialogs, Shell& shell, QSettings& settings, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), shell_(shell), settings_(settings),
      model_({state.record, state.flags, state.working, state.calcStatus, state.texts, dialogs, shell,
              state.folders, state.demoPictures}) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(title_);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(799, 559);
    Image1 = new StretchedImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    QPalette pal = Image1->palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 255)); // aqua, seen while no picture is loaded
    Image1->setPalette(pal);
    Image1->setAutoFillBackground(true);
    setCentralWidget(Image1);

    buildMenus();
    buildRoomPanel();
    buildProjectPanel();
    bindModel();
    scrollCentralWidget(*this);

    centreOnScreen(*this, QGuiApplication::primaryScreen(), WhenTooLarge::Shrink);
    FormCreate();
}

void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();
    // The empty items only space the menus out; narrow padding keeps the info menu on the bar.
    bar->setStyleSheet(QStringLiteral("QMenuBar::item { padding: 3px 5px; }"));
    auto spacers = [bar](int count) {
        for (int i = 0; i < count; ++i)
            bar->addAction(QString());
    };
    Projekt1 = bar->addMenu(QStringLiteral("Projekt"));
    Projekt1->setObjectName(QStringLiteral("Projekt1"));
    auto item = [](QMenu* menu, const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Neu1 = item(Projekt1, "Neu1", QStringLiteral("Neu"));
    Laden1 = item(Projekt1, "Laden1", QStringLiteral("Laden"));
    recentMenu_ = Projekt1->addMenu(QStringLiteral("&zuletzt geöffnet"));
    recentMenu_->setObjectName(QStringLiteral("recentProjects"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &TForm1::fillRecentMenu);
    Speichern1 = item(Projekt1, "Speichern1", QStringLiteral("Speichern"));
    Beenden1 = item(Projekt1, "Beenden1", QStringLiteral("Beenden"));
    connect(Beenden1, &QAction::triggered, this, &QWidget::close);
    Neu1->setShortcut(QKeySequence::New);
    Laden1->setShortcut(QKeySequence::Open);
    Speichern1->setShortcut(QKeySequence::Save);
    Beenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // F10 opens the menu bar, as on other desktops.
    new QShortcut(QKeySequence(Qt::Key_F10), this,
                  [this] { // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks): owned by the window
                      menuBar()->setActiveAction(Projekt1->menuAction());
                  });
    spacers(4);
    Projektdaten1 = bar->addAction(QStringLiteral("Projektdaten"));
    Projektdaten1->setObjectName(QStringLiteral("Projektdaten1"));
    spacers(3);
    Vorgaben1 = bar->addAction(QString());
    Vorgaben1->setObjectName(QStringLiteral("Vorgaben1"));
    spacers(24);
    Demo1 = bar->addAction(QStringLiteral(" "));
    Demo1->setObjectName(QStringLiteral("Demo1"));
    spacers(1);
    Demo2 = bar->addAction(QStringLiteral("Demo"));
    Demo2->setObjectName(QStringLiteral("Demo2"));
    Demo2->setVisible(false);
    spacers(4);
    Info1 = bar->addMenu(QString());
    Info1->setObjectName(QStringLiteral("Info1"));
    Info1->menuAction()->setObjectName(QStringLiteral("Info1Action"));
    Hilfe2 = item(Info1, "Hilfe2", QStringLiteral("Hilfe"));
    Kurzanleitung1 = item(Info1, "Kurzanleitung1", QStringLiteral("Kurzanleitung"));
    Kurzanleitung1->setShortcut(QKeySequence::HelpContents);
    // The project commands and the guide answer their keys in every window of the program: a
    // planner in the calculation window saves with Ctrl+S too.
    for (QAction* command : {Neu1, Laden1, Speichern1, Beenden1, Kurzanleitung1})
        command->setShortcutContext(Qt::ApplicationShortcut);
}

void TForm1::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = recentProjects(settings_);
    for (const QString& path : recent) {
        QAction* open = recentMenu_->addAction(
            QFileInfo(path).fileName().replace(QLatin1Char('&'), QStringLiteral("&&")));
        open->setToolTip(QDir::toNativeSeparators(path));
        connect(open, &QAction::triggered, this, [this, path] { openProject(path); });
    }
    if (recent.isEmpty())
        recentMenu_->addAction(QStringLiteral("(keine)"))->setEnabled(false);
}

void TForm1::rememberProjectFile(const QString& before) {
    const QString now = model_.state().projectFile;
    if (!now.isEmpty() && now != before)
        rememberProject(settings_, now);
}

void TForm1::buildRoomPanel() {
    GroupBox3 = makePanel(Image1, "GroupBox3", QStringLiteral("Raumdaten / Vorgaben"), 785, 385,
                          QStringLiteral("Schliessen durch Anklicken oder über Projektvorgabenschalter"));
    QWidget* p = GroupBox3;
    // The right column's labels run up to their fields: "zul. Luftgeschwindigkeit :" needs all of it.
    const int lx = 16, ex = 236, rx = 382, rex = 608, ux = 724;
    auto row = [](int i) { return 36 + i * 34; };
    makeLabel(p, "Label3", QStringLiteral("mittlere Raumbreite [m]"), lx, row(0));
    Edit4 = makeEdit(p, "Edit4", QStringLiteral("10"), ex, row(0));
    makeLabel(p, "Label4", QStringLiteral("mittlere Raumlänge [m]"), lx, row(1));
    Edit5 = makeEdit(p, "Edit5", QStringLiteral("10"), ex, row(1));
    makeLabel(p, "Label1", QStringLiteral("Raumhöhe [m]"), lx, row(2));
    Edit2 = makeEdit(p, "Edit2", QStringLiteral("3"), ex, row(2));
    makeLabel(p, "Raumflaeche", QStringLiteral("Grundfläche [m²]"), lx, row(3));
    Edit1 = makeEdit(p, "Edit1", QStringLiteral("100"), ex, row(3));
    makeLabel(p, "Label2", QStringLiteral("Raumvolumen [m³]"), lx, row(4));
    Edit3 = makeEdit(p, "Edit3", QStringLiteral("300"), ex, row(4));
    CheckBox1 = new QCheckBox(QStringLiteral("Eingabe der Fläche bzw. des Volumens"), p);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(lx, row(5) + 8, 360, 26);
    CheckBox1->setToolTip(QStringLiteral("Bei Eingabe der Fläche sind die Grundrechenarten verfügbar !!"));

    struct RightRow {
        const char* label;
        QString labelText;
        QLineEdit** edit;
        const char* editName;
        QString value;
        const char* unit;
        QString unitText;
    };
    const RightRow rows[] = {
        {"Label6", QStringLiteral("Luftwechselzahl  :"), &Edit6, "Edit6", QStringLiteral("10"), nullptr, {}},
        {"Label7", QStringLiteral(":"), &edit7, "edit7", QStringLiteral("3000"), "Label15",
         QStringLiteral("m³ / h")},
        {"Label8", QString(), &Edit8, "Edit8", QStringLiteral("0,2"), "Label17", QStringLiteral("m / s")},
        {"Label9", QStringLiteral("Kopfhöhe :"), &Edit9, "Edit9", QStringLiteral("1,80"), "Label18",
         QStringLiteral("m")},
        {"Label10", QStringLiteral("Einbauhöhe :"), &Edit10, "Edit10", QStringLiteral("3,00"), "Label19",
         QStringLiteral("m")},
        {"Label11", QStringLiteral("trockene Kühllast :"), &Edit11, "Edit11", QStringLiteral("0,0"),
         "Label21", QStringLiteral("KW")},
        {"Label20", QStringLiteral("Raumtemperatur :"), &Edit12, "Edit12", QStringLiteral("20,0"), "Label22",
         QStringLiteral("°C")},
        {"Label12", QStringLiteral("Zulauftemperatur :"), &Edit13, "Edit13", QStringLiteral("20,0"),
         "Label23", QStringLiteral("°C")},
        {"Label13", QStringLiteral("max. Schallleistungsp. :"), &Edit14, "Edit14", QStringLiteral("35,0"),
         "Label24", QStringLiteral("dB")},
    };
    int i = 0;
    for (const RightRow& r : rows) {
        makeLabel(p, r.label, r.labelText, rx, row(i), rex - rx - 2);
        *r.edit = makeEdit(p, r.editName, r.value, rex, row(i));
        if (r.unit != nullptr)
            makeLabel(p, r.unit, r.unitText, ux, row(i), 56);
        ++i;
    }
    BitBtn1 = new QPushButton(QStringLiteral("weiter"), p);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(640, 344, 120, 32);
    BitBtn1->setToolTip(QStringLiteral("Schaltet das Auswahl- bzw. das Berechnungsfenster"));
    GroupBox3->hide();
}

void TForm1::buildProjectPanel() {
    GroupBox1 = makePanel(Image1, "GroupBox1", QStringLiteral("Projektdaten"), 625, 393,
                          QStringLiteral("Schliessen durch Anklicken oder über Projektdatenschalter"));
    QWidget* p = GroupBox1;
    const int lx = 12, ex = 194;
    makeLabel(p, "Label25", QStringLiteral("Projektbezeichnung:"), lx, 30, 180);
    Edit15 = makeEdit(p, "Edit15", QString(), ex, 30, 418);
    makeLabel(p, "Label26", QStringLiteral("Nummer:"), lx, 60, 156);
    Edit16 = makeEdit(p, "Edit16", QString(), ex, 60, 160);
    makeLabel(p, "Label27", QStringLiteral("Datum:"), 350, 60, 60);
    Edit17 = makeEdit(p, "Edit17", QString(), 420, 60, 110);
    makeLabel(p, "Label28", QStringLiteral("Kontakt-"), lx, 92, 156);
    makeLabel(p, "Label29", QStringLiteral("Adresse"), lx, 114, 156);
    QLineEdit** address[] = {&Edit18, &Edit19, &Edit20, &Edit21, &Edit22};
    const char* addressNames[] = {"Edit18", "Edit19", "Edit20", "Edit21", "Edit22"};
    for (int i = 0; i < 5; ++i)
        *address[i] = makeEdit(p, addressNames[i], QString(), ex, 92 + 24 * i, 260);
    makeLabel(p, "Label30", QStringLiteral("Bearbeiter:"), lx, 216, 156);
    Edit23 = makeEdit(p, "Edit23", QString(), ex, 216, 260);
    Edit24 = makeEdit(p, "Edit24", QString(), ex, 240, 260);
    makeLabel(p, "Label31", QStringLiteral("Anmerkung:"), lx, 272, 156);
    Memo1 = new QPlainTextEdit(p);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(ex, 272, 418, 112);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setToolTip(QStringLiteral("Text-Eingabe bis zu 25 Zeilen !"));
    QFont plain = Memo1->font();
    plain.setBold(false);
    Memo1->setFont(plain);

    makeLabel(p, "Label5", QStringLiteral("Anlagen"), 462, 92, 150);
    ListBox1 = new QListWidget(p);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(462, 116, 150, 76);
    ListBox1->setFont(plain);
    auto button = [p, &plain](const char* name, const QString& text, int x, int y, int w) {
        auto* b = new QPushButton(text, p);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, y, w, 24);
        b->setFont(plain);
        return b;
    };
    // Under the list, each across its width: the German words and a file name need it.
    Add1 = button("Add1", QStringLiteral("Hinzufügen"), 462, 194, 150);
    Del1 = button("Del1", QStringLiteral("Entfernen"), 462, 219, 150);
    Run1 = button("Run1", QString(), 462, 244, 150);
    GroupBox1->hide();
}

void TForm1::FormCreate() {
    runAction(dialogs_, [this] {
        ListBox1->setItemDelegate(new HorizontalExtentDelegate(1000, ListBox1)); // 1
        GroupBox1->hide();                                                       // 2
        GroupBox3->hide();
        state_.record.continueUsed = 0; // 3
        state_.flags.loadedWithResults = false;
        state_.record.dimensionsEntered = 0;
        state_.record.unusedFlag4182 = 0;
        Memo1->clear();                   // 4
        state_.flags.freshProject = true; // 5
        ResetRecord(state_.record);       // 6
        FillWindowFromRecord();
        refresh();
        state_.folders.program = QDir::toNativeSeparators(QDir::currentPath());                       // 7
        Image1->setImage(loadPicture(joinPath(state_.folders.program, QStringLiteral("\\fyl.jpg")))); // 8
        LoadTextTable();                                                                              // 9
        state_.selectionCounters = {0, 0};                                                            // 10
        LoadCatalogue(state_.catalogue, state_.folders.program);                                      // 11
        state_.flags.freshProject = true;                                                             // 12
        model_.setMenusEnabled(false);                                                                // 13
        refresh();
        SetUpWorkingDirectory(settings_, state_.texts, dialogs_, state_.folders); // 14
    });
    // Whatever the start-up got to, nothing the planner made is there yet.
    model_.takeAsUnchanged();
    markChanges();
}

void TForm1::setDisplayText(const char* objectName, const QString& text) {
    const QString name = QString::fromLatin1(objectName);
    if (name == QLatin1String("TForm1")) {
        title_ = text;
        markChanges();
    } else if (name == QLatin1String("SaveDialog1")) {
        saveDialog1Title = text;
    } else if (auto* menu = findChild<QMenu*>(name)) {
        menu->setTitle(withMnemonic(name, text));
    } else if (auto* action = findChild<QAction*>(name)) {
        action->setText(withMnemonic(name, text));
    } else if (auto* box = findChild<QGroupBox*>(name)) {
        box->setTitle(text);
    } else if (auto* label = findChild<QLabel*>(name)) {
        label->setText(text);
    } else if (auto* button = findChild<QAbstractButton*>(name)) {
        button->setText(text);
    } else {
        Q_ASSERT_X(false, "TForm1::setDisplayText", objectName); // a text for a control the window lacks
    }
}

void TForm1::LoadTextTable() {
    state_.texts.load(joinPath(state_.folders.program, QStringLiteral("\\Fyltext.txt")));
    for (const auto& [entry, control] : kMainWindowTexts)
        setDisplayText(control, state_.texts.text(entry));
}

void TForm1::FillWindowFromRecord() {
    model_.FillWindowFromRecord();
}

void TForm1::bindModel() {
    for (const RoomFieldControl& control : kRoomFieldControls) {
        QLineEdit* edit = this->*control.edit;
        Q_ASSERT(edit->objectName() == QLatin1String(control.name));
        const RoomField field = control.field;
        roomEdits_[static_cast<std::size_t>(field)] = edit;
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
            model_.setRoomText(field, text);
            markChanges();
        });
    }
    projectEdits_ = {Edit15, Edit16, Edit17, Edit18, Edit19, Edit20, Edit21, Edit22, Edit23, Edit24};
    for (std::size_t i = 0; i < projectEdits_.size(); ++i)
        connect(projectEdits_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            model_.setProjectText(static_cast<int>(i), text);
            refresh();
        });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        model_.setRemarks(Memo1->toPlainText().split(QLatin1Char('\n')));
        markChanges();
    });
    GroupBox1->installEventFilter(this);
    GroupBox3->installEventFilter(this);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(Vorgaben1, &QAction::triggered, this, &TForm1::Vorgaben1Click);
    connect(Projektdaten1, &QAction::triggered, this, &TForm1::Projektdaten1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(Neu1, &QAction::triggered, this, &TForm1::Neu1Click);
    connect(Laden1, &QAction::triggered, this, &TForm1::Laden1Click);
    connect(Speichern1, &QAction::triggered, this, &TForm1::Speichern1Click);
    connect(Add1, &QPushButton::clicked, this, &TForm1::Add1Click);
    connect(Del1, &QPushButton::clicked, this, &TForm1::Del1Click);
    connect(Run1, &QPushButton::clicked, this, &TForm1::Run1Click);
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm1::ListBox1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm1::Run1Click);
    connect(Demo2, &QAction::triggered, this, &TForm1::Demo2Click);
    connect(Hilfe2, &QAction::triggered, this, &TForm1::Hilfe2Click);
    connect(Kurzanleitung1, &QAction::triggered, this, &TForm1::Kurzanleitung1Click);
}

void TForm1::act(const std::function<void()>& action) {
    // Showing and hiding the panels and putting the focus where the action asks move the focus
    // too; those moves are the action's, so they enter and leave no field.
    acting_ = true;
    runAction(dialogs_, action);
    const auto field = model_.takeFocusRequest();
    refresh();
    if (field)
        roomEdit(*field)->setFocus(Qt::OtherFocusReason);
    acting_ = false;
    if (field) // the planner is in that field now: its snapshot
        runAction(dialogs_, [this, field] { model_.enterField(*field); });
}

void TForm1::releaseHiddenField() {
    const auto it = std::find(roomEdits_.begin(), roomEdits_.end(), focusWidget());
    if (it == roomEdits_.end() || (*it)->isVisible())
        return;
    acting_ = true;
    (*it)->clearFocus();
    acting_ = false;
}

void TForm1::actWithOutcome(const std::function<MainWindowOutcome()>& action) {
    MainWindowOutcome outcome;
    act([&] { outcome = action(); });
    if (outcomeHandler)
        outcomeHandler(outcome);
}

void TForm1::refresh() {
    const MainWindowState& s = model_.state();
    for (std::size_t i = 0; i < roomEdits_.size(); ++i)
        if (roomEdits_[i]->text() != s.room[i])
            roomEdits_[i]->setText(s.room[i]);
    Edit4->setEnabled(s.dimensionFieldsEnabled);
    Edit5->setEnabled(s.dimensionFieldsEnabled);
    Edit1->setEnabled(!s.dimensionFieldsEnabled);
    Edit3->setEnabled(!s.dimensionFieldsEnabled);
    CheckBox1->setChecked(s.areaInput);
    BitBtn1->setEnabled(s.continueEnabled);
    BitBtn1->setVisible(s.continueVisible);
    GroupBox3->setVisible(s.roomPanelVisible);
    GroupBox1->setVisible(s.projectPanelVisible);
    Vorgaben1->setEnabled(s.menusEnabled);
    Projektdaten1->setEnabled(s.menusEnabled);
    for (std::size_t i = 0; i < projectEdits_.size(); ++i)
        if (projectEdits_[i]->text() != s.project[i])
            projectEdits_[i]->setText(s.project[i]);
    const QString remarks = s.remarks.join(QLatin1Char('\n'));
    if (Memo1->toPlainText() != remarks) {
        const QSignalBlocker block(Memo1);
        Memo1->setPlainText(remarks);
    }
    {
        const QSignalBlocker block(ListBox1);
        QStringList shown;
        for (int i = 0; i < ListBox1->count(); ++i)
            shown << ListBox1->item(i)->text();
        if (shown != s.attachments) {
            ListBox1->clear();
            ListBox1->addItems(s.attachments);
        }
        ListBox1->setCurrentRow(s.selectedAttachment);
    }
    Run1->setText(s.run1Text);
    if (s.title)
        title_ = *s.title;
    markChanges();
}

void TForm1::markChanges() {
    const QString title = markedTitle(title_, model_.projectChanged());
    if (windowTitle() != title)
        setWindowTitle(title);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GroupBox1 || watched == GroupBox3) {
        // A click on a panel's free area closes it; clicks on its controls never reach here.
        if (event->type() == QEvent::MouseButtonPress) {
            if (watched == GroupBox1)
                model_.hideProjectPanel();
            else
                model_.hideRoomPanel();
            refresh();
            return true;
        }
        return false;
    }
    const auto it = std::find(roomEdits_.begin(), roomEdits_.end(), watched);
    if (it == roomEdits_.end() || acting_)
        return false;
    const auto field = static_cast<RoomField>(it - roomEdits_.begin());
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            actWithOutcome([this, field] { return model_.leaveField(field); });
            return true;
        }
        return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // Another window or a popup taking the focus is no entering or leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (event->type() == QEvent::FocusIn)
            act([this, field] { model_.enterField(field); });
        else
            actWithOutcome([this, field] { return model_.leaveField(field); });
        return false;
    }
    default:
        return false;
    }
}

bool TForm1::askToSaveChanges() {
    const QString before = model_.state().projectFile;
    acting_ = true;
    const bool goOn = model_.askToSaveChanges();
    acting_ = false;
    refresh();
    rememberProjectFile(before);
    return goOn;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!askToSaveChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    // The other windows are windows of their own: quitting the main window ends the program, even
    // while the calculation window or the flow simulation is open.
    QMetaObject::invokeMethod(QCoreApplication::instance(), "quit", Qt::QueuedConnection);
}

void TForm1::BitBtn1Click() {
    actWithOutcome([this] { return model_.weiter(); });
}

void TForm1::Vorgaben1Click() {
    act([this] { model_.roomDataCommand(); });
}

void TForm1::Projektdaten1Click() {
    act([this] { model_.projectDataCommand(QDate::currentDate()); });
}

void TForm1::CheckBox1Click() {
    model_.setAreaInput(CheckBox1->isChecked());
    act([this] { model_.checkBoxClicked(); });
}

void TForm1::Neu1Click() {
    if (!askToSaveChanges())
        return;
    actWithOutcome([this] { return model_.Neu1Click(); });
    releaseHiddenField();
}

void TForm1::Laden1Click() {
    load(std::nullopt);
}

void TForm1::openProject(const QString& path) {
    load(path);
}

void TForm1::load(const std::optional<QString>& path) {
    if (!askToSaveChanges())
        return;
    const QString before = model_.state().projectFile;
    actWithOutcome([this, &path] { return model_.Laden1Click(QDate::currentDate(), path); });
    releaseHiddenField();
    rememberProjectFile(before);
}

void TForm1::Speichern1Click() {
    const QString before = model_.state().projectFile;
    act([this] { model_.Speichern1Click(); });
    rememberProjectFile(before);
}

void TForm1::Add1Click() {
    act([this] { model_.Add1Click(); });
}

void TForm1::Del1Click() {
    act([this] { model_.Del1Click(); });
}

void TForm1::Run1Click() {
    act([this] { model_.Run1Click(); });
}

void TForm1::ListBox1Click() {
    act([this] { model_.selectAttachment(ListBox1->currentRow()); });
}

void TForm1::Demo2Click() {
    actWithOutcome([this] { return model_.Demo2Click(); });
}

void TForm1::Hilfe2Click() {
    actWithOutcome([this] { return model_.Hilfe2Click(); });
}

void TForm1::Kurzanleitung1Click() {
    act([this] { model_.Kurzanleitung1Click(); });
}

} // namespace fyl
