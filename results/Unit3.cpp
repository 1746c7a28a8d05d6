// The calculation window TForm3: its controls and the application of a results view. Windows
// layer (fylui).
#include "results/Unit3.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace fyl {

namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w, int h = 22) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, h);
    return l;
}

QLabel* named(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    QLabel* l = label(parent, text, x, y, w);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TForm3::TForm3(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("ZELK    Berechnungsfenster"));
    resize(640, 520);
    using namespace form3;
    auto& c = controls_;
    const int lx = 16, vx = 250;

    named(this, "Label2", QStringLiteral("Durchlass:"), lx, 12, 220);
    QLabel* heading = c.bind(Label1, label(this, QString(), vx, 12, 370));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    named(this, "Label3", QStringLiteral("Artikelnummer:"), lx, 38, 220);
    c.bind(Label4, label(this, QString(), vx, 38, 200));
    named(this, "Label5", QStringLiteral("Gesamtanzahl:"), lx, 66, 220);
    auto* count = c.bind(Edit1, new QLineEdit(QStringLiteral("1"), this));
    count->setGeometry(vx, 64, 70, 26);
    count->setToolTip(QStringLiteral("Rot: Volmax < Vol < Volmin"));
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(vx + 80, 66, 200, 22);
    ScrollBar1->setPageStep(5);
    ScrollBar1->setValue(3);
    c.bind(Label6, label(this, QStringLiteral("Durchlassbelastung:"), lx, 98, 220));
    c.bind(Label7, label(this, QString(), vx, 98, 90));
    c.bind(Label8, label(this, QStringLiteral("[ m³/h ]"), vx + 100, 98, 120));
    named(this, "Label9", QStringLiteral("Druckverlust :  dp ="), lx, 124, 220);
    c.bind(Label10, label(this, QString(), vx, 124, 90));
    named(this, "Label11", QStringLiteral("Pa"), vx + 100, 124, 60);
    named(this, "Label12", QStringLiteral("Schallleistungspegel:"), lx, 150, 140);
    c.bind(Label13, label(this, QString(), lx + 142, 150, 60));
    named(this, "Label14", QStringLiteral("LWA="), vx - 40, 150, 38);
    auto* lwa = c.bind(Label15, label(this, QString(), vx, 150, 90));
    lwa->setToolTip(QStringLiteral("Rot : Schallleistungspegel zu hoch !"));
    named(this, "Label16", QStringLiteral("dB"), vx + 100, 150, 60);

    // The horizontal and the vertical results share one place; the evaluation shows one of them.
    auto* horizontal = c.bind(GroupBox1, new QGroupBox(QStringLiteral("Horizontalstrahl"), this));
    horizontal->setGeometry(8, 184, 624, 112);
    c.bind(Label22, label(horizontal, QString(), 8, 24, 230));
    c.bind(Label23, label(horizontal, QStringLiteral("x-krit  [m] :"), 242, 24, 110));
    c.bind(Label21, label(horizontal, QString(), 360, 24, 90));
    named(horizontal, "Label17", QStringLiteral("min. Durchlassabstand      a min [ m ]  :"), 8, 52, 340);
    c.bind(Label19, label(horizontal, QString(), 360, 52, 90));
    named(horizontal, "Label18", QStringLiteral("min. Wandabstand              w min [ m ] :"), 8, 80, 340);
    c.bind(Label20, label(horizontal, QString(), 360, 80, 90));

    auto* vertical = c.bind(GroupBox2, new QGroupBox(QStringLiteral("Vertikalstrahl"), this));
    vertical->setGeometry(8, 184, 624, 112);
    vertical->hide();
    named(vertical, "Label33", QStringLiteral("Max. Eindringtiefe    y max ="), 8, 30, 340);
    c.bind(Label35, label(vertical, QString(), 360, 30, 90));
    named(vertical, "Label37", QStringLiteral("[ m ]"), 460, 30, 80);
    named(vertical, "Label34", QStringLiteral("Geschw. in Kopfhöhe     vk ="), 8, 62, 340);
    c.bind(Label36, label(vertical, QString(), 360, 62, 90));
    named(vertical, "Label38", QStringLiteral("[ m/s ]"), 460, 62, 80);

    auto* hints = c.bind(GroupBox4, new QGroupBox(QStringLiteral("Hinweise"), this));
    hints->setGeometry(8, 304, 624, 160);
    named(hints, "Label43", QString(), 8, 24, 120);
    auto* hint = c.bind(Label44, label(hints, QString(), 130, 24, 486, 60));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.bind(Label40, label(hints, QString(), 8, 92, 400));
    c.bind(Label39, label(hints, QString(), 420, 92, 90));
    c.bind(Label41, label(hints, QString(), 8, 120, 400));
    c.bind(Label42, label(hints, QString(), 420, 120, 90));

    Button1 = new QPushButton(QStringLiteral(" Auswahl"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(400, 476, 110, 32);
    Button2 = new QPushButton(QStringLiteral("zurück"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(520, 476, 110, 32);
}

void TForm3::applyView(const ResultsView& view) {
    if (view.countBar) {
        // Range first, so the position is clamped into the new range, not the old one.
        ScrollBar1->setRange(view.countBar->minimum, view.countBar->maximum);
        ScrollBar1->setValue(view.countBar->position);
    }
    controls_.apply(view.form3);
}

} // namespace fyl
