// Texts made fit for the files and pages they are written into: one line for the line-based files,
// only characters that XML can hold, lines of a page's width. Core layer (fylcore).
#pragma once

#include <QString>
#include <QStringList>

namespace fyl {

// The text broken at blanks into lines of at most `width` characters; a longer word stays whole.
QStringList wordWrapped(const QString& text, int width);

// The text as one line: line breaks, tabs and every other control character (C0, DEL, C1, the
// Unicode line and paragraph separators) become blanks, and what XML 1.0 cannot hold (the
// non-characters U+FFFE and U+FFFF, a surrogate without its partner) is left out. Every text that
// a line-based file (exchange files, CSV) or the workbook receives goes through here, so that a
// name reads the same in each of them.
QString singleLineText(const QString& text);

} // namespace fyl
