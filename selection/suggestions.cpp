// Evaluating and ranking every calculable catalogue choice for a room. Core layer (fylcore).
#include "selection/suggestions.h"

#include "calc/arithmetic.h"
#include "calc/draught.h"
#include "calc/evaluation.h"
#include "calc/outletlayout.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/shell.h"
#include "results/outletresults.h"
#include "results/planningcopy.h"
#include "selection/selectionlists.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace fyl {

using ld = long double;

namespace {

QString num(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}

// A value that breaks its limit, with as many more decimals as it takes to read above it: "LWA 35,0 dB
// > 35 dB" would look like no reason at all.
QString above(double value, double limit, int decimals) {
    QString text = num(value, decimals);
    for (int d = decimals + 1; d <= decimals + 3 && numbers::parseReal(text) <= limit; ++d)
        text = num(value, d);
    return text;
}

constexpr int kMaxCountsTried = 40;           // counts of one choice tried for a layout, from the least up
constexpr double kHeatingMountingLimit = 4.0; // [m] above it warm air from a horizontal jet stays up
constexpr double kFreeColdJetLimit = 3.0;     // [K] under-temperature of a jet that is not at the ceiling
constexpr double kDraughtValidLow = 20.0, kDraughtValidHigh = 26.0, kDraughtValidVelocity = 0.5;

int categoryRank(const QString& category) {
    if (category.size() == 1 && category[0] >= QLatin1Char('A') && category[0] <= QLatin1Char('C'))
        return category[0].unicode() - 'A';
    return 3;
}

double categoryLimit(QChar category) {
    return category == QLatin1Char('A') ? 10.0 : category == QLatin1Char('C') ? 30.0 : 20.0;
}

// Types the catalogue offers for walls alone (no ceiling, suspended ceiling or hall roof among their
// mounting places) blow from a wall across the room.
bool mountedOnWallsOnly(const Catalogue& catalogue, const QString& type) {
    const std::optional<TypeAttributes> attributes = typeAttributes(catalogue, type);
    if (!attributes || attributes->mounting.isEmpty())
        return false;
    for (const QString& place : attributes->mounting)
        if (place.contains(QStringLiteral("decke"), Qt::CaseInsensitive) ||
            place.contains(QStringLiteral("dach"), Qt::CaseInsensitive))
            return false;
    return true;
}

LayoutKind layoutKindOf(const CalculationRecord& rec, const Catalogue& catalogue,
                        const OutletChoice& choice) {
    const QString jet = rec.outlet.jetFormCodeText();
    if (rec.designCode.str() == QLatin1String("0"))
        return jet == QLatin1String("01") && mountedOnWallsOnly(catalogue, choice.type) ? LayoutKind::WallRow
                                                                                        : LayoutKind::Grid;
    // One-sided slots and tubes blow from a wall; the others blow to both sides of their row.
    return jet == QLatin1String("04") || jet == QLatin1String("06") ? LayoutKind::WallRow
                                                                    : LayoutKind::SlotRows;
}

// The length one outlet takes in its row: slot outlets their nominal length, others none.
double outletLengthOf(const CalculationRecord& rec) {
    return rec.designCode.str() == QLatin1String("0") ? 0.0 : rec.nominalLength / 1000.0;
}

// One section of a layout as the flow picture shows it: two outlets `spacing` apart, each `wall`
// from its wall. Without a neighbour the wall on the far side stands in for it.
struct Section {
    std::optional<double> spacing, wall;
};

std::vector<Section> sectionsOf(const OutletLayout& l) {
    std::vector<Section> out;
    const auto add = [&out](const std::optional<double>& spacing, const std::optional<double>& wall) {
        if (spacing || wall)
            out.push_back({spacing, wall});
    };
    if (l.kind == LayoutKind::WallRow) {
        add(l.rowsAlongLength ? l.spacingLength : l.spacingWidth, l.depth);
    } else {
        add(l.spacingWidth, l.wallWidth);
        add(l.spacingLength, l.wallLength);
    }
    return out;
}

// How much of its checks a judging keeps: the search compares thousands of layouts by how many
// checks fail alone; a quick ranking keeps the checks without their texts; only the layout a
// choice is shown with needs the texts too.
enum class Judging { Tally, Listed, Worded };

// The checks of one layout.
struct Checks {
    Judging judging = Judging::Tally;
    std::vector<SuggestionCheck> list;
    int failed = 0;

    template <class MakeText>
    void add(const char* name, double value, std::optional<double> low, double limit, bool ok,
             MakeText text) {
        if (!ok)
            ++failed;
        if (judging == Judging::Tally)
            return;
        SuggestionCheck c;
        c.name = QString::fromLatin1(name);
        c.value = value;
        c.lowLimit = low;
        c.limit = limit;
        c.ok = ok;
        if (judging == Judging::Worded)
            c.text = text();
        list.push_back(std::move(c));
    }
    template <class MakeText>
    void range(const char* name, double value, double low, double high, MakeText text) {
        add(name, value, low, high, value >= low && value <= high, text);
    }
    template <class MakeText> void atLeast(const char* name, double value, double limit, MakeText text) {
        add(name, value, std::nullopt, limit, value >= limit - 1e-9, text);
    }
    // `decides` false: shown, but it holds whatever its figures.
    template <class MakeText>
    void atMost(const char* name, double value, double limit, MakeText text, bool decides = true) {
        add(name, value, std::nullopt, limit, !decides || value <= limit + 1e-9, text);
    }
};

// The figures of one choice at one count, and at one layout of it.
struct AtLayout {
    int count = 0;
    OutletLayout layout;
    Checks checks;
    DraughtResult draught;
    bool draughtValid = true;
    bool feasible = false;
    double lwa = 0, dp = 0;
    Section worst; // the section the flow picture shows: the one with the highest velocity
    double vMid = 0, vLeft = 0, vRight = 0;
    bool abandoned = false; // more checks failed than `failAbove` allowed; the figures are incomplete
};

// The checks of the choice evaluated into `rec` at `count` outlets, at `layout`. With `failAbove`
// the judging stops before the velocities once more checks fail than that: such a layout cannot
// rank before one that failed only `failAbove`.
AtLayout judgeLayout(const CalculationRecord& rec, const HorizontalResult* h, const VerticalResult* v,
                     int count, int least, int most, const OutletLayout& layout,
                     const RankingOptions& options, Judging judging,
                     std::optional<int> failAbove = std::nullopt) {
    AtLayout a;
    a.count = count;
    a.layout = layout;
    a.lwa = h != nullptr ? h->lwa : v->lwa;
    a.dp = h != nullptr ? h->dp : v->dp;
    const bool perOutlet = rec.designCode.str() == QLatin1String("0");
    const double vMin = perOutlet ? rec.outlet.vMin : rec.vMinOutlet;
    const double vMax = perOutlet ? rec.outlet.vMax : rec.vMaxOutlet;
    const double flow = rec.totalFlow / count;
    Checks& c = a.checks;
    c.judging = judging;
    c.range("flow_range", flow, vMin, vMax, [&] {
        return QStringLiteral("Volumenstrom je Durchlass %1 m³/h, zulässig %2 … %3 m³/h")
            .arg(num(flow, 1), num(vMin, 1), num(vMax, 1));
    });
    c.range("count_range", count, least, most,
            [&] { return QStringLiteral("Anzahl %1, Bereich %2 … %3").arg(count).arg(least).arg(most); });
    const double dT = arith::stored(ld(rec.roomTemp) - rec.supplyTemp);
    const double mounting = rec.mountingHeight;
    std::vector<double> velocities;
    if (h != nullptr) {
        const LayoutDistances d = layoutDistances(layout);
        if (d.spacing && h->aMin >= 0.1)
            c.atLeast("spacing", *d.spacing, h->aMin, [&] {
                return QStringLiteral("Abstand %1 m, a min %2 m").arg(num(*d.spacing, 2), num(h->aMin, 2));
            });
        if (d.wall && h->wMin > 0.0)
            c.atLeast("wall_distance", *d.wall, h->wMin, [&] {
                return QStringLiteral("Wandabstand %1 m, w min %2 m").arg(num(*d.wall, 2), num(h->wMin, 2));
            });
        if (dT > 0.1 && h->xKrit > 0.0)
            c.atLeast("detachment", h->xKrit, d.travel, [&] {
                return QStringLiteral("x-krit %1 m, Strahlweg an der Decke %2 m")
                    .arg(num(h->xKrit, 2), num(d.travel, 2));
            });
        if (dT < -0.1)
            c.atMost("heating_height", mounting, kHeatingMountingLimit, [&] {
                return QStringLiteral("Heizen mit Horizontalstrahl in %1 m Höhe (höchstens %2 m): die "
                                      "warme Luft bleibt unter der Decke")
                    .arg(num(mounting, 2), numbers::formatGeneral(kHeatingMountingLimit));
            });
        if (dT > kFreeColdJetLimit && !h->ceilingMounted) {
            c.atMost("free_cold_jet", dT, kFreeColdJetLimit, [&] {
                return QStringLiteral("kalter Freistrahl unter der Decke (%1 K Untertemperatur): "
                                      "sein Absinken wird nicht berechnet")
                    .arg(num(dT, 1));
            });
        }
        const bool soundFails = !(a.lwa <= rec.maxSoundLevel + 1e-9);
        if (failAbove && c.failed + (soundFails ? 1 : 0) > *failAbove) {
            a.abandoned = true;
            return a;
        }
        // The velocities at head height at the layout's places; the flow picture shows the worst section.
        double worstVelocity = -1.0;
        for (const Section& s : sectionsOf(layout)) {
            const double wall = s.wall.value_or(0.0);
            const double spacing = s.spacing.value_or(2.0 * wall);
            const SectionVelocities sv = sectionVelocities(rec, *h, spacing, wall);
            if (s.spacing)
                velocities.push_back(sv.mid);
            if (s.wall)
                velocities.push_back(sv.wall);
            const double highest = std::max(s.spacing ? sv.mid : 0.0, s.wall ? sv.wall : 0.0);
            if (highest > worstVelocity) {
                worstVelocity = highest;
                a.worst = {spacing, wall};
                a.vMid = sv.mid;
                a.vLeft = sv.wall;
                a.vRight = sv.wall;
            }
        }
    } else if (v != nullptr) {
        const double run = arith::stored(ld(mounting) - rec.headHeight);
        if (dT < -0.1)
            c.atLeast("penetration", v->yMax, run, [&] {
                return QStringLiteral("y max %1 m, bis Kopfhöhe %2 m").arg(num(v->yMax, 2), num(run, 2));
            });
        else
            c.atMost("velocity", v->vk, rec.velocityLimit, [&] {
                return QStringLiteral("vk %1 m/s, zulässig %2 m/s")
                    .arg(above(v->vk, rec.velocityLimit, 2), numbers::formatGeneral(rec.velocityLimit));
            });
        velocities.push_back(v->vk);
        a.vMid = v->vk;
    }
    c.atMost("sound", a.lwa, rec.maxSoundLevel, [&] {
        return QStringLiteral("LWA %1 dB, zulässig %2 dB")
            .arg(above(a.lwa, rec.maxSoundLevel, 1), numbers::formatGeneral(rec.maxSoundLevel));
    });
    if (!velocities.empty()) {
        try {
            // The rating grows with the velocity: the worst place is the fastest.
            const double rating =
                draughtRating(rec.roomTemp, *std::max_element(velocities.begin(), velocities.end()));
            const DraughtResult worst{rating, draughtCategory(rating)};
            a.draught = worst;
            a.draughtValid = ld(rec.roomTemp) >= kDraughtValidLow && ld(rec.roomTemp) <= kDraughtValidHigh &&
                             std::all_of(velocities.begin(), velocities.end(),
                                         [](double x) { return x < kDraughtValidVelocity; });
            // Outside the model's range the velocity limit decides, not the rating.
            c.atMost(
                "draught", worst.rating, categoryLimit(options.targetCategory),
                [&] {
                    return QStringLiteral("DR %1 % (%2), Ziel Kategorie %3%4")
                        .arg(num(worst.rating, 1),
                             worst.category == QLatin1String("-") ? QStringLiteral("über C") : worst.category,
                             QString(options.targetCategory),
                             a.draughtValid ? QString()
                                            : QStringLiteral(", außerhalb des Gültigkeitsbereichs"));
                },
                a.draughtValid);
        } catch (const ArithmeticError&) {
        }
    }
    a.feasible = c.failed == 0;
    return a;
}

// The order of ranksBefore, on the figures of two layouts.
struct OrderKey {
    bool feasible = false, evaluated = false;
    int failed = 0; // checks that fail: of two unsuitable choices, the one nearer to suitable first
    int category = 3;
    int soundBand = 0;
    bool dpInside = false;
    int count = 0;
    double rating = 0;
};

OrderKey orderKey(bool feasible, bool evaluated, int failed, const QString& category, double soundMargin,
                  double dp, int count, std::optional<double> rating) {
    OrderKey k;
    k.feasible = feasible;
    k.evaluated = evaluated;
    k.failed = failed;
    k.category = rating ? categoryRank(category) : 3;
    k.soundBand = static_cast<int>(std::floor(soundMargin / 3.0));
    k.dpInside = dp >= 20.0 && dp <= 60.0;
    k.count = count;
    k.rating = rating.value_or(1000.0);
    return k;
}

bool before(const OrderKey& a, const OrderKey& b) {
    if (a.feasible != b.feasible)
        return a.feasible;
    // A choice that could not be evaluated has no count; it must not pass for the fewest outlets.
    if (a.evaluated != b.evaluated)
        return a.evaluated;
    if (a.failed != b.failed)
        return a.failed < b.failed;
    if (a.category != b.category)
        return a.category < b.category;
    if (a.soundBand != b.soundBand)
        return a.soundBand > b.soundBand;
    if (a.dpInside != b.dpInside)
        return a.dpInside;
    if (a.count != b.count)
        return a.count < b.count;
    return a.rating < b.rating;
}

int failedChecks(const std::vector<SuggestionCheck>& checks) {
    return static_cast<int>(
        std::count_if(checks.begin(), checks.end(), [](const SuggestionCheck& c) { return !c.ok; }));
}

OrderKey orderKey(const AtLayout& a, double maxSound) {
    return orderKey(a.feasible, true, a.checks.failed, a.draught.category, maxSound - a.lwa, a.dp, a.count,
                    a.draught.category.isEmpty() ? std::nullopt : std::optional<double>(a.draught.rating));
}

// How far a grid's share of the floor per outlet is from a square (1: square); other layouts 1.
double cellAspect(const OutletLayout& l, double width, double length) {
    if (l.kind != LayoutKind::Grid)
        return 1.0;
    const double across = width / l.columns, along = length / l.rows;
    return std::max(across, along) / std::min(across, along);
}

// Evaluates the choice in `rec` at `count` outlets set by hand, with the flow picture at the given
// section; the critical-distance search only when asked for.
void evaluateAt(CalculationRecord& rec, bool horizontal, int count, const Section* section,
                bool criticalSearch, std::optional<HorizontalResult>& h, std::optional<VerticalResult>& v) {
    rec.outletCount = count;
    if (section != nullptr) {
        const double wall = section->wall.value_or(0.0);
        rec.spacing = section->spacing.value_or(2.0 * wall);
        rec.wallLeft = wall;
        rec.wallRight = wall;
        rec.resultsWindowFlag = 0;
    }
    if (horizontal) {
        HorizontalResult r = evaluateHorizontal(rec, true, criticalSearch);
        requireFiniteResult(r);
        storeResults(rec, r);
        h = r;
        v.reset();
    } else {
        VerticalResult r = evaluateVertical(rec, true);
        requireFiniteResult(r);
        storeResults(rec, r);
        v = r;
        h.reset();
    }
}

// Every count of the choice's range at each of its layouts: the best one by the ranking's order.
// `least` … `most` is the count range the counts are checked against, `from` … `to` the counts tried.
// With `failAbove` the layouts that fail more checks are left out (`cut` tells whether any was).
// The evaluations are pure: `rec` serves every count, and its own count is put back at the end.
std::optional<AtLayout> bestLayout(CalculationRecord& rec, LayoutKind kind,
                                   const RankingOptions& options, int least, int most, int from, int to,
                                   std::optional<int> failAbove = std::nullopt, bool* cut = nullptr) {
    const bool horizontal = rec.horizontalJet != 0;
    const double proposedCount = rec.outletCount;
    const auto putBack = qScopeGuard([&rec, proposedCount] { rec.outletCount = proposedCount; });
    std::optional<AtLayout> best;
    std::optional<OrderKey> bestKey;
    const int first = std::max(1, from);
    const int last = std::min(to, first + kMaxCountsTried - 1);
    const bool perOutlet = rec.designCode.str() == QLatin1String("0");
    const double vMin = perOutlet ? rec.outlet.vMin : rec.vMinOutlet;
    const double vMax = perOutlet ? rec.outlet.vMax : rec.vMaxOutlet;
    const auto bound = [&]() -> std::optional<int> {
        if (bestKey && failAbove)
            return std::min(bestKey->failed, *failAbove);
        return bestKey ? std::optional<int>(bestKey->failed) : failAbove;
    };
    CountSearch search;
    for (int count = first; count <= last; ++count) {
        // The checks of the count alone, before evaluating it.
        const double flow = rec.totalFlow / count;
        int failedBefore = (flow >= vMin && flow <= vMax ? 0 : 1) + (count >= least && count <= most ? 0 : 1);
        const std::optional<int> limit = bound();
        if (limit && failedBefore == *limit) {
            try {
                if (!(soundPowerAtCount(rec, count) <= rec.maxSoundLevel + 1e-9))
                    ++failedBefore;
            } catch (const Error&) {
                // the evaluation below fails the same way
            }
        }
        if (limit && failedBefore > *limit) {
            if (cut != nullptr)
                *cut = true;
            continue;
        }
        rec.outletCount = count;
        std::optional<HorizontalResult> h;
        std::optional<VerticalResult> v;
        try {
            if (horizontal) {
                h = evaluateHorizontalAtCount(rec, search);
                requireFiniteResult(*h);
            } else {
                v = evaluateVerticalAtCount(rec, search);
                requireFiniteResult(*v);
            }
        } catch (const Error&) {
            continue;
        }
        // A vertical jet's figures do not depend on where the outlets sit: one judging serves them all.
        std::optional<AtLayout> vertical;
        for (const OutletLayout& layout :
             outletLayouts(kind, rec.roomWidth, rec.roomLength, count, outletLengthOf(rec))) {
            AtLayout a;
            if (vertical) {
                a = *vertical;
                a.layout = layout;
            } else {
                a = judgeLayout(rec, h ? &*h : nullptr, v ? &*v : nullptr, count, least, most, layout, options,
                                Judging::Tally, bound());
                if (a.abandoned) {
                    if (cut != nullptr)
                        *cut = true;
                    continue;
                }
                if (v)
                    vertical = a;
            }
            const OrderKey key = orderKey(a, rec.maxSoundLevel);
            // Of layouts the order cannot tell apart, the grid with the squarest shares of the floor.
            const bool tie = bestKey && !before(*bestKey, key) && !before(key, *bestKey);
            if (!bestKey || before(key, *bestKey) ||
                (tie && cellAspect(a.layout, rec.roomWidth, rec.roomLength) <
                            cellAspect(best->layout, rec.roomWidth, rec.roomLength))) {
                bestKey = key;
                best = std::move(a);
            }
        }
    }
    return best;
}

// The figures of the record the take-over and the layout search left.
void readFigures(Suggestion& s, const CalculationRecord& rec, const ResultsView& view) {
    s.design = rec.designCode.str();
    s.designation = view.form3[form3::Label1].text.value_or(s.designation);
    s.jetFormName = rec.outlet.thirdNameText().trimmed();
    s.evaluated = true;
    s.vertical = view.evaluated == JetKind::Vertical;
    s.count = outletsOf(rec);
    s.flowPerOutlet = rec.flowPerOutlet;
    s.shownFlow = shownFlowPerOutlet(rec, view.evaluated, rec.flowPerOutlet);
    s.dp = rec.dp;
    s.lwa = rec.lwa;
    s.vMid = rec.vMid;
    s.aMin.reset();
    s.wMin.reset();
    s.criticalDistance.reset();
    s.xKrit.reset();
    s.vLeft.reset();
    s.vRight.reset();
    s.yMax.reset();
    if (s.vertical) {
        s.yMax = rec.yMax;
    } else {
        s.aMin = rec.aMin;
        s.wMin = rec.wMin;
        s.criticalDistance = rec.criticalDistance;
        if (rec.xKrit > 0.0)
            s.xKrit = rec.xKrit;
        s.vLeft = rec.vLeft;
        s.vRight = rec.vRight;
    }
    s.soundMargin = rec.maxSoundLevel - rec.lwa;
    s.lwaTogether = s.count > 0 ? rec.lwa + 10.0 * std::log10(double(s.count)) : rec.lwa;
    const QString unit = view.form3[form3::Label8].text.value_or(QString());
    s.flowShown = num(s.shownFlow, 2) + QLatin1Char(' ') +
                  QString(unit).remove(QLatin1Char('[')).remove(QLatin1Char(']')).trimmed();
}

// Runs the take-over into `rec`, searches the layouts and reads the suggestion from what that left;
// what fails becomes a reason. Not `full`: only what the order needs, without the critical-distance
// search and the checks' texts (so without reasons).
// With `failAbove` (the failed checks of an evaluated choice found before), layouts that fail more
// are not searched: a choice none of whose layouts is left cannot head the ranking, and `outranked`
// is set instead of a suggestion being made.
template <class TakeOver>
Suggestion suggestionOf(const OutletChoice& choice, CalculationRecord& rec, const Catalogue& catalogue,
                        const RankingOptions& options, bool full, TakeOver takeOver,
                        std::optional<int> failAbove = std::nullopt, bool* outranked = nullptr) {
    const bool criticalSearch = full;
    const Judging judging = full ? Judging::Worded : Judging::Listed;
    Suggestion s;
    s.choice = choice;
    try {
        const SelectionOutcome outcome = takeOver();
        s.design = rec.designCode.str();
        if (!outcome.results || outcome.results->evaluated == JetKind::None) {
            s.reasons << QStringLiteral("keine Auswertung für diese Strahlform");
            return s;
        }
        const ResultsView& view = *outcome.results;
        readFigures(s, rec, view);
        // The count range as the evaluation stored it, not as the scroll bar shows it.
        const bool perOutlet = rec.designCode.str() == QLatin1String("0");
        const int least = perOutlet ? rec.countBound2 : rec.countBound1;
        const int most = perOutlet ? rec.countBound1 : rec.countBound2;
        const LayoutKind kind = layoutKindOf(rec, catalogue, choice);
        bool cut = false;
        std::optional<AtLayout> best = bestLayout(rec, kind, options, least, most, least, most, failAbove, &cut);
        if (!best && (least > most || most < 1)) {
            // No count in range: the proposal's count, judged at its layouts, says why.
            best = bestLayout(rec, kind, options, least, most, s.count, s.count, failAbove, &cut);
        }
        if (!best && cut && outranked != nullptr) {
            *outranked = true;
            return s;
        }
        if (!best) {
            // Nothing fits the room: the proposal's figures, with the checks that need no layout.
            const bool horizontal = rec.horizontalJet != 0;
            std::optional<HorizontalResult> h;
            std::optional<VerticalResult> v;
            evaluateAt(rec, horizontal, s.count, nullptr, criticalSearch, h, v);
            readFigures(s, rec, view);
            OutletLayout none;
            none.wallWidth.reset();
            none.wallLength.reset();
            const AtLayout shown = judgeLayout(rec, h ? &*h : nullptr, v ? &*v : nullptr, s.count, least,
                                               most, none, options, judging);
            s.checks = shown.checks.list;
            SuggestionCheck placed;
            placed.name = QStringLiteral("layout");
            placed.value = s.count;
            placed.ok = false;
            placed.text = QStringLiteral("keine Anordnung von %1 Durchlässen in %2 × %3 m")
                              .arg(s.count)
                              .arg(num(rec.roomWidth, 2), num(rec.roomLength, 2));
            s.checks.push_back(placed);
            if (full)
                for (const SuggestionCheck& c : s.checks)
                    if (!c.ok)
                        s.reasons << c.text;
            return s;
        }
        const bool horizontal = rec.horizontalJet != 0;
        std::optional<HorizontalResult> h;
        std::optional<VerticalResult> v;
        // A vertical jet's figures do not depend on the distances, but the flow picture, the
        // exchange files and so the ceiling plan show the layout's: its first section.
        const std::vector<Section> sections = sectionsOf(best->layout);
        const Section* section = horizontal ? &best->worst : sections.empty() ? nullptr : &sections.front();
        evaluateAt(rec, horizontal, best->count, section, criticalSearch, h, v);
        readFigures(s, rec, view);
        const AtLayout shown = judgeLayout(rec, h ? &*h : nullptr, v ? &*v : nullptr, best->count, least,
                                           most, best->layout, options, judging);
        if (section != nullptr) {
            s.pictureSpacing = rec.spacing;
            s.pictureWall = rec.wallLeft;
        }
        s.layout = shown.layout;
        s.checks = shown.checks.list;
        s.draughtValid = shown.draughtValid;
        if (!shown.draught.category.isEmpty()) {
            s.draughtRating = shown.draught.rating;
            s.draughtCategory = shown.draught.category;
        }
        if (full)
            for (const SuggestionCheck& c : s.checks)
                if (!c.ok)
                    s.reasons << c.text;
        s.feasible = failedChecks(s.checks) == 0;
    } catch (const Error& e) {
        s.feasible = false;
        s.reasons << e.message();
    }
    return s;
}

} // namespace

Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs,
                          const RankingOptions& options) {
    rec.continueUsed = 1;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    InertShell shell;
    return suggestionOf(choice, rec, catalogue, options, true, [&] {
        SelectionModel model({{rec, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders});
        return planOutlet(model, catalogue, choice, rec);
    });
}

Suggestion evaluateChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, const RankingOptions& options) {
    auto rec = std::make_unique<CalculationRecord>(room);
    CollectingDialogs dialogs;
    return takeOverChoice(catalogue, *rec, texts, folders, choice, dialogs, options);
}

namespace {

OrderKey orderKey(const Suggestion& s) {
    return orderKey(s.feasible, s.evaluated, failedChecks(s.checks), s.draughtCategory, s.soundMargin, s.dp,
                    s.count, s.draughtRating);
}

} // namespace

bool ranksBefore(const Suggestion& a, const Suggestion& b) {
    return before(orderKey(a), orderKey(b));
}

void showAsSuggested(const Suggestion& suggestion, PlanningParts parts, SelectionOutcome& outcome) {
    if (!suggestion.evaluated || !outcome.results || outcome.results->evaluated == JetKind::None)
        return;
    auto copy = std::make_unique<PlanningCopy>(parts);
    CalculationRecord& rec = copy->rec;
    rec.outletCount = suggestion.count;
    copy->flags.countSetByHand = true;
    copy->flags.spacingSetInFlowPicture = false;
    if (suggestion.pictureSpacing && suggestion.pictureWall) {
        rec.spacing = *suggestion.pictureSpacing;
        rec.wallLeft = *suggestion.pictureWall;
        rec.wallRight = *suggestion.pictureWall;
        rec.resultsWindowFlag = 0;
    }
    ResultsView view = *outcome.results;
    const ResultsView again = outcome.results->evaluated == JetKind::Horizontal
                                  ? EvaluateHorizontalJet(copy->evaluationParts(parts.texts))
                                  : EvaluateVerticalJet(copy->evaluationParts(parts.texts));
    // The heading and visibilities of the take-over stay; the figures are the new evaluation's.
    applyView(view, again);
    outcome.results = view;
    copy->storeInto(parts);
}

QString layoutText(const OutletLayout& l) {
    const auto metres = [](const std::optional<double>& v) { return v ? num(*v, 2) : QStringLiteral("–"); };
    switch (l.kind) {
    case LayoutKind::Grid:
        return QStringLiteral("%1 × %2, %3 / %4 m")
            .arg(l.columns)
            .arg(l.rows)
            .arg(metres(l.spacingWidth ? l.spacingWidth : l.wallWidth),
                 metres(l.spacingLength ? l.spacingLength : l.wallLength));
    case LayoutKind::SlotRows:
        return QStringLiteral("%1 %2 zu %3 längs der %4, Abstand %5 m")
            .arg(l.rows)
            .arg(l.rows == 1 ? QStringLiteral("Reihe") : QStringLiteral("Reihen"))
            .arg(l.columns)
            .arg(l.rowsAlongLength ? QStringLiteral("Länge") : QStringLiteral("Breite"),
                 metres(l.rowsAlongLength ? (l.spacingWidth ? l.spacingWidth : l.wallWidth)
                                          : (l.spacingLength ? l.spacingLength : l.wallLength)));
    case LayoutKind::WallRow:
        return QStringLiteral("%1 an der %2wand, Wurf %3 m")
            .arg(l.columns)
            .arg(l.rowsAlongLength ? QStringLiteral("Längs") : QStringLiteral("Stirn"), metres(l.depth));
    }
    return {};
}

namespace {

// Choices that differ only in the tube diameter or the slot length and give the same figures, as
// the list shows them, are one row.
QString figuresKey(const Suggestion& s) {
    if (!s.evaluated)
        return {};
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
               .arg(s.choice.type, s.choice.size)
               .arg(s.choice.jetForm)
               .arg(s.choice.slotCount.value_or(0))
               .arg(s.count)
               .arg(num(s.shownFlow, 2), num(s.dp, 0), num(s.lwa, 1))
               .arg(s.layout ? layoutText(*s.layout) : QString()) +
           (s.draughtRating ? num(*s.draughtRating, 1) : QString()) +
           (s.feasible ? QStringLiteral("+") : QString());
}

QString choiceText(const OutletChoice& c) {
    QString text = c.size;
    if (c.length)
        text += QStringLiteral(" / %1 mm").arg(numbers::formatGeneral(*c.length));
    if (c.tube)
        text += QStringLiteral(" / Rohr %1 mm").arg(numbers::formatGeneral(*c.tube));
    return text;
}

void groupAlike(std::vector<Suggestion>& list) {
    // Only rows of one type, size, jet form, slot count and count can be alike; their full keys,
    // which take formatting, are made only when such a row is already there.
    using Bucket = std::tuple<QString, QString, int, int, int>;
    std::map<Bucket, std::vector<std::size_t>> buckets;
    std::vector<Suggestion> grouped;
    std::vector<QString> keys; // per grouped row; empty until needed
    for (Suggestion& s : list) {
        if (s.evaluated) {
            std::vector<std::size_t>& rows = buckets[Bucket{s.choice.type, s.choice.size, s.choice.jetForm,
                                                             s.choice.slotCount.value_or(0), s.count}];
            if (!rows.empty()) {
                const QString key = figuresKey(s);
                const auto same = std::find_if(rows.begin(), rows.end(), [&](std::size_t row) {
                    if (keys[row].isEmpty())
                        keys[row] = figuresKey(grouped[row]);
                    return keys[row] == key;
                });
                if (same != rows.end()) {
                    grouped[*same].alternatives << choiceText(s.choice);
                    continue;
                }
                keys.push_back(key);
            } else {
                keys.emplace_back();
            }
            rows.push_back(grouped.size());
        } else {
            keys.emplace_back();
        }
        grouped.push_back(std::move(s));
    }
    list = std::move(grouped);
}

// The ranking: `Full` with every figure and text; `Quick` in the same order, with what the order needs;
// `Head` as quick, but only choices that may head it, so the first is the head and the others follow
// in order, though not all of them.
enum class Ranking { Full, Quick, Head };

std::vector<Suggestion> rankedChoices(const Catalogue& catalogue, const CalculationRecord& room,
                                      const TextTable& texts, const Folders& folders, Ranking ranking,
                                      const RankingOptions& options) {
    const bool full = ranking == Ranking::Full;
    std::optional<OrderKey> head; // of the evaluated choices so far, for `Head`
    std::vector<Suggestion> all;
    // The steps a size and jet form share with their other configurations are taken once; each
    // choice goes on from there on copies, as evaluateChoice would go through all of them. The
    // result texts nobody reads here are left out; the figures are the same to the bit.
    CollectingDialogs dialogs;
    auto rec = std::make_unique<CalculationRecord>();
    const RankingShortcuts shortcuts{true, true, ranking != Ranking::Full};
    forEachOfferedChoice(
        catalogue, room, texts, folders,
        [&](const OutletChoice& choice, const PreparedSelection& prepared) {
            *rec = *prepared.record;
            bool outranked = false;
            Suggestion s = suggestionOf(
                choice, *rec, catalogue, options, full,
                [&] { return finishOutlet(prepared, choice, catalogue, texts, folders, dialogs, *rec, shortcuts); },
                head ? std::optional<int>(head->failed) : std::nullopt, &outranked);
            if (outranked)
                return;
            if (ranking == Ranking::Head && s.evaluated) {
                const OrderKey key = orderKey(s);
                if (!head || before(key, *head))
                    head = key;
            }
            all.push_back(std::move(s));
        },
        options.skipped);
    std::stable_sort(all.begin(), all.end(), ranksBefore);
    groupAlike(all);
    return all;
}

} // namespace

std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders,
                                       const RankingOptions& options) {
    return rankedChoices(catalogue, room, texts, folders, Ranking::Full, options);
}

std::optional<Suggestion> bestSuggestion(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders,
                                         const RankingOptions& options) {
    // The critical-distance search changes no figure the ranking compares; it can only fail, and a
    // failed choice ranks behind every evaluated one. So the order without it is the ranking's, and
    // the first feasible choice whose search does not fail heads the ranking. Mostly that is the
    // first of all, which the search for the head alone finds.
    const std::vector<Suggestion> heads = rankedChoices(catalogue, room, texts, folders, Ranking::Head, options);
    if (heads.empty())
        return std::nullopt;
    if (const Suggestion& first = heads.front(); first.evaluated) {
        Suggestion full = evaluateChoice(catalogue, room, texts, folders, first.choice, options);
        if (full.evaluated && full.feasible == first.feasible) {
            full.alternatives = first.alternatives;
            return full;
        }
    }
    // Its search failed: the runners-up need the whole order.
    const std::vector<Suggestion> quick = rankedChoices(catalogue, room, texts, folders, Ranking::Quick, options);
    // The same holds among unsuitable choices when none is suitable: the head is the first whose
    // search does not fail.
    const bool anySuitable = quick.front().feasible;
    for (const Suggestion& candidate : quick) {
        if (candidate.feasible != anySuitable || !candidate.evaluated)
            break;
        Suggestion full = evaluateChoice(catalogue, room, texts, folders, candidate.choice, options);
        if (full.evaluated && full.feasible == candidate.feasible) {
            full.alternatives = candidate.alternatives;
            return full;
        }
    }
    // Every candidate's search failed: the whole ranking decides.
    return suggestOutlets(catalogue, room, texts, folders, options).front();
}

QStringList suggestionColumns() {
    // The window's own word for the flow: per metre for slot outlets, as their unit says.
    return {QStringLiteral("Rang"),
            QStringLiteral("Bezeichnung"),
            QStringLiteral("Anzahl"),
            QStringLiteral("Anordnung"),
            QStringLiteral("Durchlassbelastung"),
            QStringLiteral("dp"),
            QStringLiteral("LWA"),
            QStringLiteral("a min"),
            QStringLiteral("DR"),
            QStringLiteral("Hinweise")};
}

std::vector<SuggestionRow> suggestionRows(const std::vector<Suggestion>& list) {
    std::vector<SuggestionRow> rows;
    rows.reserve(list.size());
    int rank = 0;
    for (const Suggestion& s : list) {
        QString name = s.designation;
        if (name.isEmpty()) {
            name = QStringLiteral("%1 / Strahlform %2").arg(s.choice.size).arg(s.choice.jetForm);
            if (s.choice.length && s.choice.slotCount)
                name += QStringLiteral(" / %1 / %2")
                            .arg(numbers::formatGeneral(*s.choice.length))
                            .arg(*s.choice.slotCount);
        }
        // Slot outlets' headings leave the jet form out; two of them would read alike.
        if (s.evaluated && s.design != QLatin1String("0") && !s.jetFormName.isEmpty())
            name += QStringLiteral(" – ") + s.jetFormName;
        SuggestionRow row;
        row.feasible = s.feasible;
        const auto add = [&row](const QString& text, std::optional<double> key) {
            row.cells << text;
            row.sortKeys.push_back(key);
        };
        ++rank;
        add(QString::number(rank), rank);
        add(name, std::nullopt);
        if (s.evaluated) {
            const bool aMinShown = s.aMin && *s.aMin >= 0.1;
            add(QString::number(s.count), s.count);
            add(s.layout ? layoutText(*s.layout) : QStringLiteral("–"), std::nullopt);
            add(s.flowShown, s.shownFlow);
            add(num(s.dp, 0) + QStringLiteral(" Pa"), s.dp);
            add(num(s.lwa, 1) + QStringLiteral(" dB"), s.lwa);
            add(aMinShown ? num(*s.aMin, 2) + QStringLiteral(" m") : QStringLiteral("–"), s.aMin);
            add(s.draughtRating ? QStringLiteral("%1 % (%2)")
                                      .arg(num(*s.draughtRating, 1), s.draughtCategory == QLatin1String("-")
                                                                         ? QStringLiteral("über C")
                                                                         : s.draughtCategory)
                                : QStringLiteral("–"),
                s.draughtRating);
        } else {
            for (int i = 0; i < 7; ++i)
                add(QString(), std::nullopt);
        }
        QStringList notes = s.reasons;
        if (!s.alternatives.isEmpty())
            notes << QStringLiteral("ebenso: ") + s.alternatives.join(QStringLiteral(", "));
        add(notes.join(QStringLiteral("; ")), std::nullopt);
        // Every check with its figures, as the row's tool tip.
        QStringList checks;
        for (const SuggestionCheck& c : s.checks)
            checks << (c.ok ? QStringLiteral("✓ ") : QStringLiteral("✗ ")) + c.text;
        if (s.evaluated && s.count > 1)
            checks << QStringLiteral("LWA aller %1 Durchlässe zusammen %2 dB")
                          .arg(s.count)
                          .arg(num(s.lwaTogether, 1));
        row.toolTip = checks.join(QLatin1Char('\n'));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace fyl
