// The information window TForm7. Windows layer (fylui).
#include "auxiliary/Unit7.h"

#include "frame/dialogs.h"
#include "frame/shell.h"
#include "room/appstate.h"
#include "widgets/screenfit.h"
#include "widgets/windowkeys.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace fyl {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, int y, bool bold) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // the text table's texts are shown as they stand
    label->setGeometry(20, y, 420, 22);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

TForm7::TForm7(AppState& state, Dialogs& dialogs, Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), state_(state), dialogs_(dialogs),
      shell_(shell) {
    setObjectName(QStringLiteral("TForm7"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(560, 149);
    // The stored colour has its bytes in the order blue, green, red.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(kInformationColour & 0xFF, (kInformationColour >> 8) & 0xFF,
                                          (kInformationColour >> 16) & 0xFF));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = makeLabel(this, "Label1", 14, true);
    Label3 = makeLabel(this, "Label3", 38, true);
    Label2 = makeLabel(this, "Label2", 70, false);
    Label4 = makeLabel(this, "Label4", 94, false);
    Label5 = makeLabel(this, "Label5", 120, false);
    Label5->setGeometry(20, 120, 300, 20);
    for (QLabel* link : {Label2, Label4}) {
        QPalette linkPal = link->palette();
        linkPal.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(linkPal);
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    Label2->setToolTip(QStringLiteral("Klick: E-Mail schreiben"));
    Label4->setToolTip(QStringLiteral("Klick: Internetseite öffnen"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(456, 108, 84, 28);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    pressOnEnter(this, Button1);

    centreOnScreen(*this, QGuiApplication::primaryScreen());
    FormCreate();
}

void TForm7::FormCreate() {
    runAction(dialogs_, [this] {
        const InformationTexts texts = informationTexts(state_.texts);
        Label1->setText(texts.Label1);
        Label3->setText(texts.Label3);
        Label2->setText(texts.Label2);
        Label4->setText(texts.Label4);
        Label5->setText(texts.Label5);
        // Only the address text reacts to the mouse, not the empty rest of the line.
        Label2->adjustSize();
        Label4->adjustSize();
    });
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    // A link opens with one click, as links do everywhere else.
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label2) {
            Label2Click();
            return true;
        }
        if (watched == Label4) {
            Label4Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm7::openLink(QLabel* label, InformationLink link) {
    runAction(dialogs_, [&] {
        const LinkOpening opening = linkOpening(link, label->text(), state_.texts);
        label->setText(opening.target);
        shell_.open(opening.target); // a link the desktop cannot open is not reported
        label->setText(opening.labelAfterwards);
        label->adjustSize();
        close();
    });
}

void TForm7::Label2Click() {
    openLink(Label2, InformationLink::Mail);
}

void TForm7::Label4Click() {
    openLink(Label4, InformationLink::Web);
}

void TForm7::Button1Click() {
    close();
}

} // namespace fyl
