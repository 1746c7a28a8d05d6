// Lookups on the catalogue: index lines, detail records, configuration and size lists. Core
// layer (fylcore).
#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/layouts.h"
#include "frame/record.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace fyl {

struct IndexLineMatch {
    bool found = false;
    int lineNo = 0; // 1-based; 0 when not found
};

// The first index line (from line 1 to the line count) that contains `text` exactly; the text
// is cut to 255 characters. An empty text finds nothing: it would otherwise match every line.
IndexLineMatch FindIndexLine(const Catalogue& catalogue, const QString& text);

// The key by which the jet form step finds the index line of a size and jet form: the size name
// (indexline::kSizeName), the blanks of indexline::kKeyGap, "0" and the jet form digit.
QString sizeKey(const QString& sizeName, QChar jetFormDigit);

// For each digit, whether FindIndexLine finds sizeKey(sizeName, digit): the answers to all the
// keys of one size from a single pass over the index.
std::vector<bool> sizeKeysFound(const Catalogue& catalogue, const QString& sizeName, const std::vector<QChar>& digits);

// Reads detail record `recordIndex` (0-based) of ZELK.emd in the program directory. A missing
// file, a negative index or a record beyond the end of the file raises FileError.
OutletRecord ReadOutletRecord(const QString& programDir, int recordIndex);

// Detail records of ZELK.emd read with one opening of the file, for a ranking or a schedule, which
// take hundreds of outlets over per room. A record gives what ReadOutletRecord gives at the time
// they were read: the record, or the FileError it raised.
class DetailRecords {
public:
    DetailRecords(const QString& programDir, const std::vector<int>& recordIndexes);
    // A record not among those read is read from the file now.
    OutletRecord record(int recordIndex) const;

private:
    QString programDir_;
    std::map<int, OutletRecord> records_;
    std::map<int, QString> failures_; // the FileError's message
};

// Detail record `recordIndex`: from the catalogue's detail records where it holds them, else from
// the file (ReadOutletRecord).
OutletRecord detailRecord(const Catalogue& catalogue, const QString& programDir, int recordIndex);

// The two configuration lists of a linear slot outlet: 5-character pieces of the length list and
// 3-character pieces of the slot count list. The first piece is always taken, each further one
// while its start lies inside the text; an empty list gives no pieces.
struct ConfigurationLists {
    QStringList lengths;
    QStringList counts;
};
ConfigurationLists FillConfigurationLists(const OutletRecord& outlet);

// The texts of the non-empty size table entries, in table order.
QStringList FillSizeList(const OutletRecord& outlet);

// The parts of one size table entry of a slot tube (laid out as sizetableentry says): the tube
// diameter, the lengths and the slot counts. Blank pieces are left out: they are padding, not
// offers.
struct SizeTableParts {
    QString diameter;
    QStringList lengths;
    QStringList counts;
};
SizeTableParts splitSizeTableEntry(const QString& text);

// The mounting places, adjustment kinds and ranges of use flagged in the first index line holding
// `type`. A flag beyond the eight names raises RangeError. Nothing when no line holds the type.
struct TypeAttributes {
    QStringList mounting;   // ListBox11
    QStringList adjustment; // ListBox12
    QStringList use;        // ListBox13
};
std::optional<TypeAttributes> typeAttributes(const Catalogue& catalogue, const QString& type);

} // namespace fyl
