// The demo pictures the slideshow pages through. Core layer (fylcore, QtCore only).
#include "auxiliary/demopictures.h"

#include "frame/ansi.h"
#include "frame/files.h"

#include <QDir>
#include <QDirIterator>

namespace fyl {

QString demoFolder(const QString& programDir) {
    return joinPath(programDir, QStringLiteral("Demobild"));
}

QStringList findDemoPictures(const QString& folder) {
    QStringList found;
    // Unsorted: the file system's own order, which stays the same while the folder does.
    QDirIterator it(folder, {QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System);
    while (found.size() < kDemoPictureSlots && it.hasNext())
        found << QDir::toNativeSeparators(it.next());
    return found;
}

void takeDemoPictures(DemoPictures& pictures, const QStringList& files) {
    pictures.files = files.mid(0, kDemoPictureSlots);
    pictures.current = pictures.last();
}

std::optional<QString> currentPicture(const DemoPictures& pictures) {
    if (pictures.current < 0 || pictures.current > pictures.last())
        return std::nullopt;
    return pictures.files[pictures.current];
}

std::optional<QString> previousPicture(DemoPictures& pictures) {
    if (pictures.files.isEmpty())
        return std::nullopt;
    const int previous = pictures.current - 1;
    pictures.current = previous < 0 || previous > pictures.last() ? pictures.last() : previous;
    return currentPicture(pictures);
}

std::optional<QString> nextPicture(DemoPictures& pictures) {
    if (pictures.files.isEmpty())
        return std::nullopt;
    const int next = pictures.current + 1;
    pictures.current = next < 0 || next > pictures.last() ? 0 : next;
    return currentPicture(pictures);
}

SlideshowTexts slideshowTexts(const TextTable& texts) {
    return {texts.text(1), texts.text(7), texts.text(181)};
}

} // namespace fyl
