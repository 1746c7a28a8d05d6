// The flow simulation window TForm4: the distance rows and the velocities at head height that
// the evaluation fills. Windows layer (fylui).
#include "flowsim/Unit4.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace fyl {

TForm4::TForm4(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Zelk        Strömungssimulation"));
    resize(773, 420);
    using namespace form4;

    // One row per distance: its label, the value, the vertical slider (0 to 10 m in steps of
    // 0.1 m, upwards growing) and the velocity at head height that belongs to it.
    struct Row {
        const char* label;
        QString text;
        Control edit;
        QScrollBar** bar;
        const char* barName;
        Control velocity;
    };
    const Row rows[] = {
        {"Label21", QStringLiteral("Einbauabstand [ m ]:"), Edit2, &ScrollBar2, "ScrollBar2", Label27},
        {"Label22", QStringLiteral("Wandabstand l  [ m]:"), Edit3, &ScrollBar3, "ScrollBar3", Label28},
        {"Label23", QStringLiteral("Wandabstand r [ m ]:"), Edit4, &ScrollBar4, "ScrollBar4", Label29},
    };
    int y = 150;
    for (const Row& row : rows) {
        auto* caption = new QLabel(row.text, this);
        caption->setObjectName(QString::fromLatin1(row.label));
        caption->setGeometry(390, y, 150, 24);
        auto* edit = controls_.bind(row.edit, new QLineEdit(this));
        edit->setGeometry(545, y, 60, 24);
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QString::fromLatin1(row.barName));
        bar->setGeometry(610, y - 14, 18, 52);
        bar->setRange(-100, 0);
        bar->setPageStep(0);
        *row.bar = bar;
        auto* vk = new QLabel(QStringLiteral("vk = "), this);
        vk->setGeometry(640, y, 40, 24);
        controls_.bind(row.velocity, new QLabel(this))->setGeometry(680, y, 50, 24);
        auto* unit = new QLabel(QStringLiteral("m/s"), this);
        unit->setGeometry(732, y, 36, 24);
        y += 64;
    }
}

void TForm4::applyView(const ResultsView& view) {
    if (view.spacingBarPosition)
        ScrollBar2->setValue(*view.spacingBarPosition);
    controls_.apply(view.form4);
}

} // namespace fyl
