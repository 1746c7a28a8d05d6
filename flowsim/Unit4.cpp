// The flow simulation window TForm4: the picture, the distance rows with their sliders, the
// velocities at head height, the check boxes and the room sizes. Windows layer (fylui).
#include "flowsim/Unit4.h"

#include "flowsim/flowpicturepainter.h"
#include "frame/dialogs.h"
#include "room/appstate.h"
#include "widgets/screenfit.h"
#include "widgets/scrolledlayout.h"
#include "widgets/windowkeys.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace fyl {

void FlowPictureImage::setPicture(FlowPicture picture) {
    picture_ = std::move(picture);
    update();
}

void FlowPictureImage::paintEvent(QPaintEvent*) {
    // The display list is in the picture's own pixels; the painter maps them onto the device, so a
    // scaled screen gets finer lines rather than enlarged pixels.
    QPainter painter(this);
    painter.scale(width() / double(FlowPicture::kWidth), height() / double(FlowPicture::kHeight));
    renderFlowPicture(picture_, painter);
}

TForm4::TForm4(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state), dialogs_(dialogs),
      model_({state.record, state.flags, state.working, state.calcStatus, state.texts, dialogs}) {
    setObjectName(QStringLiteral("TForm4"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("Zelk        Strömungssimulation"));
    resize(773, 420);
    QPalette window = palette();
    window.setColor(QPalette::Window, QColor(221, 215, 208));
    setPalette(window);
    setAutoFillBackground(true);
    using namespace form4;
    auto& c = controls_;

    // The legend over the picture.
    auto* legend = new QFrame(this);
    legend->setObjectName(QStringLiteral("Panel1"));
    legend->setFrameShape(QFrame::Panel);
    legend->setFrameShadow(QFrame::Raised);
    legend->setGeometry(8, 4, 369, 44);
    c.bind(Label1, placedLabel(legend, QStringLiteral("Rot:  Luftgeschwindigkeit >= :"), 6, 2, 180));
    c.bind(Label2, placedLabel(legend, QString(), 188, 2, 40));
    namedLabel(legend, "Label7", QStringLiteral("[ m/s ]"), 230, 2, 50);
    c.bind(Label4, placedLabel(legend, QStringLiteral("Kopfhöhe :"), 6, 22, 90));
    c.bind(Label5, placedLabel(legend, QString(), 100, 22, 40));
    namedLabel(legend, "Label6", QStringLiteral("[ m ]"), 142, 22, 40);
    c.bind(Label3, placedLabel(legend, QStringLiteral("Gitterraster  1 m"), 230, 22, 134));

    Image1 = new FlowPictureImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 52, FlowPicture::kWidth, FlowPicture::kHeight);

    auto* mounting = c.bind(GroupBox3, new QGroupBox(QStringLiteral("Einbaudaten"), this));
    mounting->setGeometry(390, 4, 375, 252);
    c.bind(Label14, placedLabel(mounting, QStringLiteral("Einbauhöhe [ m ]:"), 10, 24, 150));
    c.bind(Label15, placedLabel(mounting, QString(), 165, 24, 60));

    // The velocities at head height, level with the rows they belong to.
    auto* velocities = new QFrame(mounting);
    velocities->setObjectName(QStringLiteral("Panel2"));
    velocities->setFrameShape(QFrame::Panel);
    velocities->setFrameShadow(QFrame::Sunken);
    velocities->setGeometry(262, 52, 106, 192);

    // One row per distance: its label, the value, the vertical slider (0 to 10 m in steps of
    // 0.1 m, upwards growing) and the velocity at head height that belongs to it.
    struct Row {
        Control caption;
        QString text;
        Control edit;
        QScrollBar** bar;
        const char* barName;
        const char* vkName;
        Control velocity;
        const char* unitName;
    };
    const Row rows[] = {
        {Label21, QStringLiteral("Einbauabstand [ m ]:"), Edit2, &ScrollBar2, "ScrollBar2", "Label24",
         Label27, "Label30"},
        {Label22, QStringLiteral("Wandabstand l  [ m]:"), Edit3, &ScrollBar3, "ScrollBar3", "Label25",
         Label28, "Label31"},
        {Label23, QStringLiteral("Wandabstand r [ m ]:"), Edit4, &ScrollBar4, "ScrollBar4", "Label26",
         Label29, "Label32"},
    };
    int y = 72;
    for (const Row& row : rows) {
        c.bind(row.caption, placedLabel(mounting, row.text, 10, y, 150, 24));
        auto* edit = c.bind(row.edit, new QLineEdit(mounting));
        edit->setGeometry(165, y, 60, 24);
        edit->installEventFilter(this);
        auto* bar = new QScrollBar(Qt::Vertical, mounting);
        bar->setObjectName(QString::fromLatin1(row.barName));
        bar->setGeometry(232, y - 16, 18, 56);
        bar->setRange(FlowSimModel::kBarMinimum, FlowSimModel::kBarMaximum);
        bar->setPageStep(0);
        *row.bar = bar;
        const int vy = y - 52;
        namedLabel(velocities, row.vkName, QStringLiteral("vk = "), 4, vy, 32);
        c.bind(row.velocity, placedLabel(velocities, QString(), 36, vy, 40));
        namedLabel(velocities, row.unitName, QStringLiteral("m/s"), 76, vy, 28);
        y += 64;
    }

    CheckBox1 = c.bind(form4::CheckBox1, new QCheckBox(QStringLiteral("Darstellung mit  Raumbreite"), this));
    CheckBox1->setGeometry(394, 262, 260, 22);
    CheckBox2 =
        c.bind(form4::CheckBox2, new QCheckBox(QStringLiteral("Darstellung mit voller Raumlänge"), this));
    CheckBox2->setGeometry(394, 284, 260, 22);
    CheckBox3 = c.bind(form4::CheckBox3, new QCheckBox(QStringLiteral("Höhe maßstäblich darstellen"), this));
    CheckBox3->setGeometry(394, 306, 260, 22);

    auto* room = c.bind(GroupBox1, new QGroupBox(QStringLiteral("Raumabmessungen"), this));
    room->setGeometry(390, 330, 262, 84);
    c.bind(Label8, placedLabel(room, QStringLiteral("mittlere Raumbreite[m] :"), 8, 18, 170));
    c.bind(Label9, placedLabel(room, QString(), 180, 18, 76));
    c.bind(Label10, placedLabel(room, QStringLiteral("mittlere Raumlänge [m] ;"), 8, 38, 170, 20));
    c.bind(Label11, placedLabel(room, QString(), 180, 38, 76));
    c.bind(Label12, placedLabel(room, QStringLiteral("Raumhöhe [m] :"), 8, 58, 170));
    c.bind(Label13, placedLabel(room, QString(), 180, 58, 76));

    Button1 = c.bind(form4::Button1, new QPushButton(QStringLiteral("Zurück"), this));
    Button1->setGeometry(664, 378, 100, 32);

    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TForm4::ScrollBar2Change);
    connect(ScrollBar3, &QScrollBar::valueChanged, this, &TForm4::ScrollBar3Change);
    connect(ScrollBar4, &QScrollBar::valueChanged, this, &TForm4::ScrollBar4Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm4::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm4::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &TForm4::CheckBox3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    scrollFixedLayout(*this);
    FormCreate();
}

void TForm4::FormCreate() {
    if (state_.texts.lineCount() == 0)
        return; // without a text table the design texts stay
    const Form4Texts texts = form4CreationTexts(state_.texts);
    setWindowTitle(texts.title);
    controls_.apply(texts.controls);
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormCreate();
}

void TForm4::applyView(const ResultsView& view) {
    if (view.spacingBarPosition) {
        // The evaluation placing the slider is no move of the planner's.
        const QSignalBlocker block(ScrollBar2);
        ScrollBar2->setValue(*view.spacingBarPosition);
    }
    controls_.apply(view.form4);
}

void TForm4::showPicture(const std::array<QString, 3>& labels) {
    using namespace form4;
    qobject_cast<QLabel*>(widget(Label2))->setText(labels[0]);
    qobject_cast<QLabel*>(widget(Label5))->setText(labels[1]);
    qobject_cast<QLabel*>(widget(Label15))->setText(labels[2]);
    if (!isVisible())
        centreOnScreen(*this, nullptr, WhenTooLarge::Shrink);
    GraphDarstellung1Click();
}

QImage TForm4::pictureImage() const {
    return flowPictureImage(Image1->picture());
}

void TForm4::GraphDarstellung1Click() {
    runAction(dialogs_, [this] {
        show();
        FlowPictureView view = model_.picture(contourRoutine);
        Image1->setPicture(std::move(view.picture));
        controls_.apply(view.labels);
    });
    if (actionDone)
        actionDone(); // drawing stores the picture's inputs in the record
}

void TForm4::act(const std::function<FlowSimOutcome()>& action) {
    FlowSimOutcome out;
    if (!runAction(dialogs_, [&] { out = action(); }))
        return;
    if (out.results) {
        applyView(*out.results);
        if (resultsHandler)
            resultsHandler(*out.results);
    }
    const std::pair<const std::optional<int>&, QScrollBar*> bars[] = {
        {out.bar2, ScrollBar2}, {out.bar3, ScrollBar3}, {out.bar4, ScrollBar4}};
    for (const auto& [position, bar] : bars) {
        if (position) {
            const QSignalBlocker block(bar);
            bar->setValue(*position);
        }
    }
    if (out.checkBox1)
        CheckBox1->setChecked(*out.checkBox1);
    if (out.checkBox2)
        CheckBox2->setChecked(*out.checkBox2);
    if (out.hideSelf)
        hide();
    if (out.redraw)
        GraphDarstellung1Click();
    if (actionDone)
        actionDone();
}

void TForm4::ScrollBar2Change(int position) {
    act([this, position] { return model_.ScrollBar2Change(position); });
}
void TForm4::ScrollBar3Change(int position) {
    act([this, position] { return model_.ScrollBar3Change(position); });
}
void TForm4::ScrollBar4Change(int position) {
    act([this, position] { return model_.ScrollBar4Change(position); });
}
void TForm4::CheckBox1Click(bool checked) {
    act([this, checked] { return model_.CheckBox1Click(checked); });
}
void TForm4::CheckBox2Click(bool checked) {
    act([this, checked] { return model_.CheckBox2Click(checked); });
}
void TForm4::CheckBox3Click(bool checked) {
    act([this, checked] { return model_.CheckBox3Click(checked); });
}
void TForm4::Button1Click() {
    act([this] { return model_.Button1Click(); });
}

void TForm4::editDone(QLineEdit* edit, QScrollBar* bar) {
    runAction(dialogs_, [&] {
        // The slider clamps the position and reports only a real change, which does the rest.
        const int position = FlowSimModel::editPosition(edit->text());
        const int before = bar->value();
        bar->setValue(position);
        // A value the slider cannot take, and no move: the field shows the value in use again.
        if (bar->value() == before)
            if (const std::optional<QString> inUse = FlowSimModel::textInUse(edit->text(), before))
                edit->setText(*inUse);
    });
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    using namespace form4;
    const std::pair<Control, QScrollBar*> fields[] = {
        {Edit2, ScrollBar2}, {Edit3, ScrollBar3}, {Edit4, ScrollBar4}};
    for (const auto& [id, bar] : fields) {
        auto* edit = qobject_cast<QLineEdit*>(controls_.widget(id));
        if (watched != edit)
            continue;
        const bool enter =
            event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                  static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || leftByThePlanner(event)) {
            editDone(edit, bar);
            return enter;
        }
    }
    return false;
}

} // namespace fyl
