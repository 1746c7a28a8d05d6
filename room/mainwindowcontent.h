// The main window's field texts as the record fills them. Core layer (fylcore).
#pragma once

#include "frame/record.h"

#include <QString>
#include <QStringList>

#include <array>

namespace fyl {

// The main window's fields as the record fills them: what `FillWindowFromRecord` writes into
// the controls. The window only applies it.
struct MainWindowContent {
    // Room data, in the order of RoomField (mainwindowmodel.h): width, length, height, floor area, …
    std::array<QString, 14> roomFields;
    std::array<double, 14> roomValues; // the record's values that the texts show rounded
    // Project data: Edit15 .. Edit24.
    std::array<QString, 10> projectFields;
    QStringList remarkLines; // Memo1
    QStringList attachments; // ListBox1, in order
    bool enableContinue = false;
};

MainWindowContent contentFromRecord(const CalculationRecord& rec);

// The file-name part of an attachment path: the text after the last "\" (or "/").
QString fileNamePart(const QString& path);

} // namespace fyl
