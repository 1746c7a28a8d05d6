// Where each field stands in the catalogue's fixed-column texts: index lines, outlet list lines,
// size-table entries and the configuration lists. Core layer (fylcore, QtCore only).
#pragma once

#include <QString>

namespace fyl {

// Character positions counted from 1, both ends included, as the catalogue's makers count them.
struct Columns {
    int first;
    int last;
    constexpr int width() const { return last - first + 1; }
};

// The characters of `text` in `columns`; a text that ends earlier gives what it has.
inline QString columnText(const QString& text, Columns columns) {
    return text.mid(columns.first - 1, columns.width());
}

// Puts `value` into `columns` of `text`, which must already reach their end; `value` must not be
// wider than the columns, and a shorter one leaves the rest as it was.
inline void setColumnText(QString& text, Columns columns, const QString& value) {
    Q_ASSERT(value.size() <= columns.width() && text.size() >= columns.last);
    text.replace(columns.first - 1, value.size(), value);
}

// A line of ZELK.idx: one size of one outlet type with one jet form.
namespace indexline {
inline constexpr Columns kTypeCode{1, 3};
inline constexpr Columns kSizeName{1, 25};
// Blank: the size key is the size name, these blanks and the jet form code.
inline constexpr Columns kKeyGap{26, 32};
inline constexpr Columns kJetFormCode{33, 34}; // "01" .. "08"
inline constexpr Columns kDesign{36, 36};      // "0" counted one by one, "1" .. "3" per metre
inline constexpr Columns kRecordNumber{50, 52};
// Mounting places, adjustment kinds and ranges of use: "1" at position k means name k applies.
inline constexpr Columns kMountingFlags{56, 71};
inline constexpr Columns kAdjustmentFlags{73, 88};
inline constexpr Columns kUseFlags{90, 105};
inline constexpr Columns kLeastFlow{107, 110};
// The selection's size filter reads the greatest flow one column further left than it shows it.
inline constexpr Columns kGreatestFlowFiltered{112, 116};
inline constexpr Columns kGreatestFlow{113, 116};
inline constexpr Columns kDataSheet{118, 129};
inline constexpr int kWrittenLength = kDataSheet.last; // every line the builder writes
inline constexpr int kMaxLength = 145;                 // longer lines lose their tail at load
} // namespace indexline

// A line of Durchlassdatei.txt: the installation kind, then its type names, each ended by "/".
namespace outletlistline {
inline constexpr Columns kInstallationKind{1, 27};
inline constexpr int kTypeNamesFrom = kInstallationKind.last + 1;
} // namespace outletlistline

// The text of a size-table entry of a slot tube: the tube diameter, then (after a unit and blanks)
// the offered lengths in 5-character pieces, then the slot counts in 3-character pieces, each a
// 2-character count and a separator.
namespace sizetableentry {
inline constexpr int kMaxLength = 116;
inline constexpr Columns kDiameter{1, 5};
inline constexpr Columns kLengths{16, 73};
inline constexpr int kLengthWidth = 5;
inline constexpr Columns kCounts{74, kMaxLength};
inline constexpr int kCountWidth = 3;
inline constexpr int kCountDigits = 2;
} // namespace sizetableentry

// The two configuration lists of a linear slot outlet: pieces of fixed width, one per row.
inline constexpr int kLengthsListItemWidth = 5;
inline constexpr int kCountsListItemWidth = 3;

} // namespace fyl
