// The calculation window TForm3: its controls and the application of a results view. Windows
// layer (fylui).
#include "results/Unit3.h"

#include "frame/dialogs.h"
#include "frame/numbers.h"
#include "room/appstate.h"
#include "widgets/screenfit.h"
#include "widgets/scrolledlayout.h"
#include "widgets/windowkeys.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

namespace fyl {

TForm3::TForm3(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), dialogs_(dialogs), shell_(shell),
      model_({state.record, state.flags, state.working, state.calcStatus, state.texts, dialogs}) {
    setObjectName(QStringLiteral("TForm3"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("ZELK    Berechnungsfenster"));
    resize(640, 572);
    using namespace form3;
    auto& c = controls_;
    const int lx = 16, vx = 250;

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setGeometry(0, 0, 640, 26);
    QAction* print = c.bind(Drucken1, MainMenu1->addAction(QStringLiteral("Drucken")));
    QMenu* tools = c.bind(Tools1, MainMenu1->addMenu(QStringLiteral("Tools")));
    QAction* section = c.bind(Raumschnitt1, tools->addAction(QStringLiteral("Raumschnitt")));
    QAction* ceiling = c.bind(Deckenspiegel1, tools->addAction(QStringLiteral("Deckenspiegel")));
    QAction* sound = c.bind(Sound1, tools->addAction(QStringLiteral("Sound")));
    QAction* tenderText =
        c.bind(Ausschreibungstext1, MainMenu1->addAction(QStringLiteral("Ausschreibungstext")));
    tenderText->setVisible(false);
    connect(print, &QAction::triggered, this, &TForm3::Drucken1Click);
    connect(section, &QAction::triggered, this, &TForm3::Raumschnitt1Click);
    connect(ceiling, &QAction::triggered, this, &TForm3::Deckenspiegel1Click);
    connect(sound, &QAction::triggered, this, &TForm3::Sound1Click);
    connect(tenderText, &QAction::triggered, this, &TForm3::Ausschreibungstext1Click);

    // Everything below the menu bar.
    auto* page = new QWidget(this);
    page->setGeometry(0, 28, 640, 544);

    // The rows stand 24 pixels apart so that the judgement fits under the results in the window's
    // 572 pixels, which a 1920 x 1200 screen at 200 % still shows whole.
    c.bind(Label2, placedLabel(page, QStringLiteral("Durchlass:"), lx, 8, 220));
    QLabel* heading = c.bind(Label1, placedLabel(page, QString(), vx, 8, 370));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    c.bind(Label3, placedLabel(page, QStringLiteral("Artikelnummer:"), lx, 32, 220));
    c.bind(Label4, placedLabel(page, QString(), vx, 32, 200));
    c.bind(Label5, placedLabel(page, QStringLiteral("Gesamtanzahl:"), lx, 58, 220));
    auto* count = c.bind(Edit1, new QLineEdit(QStringLiteral("1"), page));
    count->setGeometry(vx, 56, 70, 26);
    count->setToolTip(QStringLiteral("Rot: Volmax < Vol < Volmin"));
    ScrollBar1 = new QScrollBar(Qt::Horizontal, page);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(vx + 80, 58, 200, 22);
    ScrollBar1->setPageStep(5);
    ScrollBar1->setValue(3);
    c.bind(Label6, placedLabel(page, QStringLiteral("Durchlassbelastung:"), lx, 88, 220));
    c.bind(Label7, placedLabel(page, QString(), vx, 88, 90));
    c.bind(Label8, placedLabel(page, QStringLiteral("[ m³/h ]"), vx + 100, 88, 120));
    c.bind(Label9, placedLabel(page, QStringLiteral("Druckverlust :  dp ="), lx, 112, 220));
    c.bind(Label10, placedLabel(page, QString(), vx, 112, 90));
    namedLabel(page, "Label11", QStringLiteral("Pa"), vx + 100, 112, 60);
    c.bind(Label12, placedLabel(page, QStringLiteral("Schallleistungspegel:"), lx, 136, 140));
    c.bind(Label13, placedLabel(page, QString(), lx + 142, 136, 60));
    namedLabel(page, "Label14", QStringLiteral("LWA="), vx - 40, 136, 38);
    auto* lwa = c.bind(Label15, placedLabel(page, QString(), vx, 136, 90));
    lwa->setToolTip(QStringLiteral("Rot : Schallleistungspegel zu hoch !"));
    namedLabel(page, "Label16", QStringLiteral("dB"), vx + 100, 136, 60);

    // The horizontal and the vertical results share one place; the evaluation shows one of them.
    auto* horizontal = c.bind(GroupBox1, new QGroupBox(QStringLiteral("Horizontalstrahl"), page));
    horizontal->setGeometry(8, 164, 624, 94);
    c.bind(Label22, placedLabel(horizontal, QString(), 8, 20, 230));
    c.bind(Label23, placedLabel(horizontal, QStringLiteral("x-krit  [m] :"), 242, 20, 110));
    c.bind(Label21, placedLabel(horizontal, QString(), 360, 20, 90));
    c.bind(Label17,
           placedLabel(horizontal, QStringLiteral("min. Durchlassabstand      a min [ m ]  :"), 8, 44, 340));
    c.bind(Label19, placedLabel(horizontal, QString(), 360, 44, 90));
    c.bind(Label18, placedLabel(horizontal, QStringLiteral("min. Wandabstand              w min [ m ] :"), 8,
                                68, 340));
    c.bind(Label20, placedLabel(horizontal, QString(), 360, 68, 90));

    auto* vertical = c.bind(GroupBox2, new QGroupBox(QStringLiteral("Vertikalstrahl"), page));
    vertical->setGeometry(8, 164, 624, 94);
    vertical->hide();
    c.bind(Label33, placedLabel(vertical, QStringLiteral("Max. Eindringtiefe    y max ="), 8, 24, 340));
    c.bind(Label35, placedLabel(vertical, QString(), 360, 24, 90));
    namedLabel(vertical, "Label37", QStringLiteral("[ m ]"), 460, 24, 80);
    c.bind(Label34, placedLabel(vertical, QStringLiteral("Geschw. in Kopfhöhe     vk ="), 8, 56, 340));
    c.bind(Label36, placedLabel(vertical, QString(), 360, 56, 90));
    namedLabel(vertical, "Label38", QStringLiteral("[ m/s ]"), 460, 56, 80);

    auto* hints = c.bind(GroupBox4, new QGroupBox(QStringLiteral("Hinweise"), page));
    hints->setGeometry(8, 264, 624, 72);
    c.bind(Label43, placedLabel(hints, QString(), 8, 20, 120));
    auto* hint = c.bind(Label44, placedLabel(hints, QString(), 130, 20, 486));
    hint->setWordWrap(true);
    // The needed and the room's floor area side by side.
    c.bind(Label40, placedLabel(hints, QString(), 8, 46, 200));
    c.bind(Label39, placedLabel(hints, QString(), 210, 46, 80));
    c.bind(Label41, placedLabel(hints, QString(), 330, 46, 200));
    c.bind(Label42, placedLabel(hints, QString(), 532, 46, 80));

    // The judgement of the outlet at its count: the layout, the draught rating and the checks.
    auto* judgement = c.bind(judgementBox, new QGroupBox(QStringLiteral("Anordnung und Prüfungen"), page));
    judgement->setGeometry(8, 342, 624, 152);
    judgement->hide();
    c.bind(judgementLayout, placedLabel(judgement, QString(), 8, 20, 608, 20));
    c.bind(DraughtHint, placedLabel(judgement, QString(), 8, 40, 608, 20));
    // As many failed checks as there are: more than fit scroll inside the box.
    auto* linesArea = new QScrollArea(judgement);
    linesArea->setGeometry(8, 62, 612, 86);
    linesArea->setFrameShape(QFrame::NoFrame);
    linesArea->setWidgetResizable(true);
    linesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    linesArea->viewport()->setAutoFillBackground(false);
    auto* lines = c.bind(judgementLines, new QLabel(linesArea));
    lines->setWordWrap(true);
    lines->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lines->setTextFormat(Qt::PlainText);
    linesArea->setWidget(lines);
    lines->setAutoFillBackground(false); // the area fills it; the box's face shows through instead

    Button1 = c.bind(form3::Button1, new QPushButton(QStringLiteral(" Auswahl"), page));
    Button1->setGeometry(400, 502, 110, 32);
    Button2 = c.bind(form3::Button2, new QPushButton(QStringLiteral("zurück"), page));
    Button2->setGeometry(520, 502, 110, 32);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm3::ScrollBar1Change);
    // The typed count takes effect on Enter or on leaving the field: taken at every keystroke, the
    // first digit of "10" would already move the bar and rewrite the field.
    count->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    scrollFixedLayout(*this);
    // Centred at creation; the selection places it beside the main window when it opens it.
    centreOnScreen(*this, QGuiApplication::primaryScreen(), WhenTooLarge::Shrink);
    FormCreate();
}

void TForm3::applyView(const ResultsView& view) {
    // Setting the count scroll bar is no move of the planner's: it must not evaluate again.
    const QSignalBlocker block(ScrollBar1);
    if (view.countBar) {
        // Range first, so the position is clamped into the new range, not the old one.
        ScrollBar1->setRange(view.countBar->minimum, view.countBar->maximum);
        ScrollBar1->setValue(view.countBar->position);
    }
    controls_.apply(view.form3);
    // Whichever window ran the evaluation, the count or the room behind it may have changed: the
    // outlet is judged again as it now stands.
    if (view.evaluated != JetKind::None) {
        ResultsView judged;
        model_.judge(state_.catalogue, judged);
        controls_.apply(judged.form3);
    }
}

void TForm3::setCountRange(int minimum, int maximum) {
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setRange(minimum, maximum);
}

void TForm3::FormCreate() {
    state_.flags.spacingSetInFlowPicture = false;
    if (state_.texts.lineCount() == 0)
        return; // without a text table the design texts stay
    const Form3Texts texts = form3CreationTexts(state_.texts);
    setWindowTitle(texts.title);
    controls_.apply(texts.controls);
}

void TForm3::act(const std::function<ResultsWindowOutcome()>& action) {
    ResultsWindowOutcome outcome;
    if (runAction(dialogs_, [&] { outcome = action(); }) && outcomeHandler)
        outcomeHandler(outcome);
    if (actionDone)
        actionDone();
}

void TForm3::ScrollBar1Change(int position) {
    act([this, position] { return model_.ScrollBar1Change(position); });
}

void TForm3::Edit1Change(const QString& text) {
    runAction(dialogs_, [this, &text] {
        const std::optional<ResultsWindowModel::TypedCount> taken =
            model_.Edit1Change(text, ScrollBar1->minimum(), ScrollBar1->maximum());
        if (!taken)
            return;
        if (taken->evaluate) {
            // The bar reports only a move; when it already stands there (at an end, with figures
            // for a count outside the range) the count is taken all the same.
            if (ScrollBar1->value() == taken->position)
                ScrollBar1Change(taken->position);
            else
                ScrollBar1->setValue(taken->position);
        } else {
            // Clamped back to the count in use: the field shows it again.
            qobject_cast<QLineEdit*>(controls_.widget(form3::Edit1))
                ->setText(numbers::formatGeneral(taken->position));
        }
    });
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    auto* count = qobject_cast<QLineEdit*>(controls_.widget(form3::Edit1));
    if (watched == count) {
        const bool enter =
            event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                  static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || leftByThePlanner(event)) {
            Edit1Change(count->text());
            return enter;
        }
    }
    return false;
}

void TForm3::Button1Click() {
    act([this] { return model_.Button1Click(); });
}

void TForm3::Button2Click() {
    const QString countText = qobject_cast<QLineEdit*>(controls_.widget(form3::Edit1))->text();
    act([this, countText] { return model_.Button2Click(countText); });
}

void TForm3::Raumschnitt1Click() {
    act([this] { return model_.Raumschnitt1Click(); });
}

void TForm3::Drucken1Click() {
    act([this] { return model_.Drucken1Click(); });
}

void TForm3::Deckenspiegel1Click() {
    act([this] { return model_.Deckenspiegel1Click(state_.folders, state_.catalogue, shell_); });
}

void TForm3::Sound1Click() {
    act([this] { return model_.Sound1Click(state_.folders, shell_); });
}

void TForm3::Ausschreibungstext1Click() {
    act([this] { return model_.Ausschreibungstext1Click(state_.folders, shell_); });
}

void TForm3::closeEvent(QCloseEvent* event) {
    act([this] { return model_.FormClose(); });
    event->accept();
}

} // namespace fyl
