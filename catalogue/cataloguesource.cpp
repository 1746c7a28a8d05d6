// The catalogue builder: the readable JSON source into the seven catalogue files, written as
// one set. Core layer (fylcore).
#include "catalogue/cataloguesource.h"

#include "catalogue/checker.h"
#include "catalogue/layouts.h"
#include "catalogue/loaders.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/record.h"
#include "frame/recordfields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <cstring>

namespace fyl {

namespace {

[[noreturn]] void fail(const QString& where, const QString& what) {
    throw Error(QStringLiteral("Katalogquelle, %1: %2").arg(where, what));
}

QString stringAt(const QJsonObject& object, const char* key, const QString& where) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        fail(where, QStringLiteral("\"%1\" fehlt oder ist kein Text.").arg(QLatin1String(key)));
    return value.toString();
}

int wholeNumber(const QJsonValue& value, const QString& where, int low, int high) {
    const double d = value.toDouble(std::nan(""));
    if (!value.isDouble() || d != std::floor(d) || d < low || d > high)
        fail(where, QStringLiteral("eine ganze Zahl von %1 bis %2 wird erwartet.").arg(low).arg(high));
    return static_cast<int>(d);
}

void requireFits(const QString& text, int width, const QString& where) {
    if (text.size() > width)
        fail(where, QStringLiteral("\"%1\" ist länger als %2 Zeichen.").arg(text, QString::number(width)));
    if (fromAnsi(toAnsi(text)) != text)
        fail(where, QStringLiteral("\"%1\" enthält Zeichen außerhalb der Codepage 1252.").arg(text));
}

QByteArray textFile(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + "\r\n";
    return bytes;
}

QStringList nameList(const QJsonObject& root, const char* key, int width) {
    const QString where = QString::fromLatin1(key);
    const QJsonValue value = root.value(QLatin1String(key));
    if (!value.isArray())
        fail(where, QStringLiteral("eine Liste von Namen wird erwartet."));
    const QJsonArray array = value.toArray();
    if (array.size() > 8)
        fail(where, QStringLiteral("höchstens 8 Namen sind möglich."));
    QStringList names;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString at = QStringLiteral("%1[%2]").arg(where).arg(i);
        if (!array[i].isString())
            fail(at, QStringLiteral("ein Text wird erwartet."));
        requireFits(array[i].toString(), width, at);
        names << array[i].toString();
    }
    return names;
}

QString flagString(const QJsonObject& type, const char* key, Columns columns, const QString& where) {
    QString flags(columns.width(), QLatin1Char('0'));
    const QJsonValue value = type.value(QLatin1String(key));
    if (value.isUndefined())
        return flags;
    if (!value.isArray())
        fail(where, QStringLiteral("\"%1\" muss eine Liste von Nummern sein.").arg(QLatin1String(key)));
    // Only the eight named places of each table exist; a flag beyond them fails at run time.
    for (const QJsonValue v : value.toArray())
        flags[wholeNumber(v, where + QLatin1Char('.') + QLatin1String(key), 1, 8) - 1] = QLatin1Char('1');
    return flags;
}

QString rightAligned(int number, int width) {
    return QStringLiteral("%1").arg(number, width);
}

// The greatest whole number that fits `width` characters.
int widest(int width) {
    int number = 9;
    while (--width > 0)
        number = number * 10 + 9;
    return number;
}

// "lengths_list" / "counts_list": a text as it stands, or numbers laid out right-aligned in
// pieces of `width` characters.
QString itemList(const QJsonValue& value, int width, const QString& where) {
    if (value.isString())
        return value.toString();
    if (!value.isArray())
        fail(where, QStringLiteral("ein Text oder eine Liste von Zahlen wird erwartet."));
    QString text;
    for (const QJsonValue v : value.toArray())
        text += rightAligned(wholeNumber(v, where, 1, widest(width)), width);
    return text;
}

// One size table entry of a slot tube, laid out as sizetableentry says; " mm" follows the
// diameter for the planner who reads the entry in the list.
QString sizeTableText(const QJsonObject& entry, const QString& where) {
    using namespace sizetableentry;
    const int diameter = wholeNumber(entry.value(QLatin1String("diameter")),
                                     where + QStringLiteral(".diameter"), 1, widest(kDiameter.width()));
    QString text = (rightAligned(diameter, kDiameter.width()) + QStringLiteral(" mm"))
                       .leftJustified(kLengths.first - 1, QLatin1Char(' '));
    QString lengths;
    for (const QJsonValue v : entry.value(QLatin1String("lengths")).toArray())
        lengths += rightAligned(wholeNumber(v, where + QStringLiteral(".lengths"), 1, widest(kLengthWidth)),
                                kLengthWidth);
    if (lengths.isEmpty() || lengths.size() > kLengths.width())
        fail(where,
             QStringLiteral("1 bis %1 Rohrlängen werden erwartet.").arg(kLengths.width() / kLengthWidth));
    text += lengths.leftJustified(kLengths.width(), QLatin1Char(' '));
    QString counts;
    for (const QJsonValue v : entry.value(QLatin1String("counts")).toArray())
        counts += rightAligned(wholeNumber(v, where + QStringLiteral(".counts"), 1, widest(kCountDigits)),
                               kCountDigits)
                      .leftJustified(kCountWidth, QLatin1Char(' '));
    if (counts.isEmpty())
        fail(where, QStringLiteral("mindestens eine Schlitzzahl wird erwartet."));
    text += counts;
    if (text.size() > kMaxLength)
        fail(where, QStringLiteral("der Eintrag ist länger als %1 Zeichen.").arg(kMaxLength));
    return text;
}

void applyFields(OutletRecord& record, const QJsonObject& fields, const QString& where,
                 QSet<QString>& given) {
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QString key = it.key();
        const QString at = where + QLatin1Char('.') + key;
        if (key.startsWith(QLatin1String("about")))
            continue;
        bool known = false;
        for (const auto& field : outletRealFields()) {
            if (key != QLatin1String(field.key))
                continue;
            known = true;
            if (!it.value().isDouble() || !std::isfinite(it.value().toDouble()))
                fail(at, QStringLiteral("eine endliche Zahl wird erwartet."));
            writeReal(record, field, it.value().toDouble());
            given.insert(key);
        }
        for (const auto& field : outletTextFields()) {
            if (key != QLatin1String(field.key))
                continue;
            known = true;
            QString text;
            if (key == QLatin1String("lengths_list"))
                text = itemList(it.value(), kLengthsListItemWidth, at);
            else if (key == QLatin1String("counts_list"))
                text = itemList(it.value(), kCountsListItemWidth, at);
            else if (it.value().isString())
                text = it.value().toString();
            else
                fail(at, QStringLiteral("ein Text wird erwartet."));
            requireFits(text, static_cast<int>(field.shortString ? field.size - 1 : field.size), at);
            writeText(record, field, text);
        }
        if (key == QLatin1String("size_table")) {
            known = true;
            const QJsonArray entries = it.value().toArray();
            if (!it.value().isArray() || entries.size() > 25)
                fail(at, QStringLiteral("eine Liste von höchstens 25 Einträgen wird erwartet."));
            for (SizeTableEntry& entry : record.sizeTable)
                std::memset(&entry, 0, sizeof entry);
            for (qsizetype i = 0; i < entries.size(); ++i) {
                const QString entryAt = at + QStringLiteral("[%1]").arg(i);
                const QString text = entries[i].isString() ? entries[i].toString()
                                                           : sizeTableText(entries[i].toObject(), entryAt);
                requireFits(text, sizetableentry::kMaxLength, entryAt);
                record.sizeTable[i].content.assign(text);
            }
        }
        if (!known)
            fail(at, QStringLiteral("unbekanntes Feld."));
    }
}

QJsonObject parsedSource(const QByteArray& sourceJson) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(sourceJson, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        fail(QStringLiteral("Zeichen %1").arg(parseError.offset), parseError.errorString());
    return document.object();
}

} // namespace

BuiltCatalogue buildCatalogue(const QByteArray& sourceJson) {
    const QJsonObject root = parsedSource(sourceJson);

    BuiltCatalogue built;
    built.files[QString::fromLatin1(kKennFiles[0])] =
        textFile(nameList(root, "characteristic_names_1", kNameWidth));
    built.files[QString::fromLatin1(kKennFiles[1])] =
        textFile(nameList(root, "characteristic_names_2", kNameWidth));
    built.files[QString::fromLatin1(kKennFiles[2])] =
        textFile(nameList(root, "characteristic_names_3", kNameWidth));
    const QStringList jetForms = nameList(root, "jet_forms", kJetFormWidth);
    for (qsizetype i = 0; i < jetForms.size(); ++i)
        if (jetForms[i].size() < 2 || jetForms[i][1] != QChar(static_cast<char16_t>(u'1' + i)))
            fail(QStringLiteral("jet_forms[%1]").arg(i),
                 QStringLiteral("das zweite Zeichen muss die Nummer der Strahlform (%1) sein.").arg(i + 1));
    built.files[QString::fromLatin1(kJetFormFile)] = textFile(jetForms);

    const QJsonArray installations = root.value(QLatin1String("installations")).toArray();
    if (installations.isEmpty() || installations.size() > 12)
        fail(QStringLiteral("installations"), QStringLiteral("1 bis 12 Einbauarten werden erwartet."));
    QStringList outletList;
    for (qsizetype i = 0; i < installations.size(); ++i) {
        const QString at = QStringLiteral("installations[%1]").arg(i);
        const QJsonObject installation = installations[i].toObject();
        const QString name = stringAt(installation, "name", at);
        requireFits(name, outletlistline::kInstallationKind.width(), at);
        QString line = name.leftJustified(outletlistline::kInstallationKind.width(), QLatin1Char(' '));
        for (const QJsonValue type : installation.value(QLatin1String("types")).toArray()) {
            const QString typeName = type.toString();
            if (typeName.isEmpty() || typeName.contains(QLatin1Char('/')) || typeName != typeName.toUpper())
                fail(at, QStringLiteral("Typnamen sind nicht leere Großbuchstaben-Texte ohne \"/\"."));
            line += typeName + QLatin1Char('/');
        }
        outletList << line;
    }
    built.files[QString::fromLatin1(kOutletListFile)] = textFile(outletList);

    QStringList indexLines;
    QByteArray detail;
    const QJsonArray types = root.value(QLatin1String("types")).toArray();
    for (qsizetype t = 0; t < types.size(); ++t) {
        const QJsonObject type = types[t].toObject();
        const QString typeAt = QStringLiteral("types[%1]").arg(t);
        const QString code = stringAt(type, "code", typeAt);
        if (code.size() != indexline::kTypeCode.width() || code != code.toUpper() ||
            code.contains(QLatin1Char(' ')))
            fail(typeAt,
                 QStringLiteral("der Typcode hat genau %1 Zeichen, groß geschrieben, ohne Leerzeichen.")
                     .arg(indexline::kTypeCode.width()));
        const QString design = stringAt(type, "design", typeAt);
        if (design.size() != indexline::kDesign.width() || design[0] < QLatin1Char('0') ||
            design[0] > QLatin1Char('3'))
            fail(typeAt, QStringLiteral("die Bauart ist \"0\", \"1\", \"2\" oder \"3\"."));
        const QString dataSheet = stringAt(type, "data_sheet", typeAt);
        if (dataSheet.size() > indexline::kDataSheet.width() || dataSheet.contains(QLatin1Char(' ')))
            fail(typeAt, QStringLiteral("der Datenblattname hat höchstens %1 Zeichen und keine Leerzeichen.")
                             .arg(indexline::kDataSheet.width()));
        const QString mounting = flagString(type, "mounting", indexline::kMountingFlags, typeAt);
        const QString adjustment = flagString(type, "adjustment", indexline::kAdjustmentFlags, typeAt);
        const QString use = flagString(type, "use", indexline::kUseFlags, typeAt);
        const QJsonArray sizes = type.value(QLatin1String("sizes")).toArray();
        if (sizes.isEmpty())
            fail(typeAt, QStringLiteral("mindestens eine Größe wird erwartet."));
        for (qsizetype s = 0; s < sizes.size(); ++s) {
            const QJsonObject size = sizes[s].toObject();
            const QString sizeAt = QStringLiteral("%1.sizes[%2]").arg(typeAt).arg(s);
            const QString name = stringAt(size, "name", sizeAt);
            requireFits(name, indexline::kSizeName.width(), sizeAt);
            if (!name.startsWith(code))
                fail(sizeAt, QStringLiteral("der Größenname beginnt mit dem Typcode %1.").arg(code));
            const int vMin =
                wholeNumber(size.value(QLatin1String("v_min")), sizeAt + QStringLiteral(".v_min"), 0,
                            widest(indexline::kLeastFlow.width()));
            const int vMax =
                wholeNumber(size.value(QLatin1String("v_max")), sizeAt + QStringLiteral(".v_max"), 0,
                            widest(indexline::kGreatestFlow.width()));
            if (vMin >= vMax)
                fail(sizeAt, QStringLiteral("v_min muss kleiner als v_max sein."));
            const QJsonObject forms = size.value(QLatin1String("jet_forms")).toObject();
            if (forms.isEmpty())
                fail(sizeAt, QStringLiteral("mindestens eine Strahlform wird erwartet."));
            for (auto form = forms.begin(); form != forms.end(); ++form) {
                const QString formAt = sizeAt + QStringLiteral(".jet_forms.") + form.key();
                static const QRegularExpression formKey(QStringLiteral("^0[1-8]$"));
                if (!formKey.match(form.key()).hasMatch() || form.key()[1].digitValue() > jetForms.size())
                    fail(formAt, QStringLiteral("die Strahlform ist nicht in \"jet_forms\" aufgeführt."));

                OutletRecord record;
                std::memset(&record, 0, sizeof record);
                QSet<QString> given;
                const auto defaultText = [&](const char* key, const QString& value) {
                    for (const auto& field : outletTextFields())
                        if (qstrcmp(field.key, key) == 0)
                            writeText(record, field, value);
                };
                defaultText("type_name", code);
                defaultText("size_name", name.mid(indexline::kTypeCode.width()).trimmed().left(11));
                defaultText("jet_form_code", form.key());
                applyFields(record, type.value(QLatin1String("record")).toObject(),
                            typeAt + QStringLiteral(".record"), given);
                applyFields(record, size.value(QLatin1String("record")).toObject(),
                            sizeAt + QStringLiteral(".record"), given);
                applyFields(record, form.value().toObject(), formAt, given);
                if (record.jetFormCodeText() != form.key())
                    fail(formAt, QStringLiteral("jet_form_code widerspricht der Strahlform."));
                record.vMin = vMin;
                record.vMax = vMax;
                given << QStringLiteral("v_min") << QStringLiteral("v_max");
                for (const auto& field : outletRealFields())
                    if (!given.contains(QLatin1String(field.key)))
                        fail(formAt, QStringLiteral("das Feld \"%1\" ist nirgends angegeben.")
                                         .arg(QLatin1String(field.key)));

                const int recordNo = ++built.recordCount;
                const int maxRecords = widest(indexline::kRecordNumber.width());
                const int maxLines = static_cast<int>(std::tuple_size_v<decltype(Catalogue::catalogueIndex)>);
                if (recordNo > maxRecords || indexLines.size() >= maxLines)
                    fail(formAt, QStringLiteral("mehr als %1 Indexzeilen oder %2 Datensätze.")
                                     .arg(maxLines)
                                     .arg(maxRecords));
                detail.append(reinterpret_cast<const char*>(&record), sizeof record);
                // Blank wherever no field stands, column 112 included: the size filter reads the
                // greatest flow from there on.
                using namespace indexline;
                QString line(kWrittenLength, QLatin1Char(' '));
                setColumnText(line, kSizeName, name);
                setColumnText(line, kJetFormCode, form.key());
                setColumnText(line, kDesign, design);
                setColumnText(line, kRecordNumber, rightAligned(recordNo, kRecordNumber.width()));
                setColumnText(line, kMountingFlags, mounting);
                setColumnText(line, kAdjustmentFlags, adjustment);
                setColumnText(line, kUseFlags, use);
                setColumnText(line, kLeastFlow, rightAligned(vMin, kLeastFlow.width()));
                setColumnText(line, kGreatestFlow, rightAligned(vMax, kGreatestFlow.width()));
                setColumnText(line, kDataSheet, dataSheet);
                indexLines << line;
            }
        }
    }
    if (indexLines.isEmpty())
        fail(QStringLiteral("types"), QStringLiteral("der Katalog enthält keine Größe."));
    built.files[QString::fromLatin1(kIndexFile)] = textFile(indexLines);
    built.files[QString::fromLatin1(kDetailFile)] = detail;
    return built;
}

namespace {

TypeDocuments typeDocuments(const QJsonObject& type, const QString& typeAt) {
    const QString at = typeAt + QStringLiteral(".documents");
    const QJsonValue value = type.value(QLatin1String("documents"));
    if (!value.isObject())
        fail(at, QStringLiteral("die Texte für Ausschreibungstext und Datenblatt fehlen."));
    const QJsonObject documents = value.toObject();
    const auto optionalText = [&](const char* key) {
        const QJsonValue v = documents.value(QLatin1String(key));
        if (!v.isUndefined() && !v.isString())
            fail(at, QStringLiteral("\"%1\" ist kein Text.").arg(QLatin1String(key)));
        return v.toString().trimmed();
    };
    TypeDocuments docs;
    docs.name = stringAt(documents, "name", at).trimmed();
    docs.description = stringAt(documents, "description", at).trimmed();
    if (docs.name.isEmpty() || docs.description.isEmpty())
        fail(at, QStringLiteral("\"name\" und \"description\" dürfen nicht leer sein."));
    docs.material = optionalText("material");
    docs.surface = optionalText("surface");
    docs.installation = optionalText("installation");
    docs.connection = optionalText("connection");
    for (const QJsonValue item : documents.value(QLatin1String("accessories")).toArray()) {
        if (!item.isString())
            fail(at + QStringLiteral(".accessories"), QStringLiteral("ein Text wird erwartet."));
        docs.accessories << item.toString().trimmed();
    }
    return docs;
}

} // namespace

CatalogueDocuments readCatalogueDocuments(const QByteArray& sourceJson) {
    const QJsonObject root = parsedSource(sourceJson);
    CatalogueDocuments result;
    const QJsonArray types = root.value(QLatin1String("types")).toArray();
    for (qsizetype t = 0; t < types.size(); ++t) {
        const QString at = QStringLiteral("types[%1]").arg(t);
        const QJsonObject type = types[t].toObject();
        result.types[stringAt(type, "code", at)] = typeDocuments(type, at);
    }
    const QJsonArray sheetOnly = root.value(QLatin1String("data_sheet_types")).toArray();
    for (qsizetype t = 0; t < sheetOnly.size(); ++t) {
        const QString at = QStringLiteral("data_sheet_types[%1]").arg(t);
        const QJsonObject type = sheetOnly[t].toObject();
        SheetOnlyType entry{stringAt(type, "code", at), typeDocuments(type, at), {}};
        if (result.types.count(entry.code))
            fail(at,
                 QStringLiteral("%1 hat Berechnungsdaten und steht schon unter \"types\".").arg(entry.code));
        const QJsonArray sizes = type.value(QLatin1String("sizes")).toArray();
        if (sizes.isEmpty())
            fail(at, QStringLiteral("mindestens eine Größe wird erwartet."));
        for (qsizetype s = 0; s < sizes.size(); ++s) {
            const QString sizeAt = QStringLiteral("%1.sizes[%2]").arg(at).arg(s);
            const QJsonObject size = sizes[s].toObject();
            SheetOnlySize sheetSize{
                stringAt(size, "name", sizeAt).trimmed(),
                wholeNumber(size.value(QLatin1String("v_min")), sizeAt + QStringLiteral(".v_min"), 0, 99999),
                wholeNumber(size.value(QLatin1String("v_max")), sizeAt + QStringLiteral(".v_max"), 0, 99999)};
            if (sheetSize.flowMin >= sheetSize.flowMax)
                fail(sizeAt, QStringLiteral("v_min muss kleiner als v_max sein."));
            entry.sizes.push_back(sheetSize);
        }
        result.sheetOnly.push_back(entry);
    }
    return result;
}

BuiltCatalogue buildCatalogueFromFile(const QString& sourcePath) {
    return buildCatalogue(
        readWholeFile(sourcePath, kMaxCatalogueSourceBytes, QStringLiteral("Die Katalogquelle")));
}

void writeCatalogueFiles(const BuiltCatalogue& built, const QString& folder) {
    // The staged files are checked as the program would load them: a catalogue the check refuses
    // (a name with a line break, a coefficient no formula can use) never replaces a working one.
    writeFileSet(built.files, folder, [](const QString& staged) {
        const std::vector<CatalogueFinding> findings = checkCatalogue(staged);
        if (findings.empty())
            return;
        QStringList lines;
        for (const CatalogueFinding& finding : findings)
            lines << formatFinding(finding);
        throw Error(
            QStringLiteral("Der gebaute Katalog besteht die Prüfung nicht und wird nicht geschrieben:\n") +
            lines.join(QLatin1Char('\n')));
    });
}

} // namespace fyl
