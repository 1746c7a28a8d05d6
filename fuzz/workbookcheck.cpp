// Reading the parts of a workbook's zip archive (central directory, stored or deflated) and parsing
// their XML. Fuzzing harness over QtCore and zlib.
#include "fuzz/workbookcheck.h"

#include <QXmlStreamReader>

#include <zlib.h>

namespace fyl::fuzz {

namespace {

quint32 little(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// A deflated part, as zip stores it (raw deflate, no header).
bool inflateRaw(const QByteArray& packed, quint32 size, QByteArray& out) {
    out.resize(static_cast<qsizetype>(size));
    z_stream s{};
    if (inflateInit2(&s, -MAX_WBITS) != Z_OK)
        return false;
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    s.avail_in = static_cast<uInt>(packed.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&s, Z_FINISH);
    inflateEnd(&s);
    return result == Z_STREAM_END && s.total_out == size;
}

} // namespace

QString malformedWorkbookPart(const QByteArray& xlsx) {
    const qsizetype end = xlsx.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + 22 > xlsx.size())
        return QStringLiteral("no end of the central directory");
    const quint32 entries = little(xlsx, end + 10, 2);
    qsizetype at = little(xlsx, end + 16, 4);
    for (quint32 e = 0; e < entries; ++e) {
        if (at + 46 > xlsx.size() || little(xlsx, at, 4) != 0x02014b50)
            return QStringLiteral("a broken central directory");
        const quint32 method = little(xlsx, at + 10, 2);
        const quint32 packedSize = little(xlsx, at + 20, 4);
        const quint32 size = little(xlsx, at + 24, 4);
        const quint32 nameLength = little(xlsx, at + 28, 2);
        const quint32 extra = little(xlsx, at + 30, 2);
        const quint32 comment = little(xlsx, at + 32, 2);
        const qsizetype local = little(xlsx, at + 42, 4);
        const QString name = QString::fromUtf8(xlsx.mid(at + 46, nameLength));
        at += 46 + nameLength + extra + comment;
        if (!name.endsWith(QLatin1String(".xml")) && !name.endsWith(QLatin1String(".rels")))
            continue;
        if (local + 30 > xlsx.size())
            return name + QStringLiteral(": no local header");
        const qsizetype data = local + 30 + little(xlsx, local + 26, 2) + little(xlsx, local + 28, 2);
        const QByteArray packed = xlsx.mid(data, packedSize);
        QByteArray xml;
        if (method == 0)
            xml = packed;
        else if (method != 8 || !inflateRaw(packed, size, xml))
            return name + QStringLiteral(": cannot be unpacked");
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        if (reader.hasError())
            return name + QStringLiteral(": ") + reader.errorString();
    }
    return QString();
}

} // namespace fyl::fuzz
