// Names of spreadsheet cells. Core layer (fylcore).
#include "frame/sheet.h"

namespace fyl {

QString columnLetters(int column) {
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

QString sheetCellName(const QString& sheet, int column, int row) {
    bool plain = !sheet.isEmpty() && !sheet.front().isDigit();
    for (const QChar c : sheet)
        plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    QString quoted = sheet;
    if (!plain)
        quoted =
            QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    return quoted + QLatin1Char('!') + columnLetters(column) + QString::number(row);
}

} // namespace fyl
