// The demo pictures the slideshow pages through: finding them in the demo folder and stepping
// through the list with wrap-around. Core layer (fylcore, QtCore only).
#pragma once

#include "frame/texttable.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace fyl {

// At most this many pictures are taken from the demo folder (indexes 0 .. 200).
inline constexpr int kDemoPictureSlots = 201;

// The list the main window fills and the slideshow reads: full paths, and the index shown.
struct DemoPictures {
    QStringList files;
    int current = -1; // -1 while the list is empty

    int last() const { return static_cast<int>(files.size()) - 1; }
};

// The demo folder below the program directory.
QString demoFolder(const QString& programDir);

// The "*.bmp" files of `folder` as full paths, in the order the file system lists them, at most
// kDemoPictureSlots. The extension matches in any case, as the search does on Windows, so a
// folder copied from there keeps its "BILD1.BMP". Folders named like pictures are left out.
QStringList findDemoPictures(const QString& folder);

// A new list; the slideshow starts at its last picture.
void takeDemoPictures(DemoPictures& pictures, const QStringList& files);

// The picture at the current index, nothing while the list is empty.
std::optional<QString> currentPicture(const DemoPictures& pictures);
// One step back (N1) or on (N2), wrapping at both ends; the picture to show then. An empty list
// is not paged: nothing moves and nothing is returned.
std::optional<QString> previousPicture(DemoPictures& pictures);
std::optional<QString> nextPicture(DemoPictures& pictures);

// What the slideshow shows once the demo command has filled the list.
struct SlideshowTexts {
    QString title;     // TForm6
    QString beenden1;  // hides the window
    QString bildlauf1; // an entry without action
};
SlideshowTexts slideshowTexts(const TextTable& texts);

} // namespace fyl
