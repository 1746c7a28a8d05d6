// The maker's check of a catalogue folder: what would fail or mislead at run time. Core layer
// (fylcore).
#include "catalogue/checker.h"

#include "catalogue/layouts.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"
#include "frame/recordfields.h"

#include <QFileInfo>

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace fyl {

namespace {

// "107-110", or "36" for a single column: how the messages name a field's place.
QString columnsName(Columns columns) {
    return columns.first == columns.last
               ? QString::number(columns.first)
               : QString::number(columns.first) + QLatin1Char('-') + QString::number(columns.last);
}

std::optional<int> wholeNumber(const QString& text) {
    try {
        return numbers::parseInt(text);
    } catch (const Error&) {
        return std::nullopt;
    }
}

class Checker {
public:
    explicit Checker(const QString& folder) : folder_(folder) {}

    std::vector<CatalogueFinding> run() {
        QString failedFile;
        try {
            LoadCatalogue(catalogue_, folder_, &failedFile);
        } catch (const Error& e) {
            const bool range = dynamic_cast<const RangeError*>(&e) != nullptr;
            add(failedFile, range ? surplusLine(failedFile) : 0, 0, e.message());
        }
        checkNotEmpty(kIndexFile, QStringLiteral("die Auswahl findet keine Größe."));
        checkNotEmpty(kOutletListFile, QStringLiteral("die Auswahl zeigt keine Einbauart."));
        checkNotEmpty(kDetailFile, QStringLiteral("es gibt keinen Datensatz."));
        checkJetForms();
        checkOutletList();
        checkTypeCodes();
        openDetailFile();
        for (int j = 1; j <= catalogue_.indexCount; ++j)
            checkIndexLine(j);
        return findings_;
    }

private:
    void add(const QString& file, int line, int column, const QString& message) {
        findings_.push_back({file, line, column, message});
    }
    void addIndex(int line, int column, const QString& message) {
        add(QString::fromLatin1(kIndexFile), line, column, message);
    }

    // An empty file loads without an error, yet leaves the selection with nothing to offer.
    void checkNotEmpty(const char* name, const QString& consequence) {
        const QFileInfo info(joinPath(folder_, QString::fromLatin1(name)));
        if (info.isFile() && info.size() == 0)
            add(QString::fromLatin1(name), 0, 0, QStringLiteral("Die Datei ist leer: ") + consequence);
    }

    static int surplusLine(const QString& file) {
        if (file == QLatin1String(kIndexFile))
            return 251;
        if (file == QLatin1String(kOutletListFile))
            return 13;
        return 9;
    }

    void checkJetForms() {
        for (int n = 1; n <= catalogue_.jetFormCount; ++n) {
            const QString name = catalogue_.jetFormNames[static_cast<std::size_t>(n - 1)];
            if (name.size() < 2 || name[1] != QChar(static_cast<char16_t>(u'0' + n)))
                add(QString::fromLatin1(kJetFormFile), n, 2,
                    QStringLiteral("Das zweite Zeichen der Strahlform %1 ist nicht die Ziffer %1; die "
                                   "Auswahl findet sie nicht.")
                        .arg(n));
        }
    }

    void checkOutletList() {
        const QString file = QString::fromLatin1(kOutletListFile);
        bool emptySeen = false;
        for (int j = 0; j < catalogue_.outletListCount; ++j) {
            const QString line = catalogue_.outletListLines[static_cast<std::size_t>(j)];
            if (line.isEmpty()) {
                emptySeen = true;
                continue;
            }
            if (emptySeen)
                add(file, j + 1, 1,
                    QStringLiteral("Die Einbauart steht nach einer leeren Zeile und wird nicht angezeigt."));
            if (line.size() < outletlistline::kTypeNamesFrom) {
                add(file, j + 1, outletlistline::kTypeNamesFrom,
                    QStringLiteral("Ab Spalte %1 fehlt die Liste der Typen.")
                        .arg(outletlistline::kTypeNamesFrom));
                continue;
            }
            if (!line.endsWith(QLatin1Char('/')))
                add(file, j + 1, static_cast<int>(line.size()),
                    QStringLiteral("Der letzte Typname ist nicht mit \"/\" abgeschlossen."));
            const QString kind = columnText(line, outletlistline::kInstallationKind);
            for (int k = 0; k < catalogue_.outletListCount; ++k)
                if (k != j && catalogue_.outletListLines[static_cast<std::size_t>(k)].contains(kind))
                    add(file, j + 1, 1,
                        QStringLiteral("Die Einbauart steckt auch in Zeile %1; ihre Typliste würde ersetzt.")
                            .arg(k + 1));
            const QStringList names = line.mid(outletlistline::kTypeNamesFrom - 1)
                                          .toUpper()
                                          .split(QLatin1Char('/'), Qt::SkipEmptyParts);
            for (const QString& name : names) {
                int codes = 0;
                for (const QString& code : catalogue_.typeCodeList)
                    if (!code.isEmpty() && name.contains(code))
                        ++codes;
                if (codes > 1)
                    add(file, j + 1,
                        static_cast<int>(line.indexOf(name, outletlistline::kTypeNamesFrom - 1)) + 1,
                        QStringLiteral("Der Typname %1 enthält mehrere Typcodes und erscheint mehrfach.")
                            .arg(name));
            }
        }
    }

    void checkTypeCodes() {
        std::map<QString, int> firstLine;
        for (int j = 1; j <= catalogue_.indexCount; ++j)
            firstLine.emplace(columnText(line(j), indexline::kTypeCode), j);
        for (const auto& [code, j] : firstLine) {
            bool listed = false;
            for (const QString& entry : catalogue_.typeCodeList)
                listed = listed || (!entry.isEmpty() && entry == code);
            if (!listed)
                addIndex(j, 1,
                         QStringLiteral("Der Typcode \"%1\" passt nicht mehr in die Liste der 24 Typcodes; "
                                        "seine Größen erscheinen nie.")
                             .arg(code));
        }
    }

    void openDetailFile() {
        const QFileInfo info(joinPath(folder_, QString::fromLatin1(kDetailFile)));
        if (!info.isFile()) {
            add(QString::fromLatin1(kDetailFile), 0, 0, QStringLiteral("Die Datei fehlt."));
            return;
        }
        recordCount_ = static_cast<int>(info.size() / static_cast<qint64>(sizeof(OutletRecord)));
        if (info.size() % static_cast<qint64>(sizeof(OutletRecord)) != 0)
            add(QString::fromLatin1(kDetailFile), 0, 0,
                QStringLiteral("Die Dateigröße %1 ist kein Vielfaches von %2 Bytes.")
                    .arg(info.size())
                    .arg(sizeof(OutletRecord)));
    }

    const QString& line(int j) const { return catalogue_.catalogueIndex[static_cast<std::size_t>(j - 1)]; }

    void checkIndexLine(int j) {
        using namespace indexline;
        const QString& text = line(j);
        if (text.size() < kGreatestFlow.last) {
            addIndex(j, static_cast<int>(text.size()) + 1,
                     QStringLiteral("Die Zeile endet vor Spalte %1 (Volumenstrombereich).")
                         .arg(kGreatestFlow.last));
            return;
        }
        const QString name = columnText(text, kSizeName);
        const QString jetCode = columnText(text, kJetFormCode);
        const QChar design = columnText(text, kDesign).at(0);

        if (columnText(text, kKeyGap) != QString(kKeyGap.width(), QLatin1Char(' ')))
            addIndex(j, kKeyGap.first,
                     QStringLiteral("Die Spalten %1 müssen leer sein, sonst findet der Größenschlüssel die "
                                    "Zeile nicht.")
                         .arg(columnsName(kKeyGap)));
        int jetForm = 0;
        if (jetCode.size() != kJetFormCode.width() || jetCode[0] != QLatin1Char('0') ||
            jetCode[1] < QLatin1Char('1') || jetCode[1] > QLatin1Char('8')) {
            addIndex(j, kJetFormCode.first,
                     QStringLiteral("Spalten %1 enthalten keine Strahlform \"01\" bis \"08\": \"%2\".")
                         .arg(columnsName(kJetFormCode), jetCode));
        } else {
            jetForm = jetCode[1].digitValue();
            const QString jetName = jetForm <= catalogue_.jetFormCount
                                        ? catalogue_.jetFormNames[static_cast<std::size_t>(jetForm - 1)]
                                        : QString();
            if (jetForm > catalogue_.jetFormCount || jetName.size() < 2 || jetName[1] != jetCode[1])
                addIndex(j, kJetFormCode.last,
                         QStringLiteral("Die Strahlform %1 fehlt in %2.")
                             .arg(jetCode, QString::fromLatin1(kJetFormFile)));
            const IndexLineMatch own = FindIndexLine(catalogue_, sizeKey(name, jetCode[1]));
            if (own.lineNo != j)
                addIndex(j, kSizeName.first,
                         own.found ? QStringLiteral("Der Größenschlüssel findet Zeile %1 statt dieser Zeile.")
                                         .arg(own.lineNo)
                                   : QStringLiteral("Der Größenschlüssel findet diese Zeile nicht."));
        }
        if (design < QLatin1Char('0') || design > QLatin1Char('3'))
            addIndex(j, kDesign.first,
                     QStringLiteral("Die Bauart in Spalte %1 ist nicht \"0\" bis \"3\": \"%2\".")
                         .arg(columnsName(kDesign), QString(design)));

        checkFlags(j, text);

        const auto low = wholeNumber(columnText(text, kLeastFlow));
        const auto high = wholeNumber(columnText(text, kGreatestFlow));
        const auto filterHigh = wholeNumber(columnText(text, kGreatestFlowFiltered));
        if (!low)
            addIndex(j, kLeastFlow.first,
                     QStringLiteral("Der kleinste Volumenstrom (Spalten %1) ist keine ganze Zahl.")
                         .arg(columnsName(kLeastFlow)));
        if (!high)
            addIndex(j, kGreatestFlow.first,
                     QStringLiteral("Der größte Volumenstrom (Spalten %1) ist keine ganze Zahl.")
                         .arg(columnsName(kGreatestFlow)));
        else if (filterHigh != high)
            addIndex(j, kGreatestFlowFiltered.first,
                     QStringLiteral("Spalte %1 ist nicht leer: die Größenfilterung liest einen anderen "
                                    "größten Volumenstrom als die Anzeige.")
                         .arg(kGreatestFlowFiltered.first));
        if (low && high && *low >= *high)
            addIndex(j, kLeastFlow.first,
                     QStringLiteral("Der kleinste Volumenstrom %1 ist nicht kleiner als der größte %2.")
                         .arg(*low)
                         .arg(*high));
        if (columnText(text, kDataSheet).trimmed().isEmpty())
            addIndex(j, kDataSheet.first,
                     QStringLiteral("Der Datenblattname (Spalten %1) fehlt.").arg(columnsName(kDataSheet)));

        const QString typeCode = columnText(text, kTypeCode);
        const IndexLineMatch typeLine = FindIndexLine(catalogue_, typeCode);
        if (typeLine.found && columnText(line(typeLine.lineNo), kTypeCode) != typeCode &&
            reportedTypes_.insert(typeCode).second)
            addIndex(typeLine.lineNo, kTypeCode.first,
                     QStringLiteral("Die erste Zeile, die \"%1\" enthält, gehört zu einem anderen Typ; die "
                                    "Auswahl zeigt deren Merkmale.")
                         .arg(typeCode));
        const IndexLineMatch sizeLine = FindIndexLine(catalogue_, name);
        if (sizeLine.found && sizeLine.lineNo != j) {
            // What the selection reads from the first line of a size: flows and data sheet.
            constexpr Columns sizeFields{kLeastFlow.first, kDataSheet.last};
            const QString& first = line(sizeLine.lineNo);
            if (columnText(first, kSizeName) != name)
                addIndex(j, kSizeName.first,
                         QStringLiteral("Der Größenname steckt schon in Zeile %1 einer anderen Größe; die "
                                        "Auswahl liest deren Bauart und Volumenstrom.")
                             .arg(sizeLine.lineNo));
            else if (first.size() < kWrittenLength || text.size() < kWrittenLength ||
                     columnText(first, kDesign) != columnText(text, kDesign) ||
                     columnText(first, sizeFields) != columnText(text, sizeFields))
                addIndex(j, kDesign.first,
                         QStringLiteral("Bauart, Volumenstrombereich oder Datenblatt weichen von Zeile %1 "
                                        "derselben Größe ab; die Auswahl liest Zeile %1.")
                             .arg(sizeLine.lineNo));
        }

        const QString recordText = columnText(text, kRecordNumber);
        const auto recordNo = wholeNumber(recordText);
        if (!recordNo || *recordNo < 1 || (recordCount_ >= 0 && *recordNo > recordCount_)) {
            addIndex(j, kRecordNumber.first,
                     QStringLiteral("Die Satznummer \"%1\" liegt nicht zwischen 1 und %2.")
                         .arg(recordText, QString::number(std::max(recordCount_, 0))));
            return;
        }
        if (recordCount_ < 0)
            return;
        OutletRecord record;
        try {
            record = ReadOutletRecord(folder_, *recordNo - 1);
        } catch (const Error& e) {
            addIndex(j, kRecordNumber.first, e.message());
            return;
        }
        checkRecord(j, *recordNo, record, jetCode, design, low, high);
    }

    void checkFlags(int j, const QString& text) {
        const int named = static_cast<int>(catalogue_.characteristicNames1.size());
        for (Columns flags : {indexline::kMountingFlags, indexline::kAdjustmentFlags, indexline::kUseFlags}) {
            for (int k = 1; k <= flags.width(); ++k) {
                const int column = flags.first + k - 1;
                const QChar flag = column <= text.size() ? text[column - 1] : QLatin1Char(' ');
                if (flag == QLatin1Char('1') && k > named)
                    addIndex(j, column,
                             QStringLiteral("Merkmal %1 ist gesetzt, es gibt aber nur %2 Namen; die Auswahl "
                                            "bricht mit einem Bereichsfehler ab.")
                                 .arg(k)
                                 .arg(named));
                else if (flag != QLatin1Char('0') && flag != QLatin1Char('1'))
                    addIndex(j, column, QStringLiteral("Merkmal %1 ist weder \"0\" noch \"1\".").arg(k));
            }
        }
    }

    void recordFinding(int j, int recordNo, const QString& message) {
        addIndex(j, indexline::kRecordNumber.first,
                 QStringLiteral("Datensatz ") + QString::number(recordNo) + QStringLiteral(": ") + message);
    }

    void checkRecord(int j, int recordNo, const OutletRecord& record, const QString& jetCode, QChar design,
                     std::optional<int> low, std::optional<int> high) {
        for (const auto& field : outletRealFields())
            if (!std::isfinite(readReal(record, field)))
                recordFinding(j, recordNo,
                              QStringLiteral("%1 ist keine endliche Zahl.").arg(QLatin1String(field.key)));
        const QString code = record.jetFormCodeText();
        if (code != jetCode)
            recordFinding(
                j, recordNo,
                QStringLiteral("die Strahlform \"%1\" des Datensatzes weicht von der Indexzeile (\"%2\") ab.")
                    .arg(code, jetCode));
        const double vMin = record.vMin, vMax = record.vMax;
        if (!(vMin < vMax))
            recordFinding(j, recordNo, QStringLiteral("V_min ist nicht kleiner als V_max."));
        if ((low && vMin != *low) || (high && vMax != *high))
            recordFinding(j, recordNo,
                          QStringLiteral("V_min/V_max weichen vom Volumenstrombereich der Indexzeile ab."));

        const JetKind kind = jetFormOf(QString(design), code).kind;
        const bool vertical = kind == JetKind::Vertical;
        if (kind == JetKind::None)
            recordFinding(j, recordNo,
                          QStringLiteral("zur Bauart \"%1\" rechnet die Strahlform \"%2\" nicht.")
                              .arg(QString(design), code));

        const double soundA = record.soundA, decayA = record.decayA, zoneCoef = record.zoneCoef,
                     angle = record.angle, penTempExp = record.penTempExp;
        if (std::fabs(soundA) < 1e-9)
            recordFinding(
                j, recordNo,
                QStringLiteral("die Schallsteigung A ist null; die Anzahlberechnung teilt durch null."));
        if (std::fabs(decayA) < 1e-9)
            recordFinding(j, recordNo,
                          QStringLiteral("der Abklingexponent a ist null; Abstände sind nicht berechenbar."));
        if (!vertical && zoneCoef >= 0)
            recordFinding(
                j, recordNo,
                QStringLiteral("der Profilkoeffizient ist nicht negativ; die Zonenbreite wäre nicht reell."));
        if (!vertical && std::fabs(angle) >= 90)
            recordFinding(j, recordNo, QStringLiteral("der Ausblaswinkel liegt nicht unter 90 Grad."));
        if (vertical && std::fabs(penTempExp) < 1e-9)
            recordFinding(j, recordNo, QStringLiteral("der Temperaturexponent der Eindringtiefe ist null."));

        if (design == QLatin1Char('1') || design == QLatin1Char('3')) {
            const ConfigurationLists lists = FillConfigurationLists(record);
            checkItems(j, recordNo, QStringLiteral("Längenliste"), record.lengthsList.str(), lists.lengths,
                       kLengthsListItemWidth);
            checkItems(j, recordNo, QStringLiteral("Schlitzzahlliste"), record.countsList.str(), lists.counts,
                       kCountsListItemWidth);
        }
        bool anyEntry = false;
        for (int e = 0; e < 25; ++e) {
            const QString entry = record.sizeTable[e].content.str();
            if (entry.isEmpty())
                continue;
            anyEntry = true;
            const SizeTableParts parts = splitSizeTableEntry(entry);
            bool ok = positive(parts.diameter) && !parts.lengths.isEmpty() && !parts.counts.isEmpty();
            for (const QString& piece : parts.lengths + parts.counts)
                ok = ok && positive(piece);
            if (!ok)
                recordFinding(j, recordNo,
                              QStringLiteral("Eintrag %1 der Größentabelle lässt sich nicht lesen: \"%2\".")
                                  .arg(QString::number(e + 1), entry));
        }
        if (design == QLatin1Char('2') && !anyEntry)
            recordFinding(j, recordNo, QStringLiteral("die Größentabelle des Schlitzrohrs ist leer."));
    }

    static bool positive(const QString& text) {
        const auto value = wholeNumber(text);
        return value && *value > 0;
    }

    void checkItems(int j, int recordNo, const QString& what, const QString& text, const QStringList& items,
                    int width) {
        bool ok = !items.isEmpty() && text.size() % width == 0;
        for (const QString& item : items)
            ok = ok && positive(item);
        if (!ok)
            recordFinding(j, recordNo,
                          QStringLiteral("die %1 \"%2\" besteht nicht aus Zahlen zu je %3 Zeichen.")
                              .arg(what, text, QString::number(width)));
    }

    QString folder_;
    Catalogue catalogue_;
    int recordCount_ = -1;
    std::set<QString> reportedTypes_;
    std::vector<CatalogueFinding> findings_;
};

} // namespace

std::vector<CatalogueFinding> checkCatalogue(const QString& folder) {
    return Checker(folder).run();
}

QString formatFinding(const CatalogueFinding& f) {
    return QStringLiteral("%1:%2:%3: %4")
        .arg(f.file, QString::number(f.line), QString::number(f.column), f.message);
}

} // namespace fyl
