// Windows-1252 text: decoding, encoding and reading the program's CR LF text files. Core layer
// (fylcore).
#include "frame/ansi.h"

#include "frame/files.h"

#include <QDir>

#include <array>

namespace fyl {

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes that the code page leaves undefined,
// which are carried through as the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QString fromAnsi(QByteArrayView bytes) {
    // Sized once and filled in place: texts are decoded by the hundred (the text table, every
    // catalogue line), and an empty one needs no allocation.
    QString out(bytes.size(), Qt::Uninitialized);
    if (bytes.isEmpty())
        return out;
    QChar* to = out.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
            *to++ = QChar(kHighControls[b - 0x80]);
        else
            *to++ = QChar(static_cast<char16_t>(b));
    }
    return out;
}

QByteArray toAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (std::size_t i = 0; i < kHighControls.size(); ++i) {
                if (kHighControls[i] == u || (kHighControls[i] == 0 && u == 0x80 + i)) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out.append(byte);
    }
    return out;
}

std::vector<QByteArray> readAnsiLines(const QString& path, qint64 maxBytes, const QString& kind) {
    const QByteArray all = readWholeFile(path, maxBytes, kind);
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = all.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && all[end] != '\r' && all[end] != '\n')
            ++end;
        lines.push_back(all.mid(start, end - start));
        if (end < n && all[end] == '\r' && end + 1 < n && all[end + 1] == '\n')
            start = end + 2;
        else
            start = end + 1;
    }
    return lines;
}

} // namespace fyl
