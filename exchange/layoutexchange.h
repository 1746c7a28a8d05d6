// The layout file the ceiling plan gets beside its exchange file ("Zolanordnung.tmp"): the layout
// the judgement of the outlet used and every one of its checks, so that the plan draws that layout
// and shows that verdict rather than judging on its own. Writer and reader share this one
// definition. Core layer (fylcore).
#pragma once

#include "calc/judgement.h"
#include "catalogue/catalogue.h"
#include "exchange/exchangefiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace fyl {

inline constexpr char kLayoutExchangeName[] = "Zolanordnung.tmp";
// A judgement has a dozen checks; a file that claims more is not one the program wrote.
inline constexpr int kMaxExchangedChecks = 32;
// A check's text is longer than the other files' texts may be.
inline constexpr int kCheckTextLimit = 200;

struct ExchangedCheck {
    QString name; // the judgement's: "spacing", "wall_distance", "sound", …
    bool ok = true;
    std::optional<double> value, limit;
    QString text; // as the calculation window words it
};

struct LayoutExchange {
    // What ties the file to the exchange file beside it.
    QString outletName;
    int outletCount = 0;
    double roomWidth = 0, roomLength = 0;
    // The outlet had a judgement; without one the file gives no layout and no checks.
    bool judged = false;
    // A layout of the count fits the room (else the failed check "layout" says why none does).
    bool placed = false;
    OutletLayout layout;
    double pieceLength = 0; // [m] slot outlets: the length of one piece; 0 for others
    std::vector<ExchangedCheck> checks;
};

// The lines of the file for the record and its judgement (none when it has none). Lengths in m
// with a point and three decimals, "--" where the layout has none; texts made one line, with ">="
// and "<=" for the signs Windows-1252 lacks. A layout the reader would refuse as written is left
// out, as if there were no judgement. Raises FileError, as the exchange file's writer does, for a
// length the reader would refuse.
QStringList layoutExchangeLines(const CalculationRecord& rec, const std::optional<Judgement>& judgement,
                                const ChoiceGeometry& geometry);

// Reads the file's bytes (Windows-1252, any line end). Raises FileError naming the line for a
// wrong key, a value out of range, a count of checks the lines do not hold, or a layout that does
// not fill the room it names.
LayoutExchange readLayoutExchange(const QByteArray& bytes);

// Whether the layout file was written together with the exchange file: the same outlet, count and
// room. A stale or foreign layout file is not drawn.
bool belongsTo(const LayoutExchange& layout, const CeilingExchange& x);

// Where the layout file lies: beside the exchange file at `exchangePath`.
QString layoutFileBeside(const QString& exchangePath);

// The ceiling plan's two files for the record, each path with its bytes, to be written together:
// the exchange file at `exchangePath` and the layout file beside it, with the record's judgement
// (the type's mounting places from `catalogue`). Raises what the writers raise, before anything
// is written.
std::vector<std::pair<QString, QByteArray>>
ceilingPlanFiles(const QString& exchangePath, const CalculationRecord& rec, const Catalogue& catalogue);

} // namespace fyl
