// The ceiling plan as plain data: where the outlets sit in the room and which outlets and gaps are
// marked. With the layout file beside the exchange file, exactly the layout the judgement used and
// its verdict; without one, a regular grid from the exchange file's figures checked against its
// least spacing and wall distance. The one layout of a ceiling plan, which the ceiling-plan tool
// draws. Core layer (fylcore).
#pragma once

#include "exchange/exchangefiles.h"
#include "exchange/layoutexchange.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fyl::ceiling {

// How badly a distance falls short; ordered, so the worst of several is the greatest.
enum class Breach {
    None,
    Seated, // only below the value for a seated head height of 1.3 m
    Limit,  // below a_min or Rand_min
};

// The limits a layout is checked against; all empty for a vertical jet.
struct Limits {
    std::optional<double> spacing;       // a_min
    std::optional<double> wall;          // Rand_min
    std::optional<double> spacingSeated; // a_min for a head height of 1.3 m
    std::optional<double> wallSeated;    // Rand_min for a head height of 1.3 m
    bool any() const { return spacing || wall || spacingSeated || wallSeated; }
};

// Why a distance is marked.
struct Reason {
    Breach breach = Breach::None;
    QString text;
};

// Coordinates in metres: x across the width from the left wall, y along the length from the top
// wall of the plan.
struct PlanOutlet {
    double x = 0, y = 0; // the middle of the outlet; of a wall outlet, where it meets the wall
    int row = 0, column = 0;
    double length = 0;            // a piece of slot outlet: its length; 0 for a point outlet
    bool alongLength = false;     // a piece of slot, or an outlet at a wall, runs along the length (y)
    bool atWall = false;          // in a row at a wall, blowing across the room
    double wallDistance = 0;      // to the nearest wall
    Breach breach = Breach::None; // the worst of the reasons
    std::vector<Reason> reasons;
};

// Two neighbouring outlets, in a row or between two rows.
struct PlanGap {
    int from = 0, to = 0; // indexes into the outlets
    double length = 0;
    Breach breach = Breach::None;
    std::vector<Reason> reasons;
};

// One reason, with how many outlets or gaps it applies to.
struct Finding {
    Breach breach = Breach::None;
    QString text;
    int count = 0;
};

// A span of a dimension chain, in metres along it.
struct PlanSpan {
    double from = 0, to = 0;
    Breach breach = Breach::None;
};

// What a plan laid out from the layout file shows of the judgement.
struct JudgedPlan {
    OutletLayout layout;
    double pieceLength = 0; // [m] slot outlets: one piece
    // The judgement's spacing and wall-distance checks failed: only then are gaps, outlets and
    // spans marked.
    bool spacingFailed = false, wallFailed = false;
    // Each failed check's text, or the one line "alle Prüfungen erfüllt".
    QStringList verdict;
    bool met = true;
    // The dimension chains through the outlets: across the width (x) and along the length (y).
    std::vector<PlanSpan> across, along;
};

struct CeilingLayout {
    QString problem; // why nothing could be laid out; empty when the outlets are placed
    int rows = 0;    // along the length
    int columns = 0; // outlets of a full row, across the width
    int lastRowCount = 0;
    // The room's even grid that the file's spacing and wall distance belong to, rather than a grid
    // of the file's spacing both ways.
    bool evenGrid = false;
    // The grid's pitch across the width (between columns) and along the length (between rows). A
    // grid of the file's spacing has it both ways; an even grid has each side's share per outlet,
    // also in a direction with one outlet.
    double spacingX = 0, spacingY = 0;
    double wallX = 0;        // from the side walls to the full rows
    double wallY = 0;        // from the end walls to the first and the last row
    double lastRowWallX = 0; // a last row with fewer outlets is centred on its own
    // The given wall distance holds on every side. An even grid keeps the wall distances of its
    // own directions, of which the file gives one.
    bool keepsWallDistance = true;
    double leastWallDistance = 0;
    Limits limits;
    std::vector<PlanOutlet> outlets; // row by row from the top, left to right
    std::vector<PlanGap> gaps;
    std::vector<Finding> findings; // worst first
    Breach worst = Breach::None;   // of a judged plan: Limit when a check failed
    std::optional<JudgedPlan> judged;
};

// No more outlets than this are laid out: beyond it no single room is planned, and a plan of
// them could not be read.
inline constexpr int kMaxOutlets = 1000;

// The limits that apply to `x`: its four values for a horizontal jet, none for a vertical one.
Limits limitsOf(const CeilingExchange& x);

// Lays out the outlets and checks them. A row runs across the width and the rows follow each
// other along the length.
//
// First the room's even grids of the count (outletLayouts' grids: rows × columns = the count,
// each outlet in the middle of an equal share of the floor). A grid one of whose two directions
// has the file's spacing and wall distance, both within 0.01 m since the file gives centimetres,
// is the grid ZELK FYL wrote the file for when it took a suggestion over (the file holds the
// grid's worse direction), and it is laid out as it stands: full rows, a pitch and a wall distance
// of its own in each direction. A direction with one outlet has no spacing; twice its wall
// distance stands in for it. Of several such grids the one whose other direction also comes
// nearest the file's figures, then the one with the squarest cells, then the one with fewer
// columns.
//
// Otherwise the grid keeps the given spacing in both directions and is centred in the room, a
// last row with fewer outlets centred on its own. Of the arrangements (outlets per row from 1 to
// the count) that put every outlet inside the room, the chosen one
//   1. keeps the given wall distance on all four sides, or else has the greatest least wall
//      distance;
//   2. then leaves the fewest places of the last row empty;
//   3. then has the most even wall distances (side walls against end walls).
// A count of 0, an empty room, a spacing of 0 for more than one outlet or a count no arrangement
// fits leave `problem` set and no outlets.
CeilingLayout layOutCeiling(const CeilingExchange& x);

// Lays out exactly the layout the judgement used, which `judged` (read from beside `x`, and
// belonging to it) gives: an even grid as above; rows of slot outlets as pieces end to end; a row
// at the left wall (rows along the length) or the top wall. Marks come from the judgement alone: a
// gap where its spacing check failed and the gap is below the check's limit or is the distance it
// checked, an outlet likewise for its wall-distance check; every other check is the verdict's
// alone. The exchange file's limits are kept for the title block. A layout the judgement found no
// place for leaves `problem` set to the judgement's reason.
CeilingLayout layOutCeiling(const CeilingExchange& x, const LayoutExchange& judged);

// The plan of the exchange file: the judged layout when its layout file came with it, else the
// layout from the exchange file's figures.
CeilingLayout planCeiling(const CeilingExchange& x, const std::optional<LayoutExchange>& judged);

// How `length` compares with a limit and its value for a seated head height (either may be
// missing); a length that prints as its limit is not below it.
Breach breachOf(double length, const std::optional<double>& limit, const std::optional<double>& seated);

// Lengths as the plan writes them: two decimals with the dialogue's comma.
QString metres(double value);

// The line of figures under the plan.
QString figuresLine(const CeilingExchange& x, const CeilingLayout& layout);

} // namespace fyl::ceiling
