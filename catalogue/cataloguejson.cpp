// The diagnostic JSON forms of the catalogue for the command line. Core layer (fylcore).
#include "catalogue/cataloguejson.h"

#include "frame/jsontext.h"
#include "frame/recordfields.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <charconv>
#include <cmath>

namespace fyl {

namespace {

template <std::size_t N>
QString stringArray(const std::array<QString, N>& table, std::size_t count, const QString& indent) {
    QString out = QStringLiteral("[");
    for (std::size_t i = 0; i < count; ++i)
        out += (i ? QStringLiteral(",\n") : QStringLiteral("\n")) + indent + QStringLiteral("  ") +
               jsonString(table[i]);
    return out + (count ? QStringLiteral("\n") + indent + QStringLiteral("]") : QStringLiteral("]"));
}

} // namespace

QString catalogueDumpJson(const Catalogue& c, const std::optional<CatalogueLoadFailure>& failure) {
    const QString in = QStringLiteral("  ");
    auto clampCount = [](int count, std::size_t size) {
        return static_cast<std::size_t>(std::clamp<int>(count, 0, static_cast<int>(size)));
    };
    QStringList members;
    members << QStringLiteral("\"CharacteristicNames1\": ") + stringArray(c.characteristicNames1, 8, in)
            << QStringLiteral("\"CharacteristicNames2\": ") + stringArray(c.characteristicNames2, 8, in)
            << QStringLiteral("\"CharacteristicNames3\": ") + stringArray(c.characteristicNames3, 8, in)
            << QStringLiteral("\"JetFormNames\": ") + stringArray(c.jetFormNames, 8, in)
            << QStringLiteral("\"JetFormCount\": %1").arg(c.jetFormCount)
            << QStringLiteral("\"OutletListLines\": ") +
                   stringArray(c.outletListLines, clampCount(c.outletListCount, c.outletListLines.size()), in)
            << QStringLiteral("\"OutletListCount\": %1").arg(c.outletListCount)
            << QStringLiteral("\"CatalogueIndex\": ") +
                   stringArray(c.catalogueIndex, clampCount(c.indexCount, c.catalogueIndex.size()), in)
            << QStringLiteral("\"IndexCount\": %1").arg(c.indexCount)
            << QStringLiteral("\"TypeCodeList\": ") + stringArray(c.typeCodeList, 25, in);
    if (failure)
        members << QStringLiteral("\"error\": {\"file\": ") + jsonString(failure->file) +
                       QStringLiteral(", \"message\": ") + jsonString(failure->message) + QLatin1Char('}');
    else
        members << QStringLiteral("\"error\": null");
    return QStringLiteral("{\n") + in + members.join(QStringLiteral(",\n") + in) + QStringLiteral("\n}\n");
}

QString outletRecordJson(const OutletRecord& record) {
    QStringList members;
    auto text = [&](const char* key) {
        for (const auto& field : outletTextFields())
            if (qstrcmp(field.key, key) == 0)
                members << jsonString(QString::fromLatin1(key)) + QStringLiteral(": ") +
                               jsonString(readText(record, field));
    };
    auto real = [&](const char* key) {
        for (const auto& field : outletRealFields())
            if (qstrcmp(field.key, key) == 0)
                members << jsonString(QString::fromLatin1(key)) + QStringLiteral(": ") +
                               exactReal(readReal(record, field));
    };
    for (const char* key : {"type_name", "size_name", "third_name", "article_number", "jet_form_code"})
        text(key);
    real("v_min");
    real("v_max");
    text("tender_text");
    for (const auto& field : outletRealFields())
        if (qstrcmp(field.key, "v_min") != 0 && qstrcmp(field.key, "v_max") != 0)
            real(field.key);
    text("lengths_list");
    text("counts_list");
    QStringList entries;
    for (const SizeTableEntry& entry : record.sizeTable) {
        const std::uint8_t b117 = entry.byte117;
        const std::int16_t i118 = entry.int118;
        const std::uint8_t b120 = entry.byte120;
        // Concatenated, not QString::arg: the text comes from the file and may hold "%1".
        entries << QStringLiteral("    {\"text\": ") + jsonString(entry.content.str()) +
                       QStringLiteral(", \"byte117\": ") + QString::number(b117) +
                       QStringLiteral(", \"int118\": ") + QString::number(i118) +
                       QStringLiteral(", \"byte120\": ") + QString::number(b120) + QLatin1Char('}');
    }
    members << QStringLiteral("\"size_table\": [\n") + entries.join(QStringLiteral(",\n")) +
                   QStringLiteral("\n  ]");
    return QStringLiteral("{\n  ") + members.join(QStringLiteral(",\n  ")) + QStringLiteral("\n}\n");
}

} // namespace fyl
