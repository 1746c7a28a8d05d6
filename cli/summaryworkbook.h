// The room schedule's summary as an Excel workbook (libxlsxwriter). Application layer over the core.
#pragma once

#include "schedule/roomschedule.h"

#include <QByteArray>
#include <QString>

namespace fyl::cli {

// One sheet: the header bold and frozen, numbers as numbers with their decimals, columns as wide as
// their content (within limits). `scratchFolder` holds the library's temporary files. Raises
// FileError naming `target` (the file the bytes are for) and the system's reason when the workbook
// cannot be written; nothing of the library's own reports reaches standard error.
QByteArray summaryWorkbook(const std::vector<SummaryRow>& rows, const QString& scratchFolder,
                           const QString& target = QString());

} // namespace fyl::cli
