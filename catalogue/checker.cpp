#include "catalogue/checker.h"

#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/recordfields.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/numbers.h"

#include <QFileInfo>

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace fyl {

namespace {

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
            if (line.size() < 28) {
                add(file, j + 1, 28, QStringLiteral("Ab Spalte 28 fehlt die Liste der Typen."));
                continue;
            }
            if (!line.endsWith(QLatin1Char('/')))
                add(file, j + 1, static_cast<int>(line.size()),
                    QStringLiteral("Der letzte Typname ist nicht mit \"/\" abgeschlossen."));
            const QString kind = line.left(27);
            for (int k = 0; k < catalogue_.outletListCount; ++k)
                if (k != j && catalogue_.outletListLines[static_cast<std::size_t>(k)].contains(kind))
                    add(file, j + 1, 1,
                        QStringLiteral("Die Einbauart steckt auch in Zeile %1; ihre Typliste würde ersetzt.")
                            .arg(k + 1));
            const QStringList names = line.mid(27).toUpper().split(QLatin1Char('/'), Qt::SkipEmptyParts);
            for (const QString& name : names) {
                int codes = 0;
                for (const QString& code : catalogue_.typeCodeList)
                    if (!code.isEmpty() && name.contains(code))
                        ++codes;
                if (codes > 1)
                    add(file, j + 1, static_cast<int>(line.indexOf(name, 27)) + 1,
                        QStringLiteral("Der Typname %1 enthält mehrere Typcodes und erscheint mehrfach.")
                            .arg(name));
            }
        }
    }

    void checkTypeCodes() {
        std::map<QString, int> firstLine;
        for (int j = 1; j <= catalogue_.indexCount; ++j)
            firstLine.emplace(line(j).left(3), j);
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
        const QString& text = line(j);
        if (text.size() < 116) {
            addIndex(j, static_cast<int>(text.size()) + 1,
                     QStringLiteral("Die Zeile endet vor Spalte 116 (Volumenstrombereich)."));
            return;
        }
        const QString name = indexColumns(text, 1, 25);
        const QString jetCode = indexColumns(text, 33, 34);
        const QChar design = text[35];

        if (indexColumns(text, 26, 32) != QString(7, QLatin1Char(' ')))
            addIndex(j, 26,
                     QStringLiteral("Die Spalten 26 bis 32 müssen leer sein, sonst findet der "
                                    "Größenschlüssel die Zeile nicht."));
        int jetForm = 0;
        if (jetCode.size() != 2 || jetCode[0] != QLatin1Char('0') || jetCode[1] < QLatin1Char('1') ||
            jetCode[1] > QLatin1Char('8')) {
            addIndex(j, 33,
                     QStringLiteral("Spalten 33-34 enthalten keine Strahlform \"01\" bis \"08\": \"%1\".")
                         .arg(jetCode));
        } else {
            jetForm = jetCode[1].digitValue();
            const QString jetName = jetForm <= catalogue_.jetFormCount
                                        ? catalogue_.jetFormNames[static_cast<std::size_t>(jetForm - 1)]
                                        : QString();
            if (jetForm > catalogue_.jetFormCount || jetName.size() < 2 || jetName[1] != jetCode[1])
                addIndex(j, 34,
                         QStringLiteral("Die Strahlform %1 fehlt in %2.")
                             .arg(jetCode, QString::fromLatin1(kJetFormFile)));
            const IndexLineMatch own = FindIndexLine(catalogue_, sizeKey(name, jetCode[1]));
            if (own.lineNo != j)
                addIndex(j, 1,
                         own.found ? QStringLiteral("Der Größenschlüssel findet Zeile %1 statt dieser Zeile.")
                                         .arg(own.lineNo)
                                   : QStringLiteral("Der Größenschlüssel findet diese Zeile nicht."));
        }
        if (design < QLatin1Char('0') || design > QLatin1Char('3'))
            addIndex(
                j, 36,
                QStringLiteral("Die Bauart in Spalte 36 ist nicht \"0\" bis \"3\": \"%1\".").arg(design));

        checkFlags(j, text);

        const auto low = wholeNumber(indexColumns(text, 107, 110));
        const auto high = wholeNumber(indexColumns(text, 113, 116));
        const auto filterHigh = wholeNumber(indexColumns(text, 112, 116));
        if (!low)
            addIndex(j, 107,
                     QStringLiteral("Der kleinste Volumenstrom (Spalten 107-110) ist keine ganze Zahl."));
        if (!high)
            addIndex(j, 113,
                     QStringLiteral("Der größte Volumenstrom (Spalten 113-116) ist keine ganze Zahl."));
        else if (filterHigh != high)
            addIndex(j, 112,
                     QStringLiteral("Spalte 112 ist nicht leer: die Größenfilterung liest einen anderen "
                                    "größten Volumenstrom als die Anzeige."));
        if (low && high && *low >= *high)
            addIndex(j, 107,
                     QStringLiteral("Der kleinste Volumenstrom %1 ist nicht kleiner als der größte %2.")
                         .arg(*low)
                         .arg(*high));
        if (text.size() < 118 || indexColumns(text, 118, 129).trimmed().isEmpty())
            addIndex(j, 118, QStringLiteral("Der Datenblattname (Spalten 118-129) fehlt."));

        const IndexLineMatch typeLine = FindIndexLine(catalogue_, text.left(3));
        if (typeLine.found && line(typeLine.lineNo).left(3) != text.left(3) &&
            reportedTypes_.insert(text.left(3)).second)
            addIndex(typeLine.lineNo, 1,
                     QStringLiteral("Die erste Zeile, die \"%1\" enthält, gehört zu einem anderen Typ; die "
                                    "Auswahl zeigt deren Merkmale.")
                         .arg(text.left(3)));
        const IndexLineMatch sizeLine = FindIndexLine(catalogue_, name);
        if (sizeLine.found && sizeLine.lineNo != j) {
            const QString& first = line(sizeLine.lineNo);
            if (first.left(25) != name)
                addIndex(j, 1,
                         QStringLiteral("Der Größenname steckt schon in Zeile %1 einer anderen Größe; die "
                                        "Auswahl liest deren Bauart und Volumenstrom.")
                             .arg(sizeLine.lineNo));
            else if (first.size() < 129 || text.size() < 129 || first[35] != text[35] ||
                     indexColumns(first, 107, 129) != indexColumns(text, 107, 129))
                addIndex(j, 36,
                         QStringLiteral("Bauart, Volumenstrombereich oder Datenblatt weichen von Zeile %1 "
                                        "derselben Größe ab; die Auswahl liest Zeile %1.")
                             .arg(sizeLine.lineNo));
        }

        const auto recordNo = wholeNumber(indexColumns(text, 50, 52));
        if (!recordNo || *recordNo < 1 || (recordCount_ >= 0 && *recordNo > recordCount_)) {
            addIndex(j, 50,
                     QStringLiteral("Die Satznummer \"%1\" liegt nicht zwischen 1 und %2.")
                         .arg(indexColumns(text, 50, 52))
                         .arg(std::max(recordCount_, 0)));
            return;
        }
        if (recordCount_ < 0)
            return;
        OutletRecord record;
        try {
            record = ReadOutletRecord(folder_, *recordNo - 1);
        } catch (const Error& e) {
            addIndex(j, 50, e.message());
            return;
        }
        checkRecord(j, *recordNo, record, jetCode, design, low, high);
    }

    void checkFlags(int j, const QString& text) {
        const int starts[3] = {56, 73, 90};
        for (int start : starts) {
            for (int k = 1; k <= 16; ++k) {
                const int column = start + k - 1;
                const QChar flag = column <= text.size() ? text[column - 1] : QLatin1Char(' ');
                if (flag == QLatin1Char('1') && k > 8)
                    addIndex(j, column,
                             QStringLiteral("Merkmal %1 ist gesetzt, es gibt aber nur 8 Namen; die Auswahl "
                                            "bricht mit einem Bereichsfehler ab.")
                                 .arg(k));
                else if (flag != QLatin1Char('0') && flag != QLatin1Char('1'))
                    addIndex(j, column, QStringLiteral("Merkmal %1 ist weder \"0\" noch \"1\".").arg(k));
            }
        }
    }

    void recordFinding(int j, int recordNo, const QString& message) {
        addIndex(j, 50, QStringLiteral("Datensatz %1: %2").arg(recordNo).arg(message));
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

        static const QStringList horizontal = {QStringLiteral("01"), QStringLiteral("04"),
                                               QStringLiteral("05"), QStringLiteral("06")};
        const bool vertical = code == QLatin1String("02") || code == QLatin1String("03");
        bool evaluated = true;
        if (design == QLatin1Char('0'))
            evaluated = code == QLatin1String("01") || code == QLatin1String("02");
        else if (design == QLatin1Char('2'))
            evaluated =
                code == QLatin1String("03") || code == QLatin1String("05") || code == QLatin1String("06");
        else
            evaluated = vertical || horizontal.contains(code);
        if (!evaluated)
            recordFinding(j, recordNo,
                          QStringLiteral("zur Bauart \"%1\" rechnet die Strahlform \"%2\" nicht.")
                              .arg(design)
                              .arg(code));

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
                       5);
            checkItems(j, recordNo, QStringLiteral("Schlitzzahlliste"), record.countsList.str(), lists.counts,
                       3);
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
                                  .arg(e + 1)
                                  .arg(entry));
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
                              .arg(what, text)
                              .arg(width));
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
    return QStringLiteral("%1:%2:%3: %4").arg(f.file).arg(f.line).arg(f.column).arg(f.message);
}

} // namespace fyl
