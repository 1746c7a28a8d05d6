// The picture slideshow TForm6. Windows layer (fylui).
#include "auxiliary/Unit6.h"

#include "drawing/picture.h"
#include "frame/dialogs.h"
#include "room/appstate.h"
#include "widgets/screenfit.h"
#include "widgets/stretchedimage.h"
#include "widgets/windowkeys.h"

#include <QAction>
#include <QMenuBar>

namespace fyl {

TForm6::TForm6(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs) {
    setObjectName(QStringLiteral("TForm6"));
    closeOnEscape(this);
    setWindowTitle(QStringLiteral("Form6"));
    Image1 = new StretchedImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    setCentralWidget(Image1);

    QMenuBar* bar = menuBar();
    auto item = [bar](const char* name, const QString& text) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N1 = item("N1", QStringLiteral("<<<<<<<<"));
    Bildlauf1 = item("Bildlauf1", QStringLiteral("Bildlauf"));
    N2 = item("N2", QStringLiteral(">>>>>>>>"));
    N3 = item("N3", QString());
    N3->setEnabled(false);
    beenden1 = item("beenden1", QStringLiteral("beenden"));
    connect(N1, &QAction::triggered, this, &TForm6::N1Click);
    connect(N2, &QAction::triggered, this, &TForm6::N2Click);
    connect(beenden1, &QAction::triggered, this, &TForm6::beenden1Click);

    // The picture area is 808 x 633; the menu bar comes on top of it.
    resize(808, 633 + bar->sizeHint().height());
}

void TForm6::load(const std::optional<QString>& file) {
    if (!file)
        return; // an empty list shows nothing and is not paged
    // Cleared first, so that a picture that fails is not mistaken for the one before it.
    Image1->setImage(QImage());
    Image1->setImage(loadPicture(*file));
}

void TForm6::showPictures(const SlideshowTexts& texts) {
    setWindowTitle(texts.title);
    beenden1->setText(texts.beenden1);
    Bildlauf1->setText(texts.bildlauf1);
    // The picture follows the window's size, so a screen too small for it gets a smaller window.
    if (!isVisible())
        centreOnScreen(*this, nullptr, WhenTooLarge::Shrink);
    show();
    raise();
    runAction(dialogs_, [this] { load(currentPicture(state_.demoPictures)); });
}

void TForm6::N1Click() {
    runAction(dialogs_, [this] { load(previousPicture(state_.demoPictures)); });
}

void TForm6::N2Click() {
    runAction(dialogs_, [this] { load(nextPicture(state_.demoPictures)); });
}

void TForm6::beenden1Click() {
    hide();
}

} // namespace fyl
