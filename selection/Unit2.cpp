// The selection window TForm2: its controls, the binding to the selection model and the picture.
// Windows layer (fylui).
#include "selection/Unit2.h"

#include "drawing/picture.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "room/appstate.h"
#include "selection/planchoice.h"
#include "selection/suggestions.h"
#include "selection/suggestionswindow.h"
#include "widgets/scrolledlayout.h"
#include "widgets/stretchedimage.h"
#include "widgets/windowkeys.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace fyl {

namespace {

QListWidget* list(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    return l;
}

QPushButton* button(QWidget* parent, const QString& text, int x, int y, int w = 90) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(x, y, w, 28);
    return b;
}

QLabel* value(QWidget* parent, const char* name, int x, int y, int w) {
    QLabel* l = placedLabel(parent, QString(), x, y, w);
    l->setObjectName(QString::fromLatin1(name));
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

// Shows a list's items, highlight and state; the window's own signals stay quiet meanwhile.
void showList(QListWidget* widget, const SelectionList& list) {
    const QSignalBlocker block(widget);
    QStringList shown;
    for (int i = 0; i < widget->count(); ++i)
        shown << widget->item(i)->text();
    if (shown != list.items) {
        widget->clear();
        widget->addItems(list.items);
    }
    widget->setCurrentRow(list.selected);
    widget->setEnabled(list.enabled);
}

void showList(QListWidget* widget, const QStringList& items) {
    showList(widget, SelectionList{items, -1, true});
}

} // namespace

TForm2::TForm2(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), dialogs_(dialogs),
      model_({state.record, state.flags, state.working, state.calcStatus, state.texts, dialogs,
              state.catalogue, shell, state.folders}) {
    setObjectName(QStringLiteral("TForm2"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("ZELK        Auswahlfenster"));
    resize(760, 379);
    build();
    connectHandlers();
    scrollFixedLayout(*this);
    FormCreate();
}

void TForm2::build() {
    using namespace form2;
    auto& t = texts_;

    listbox1 = list(this, "listbox1", 8, 8, 240, 200);

    // The installation's types and the sizes of the chosen one.
    GroupBox4 = t.bind(form2::GroupBox4, new QGroupBox(QStringLiteral("Durchlasstypen"), this));
    GroupBox4->setGeometry(256, 0, 496, 230);
    t.bind(Label1, placedLabel(GroupBox4, QStringLiteral("berechenbare"), 8, 20, 150));
    t.bind(Label2, placedLabel(GroupBox4, QStringLiteral("Typen"), 8, 38, 150));
    t.bind(Label3, placedLabel(GroupBox4, QStringLiteral("nur Datenblatt"), 166, 20, 150));
    t.bind(Label4, placedLabel(GroupBox4, QStringLiteral("Typen"), 166, 38, 150));
    ListBox8 = list(GroupBox4, "ListBox8", 8, 60, 150, 160);
    ListBox2 = list(GroupBox4, "ListBox2", 166, 60, 150, 160);
    placedLabel(GroupBox4, QStringLiteral("Größen"), 324, 38, 160);
    ListBox9 = list(GroupBox4, "ListBox9", 324, 60, 164, 160);

    // The jet form step lies over the type lists.
    groupbox1 = t.bind(form2::groupbox1, new QGroupBox(QStringLiteral("Strahlformen"), this));
    groupbox1->setGeometry(256, 0, 496, 230);
    t.bind(Label16, placedLabel(groupbox1, QStringLiteral("Durchlass-Typ:"), 8, 24, 150));
    Label17 = value(groupbox1, "Label17", 160, 24, 320);
    t.bind(Label18, placedLabel(groupbox1, QStringLiteral("Volumenstrom"), 8, 50, 150));
    Label11 = value(groupbox1, "Label11", 160, 50, 200);
    Label19 = t.bind(form2::Label19, placedLabel(groupbox1, QStringLiteral("[ m³/h ]"), 364, 50, 120));
    t.bind(Label37, placedLabel(groupbox1, QStringLiteral("Strahlform"), 8, 80, 150));
    ListBox10 = list(groupbox1, "ListBox10", 8, 104, 320, 116);
    zurueck = t.bind(form2::zurueck, button(groupbox1, QStringLiteral("zurück"), 340, 192, 70));
    weiter = t.bind(form2::weiter, button(groupbox1, QStringLiteral("weiter"), 416, 192, 70));

    // The volume-flow filter.
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 214, 240, 70);
    CheckBox1 =
        t.bind(form2::CheckBox1, new QCheckBox(QStringLiteral("Auswahl über Min. Vol.-Strom"), Panel1));
    CheckBox1->setGeometry(0, 0, 240, 24);
    Edit1 = new QLineEdit(QStringLiteral("10"), Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(0, 30, 70, 26);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, Panel1);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(78, 32, 160, 22);
    ScrollBar1->setRange(10, 10000);
    ScrollBar1->setSingleStep(10);
    ScrollBar1->setPageStep(100);
    ScrollBar1->setValue(50);

    // The chosen type's attributes.
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(256, 236, 496, 100);
    Panel2->setAutoFillBackground(true);
    t.bind(Label10, placedLabel(Panel2, QStringLiteral("Anbringungsort"), 0, 0, 160));
    ListBox11 = list(Panel2, "ListBox11", 0, 22, 160, 76);
    t.bind(Label12, placedLabel(Panel2, QStringLiteral("Verstellung"), 168, 0, 160));
    ListBox12 = list(Panel2, "ListBox12", 168, 22, 160, 76);
    t.bind(Label13, placedLabel(Panel2, QStringLiteral("Einsatzbereich"), 336, 0, 160));
    ListBox13 = list(Panel2, "ListBox13", 336, 22, 160, 76);

    Image2 = new StretchedImage(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(8, 290, 160, 82);
    BitBtn1 = t.bind(form2::BitBtn1, button(this, QStringLiteral("zurück"), 662, 344));
    Vorschlaege = button(this, QStringLiteral("Vorschläge"), 552, 344, 102);
    Vorschlaege->setObjectName(QStringLiteral("Vorschlaege"));
    Vorschlaege->setToolTip(
        QStringLiteral("Alle berechenbaren Durchlässe für diesen Raum, die geeigneten zuerst"));

    // Slot tubes: diameter, length and slot count, and what follows from them.
    GroupBox2 = t.bind(form2::GroupBox2, new QGroupBox(QStringLiteral("Bauart  2 ( TBX)"), this));
    GroupBox2->setGeometry(256, 0, 496, 336);
    // Headings may take two lines: the lists are narrow.
    auto heading = [](QWidget* parent, const QString& text, int x, int w) {
        QLabel* l = placedLabel(parent, text, x, 18, w, 38);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        return l;
    };
    t.bind(Label14, heading(GroupBox2, QStringLiteral("Durchmesser"), 8, 140));
    ListBox14 = list(GroupBox2, "ListBox14", 8, 58, 140, 226);
    t.bind(Label15, heading(GroupBox2, QStringLiteral("Länge"), 154, 76));
    ListBox15 = list(GroupBox2, "ListBox15", 154, 58, 76, 226);
    t.bind(Label20, heading(GroupBox2, QStringLiteral("Schlitze"), 236, 76));
    ListBox16 = list(GroupBox2, "ListBox16", 236, 58, 76, 226);
    t.bind(Label21, placedLabel(GroupBox2, QStringLiteral("Schlitzlänge gesamt"), 320, 22, 170));
    Label22 = value(GroupBox2, "Label22", 320, 44, 170);
    Label22->setWordWrap(true);
    Label22->setFixedHeight(44);
    t.bind(Label23, placedLabel(GroupBox2, QStringLiteral("Schlitzlänge je Durchlass"), 320, 94, 170));
    Label24 = value(GroupBox2, "Label24", 320, 116, 170);
    t.bind(Label25, placedLabel(GroupBox2, QStringLiteral("Anzahl"), 320, 146, 170));
    Label26 = value(GroupBox2, "Label26", 320, 168, 170);
    t.bind(Label27, placedLabel(GroupBox2, QStringLiteral("Durchmesser"), 320, 198, 170));
    Label28 = value(GroupBox2, "Label28", 320, 220, 170);
    Button2 = t.bind(form2::Button2, button(GroupBox2, QStringLiteral("Zurück"), 292, 294));
    Button3 = t.bind(form2::Button3, button(GroupBox2, QStringLiteral("Weiter"), 394, 294));

    // Linear slots: length and slot count.
    GroupBox3 = t.bind(form2::GroupBox3, new QGroupBox(QStringLiteral("Bauart 1/3 (LPA/LPB)"), this));
    GroupBox3->setGeometry(256, 0, 496, 336);
    t.bind(Label35, heading(GroupBox3, QStringLiteral("Länge"), 8, 110));
    ListBox17 = list(GroupBox3, "ListBox17", 8, 58, 110, 186);
    Edit2 = new QLineEdit(GroupBox3);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(8, 252, 110, 26);
    Edit2->setReadOnly(true);
    t.bind(Label36, heading(GroupBox3, QStringLiteral("Schlitze"), 126, 110));
    ListBox18 = list(GroupBox3, "ListBox18", 126, 58, 110, 186);
    t.bind(Label29, placedLabel(GroupBox3, QStringLiteral("Schlitzlänge gesamt"), 244, 22, 244));
    Label30 = value(GroupBox3, "Label30", 244, 44, 244);
    Label30->setWordWrap(true);
    Label30->setFixedHeight(44);
    t.bind(Label31, placedLabel(GroupBox3, QStringLiteral("Schlitzlänge je Durchlass"), 244, 94, 244));
    Label32 = value(GroupBox3, "Label32", 244, 116, 244);
    t.bind(Label33, placedLabel(GroupBox3, QStringLiteral("Anzahl"), 244, 146, 244));
    Label34 = value(GroupBox3, "Label34", 244, 168, 244);
    Button4 = t.bind(form2::Button4, button(GroupBox3, QStringLiteral("Zurück"), 292, 294));
    Button5 = t.bind(form2::Button5, button(GroupBox3, QStringLiteral("Weiter"), 394, 294));

    // Behind an invisible menu entry: the data sheet of the chosen type.
    Info1 = t.bind(form2::Info1, new QAction(QStringLiteral("Durchlass-Info"), this));
    Info1->setVisible(false);
}

void TForm2::connectHandlers() {
    auto clicked = [this](QListWidget* widget, auto handler) {
        connect(widget, &QListWidget::itemClicked, this,
                [this, widget, handler] { handler(widget->currentRow()); });
    };
    clicked(listbox1, [this](int i) { act([this, i] { model_.chooseKind(i); }); });
    clicked(ListBox8, [this](int i) { actWithOutcome([this, i] { return model_.chooseType(i); }); });
    clicked(ListBox2, [this](int i) { act([this, i] { model_.ListBox2Click(i); }); });
    clicked(ListBox9, [this](int i) { actWithOutcome([this, i] { return model_.chooseSize(i); }); });
    clicked(ListBox10, [this](int i) { actWithOutcome([this, i] { return model_.chooseJetForm(i); }); });
    clicked(ListBox14, [this](int i) { actWithOutcome([this, i] { return model_.chooseTubeDiameter(i); }); });
    clicked(ListBox15, [this](int i) { act([this, i] { model_.chooseTubeLength(i); }); });
    clicked(ListBox16, [this](int i) { act([this, i] { model_.chooseTubeSlotCount(i); }); });
    clicked(ListBox17, [this](int i) { act([this, i] { model_.chooseLinearLength(i); }); });
    clicked(ListBox18, [this](int i) { act([this, i] { model_.chooseLinearSlotCount(i); }); });
    connect(weiter, &QPushButton::clicked, this,
            [this] { actWithOutcome([this] { return model_.goForward(); }); });
    connect(zurueck, &QPushButton::clicked, this, [this] { act([this] { model_.zurueckClick(); }); });
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { actWithOutcome([this] { return model_.BitBtn1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { act([this] { model_.Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { actWithOutcome([this] { return model_.goForwardWithTube(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { act([this] { model_.Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this,
            [this] { actWithOutcome([this] { return model_.goForwardWithLinearSlots(); }); });
    connect(CheckBox1, &QCheckBox::clicked, this,
            [this](bool checked) { act([this, checked] { model_.CheckBox1Click(checked); }); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this,
            [this](int position) { act([this, position] { model_.ScrollBar1Change(position); }); });
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) { model_.setEdit1Text(text); });
    connect(Vorschlaege, &QPushButton::clicked, this, &TForm2::showSuggestions);
    connect(Info1, &QAction::triggered, this, [this] { act([this] { model_.Info1Click(); }); });
    Edit1->installEventFilter(this);
    Panel2->installEventFilter(this);
}

void TForm2::FormCreate() {
    if (state_.texts.lineCount() > 0) {
        const Form2Texts texts = form2CreationTexts(state_.texts);
        setWindowTitle(texts.title);
        texts_.apply(texts.controls);
    }
    refresh();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel2 && event->type() == QEvent::MouseButtonPress) {
        act([this] { model_.Panel2Click(); });
        return true;
    }
    if (watched == Edit1) {
        const bool enter =
            event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                  static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || leftByThePlanner(event)) {
            act([this] { model_.Edit1Exit(); });
            return enter;
        }
    }
    return false;
}

void TForm2::closeEvent(QCloseEvent* event) {
    actWithOutcome([this] { return model_.BitBtn1Click(); });
    event->accept();
}

void TForm2::act(const std::function<void()>& step) {
    runAction(dialogs_, step);
    refresh();
    if (actionDone)
        actionDone();
}

void TForm2::actWithOutcome(const std::function<SelectionOutcome()>& step) {
    SelectionOutcome outcome;
    const bool done = runAction(dialogs_, [&] { outcome = step(); });
    refresh();
    if (done && outcomeHandler)
        outcomeHandler(outcome);
    if (actionDone)
        actionDone();
}

void TForm2::showSuggestions() {
    std::vector<Suggestion> list;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = runAction(dialogs_, [this, &list] {
        list = suggestOutlets(state_.catalogue, state_.record, state_.texts, state_.folders);
    });
    QApplication::restoreOverrideCursor();
    if (!done)
        return;
    if (suggestions_ != nullptr)
        suggestions_->close();
    suggestions_ = new SuggestionsWindow(std::move(list), this);
    suggestions_->chosen = [this](const Suggestion& suggestion) { takeSuggestion(suggestion); };
    suggestions_->show();
}

void TForm2::takeSuggestion(const Suggestion& suggestion) {
    actWithOutcome([this, &suggestion] {
        model_.resetToFirstStep();
        SelectionOutcome outcome = planOutlet(model_, state_.catalogue, suggestion.choice, state_.record);
        // The count and the layout the list ranked, not the proposal of the take-over.
        showAsSuggested(
            suggestion,
            {state_.record, state_.flags, state_.working, state_.calcStatus, state_.texts, dialogs_},
            outcome);
        return outcome;
    });
}

void TForm2::showPicture() {
    const SelectionState& s = model_.state();
    if (s.Image2 == shownPicture_)
        return;
    shownPicture_ = s.Image2;
    // No type chosen, or a picture that fails to load: no picture rather than the type's before.
    Image2->setImage(QImage());
    if (s.Image2.isEmpty())
        return;
    runAction(dialogs_, [this, &s] {
        try {
            Image2->setImage(loadPicture(s.Image2));
        } catch (const FileError&) {
            // A type without a picture of its own shows the general one.
            Image2->setImage(loadPicture(s.Image2Fallback));
        }
    });
}

void TForm2::refresh() {
    const SelectionState& s = model_.state();
    showList(listbox1, s.listbox1);
    listbox1->setVisible(s.listbox1Visible);
    GroupBox4->setTitle(s.GroupBox4.isEmpty() ? GroupBox4->title() : s.GroupBox4);
    GroupBox4->setVisible(s.GroupBox4Visible);
    showList(ListBox2, s.ListBox2);
    showList(ListBox8, s.ListBox8);
    showList(ListBox9, s.ListBox9);

    groupbox1->setVisible(s.groupbox1Visible);
    Label17->setText(s.Label17);
    Label11->setText(s.Label11);
    if (!s.Label19.isEmpty())
        Label19->setText(s.Label19);
    showList(ListBox10, s.ListBox10);
    weiter->setEnabled(s.weiterEnabled);

    Panel1->setVisible(s.Panel1Visible);
    CheckBox1->setChecked(s.CheckBox1);
    Edit1->setVisible(s.CheckBox1);
    ScrollBar1->setVisible(s.CheckBox1);
    if (Edit1->text() != s.Edit1)
        Edit1->setText(s.Edit1);
    {
        const QSignalBlocker block(ScrollBar1);
        ScrollBar1->setValue(s.ScrollBar1);
    }

    Panel2->setVisible(s.Panel2Visible);
    showList(ListBox11, s.ListBox11);
    showList(ListBox12, s.ListBox12);
    showList(ListBox13, s.ListBox13);
    Info1->setEnabled(s.Info1Enabled);

    if (!s.GroupBox2.isEmpty())
        GroupBox2->setTitle(s.GroupBox2);
    GroupBox2->setVisible(s.GroupBox2Visible);
    showList(ListBox14, s.ListBox14);
    showList(ListBox15, s.ListBox15);
    showList(ListBox16, s.ListBox16);
    Label22->setText(s.Label22);
    Label24->setText(s.Label24);
    Label26->setText(s.Label26);
    Label28->setText(s.Label28);
    Button3->setEnabled(s.Button3Enabled);

    if (!s.GroupBox3.isEmpty())
        GroupBox3->setTitle(s.GroupBox3);
    GroupBox3->setVisible(s.GroupBox3Visible);
    showList(ListBox17, s.ListBox17);
    showList(ListBox18, s.ListBox18);
    Label30->setText(s.Label30);
    Label32->setText(s.Label32);
    Label34->setText(s.Label34);
    Edit2->setText(s.Edit2);
    Button5->setEnabled(s.Button5Enabled);
    showPicture();
}

} // namespace fyl
