// The catalogue's tender texts and what its data sheets are drawn from. Core layer (fylcore).
#include "print/cataloguedocuments.h"

#include "catalogue/lookups.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QSet>

#include <algorithm>

namespace fyl {

namespace {

const QString kDash = QStringLiteral(" – ");

QString listed(const QStringList& items) {
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" oder ") +
           items.last();
}

QStringList trimmedNonEmpty(const QStringList& items) {
    QStringList out;
    for (const QString& item : items)
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    return out;
}

// "Längen 1000, 1500, 2000 mm; 1, 2 oder 3 Schlitze"
QString lengthsAndCounts(const QStringList& lengths, const QStringList& counts, const QString& slotWord) {
    QStringList parts;
    if (!lengths.isEmpty())
        parts << QStringLiteral("Längen ") + lengths.join(QStringLiteral(", ")) + QStringLiteral(" mm");
    if (!counts.isEmpty())
        parts << listed(counts) + QLatin1Char(' ') + slotWord;
    return parts.join(QStringLiteral("; "));
}

// The program opens these names inside its own folders and refuses any that could lead out of
// them; the build refuses them first, so that no such catalogue ships.
void requireFileName(const QString& name, const QString& who, const QString& what) {
    if (name.isEmpty())
        throw Error(QStringLiteral("Katalog: %1 nennt keinen %2.").arg(who, what));
    if (!isPlainFileName(name))
        throw Error(QStringLiteral("Katalog: %1 nennt als %2 \"%3\", das ist kein einfacher Dateiname.")
                        .arg(who, what, name));
}

// A paragraph of the tender text with its heading, or nothing when the source leaves it empty.
void paragraph(QStringList& lines, const QString& heading, const QString& text) {
    if (text.isEmpty())
        return;
    lines << heading + QStringLiteral(": ") + text << QString();
}

} // namespace

bool DocumentedType::perMetre() const {
    return !sizes.empty() && !sizes.front().design.isEmpty() && sizes.front().design != QLatin1String("0");
}

std::vector<DocumentedType> documentedTypes(const Catalogue& catalogue, const QString& programDir,
                                            const CatalogueDocuments& documents) {
    std::vector<DocumentedType> types;
    for (const OfferedType& offered : offeredTypes(catalogue)) {
        DocumentedType type;
        type.name = offered.name;
        type.calculable = offered.calculable;
        type.kinds = offered.kinds;
        if (offered.calculable) {
            const auto found = documents.types.find(offered.name);
            if (found == documents.types.end())
                throw Error(QStringLiteral("Katalogquelle: der Typ %1 hat unter \"types\" keine Texte "
                                           "(\"documents\") für Ausschreibungstext und Datenblatt.")
                                .arg(offered.name));
            type.documents = found->second;
            type.attributes = typeAttributes(catalogue, offered.name).value_or(TypeAttributes{});
            for (const OfferedSize& offeredSize : offered.sizes) {
                DocumentedSize size;
                size.name = offeredSize.name;
                if (offeredSize.line) {
                    size.design = offeredSize.line->design;
                    size.flowMin = offeredSize.line->smallestFlow;
                    size.flowMax = offeredSize.line->largestFlow;
                    size.dataSheet = offeredSize.line->dataSheet;
                }
                for (const OfferedJetForm& form : offeredSize.jetForms) {
                    if (!form.record)
                        continue; // jetFormsOfSize found the key, so its line has a record number
                    DocumentedJetForm documented{form.number, form.name,
                                                 ReadOutletRecord(programDir, *form.record)};
                    requireFileName(documented.record.tenderTextName(),
                                    QStringLiteral("%1 mit der Strahlform %2").arg(size.name, form.name),
                                    QStringLiteral("Ausschreibungstext (\"tender_text\")"));
                    size.jetForms.push_back(documented);
                }
                type.sizes.push_back(size);
            }
        } else {
            const auto found = std::find_if(documents.sheetOnly.begin(), documents.sheetOnly.end(),
                                            [&](const SheetOnlyType& t) { return t.code == offered.name; });
            if (found == documents.sheetOnly.end())
                throw Error(QStringLiteral("Katalogquelle: der Typ %1 hat keine Berechnungsdaten und steht "
                                           "nicht unter \"data_sheet_types\"; sein Datenblatt fehlte.")
                                .arg(offered.name));
            type.documents = found->documents;
            for (const SheetOnlySize& sheetSize : found->sizes)
                type.sizes.push_back(
                    {sheetSize.name, QString(), sheetSize.flowMin, sheetSize.flowMax, {}, {}});
        }
        types.push_back(type);
    }
    return types;
}

QStringList sizeConfiguration(const DocumentedSize& size) {
    if (size.jetForms.empty() || size.design.isEmpty() || size.design == QLatin1String("0"))
        return {};
    const OutletRecord& record = size.jetForms.front().record;
    if (size.design == QLatin1String("2")) {
        QStringList lines;
        for (const QString& entry : FillSizeList(record)) {
            const SizeTableParts parts = splitSizeTableEntry(entry);
            lines << QStringLiteral("Rohr-Ø %1 mm: ").arg(parts.diameter.trimmed()) +
                         lengthsAndCounts(trimmedNonEmpty(parts.lengths), trimmedNonEmpty(parts.counts),
                                          QStringLiteral("Schlitzreihen"));
        }
        return lines;
    }
    const ConfigurationLists lists = FillConfigurationLists(record);
    const QString text = lengthsAndCounts(trimmedNonEmpty(lists.lengths), trimmedNonEmpty(lists.counts),
                                          QStringLiteral("Schlitze"));
    return text.isEmpty() ? QStringList() : QStringList{text};
}

QString flowRangeText(int flowMin, int flowMax) {
    return QString::number(flowMin) + kDash + QString::number(flowMax);
}

QString flowUnit(const DocumentedType& type) {
    return type.perMetre() ? QStringLiteral("m³/(h·m)") : QStringLiteral("m³/h");
}

QStringList tenderTextLines(const DocumentedType& type) {
    const TypeDocuments& d = type.documents;
    const bool perMetre = type.perMetre();
    const bool tube = !type.sizes.empty() && type.sizes.front().design == QLatin1String("2");
    QStringList lines;
    lines << QStringLiteral("Ausschreibungstext ZELK %1").arg(type.name) << type.name + kDash + d.name
          << QString() << QStringLiteral("Pos. ________   Menge: ________ Stück") << QString();
    lines << d.description << QString();
    paragraph(lines, QStringLiteral("Material"), d.material);
    paragraph(lines, QStringLiteral("Oberfläche"), d.surface);
    paragraph(lines, QStringLiteral("Einbau"), d.installation);
    paragraph(lines, QStringLiteral("Anschluss"), d.connection);

    lines << (perMetre ? QStringLiteral("Lieferbare Größen (Volumenstrom je Meter Schlitzlänge):")
                       : QStringLiteral("Lieferbare Größen (Volumenstrom je Durchlass):"));
    qsizetype nameWidth = 0, flowWidth = 0;
    for (const DocumentedSize& size : type.sizes) {
        nameWidth = std::max(nameWidth, size.name.size());
        flowWidth = std::max(flowWidth, flowRangeText(size.flowMin, size.flowMax).size());
    }
    const QString indent(4, QLatin1Char(' '));
    const QString follow(4 + nameWidth + 3, QLatin1Char(' '));
    for (const DocumentedSize& size : type.sizes) {
        QStringList forms;
        for (const DocumentedJetForm& form : size.jetForms)
            forms << form.name;
        lines << indent + size.name.leftJustified(nameWidth) + QStringLiteral("   ") +
                     (flowRangeText(size.flowMin, size.flowMax) + QLatin1Char(' ') + flowUnit(type))
                         .leftJustified(flowWidth + 1 + flowUnit(type).size()) +
                     QStringLiteral("   ") +
                     (forms.size() == 1 ? QStringLiteral("Strahlform ") : QStringLiteral("Strahlformen ")) +
                     forms.join(QStringLiteral("; "));
        for (const QString& configuration : sizeConfiguration(size))
            lines << follow + configuration;
    }
    lines << QString();

    if (!d.accessories.isEmpty()) {
        lines << QStringLiteral("Zubehör (auf Wunsch, als eigene Position auszuschreiben):");
        for (const QString& item : d.accessories)
            lines << QStringLiteral("  - ") + item;
        lines << QString();
    }

    lines << QStringLiteral("Fabrikat: ZELK") << QStringLiteral("Typ: %1 ________ (Größe)").arg(type.name)
          << QStringLiteral("Strahlform: ________");
    if (tube)
        lines << QStringLiteral("Rohrdurchmesser: ________ mm");
    if (perMetre)
        lines << QStringLiteral("Länge je Durchlass: ________ mm") << QStringLiteral("Schlitzzahl: ________");
    lines << QStringLiteral("Volumenstrom je Durchlass: ________ m³/h")
          << QStringLiteral("Druckverlust: ________ Pa")
          << QStringLiteral("Schallleistungspegel LWA: ________ dB(A)") << QString()
          << QStringLiteral("Einheitspreis: ____________ EUR   Gesamtpreis: ____________ EUR");
    return lines;
}

QByteArray plainTextFile(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

std::map<QString, QByteArray> tenderTextFiles(const std::vector<DocumentedType>& types) {
    std::map<QString, QByteArray> files;
    for (const DocumentedType& type : types) {
        if (!type.calculable)
            continue;
        QSet<QString> names;
        for (const DocumentedSize& size : type.sizes)
            for (const DocumentedJetForm& form : size.jetForms)
                names << form.record.tenderTextName();
        const QByteArray text = plainTextFile(tenderTextLines(type));
        for (const QString& name : names) {
            const auto [at, fresh] = files.emplace(name, text);
            if (!fresh && at->second != text)
                throw Error(
                    QStringLiteral("Katalog: der Ausschreibungstext %1 wird von mehreren Typen genannt.")
                        .arg(name));
        }
    }
    return files;
}

QStringList dataSheetNames(const DocumentedType& type) {
    QStringList names{type.name + QStringLiteral(".pdf")};
    for (const DocumentedSize& size : type.sizes)
        if (!size.dataSheet.isEmpty() && !names.contains(size.dataSheet))
            names << size.dataSheet;
    for (const QString& name : names)
        requireFileName(name, QStringLiteral("Der Typ %1").arg(type.name), QStringLiteral("Datenblatt"));
    return names;
}

} // namespace fyl
