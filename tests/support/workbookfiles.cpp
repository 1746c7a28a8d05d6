// Workbooks for tests and seeds: XML parts zipped with minizip's zip API. Test support.
#include "tests/support/workbookfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <zip.h>

namespace fyl::test {

QByteArray zipArchive(const std::vector<ZipPart>& parts) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("archive.zip")));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    if (zip == nullptr)
        return {};
    bool ok = true;
    for (const ZipPart& part : parts) {
        zip_fileinfo info{};
        info.tmz_date = {0, 0, 0, 1, 0, 2024}; // fixed, so that the bytes do not change by the day
        const int method = part.deflated ? Z_DEFLATED : 0;
        ok = ok &&
             zipOpenNewFileInZip64(zip, part.name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0,
                                   nullptr, method, part.deflated ? Z_DEFAULT_COMPRESSION : 0, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, part.bytes.constData(), static_cast<unsigned>(part.bytes.size())) ==
                 ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    QFile file(QFile::decodeName(path));
    return ok && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

} // namespace

QByteArray xlsxWorkbook(const QString& sheet, const QString& sheetData, const QStringList& shared,
                        const QList<int>& styleFormats, const QStringList& numFmts, bool deflated) {
    const QString main = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    const QString rel = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    QString strings;
    for (const QString& s : shared)
        strings += QStringLiteral("<si><t xml:space=\"preserve\">%1</t></si>").arg(escaped(s));
    QString formats, xfs;
    for (int i = 0; i < numFmts.size(); ++i)
        formats += QStringLiteral("<numFmt numFmtId=\"%1\" formatCode=\"%2\"/>")
                       .arg(164 + i)
                       .arg(escaped(numFmts[i]));
    for (const int id : styleFormats)
        xfs += QStringLiteral("<xf numFmtId=\"%1\" fontId=\"0\"/>").arg(id);
    const auto part = [&](const QString& name, const QString& xml) {
        return ZipPart{name,
                       ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + xml).toUtf8(),
                       deflated};
    };
    return zipArchive({
        part(QStringLiteral("[Content_Types].xml"),
             QStringLiteral(
                 "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>")),
        part(QStringLiteral("xl/workbook.xml"),
             QStringLiteral(
                 "<workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets><sheet name=\"%3\" sheetId=\"1\" "
                 "r:id=\"rId7\"/><sheet name=\"Leer\" sheetId=\"2\" r:id=\"rId1\"/></sheets></workbook>")
                 .arg(main, rel, escaped(sheet))),
        part(QStringLiteral("xl/_rels/workbook.xml.rels"),
             QStringLiteral(
                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                 "<Relationship Id=\"rId1\" Type=\"%1/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                 "<Relationship Id=\"rId7\" Type=\"%1/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
                 "<Relationship Id=\"rId3\" Type=\"%1/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                 "<Relationship Id=\"rId4\" Type=\"%1/styles\" Target=\"styles.xml\"/></Relationships>")
                 .arg(rel)),
        part(QStringLiteral("xl/worksheets/sheet1.xml"),
             QStringLiteral("<worksheet xmlns=\"%1\"><sheetData/></worksheet>").arg(main)),
        part(QStringLiteral("xl/worksheets/sheet2.xml"),
             QStringLiteral("<worksheet xmlns=\"%1\"><sheetData>%2</sheetData></worksheet>")
                 .arg(main, sheetData)),
        part(QStringLiteral("xl/sharedStrings.xml"),
             QStringLiteral("<sst xmlns=\"%1\">%2</sst>").arg(main, strings)),
        part(
            QStringLiteral("xl/styles.xml"),
            QStringLiteral("<styleSheet xmlns=\"%1\"><numFmts>%2</numFmts><cellXfs>%3</cellXfs></styleSheet>")
                .arg(main, formats, xfs)),
    });
}

QString xlsxRow(int line, const QString& fields) {
    QString cells;
    const QStringList values = fields.split(QLatin1Char(';'));
    for (int c = 0; c < values.size(); ++c) {
        const QString& v = values[c];
        if (v.isEmpty())
            continue;
        bool number = false;
        v.toDouble(&number);
        const QString name = QString(QChar(u'A' + c)) + QString::number(line);
        cells +=
            number
                ? QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(name, v)
                : QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t>%2</t></is></c>").arg(name, escaped(v));
    }
    return QStringLiteral("<row r=\"%1\">%2</row>").arg(line).arg(cells);
}

QString odsRow(const QString& fields) {
    QString cells;
    for (const QString& v : fields.split(QLatin1Char(';'))) {
        bool number = false;
        v.toDouble(&number);
        if (v.isEmpty())
            cells += QStringLiteral("<table:table-cell/>");
        else if (number)
            cells += QStringLiteral("<table:table-cell office:value-type=\"float\" office:value=\"%1\" "
                                    "calcext:value-type=\"float\"><text:p>%2</text:p></table:table-cell>")
                         .arg(v, QString(v).replace(QLatin1Char('.'), QLatin1Char(',')));
        else
            cells += QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p>"
                                    "</table:table-cell>")
                         .arg(escaped(v));
    }
    return QStringLiteral("<table:table-row>%1</table:table-row>").arg(cells);
}

QByteArray odsWorkbook(const QString& table, const QString& rows, bool deflated) {
    const QString content =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
            "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" "
            "office:version=\"1.3\"><office:body><office:spreadsheet>"
            "<table:table table:name=\"%1\"><table:table-column table:number-columns-repeated=\"20\"/>%2"
            "</table:table><table:table table:name=\"Leer\"><table:table-row><table:table-cell "
            "office:value-type=\"float\" "
            "office:value=\"1\"><text:p>1</text:p></table:table-cell></table:table-row></table:table>"
            "</office:spreadsheet></office:body></office:document-content>")
            .arg(escaped(table), rows);
    return zipArchive({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", false},
                       {QStringLiteral("content.xml"), content.toUtf8(), deflated}});
}

} // namespace fyl::test
