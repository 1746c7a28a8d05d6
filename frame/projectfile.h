// Project files: the byte image of the calculation record. Core layer (fylcore).
#pragma once

#include "frame/record.h"
#include "frame/runstate.h"

#include <QString>

namespace fyl {

// A project file is one or more whole record images of 11880 bytes; the last one counts.
// Reads it into `rec`. A file whose size is not a positive multiple of 11880 bytes is refused
// before anything is read, and so is an image holding a real that is NaN or infinite (the message
// names the field), and so is one whose room lengths the rule of every reader refuses
// (firstRefusedRoomLength); the record then keeps its content. That and any open or read failure raise
// FileError.
void readProjectFile(const QString& path, CalculationRecord& rec);

// The flags a loaded project brings back: results when it was saved in calculation mode, and a
// count set by hand when the stored count is a whole one (the proposal is kept with its fraction,
// and a proposal that happens to be whole gives the same outlets either way).
void setFlagsAfterLoad(const CalculationRecord& rec, RuntimeFlags& flags);

// Writes the record as the file's one image, atomically: a failure raises FileError and leaves
// an existing file as it was. The flow picture shown flag is always 0 in the file.
void writeProjectFile(const QString& path, const CalculationRecord& rec);
// The path a project chosen as `chosen` is saved under: with ".zol" appended unless it ends in it
// (any case), so that "Raum 2.14" is not saved without it and then missing from "Laden".
QString projectFilePath(const QString& chosen);
// The bytes writeProjectFile writes, for a caller that writes them together with other files.
QByteArray projectFileBytes(const CalculationRecord& rec);

} // namespace fyl
