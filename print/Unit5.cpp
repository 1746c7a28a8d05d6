// The print window TForm5. Windows layer (fylui).
#include "print/Unit5.h"

#include "drawing/picture.h"
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "room/appstate.h"
#include "widgets/windowkeys.h"

#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

namespace fyl {

TForm5::TForm5(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      state_(state), dialogs_(dialogs), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("TForm5"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("Drucken"));
    setFixedSize(219, 126);
    QPalette window = palette();
    window.setColor(QPalette::Window, QColor(221, 215, 208));
    setPalette(window);
    setAutoFillBackground(true);

    CheckBox1 = new QCheckBox(QStringLiteral("Datenblatt drucken"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(12, 8, 200, 20);
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Bild drucken"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(12, 30, 200, 20);
    CheckBox2->setChecked(true);
    CheckBox3 = new QCheckBox(QStringLiteral("ohne Briefkopf"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setGeometry(12, 52, 200, 20);
    CheckBox3->setChecked(false);
    Button1 = new QPushButton(QStringLiteral("Drucken"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(12, 88, 92, 26);
    Button2 = new QPushButton(QStringLiteral("Schließen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(115, 88, 92, 26);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    pressOnEnter(this, Button1);
    FormCreate();
}

TForm5::~TForm5() = default;

void TForm5::FormCreate() {
    if (state_.texts.lineCount() != 0) {
        setWindowTitle(state_.texts.text(110));
        CheckBox1->setText(state_.texts.text(111));
        CheckBox2->setText(state_.texts.text(112));
        CheckBox3->setText(state_.texts.text(188));
        Button1->setText(state_.texts.text(114));
        Button2->setText(state_.texts.text(113));
    }
    // A missing logo is reported; the window works without it.
    runAction(dialogs_, [this] {
        logo_ = loadPicture(joinPath(state_.folders.program, QStringLiteral("\\zelk2.bmp")));
    });
}

void TForm5::setPicturePageAvailable(bool available) {
    CheckBox2->setChecked(available);
    CheckBox2->setEnabled(available);
}

PrintChoices TForm5::choices() const {
    return {CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked()};
}

void TForm5::Button1Click() {
    if (!dialogs_.printDialog(*printer_)) {
        hide();
        return;
    }
    if (!printPages) {
        dialogs_.error(QStringLiteral("Der Bericht kann in dieser Version noch nicht gedruckt werden."));
        return;
    }
    const PrintChoices chosen = choices();
    const bool printed = runAction(dialogs_, [&] {
        QPainter painter;
        if (!painter.begin(printer_.get()))
            throw FileError(QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
        printPages(painter, chosen, printer_->resolution());
        painter.end();
    });
    if (printed)
        hide();
}

void TForm5::Button2Click() {
    hide();
}

} // namespace fyl
