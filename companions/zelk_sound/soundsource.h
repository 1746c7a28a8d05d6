// Finding and reading the exchange file the main program hands over. Core layer of the sound tool
// (fylsound, QtCore only).
#pragma once

#include "exchange/exchangefiles.h"

#include <QString>

#include <optional>

namespace fyl::sound {

// The path of the exchange file named by the command line's `argument` (empty: none given, which
// means "Sounddaten.tmp"). A name with a folder is taken as it stands. A bare name is looked for in
// `temporaryFolder` (the working directory's "tmp", none while no working directory is stored),
// also under another case of its letters since the main program may spell it differently from the
// file system, and then in the current folder. Raises FileError naming where it looked.
QString locateSoundFile(const QString& argument, const std::optional<QString>& temporaryFolder);

// The file's content, checked line by line; FileError naming the path and the reason.
SoundExchange readSoundFile(const QString& path);

// Where the sheet's PDF is proposed: the working directory's project folder `projectFolder` (as
// the main program resolves it), else the "Projekte" beside the temporary folder that holds the
// exchange file, else the exchange file's own folder.
QString proposedPdfFolder(const QString& exchangePath, const std::optional<QString>& projectFolder);

} // namespace fyl::sound
