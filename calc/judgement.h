// The one judgement of a layout: every check an outlet choice must pass in the room at a count and a
// layout (flow and count range, spacing, wall distance, detachment, reach, velocity, sound, draught,
// the layout's shape), each with its figure, its limit and its verdict, and the order in which two
// judged layouts rank. The suggestion list, the ranking, the room schedule, the calculation window,
// the ceiling plan and the report all show this result. Core layer (fylcore).
#pragma once

#include "calc/draught.h"
#include "calc/evaluation.h"
#include "calc/outletlayout.h"
#include "catalogue/catalogue.h"
#include "frame/record.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace fyl {

// One check with its figures. A range has a low and a high limit. A check that does not decide (a
// draught rating outside the model's temperature range) is shown but holds.
struct LayoutCheck {
    // flow_range, count_range, spacing, wall_distance, detachment, penetration, velocity,
    // cold_vertical_jet, heating_height, free_cold_jet, throw_reach, hall_height, sound, draught,
    // cell_shape; layout when no
    // layout of the count fits the room
    QString name;
    double value = 0.0;
    std::optional<double> limit, lowLimit;
    bool ok = true;
    bool decides = true;
    QString text; // the check as a planner reads it, with its figures: "vk 0,38 m/s > 0,20 m/s"
};

// What a choice brings to the layout besides its evaluation: where its outlets may sit and how much
// room one takes.
struct ChoiceGeometry {
    LayoutKind kind = LayoutKind::Grid;
    double outletLength = 0.0; // [m] slot outlets: the nominal length of one piece; others 0
    double outletWidth = 0.0;  // [m] across the jet: a round outlet's size, a slot's width
    double spreadAngle = 24.0; // [°] the jet's full spread angle, for the spacing of vertical jets
    bool perOutlet = true;     // design "0": counted one by one (else per piece of slot)
    bool forHalls = false;     // the catalogue names halls as its only kind of room
};

// The geometry of the outlet taken over into `rec`. `mounting` is its type's mounting places as the
// catalogue names them: a type offered for walls, parapets or bulkheads alone (no ceiling or hall
// roof among them) is laid out along a wall only. `uses` are its ranges of use: a type whose only
// kind of room (besides cooling, heating and ventilating) is halls is made for high rooms.
ChoiceGeometry choiceGeometry(const CalculationRecord& rec, const QStringList& mounting,
                              const QStringList& uses = {});
// The same, with the mounting places of the record's type looked up in the catalogue.
ChoiceGeometry choiceGeometry(const Catalogue& catalogue, const CalculationRecord& rec);

// choiceGeometry(catalogue, rec) for the many choices of a ranking: each type's mounting places and
// ranges of use are looked up in the index once, not once per choice.
class ChoiceGeometries {
public:
    explicit ChoiceGeometries(const Catalogue& catalogue) : catalogue_(catalogue) {}
    ChoiceGeometry of(const CalculationRecord& rec);

private:
    const Catalogue& catalogue_;
    std::map<QString, std::pair<QStringList, QStringList>> attributes_; // type -> mounting, uses
};

// How much of its checks a judging keeps: a layout search compares thousands of layouts by how many
// checks fail alone; a quick ranking keeps the checks without their texts; what is shown needs the
// texts too.
enum class Wording { Tally, Listed, Worded };

// One section of a layout as the flow picture shows it: two outlets `spacing` apart, each `wall`
// from its wall. Without a neighbour the wall on the far side stands in for it.
struct LayoutSection {
    std::optional<double> spacing, wall;
};
std::vector<LayoutSection> sectionsOf(const OutletLayout& layout);

struct CountRange {
    int least = 0, most = 0;
};
// The count range the evaluation stored into `rec` (not the scroll bar's).
CountRange countRangeOf(const CalculationRecord& rec);

// One choice judged at one count and one layout.
struct Judgement {
    int count = 0;
    OutletLayout layout;
    bool placed = true; // false: no layout of the count fits the room (check "layout")
    std::vector<LayoutCheck> checks; // empty with Wording::Tally
    int failed = 0;
    bool feasible = false;
    std::optional<DraughtResult> draught; // the worst rating at head height
    bool draughtValid = true;             // inside the model's range (20 … 26 °C, below 0,5 m/s)
    bool categoryMet = false;             // the target category reached, and the rating decides
    double lwa = 0.0, dp = 0.0;
    double marginTogether = 0.0; // permitted level − (LWA + 10 lg count)
    double slotMetres = 0.0;     // slot outlets: count × length of a piece
    double cellAspect = 1.0;     // a grid's floor share per outlet, long side / short side
    double throwLength = 0.0;    // horizontal jets: the run along the ceiling to the velocity limit
    LayoutSection worst;         // the flow picture's section: the one with the highest velocity
    double vMid = 0.0, vLeft = 0.0, vRight = 0.0;
    bool abandoned = false; // more checks failed than the search allowed; figures incomplete
};

struct JudgementTerms {
    QChar targetCategory = QLatin1Char('B'); // 'A', 'B' or 'C'
    Wording wording = Wording::Worded;
    // A search stops judging a layout before its velocities once more checks fail than this: such
    // a layout cannot rank before one that failed only this many.
    std::optional<int> failAbove;
};

// The checks of the choice evaluated into `rec` (exactly one of `h` and `v`) at `count` outlets and
// at `layout`.
Judgement judgeLayout(const CalculationRecord& rec, const ChoiceGeometry& geometry, const HorizontalResult* h,
                      const VerticalResult* v, int count, CountRange range, const OutletLayout& layout,
                      const JudgementTerms& terms);

// The order of two judged layouts (of one choice or of two): suitable first (of two unsuitable, the
// one with fewer failed checks); then the target category met; then fewer pieces, then fewer metres
// of slot; then a pressure drop inside 20 … 60 Pa before one outside; then the larger sound margin of
// the outlets together, in bands of 3 dB; then the lower draught rating; then the squarer cells.
struct JudgementOrder {
    bool feasible = false, evaluated = false;
    int failed = 0;
    bool categoryMet = false;
    int count = 0;
    double slotMetres = 0.0;
    bool dpInside = false;
    int soundBand = 0;
    double rating = 1000.0; // none: the worst
    double cellAspect = 1.0;
};
JudgementOrder orderOf(const Judgement& j);
bool judgedBefore(const JudgementOrder& a, const JudgementOrder& b);

// Every count from `from` to `to` (at most 40 of them) at each of its layouts: the best by the
// order. The evaluations are pure; `rec` serves every count and gets its own count back. Layouts
// that fail more checks than `terms.failAbove` are left out (`cut` tells whether any was).
std::optional<Judgement> bestLayout(CalculationRecord& rec, const ChoiceGeometry& geometry, CountRange range,
                                    int from, int to, const JudgementTerms& terms, bool* cut = nullptr);

// The outlet of `rec` judged at the count it stands at, at the best layout of that count, worded:
// what the calculation window, the report, the exchange to the ceiling plan and `plan`/`evaluate`
// show. A suggestion taken over stands at its count, and the best layout of that count is its own.
// None when the record holds no evaluated outlet or its evaluation fails.
std::optional<Judgement> judgeRecord(const CalculationRecord& rec, const ChoiceGeometry& geometry,
                                     QChar targetCategory = QLatin1Char('B'));

// The layout as a planner reads it: "2 × 3, 3,00 / 2,67 m" (outlets across the width × along the
// length, then the spacings across / along, or the wall distances where there is one outlet).
QString layoutText(const OutletLayout& layout);

// The lines the calculation window shows under its results: one per failed check, or the one line
// "alle Prüfungen erfüllt".
QStringList verdictLines(const Judgement& j);
inline const QString kAllChecksMet = QStringLiteral("alle Prüfungen erfüllt");

} // namespace fyl
