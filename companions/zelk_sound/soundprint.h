// Printing the sound tool's sheet on a print job and writing it as a PDF. Drawing layer of the
// sound tool (QtGui and Qt's printer support).
#pragma once

#include "companions/zelk_sound/soundsheet.h"

class QPainter;
class QPrinter;

namespace fyl::sound {

// The printer set to A4 portrait, the sheet's own margins, coordinates from the paper's corner.
void prepareSheetPrinter(QPrinter& printer);

// Draws the sheet onto a started job whose device has `dpi` pixels per inch.
void printSoundSheet(QPainter& painter, const SoundSheet& sheet, int dpi);

// The sheet as a one-page A4 PDF, written atomically: on any failure an old file stays whole.
void writeSoundSheetPdf(const QString& path, const SoundSheet& sheet);

} // namespace fyl::sound
