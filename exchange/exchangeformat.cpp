// The exchange files' shared line format: number forms, the writer's checks and the line reader.
// Core layer (fylcore).
#include "exchange/exchangeformat.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/filetext.h"
#include "frame/numbers.h"

#include <cmath>

namespace fyl::exchangeformat {

QString outletName(const CalculationRecord& rec) {
    return rec.outlet.typeNameText() + QLatin1Char(' ') + rec.outlet.sizeNameText();
}

QString refusal(const QString& line, const NumberForm& form, double& value) {
    const QString t = line.trimmed();
    bool ok = false;
    value = t.toDouble(&ok); // the point form, whatever the locale
    if (!ok || !std::isfinite(value) || t.contains(QLatin1Char(',')))
        return QStringLiteral("eine Zahl mit Dezimalpunkt erwartet, gefunden \"%1\"").arg(line);
    if (value < form.low || value > form.high)
        return QStringLiteral("%1 liegt außerhalb von %2 bis %3").arg(t).arg(form.low).arg(form.high);
    if (form.whole && value != std::floor(value))
        return QStringLiteral("eine ganze Zahl erwartet, gefunden \"%1\"").arg(line);
    return QString();
}

QString number(long double value, const NumberForm& form, const char* file) {
    QString text = numbers::formatWidth(requireFinite(value, form.name), form.width, form.decimals);
    double read = 0;
    if (const QString why = refusal(text, form, read); !why.isEmpty())
        throw FileError(QStringLiteral("%1: %2 %3; die Austauschdatei wird nicht geschrieben.")
                            .arg(QString::fromLatin1(file), QString::fromUtf8(form.name), why));
    return text;
}

QString textValue(const QString& text, int limit) {
    return singleLineText(text).left(limit);
}

LineReader::LineReader(const QByteArray& bytes, std::optional<int> expected, const char* file)
    : file_(QString::fromLatin1(file)) {
    QString text = fromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // The terminator of the last line starts no further one; taking it for an empty last line
    // would let a file that lost its last line pass for a whole one.
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (!bytes.isEmpty())
        lines_ = text.split(QLatin1Char('\n'));
    if (expected)
        requireLines(*expected);
}

void LineReader::requireLines(int expected) const {
    if (lines_.size() != expected)
        throw FileError(QStringLiteral("%1: %2 Zeilen erwartet, die Datei hat %3.")
                            .arg(file_)
                            .arg(expected)
                            .arg(lines_.size()));
}

QString LineReader::next() {
    if (index_ >= lines_.size())
        throw FileError(QStringLiteral("%1: die Datei endet nach %2 Zeilen.").arg(file_).arg(lines_.size()));
    return lines_.at(index_++);
}

void LineReader::key(const char* expected) {
    const QString k = QString::fromUtf8(expected);
    if (next() != k)
        fail(QStringLiteral("der Schlüssel \"%1\" erwartet, gefunden \"%2\"").arg(k, current()));
}

void LineReader::empty() {
    if (!next().isEmpty())
        fail(QStringLiteral("eine leere Zeile erwartet"));
}

double LineReader::real(const NumberForm& form) {
    double v = 0;
    if (const QString why = refusal(next(), form, v); !why.isEmpty())
        fail(why);
    return v;
}

std::optional<double> LineReader::realOrDashes(const NumberForm& form) {
    if (lines_.value(index_).trimmed() == kDashes) {
        next();
        return std::nullopt;
    }
    return real(form);
}

int LineReader::count(const NumberForm& form) {
    return static_cast<int>(real(form));
}

int LineReader::oneOf(const QStringList& choices) {
    const QString t = next();
    if (const qsizetype at = choices.indexOf(t); at >= 0)
        return static_cast<int>(at);
    QStringList quoted;
    for (const QString& c : choices)
        quoted << QStringLiteral("\"%1\"").arg(c);
    const QString last = quoted.takeLast();
    fail(QStringLiteral("%1 oder %2 erwartet, gefunden \"%3\"")
             .arg(quoted.join(QStringLiteral(", ")), last, t));
}

void LineReader::fail(const QString& what) const {
    throw FileError(QStringLiteral("%1, Zeile %2: %3.").arg(file_).arg(index_).arg(what));
}

} // namespace fyl::exchangeformat
