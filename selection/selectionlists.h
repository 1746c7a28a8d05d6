// What the selection reads from the catalogue: installation kinds, the types of a kind, the sizes
// with and without the flow filter, the jet forms of a size, a size's index line and a type's
// attributes; and the arithmetic of the slot configuration. Core layer (fylcore); the selection
// model and the command line list the catalogue through these, so they cannot disagree.
#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/lookups.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace fyl {

// The text of a list item without the blanks that pad it.
QString withoutTrailingBlanks(QString text);

// A list box with the sorted style: case-insensitive order, equal texts keep their order.
QStringList sortedItems(QStringList items);

// listbox1: characters 1-27 of the outlet list lines, up to the first empty line.
QStringList installationKinds(const Catalogue& catalogue);

// ListBox7: the catalogue's type codes, sorted. The code list's first entry is always empty and
// occurs in no name, so it is left out.
QStringList typeCodes(const Catalogue& catalogue);

// The types of an installation kind: the names in the order of the outlet list (ListBox3), those
// containing a type code (ListBox8, sorted, a name once per code it contains) and the others,
// which have a data sheet only (ListBox2).
struct KindTypes {
    QStringList names;
    QStringList calculable;
    QStringList dataSheetOnly;
};
KindTypes typesOfKind(const Catalogue& catalogue, const QString& kind, const QStringList& codes);

// The size listing (ListBox9): each matching size name (columns 1-25) once, sorted. With the
// filter on, a size is listed when its flow range holds the filter flow (both ends included) and
// the type-list flag is set; without it, the sizes of the selected type, or every size when the
// kind has no calculable types. The flow columns are read leniently here: a column that is no
// number counts as 0.
struct SizeListing {
    QStringList sizes;
    bool typeListFlag = false; // as the listing leaves it
};
SizeListing listSizes(const Catalogue& catalogue, bool filterOn, double filterFlow,
                      const QString& selectedType, bool typesListed, bool typeListFlag);

// The jet forms a size has an index line for (ListBox10, sorted by name).
struct JetFormItem {
    int number; // 1-based entry of the jet form names
    QString name;
};
std::vector<JetFormItem> jetFormsOfSize(const Catalogue& catalogue, const QString& sizeName);

// The key prefix of a size: its name, the key gap's blanks and "0"; the jet form digit completes it.
QString sizeKeyPrefix(const QString& sizeName);

// What the size step reads from the first index line holding the size name; the flows strictly,
// so an unreadable one raises ConversionError. Nothing when no line holds the name.
struct SizeLine {
    QString design;    // column 36
    QString flowRange; // Label11: the two flow columns as they stand
    int smallestFlow;  // m³/h, per metre for slot outlets
    int largestFlow;
    QString dataSheet; // up to the first blank
};
std::optional<SizeLine> readSizeLine(const Catalogue& catalogue, const QString& sizeName);

// The 0-based detail record of the index line with `key`; nothing when no line holds it. A record
// number column that is no number gives -1, which the detail file refuses.
std::optional<int> detailRecordOf(const Catalogue& catalogue, const QString& key);

// A copy of the catalogue that holds the detail record of every index line, read from the program
// directory's detail file at once; the catalogue itself when it holds them already. A ranking or a
// schedule takes its outlets over from it, so that the file is opened once, not once per choice.
Catalogue withDetailRecords(const Catalogue& catalogue, const QString& programDir);

// The catalogue as the selection offers it, type by type: what the data sheets, the tender texts
// and `catalogue tree` show, so that none of them can list what the window does not.
struct OfferedJetForm {
    int number = 0; // 1-based entry of the jet form names
    QString name;
    std::optional<int> record; // 0-based detail record of the size with this jet form
};
struct OfferedSize {
    QString name;                 // without the blanks that pad it in the index
    std::optional<SizeLine> line; // design, flow range and data sheet of its first index line
    std::vector<OfferedJetForm> jetForms;
};
struct OfferedType {
    QString name;
    bool calculable = false;
    QStringList kinds; // the installation kinds that list it, in catalogue order
    std::vector<OfferedSize> sizes;
};
// The sizes of a type in ListBox9's order without the flow filter, each with its jet forms.
std::vector<OfferedSize> offeredSizes(const Catalogue& catalogue, const QString& type);
// Every type of every installation kind once, in the order the kinds list them.
std::vector<OfferedType> offeredTypes(const Catalogue& catalogue);

// The total slot length the room's flow needs [m]: flow / largest and flow / smallest flow per
// metre. A flow of 0 per metre raises ArithmeticError.
struct SlotLengthRange {
    double minimum = 0.0;
    double maximum = 0.0;
};
SlotLengthRange requiredSlotLength(double totalFlow, int smallestFlow, int largestFlow);

// The fewest and most outlets of `slotLength` metres each that give the total range, each rounded
// up unless within 0.001 of the whole number below. A slot length of 0 raises ArithmeticError.
struct OutletCountRange {
    std::int32_t from = 0;
    std::int32_t to = 0;
};
OutletCountRange outletCountRange(const SlotLengthRange& total, double slotLength);

// The active slot length of one tube [m]: its closed ends take 200 mm of a 1000 or 1500 mm tube,
// 250 of a 1750 and 300 of a 2000 mm tube from every slot; other lengths are slotted whole.
double tubeSlotLength(double nominalLength, int slotCount);

} // namespace fyl
