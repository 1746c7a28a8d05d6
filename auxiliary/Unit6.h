// The picture slideshow TForm6. Windows layer (fylui).
#pragma once

#include "auxiliary/demopictures.h"

#include <QMainWindow>

class QAction;

namespace fyl {

struct AppState;
class Dialogs;
class StretchedImage;

// The picture slideshow over the demo pictures the main window found. Created once at start and
// only shown and hidden afterwards; it keeps its place in the list between showings.
class TForm6 : public QMainWindow {
    Q_OBJECT
public:
    TForm6(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);

    // The demo command: the texts, the window shown, the list's current picture loaded.
    void showPictures(const SlideshowTexts& texts);

    void N1Click(); // previous
    void N2Click(); // next
    void beenden1Click();

    QAction* N1 = nullptr;
    QAction* Bildlauf1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr; // the empty item before "beenden"
    QAction* beenden1 = nullptr;
    StretchedImage* Image1 = nullptr;

private:
    // Shows `file`; one that cannot be loaded leaves the picture empty and raises the loader's error.
    void load(const std::optional<QString>& file);

    AppState& state_;
    Dialogs& dialogs_;
};

} // namespace fyl
