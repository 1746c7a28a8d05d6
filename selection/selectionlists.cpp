// The catalogue as the selection lists it, and the slot configuration's arithmetic. Core layer
// (fylcore).
#include "selection/selectionlists.h"

#include "calc/arithmetic.h"
#include "catalogue/layouts.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/errors.h"
#include "frame/numbers.h"

#include <algorithm>

namespace fyl {

using arith::divide;
using arith::stored;
using arith::truncToInt32;
using ld = long double;

namespace {

QStringList indexLines(const Catalogue& catalogue) {
    QStringList lines;
    const int count = std::min<int>(catalogue.indexCount, static_cast<int>(catalogue.catalogueIndex.size()));
    for (int j = 0; j < count; ++j)
        lines << catalogue.catalogueIndex[static_cast<std::size_t>(j)];
    return lines;
}

// The listing reads the flow columns as the original's lenient conversion did: blanks around a
// number are allowed, anything else is 0.
int lenientInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

// The first index line holding `text`.
std::optional<QString> firstLineWith(const Catalogue& catalogue, const QString& text) {
    const IndexLineMatch match = FindIndexLine(catalogue, text);
    if (!match.found)
        return std::nullopt;
    return catalogue.catalogueIndex[static_cast<std::size_t>(match.lineNo - 1)];
}


} // namespace

QString withoutTrailingBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QStringList sortedItems(QStringList items) {
    std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return items;
}

QStringList installationKinds(const Catalogue& catalogue) {
    QStringList kinds;
    const int count =
        std::min<int>(catalogue.outletListCount, static_cast<int>(catalogue.outletListLines.size()));
    for (int i = 0; i < count; ++i) {
        const QString& line = catalogue.outletListLines[static_cast<std::size_t>(i)];
        if (line.isEmpty())
            break;
        kinds << columnText(line, outletlistline::kInstallationKind);
    }
    return kinds;
}

QStringList typeCodes(const Catalogue& catalogue) {
    QStringList codes;
    for (std::size_t k = 1; k < catalogue.typeCodeList.size() && !catalogue.typeCodeList[k].isEmpty(); ++k)
        codes << catalogue.typeCodeList[k];
    return sortedItems(codes);
}

KindTypes typesOfKind(const Catalogue& catalogue, const QString& kind, const QStringList& codes) {
    QString typeList;
    const int count =
        std::min<int>(catalogue.outletListCount, static_cast<int>(catalogue.outletListLines.size()));
    for (int i = 0; i < count; ++i) {
        const QString& line = catalogue.outletListLines[static_cast<std::size_t>(i)];
        if (line.contains(kind)) // a later matching line replaces an earlier one
            typeList = line.mid(outletlistline::kTypeNamesFrom - 1).toUpper();
    }
    KindTypes types;
    // Each name is followed by "/"; what follows the last one is no name.
    QStringList pieces = typeList.split(QLatin1Char('/'));
    pieces.removeLast();
    types.names = pieces;
    QStringList calculable;
    for (const QString& name : pieces) {
        int found = 0;
        for (const QString& code : codes) {
            if (!code.isEmpty() && name.contains(code)) {
                calculable << name;
                ++found;
            }
        }
        if (found == 0)
            types.dataSheetOnly << name;
    }
    types.calculable = sortedItems(calculable);
    return types;
}

SizeListing listSizes(const Catalogue& catalogue, bool filterOn, double filterFlow,
                      const QString& selectedType, bool typesListed, bool typeListFlag) {
    using namespace indexline;
    SizeListing listing;
    listing.typeListFlag = typeListFlag;
    if (!filterOn)
        listing.typeListFlag = typesListed;
    QStringList sizes;
    for (const QString& line : indexLines(catalogue)) {
        const QString code = columnText(line, kTypeCode);
        const QString name = columnText(line, kSizeName);
        bool add = false;
        if (filterOn) {
            const ld low = lenientInt(columnText(line, kLeastFlow));
            const ld high = lenientInt(columnText(line, kGreatestFlowFiltered));
            add = low <= filterFlow && filterFlow <= high && listing.typeListFlag &&
                  code == selectedType.left(50);
        } else {
            add = !typesListed || code == selectedType.left(50);
        }
        if (add)
            sizes << name;
    }
    sizes = sortedItems(sizes);
    // The list is sorted, so repeats stand together; the original compared 30 characters.
    for (int i = 0; i + 1 < sizes.size();) {
        if (sizes[i].left(30) == sizes[i + 1].left(30))
            sizes.removeAt(i + 1);
        else
            ++i;
    }
    listing.sizes = sizes;
    return listing;
}

QString sizeKeyPrefix(const QString& sizeName) {
    return sizeName + QString(indexline::kKeyGap.width(), QLatin1Char(' ')) + QLatin1Char('0');
}

std::vector<JetFormItem> jetFormsOfSize(const Catalogue& catalogue, const QString& sizeName) {
    std::vector<JetFormItem> forms;
    const int count = std::min<int>(catalogue.jetFormCount, static_cast<int>(catalogue.jetFormNames.size()));
    std::vector<QChar> digits;
    for (int n = 1; n <= count; ++n)
        digits.push_back(QChar(static_cast<char16_t>(u'0' + n)));
    const std::vector<bool> found = sizeKeysFound(catalogue, sizeName, digits);
    for (int n = 1; n <= count; ++n)
        if (found[static_cast<std::size_t>(n - 1)])
            forms.push_back({n, catalogue.jetFormNames[static_cast<std::size_t>(n - 1)]});
    std::stable_sort(forms.begin(), forms.end(), [](const JetFormItem& a, const JetFormItem& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return forms;
}

std::optional<SizeLine> readSizeLine(const Catalogue& catalogue, const QString& sizeName) {
    using namespace indexline;
    const IndexLineMatch match = FindIndexLine(catalogue, sizeName);
    if (!match.found)
        return std::nullopt;
    const QString& line = catalogue.catalogueIndex[static_cast<std::size_t>(match.lineNo - 1)];
    SizeLine size;
    size.design = columnText(line, kDesign);
    const QString least = columnText(line, kLeastFlow);
    const QString greatest = columnText(line, kGreatestFlow);
    size.flowRange = least + QStringLiteral("  .......  ") + greatest;
    // A flow that is no number is a damaged index: the error names the file and the line.
    const auto flow = [&](const QString& text) {
        try {
            return numbers::parseInt(text);
        } catch (const ConversionError& e) {
            throw ConversionError(QStringLiteral("Katalogdatei %1, Zeile %2 (Volumenstrombereich): %3")
                                      .arg(QString::fromLatin1(kIndexFile))
                                      .arg(match.lineNo)
                                      .arg(e.message()));
        }
    };
    size.smallestFlow = flow(least);
    size.largestFlow = flow(greatest);
    const QString sheet = columnText(line, kDataSheet);
    const qsizetype blank = sheet.indexOf(QLatin1Char(' '));
    size.dataSheet = blank < 0 ? sheet : sheet.left(blank);
    return size;
}

std::optional<int> detailRecordOf(const Catalogue& catalogue, const QString& key) {
    const std::optional<QString> line = firstLineWith(catalogue, key);
    if (!line)
        return std::nullopt;
    return lenientInt(columnText(*line, indexline::kRecordNumber)) - 1;
}

Catalogue withDetailRecords(const Catalogue& catalogue, const QString& programDir) {
    if (catalogue.detailRecords)
        return catalogue;
    std::vector<int> records;
    for (const QString& line : indexLines(catalogue))
        records.push_back(lenientInt(columnText(line, indexline::kRecordNumber)) - 1);
    Catalogue withRecords = catalogue;
    withRecords.detailRecords = std::make_shared<const DetailRecords>(programDir, records);
    return withRecords;
}

std::vector<OfferedSize> offeredSizes(const Catalogue& catalogue, const QString& type) {
    std::vector<OfferedSize> sizes;
    for (const QString& listed : listSizes(catalogue, false, 0.0, type, true, false).sizes) {
        OfferedSize size;
        size.name = withoutTrailingBlanks(listed);
        size.line = readSizeLine(catalogue, listed);
        for (const JetFormItem& form : jetFormsOfSize(catalogue, listed))
            size.jetForms.push_back(
                {form.number, form.name,
                 detailRecordOf(catalogue,
                                sizeKey(listed, QChar(static_cast<char16_t>(u'0' + form.number))))});
        sizes.push_back(size);
    }
    return sizes;
}

std::vector<OfferedType> offeredTypes(const Catalogue& catalogue) {
    std::vector<OfferedType> types;
    const QStringList codes = typeCodes(catalogue);
    for (const QString& kind : installationKinds(catalogue)) {
        const KindTypes kindTypes = typesOfKind(catalogue, kind, codes);
        for (const QString& name : kindTypes.names) {
            auto known = std::find_if(types.begin(), types.end(),
                                      [&](const OfferedType& type) { return type.name == name; });
            if (known == types.end()) {
                const bool calculable = kindTypes.calculable.contains(name);
                known = types.insert(types.end(), OfferedType{name, calculable, {}, {}});
                if (calculable)
                    known->sizes = offeredSizes(catalogue, name);
            }
            const QString kindName = withoutTrailingBlanks(kind);
            if (!known->kinds.contains(kindName))
                known->kinds << kindName;
        }
    }
    return types;
}

SlotLengthRange requiredSlotLength(double totalFlow, int smallestFlow, int largestFlow) {
    return {stored(divide(totalFlow, largestFlow)), stored(divide(totalFlow, smallestFlow))};
}

OutletCountRange outletCountRange(const SlotLengthRange& total, double slotLength) {
    return {truncToInt32(divide(total.minimum, slotLength) + 0.999L),
            truncToInt32(divide(total.maximum, slotLength) + 0.999L)};
}

double tubeSlotLength(double nominalLength, int slotCount) {
    const ld length = nominalLength;
    ld closedEnds = 0.0L;
    if (length == 1000.0L || length == 1500.0L)
        closedEnds = 200.0L;
    else if (length == 1750.0L)
        closedEnds = 250.0L;
    else if (length == 2000.0L)
        closedEnds = 300.0L;
    return stored((length - closedEnds) * slotCount / 1000.0L);
}

} // namespace fyl
