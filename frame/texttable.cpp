// Reading the numbered dialogue texts of Fyltext.txt. Core layer (fylcore).
#include "frame/texttable.h"

#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"

namespace fyl {

void checkEntryNumber(int n) {
    if (n < 1 || n > TextTable::kEntries)
        throw RangeError(QStringLiteral("Fehler bei Bereichsprüfung: Textnummer %1 liegt außerhalb 1 bis %2.")
                             .arg(n)
                             .arg(TextTable::kEntries));
}

void TextTable::load(const QString& path) {
    const std::vector<QByteArray> lines =
        readAnsiLines(path, kMaxFileBytes, QStringLiteral("Die Texttabelle"));
    int k = 0;
    for (const QByteArray& line : lines) {
        ++k;
        if (k > kEntries) {
            lineCount_ = kEntries;
            throw RangeError(QStringLiteral("Fehler bei Bereichsprüfung: %1 hat mehr als %2 Zeilen.")
                                 .arg(path, QString::number(kEntries)));
        }
        slots_[static_cast<std::size_t>(k - 1)] = line.left(kLineLength);
    }
    lineCount_ = k;
}

QString TextTable::text(int n) const {
    checkEntryNumber(n);
    const QByteArray& slot = slots_[static_cast<std::size_t>(n - 1)];
    return fromAnsi(slot.size() > kPrefixLength ? QByteArrayView(slot).sliced(kPrefixLength) : QByteArrayView());
}

void showText(const TextTable& texts, Dialogs& dialogs, int n) {
    dialogs.information(texts.text(n));
}

bool askText(const TextTable& texts, Dialogs& dialogs, int n) {
    return dialogs.confirm(texts.text(n));
}

std::optional<bool> askTextOrCancel(const TextTable& texts, Dialogs& dialogs, int n) {
    return dialogs.confirmOrCancel(texts.text(n));
}

QStringList withMnemonics(const QStringList& texts) {
    const auto escaped = [](QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); };
    QString taken;
    QStringList marked;
    for (const QString& text : texts) {
        qsizetype at = 0;
        while (at < text.size() && !(text[at].isLetter() && !taken.contains(text[at].toLower())))
            ++at;
        if (at == text.size()) {
            marked << escaped(text);
            continue;
        }
        taken += text[at].toLower();
        marked << escaped(text.left(at)) + QLatin1Char('&') + escaped(text.mid(at));
    }
    return marked;
}

} // namespace fyl
