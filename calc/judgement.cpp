// The checks a layout must pass, their order, and the search for a choice's best layout. Core layer
// (fylcore).
#include "calc/judgement.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "calc/mountingheight.h"
#include "catalogue/lookups.h"
#include "frame/errors.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"

#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <memory>

namespace fyl {

using ld = long double;

namespace {

QString num(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}

// A value beside its limit, with as many more decimals as it takes to read on the side it lies:
// "LWA 35,0 dB > 35 dB" would look like no reason at all.
QString beside(double value, double limit, int decimals) {
    QString text = num(value, decimals);
    for (int d = decimals + 1; d <= decimals + 3 && numbers::parseReal(text) == limit && value != limit; ++d)
        text = num(value, d);
    return text;
}

constexpr int kMaxCountsTried = 40;           // counts of one choice tried for a layout, from the least up
constexpr double kHeatingMountingLimit = 4.0; // [m] above it warm air from a horizontal jet stays up
constexpr double kColdJetLimit = 3.0;         // [K] under-temperature of a jet that is not at the ceiling
constexpr double kDraughtValidLow = 20.0, kDraughtValidHigh = 26.0, kDraughtValidVelocity = 0.5;
constexpr double kLongestCell = 2.0;       // a floor share per outlet at most twice as long as wide
constexpr double kVerticalClearance = 0.2; // [m] between the edges of two vertical outlets
constexpr double kRoundSpread = 24.0, kSlotSpread = 20.0; // [°] where the catalogue gives none
constexpr double kDpLow = 20.0, kDpHigh = 60.0;           // [Pa] the pressure drop a damper balances well
constexpr double kWallRowReach = 0.75; // share of the room's depth a jet from a wall must cover
constexpr double kHallHeight = 4.0;    // [m] the least mounting height of an outlet made for halls

double categoryLimit(QChar category) {
    return category == QLatin1Char('A') ? 10.0 : category == QLatin1Char('C') ? 30.0 : 20.0;
}

QString categoryText(const QString& category) {
    return category == QLatin1String("-") ? QStringLiteral("über C") : category;
}

// The checks of one layout as they are added.
struct Checks {
    Wording wording = Wording::Tally;
    std::vector<LayoutCheck>& list;
    int& failed;

    // `text(ok)` words the check; called only when the wording keeps texts.
    template <class MakeText>
    void add(const char* name, double value, std::optional<double> low, std::optional<double> limit, bool ok,
             MakeText text, bool decides = true) {
        if (!decides)
            ok = true;
        if (!ok)
            ++failed;
        if (wording == Wording::Tally)
            return;
        LayoutCheck c;
        c.name = QString::fromLatin1(name);
        c.value = value;
        c.lowLimit = low;
        c.limit = limit;
        c.ok = ok;
        c.decides = decides;
        if (wording == Wording::Worded)
            c.text = text(ok);
        list.push_back(std::move(c));
    }
    template <class MakeText>
    void range(const char* name, double value, double low, double high, MakeText text) {
        add(name, value, low, high, value >= low && value <= high, text);
    }
    template <class MakeText> void atLeast(const char* name, double value, double limit, MakeText text) {
        add(name, value, std::nullopt, limit, value >= limit - 1e-9, text);
    }
    template <class MakeText>
    void atMost(const char* name, double value, double limit, MakeText text, bool decides = true) {
        add(name, value, std::nullopt, limit, value <= limit + 1e-9, text, decides);
    }
};

QString ge(bool ok) {
    return ok ? QStringLiteral("≥") : QStringLiteral("<");
}
QString le(bool ok) {
    return ok ? QStringLiteral("≤") : QStringLiteral(">");
}

// The throw along the ceiling: the run at which the centre-line velocity has fallen to the limit.
std::optional<double> throwToLimit(const CalculationRecord& rec, const HorizontalResult& h) {
    const double K =
        h.ceilingMounted ? rec.outlet.decayK : arith::stored(ld(rec.outlet.decayK) * rec.outlet.freeJetF);
    double x = 0.0;
    if (DistanceForVelocity(rec.slotCount, rec.outlet.decayA, rec.outlet.decayB, K, rec.velocityLimit, 0.0,
                            h.count.flowPerOutlet, x) != 0 ||
        !std::isfinite(x))
        return std::nullopt;
    return x;
}

// The least spacing of vertical jets: their cones must not merge above head height, and two
// outlets need room between their edges.
double verticalSpacing(const CalculationRecord& rec, const ChoiceGeometry& g) {
    const double run = std::max(0.0, double(arith::stored(ld(outletMountingHeight(rec)) - rec.headHeight)));
    const double half = g.spreadAngle / 2.0 * 3.14159265358979323846 / 180.0;
    return std::max(g.outletWidth + kVerticalClearance, 2.0 * run * std::tan(half));
}

} // namespace

ChoiceGeometry choiceGeometry(const CalculationRecord& rec, const QStringList& mounting,
                              const QStringList& uses) {
    ChoiceGeometry g;
    // The ranges of use name the modes (cooling, heating, ventilating) and the kinds of room.
    bool anyRoom = false, otherRoom = false;
    for (const QString& use : uses) {
        if (use.startsWith(QStringLiteral("Kühl")) || use.startsWith(QStringLiteral("Heiz")) ||
            use.startsWith(QStringLiteral("Lüft")))
            continue;
        anyRoom = true;
        if (!use.contains(QStringLiteral("Halle"), Qt::CaseInsensitive))
            otherRoom = true;
    }
    g.forHalls = anyRoom && !otherRoom;
    const QString jet = rec.outlet.jetFormCodeText();
    g.perOutlet = rec.designCode.str() == QLatin1String("0");
    g.outletLength = g.perOutlet ? 0.0 : rec.nominalLength / 1000.0;
    if (!std::isfinite(g.outletLength) || g.outletLength < 0.0)
        g.outletLength = 0.0;
    // The size name's first number is the size in millimetres: a diameter, a slot width, a grille's width.
    static const QRegularExpression firstNumber(QStringLiteral("(\\d+)"));
    const QRegularExpressionMatch m = firstNumber.match(rec.outlet.sizeNameText());
    g.outletWidth = m.hasMatch() ? m.captured(1).toDouble() / 1000.0 : 0.0;
    const double spread = rec.outlet.spread;
    g.spreadAngle = std::isfinite(spread) && spread > 0.0 && spread < 120.0 ? spread
                    : g.perOutlet                                           ? kRoundSpread
                                                                            : kSlotSpread;
    const JetFormRule form = jetFormOf(rec.designCode.str(), jet);
    const bool vertical = form.kind == JetKind::Vertical;
    // A type offered for walls, parapets or bulkheads alone blows from a wall across the room.
    bool wallsOnly = !mounting.isEmpty();
    for (const QString& place : mounting)
        if (place.contains(QStringLiteral("decke"), Qt::CaseInsensitive) ||
            place.contains(QStringLiteral("dach"), Qt::CaseInsensitive) ||
            place.contains(QStringLiteral("boden"), Qt::CaseInsensitive))
            wallsOnly = false;
    // A one-sided jet blows from a wall across the room; slots and tubes blowing both ways stand in rows.
    if (vertical)
        g.kind = g.perOutlet ? LayoutKind::Grid : LayoutKind::SlotRows;
    else if (wallsOnly || form.oneSided)
        g.kind = LayoutKind::WallRow;
    else if (g.perOutlet)
        g.kind = LayoutKind::Grid;
    else
        g.kind = LayoutKind::SlotRows;
    return g;
}

namespace {

// The mounting places and ranges of use of a type.
std::pair<QStringList, QStringList> placesAndUses(const Catalogue& catalogue, const QString& type) {
    try {
        if (const std::optional<TypeAttributes> a = typeAttributes(catalogue, type))
            return {a->mounting, a->use};
    } catch (const Error&) {
        // an index line whose flags name no place: laid out as if it had none
    }
    return {};
}

} // namespace

ChoiceGeometry choiceGeometry(const Catalogue& catalogue, const CalculationRecord& rec) {
    const auto [mounting, uses] = placesAndUses(catalogue, rec.outlet.typeNameText().trimmed());
    return choiceGeometry(rec, mounting, uses);
}

ChoiceGeometry ChoiceGeometries::of(const CalculationRecord& rec) {
    const QString type = rec.outlet.typeNameText().trimmed();
    auto known = attributes_.find(type);
    if (known == attributes_.end())
        known = attributes_.emplace(type, placesAndUses(catalogue_, type)).first;
    return choiceGeometry(rec, known->second.first, known->second.second);
}

std::vector<LayoutSection> sectionsOf(const OutletLayout& l) {
    std::vector<LayoutSection> out;
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

CountRange countRangeOf(const CalculationRecord& rec) {
    const bool perOutlet = rec.designCode.str() == QLatin1String("0");
    return perOutlet ? CountRange{rec.countBound2, rec.countBound1}
                     : CountRange{rec.countBound1, rec.countBound2};
}

Judgement judgeLayout(const CalculationRecord& rec, const ChoiceGeometry& g, const HorizontalResult* h,
                      const VerticalResult* v, int count, CountRange range, const OutletLayout& layout,
                      const JudgementTerms& terms) {
    Judgement a;
    a.count = count;
    a.layout = layout;
    a.lwa = h != nullptr ? h->lwa : v->lwa;
    a.dp = h != nullptr ? h->dp : v->dp;
    a.slotMetres = g.perOutlet ? 0.0 : count * g.outletLength;
    a.marginTogether = rec.maxSoundLevel - (a.lwa + 10.0 * std::log10(double(std::max(count, 1))));
    if (layout.kind == LayoutKind::Grid && layout.columns > 0 && layout.rows > 0) {
        const double across = rec.roomWidth / layout.columns, along = rec.roomLength / layout.rows;
        a.cellAspect = std::max(across, along) / std::min(across, along);
    }
    const double vMin = g.perOutlet ? rec.outlet.vMin : rec.vMinOutlet;
    const double vMax = g.perOutlet ? rec.outlet.vMax : rec.vMaxOutlet;
    const double flow = rec.totalFlow / count;
    Checks c{terms.wording, a.checks, a.failed};
    c.range("flow_range", flow, vMin, vMax, [&](bool) {
        return QStringLiteral("Volumenstrom je Durchlass %1 m³/h, zulässig %2 … %3 m³/h")
            .arg(num(flow, 1), num(vMin, 1), num(vMax, 1));
    });
    c.range("count_range", count, range.least, range.most, [&](bool) {
        return QStringLiteral("Anzahl %1, Bereich %2 … %3").arg(count).arg(range.least).arg(range.most);
    });
    if (layout.kind == LayoutKind::Grid && layout.columns > 0 && layout.rows > 0)
        c.atMost("cell_shape", a.cellAspect, kLongestCell, [&](bool ok) {
            return QStringLiteral("Feld je Durchlass %1 × %2 m%3")
                .arg(num(rec.roomWidth / layout.columns, 2), num(rec.roomLength / layout.rows, 2),
                     ok ? QString() : QStringLiteral(", mehr als doppelt so lang wie breit"));
        });
    const double dT = arith::stored(ld(rec.roomTemp) - rec.supplyTemp);
    const double mounting = outletMountingHeight(rec);
    // A hall outlet throws and spreads for a high room; under a low ceiling it blows into the people.
    if (g.forHalls)
        c.atLeast("hall_height", mounting, kHallHeight, [&](bool ok) {
            return QStringLiteral("Hallendurchlass in %1 m Höhe %2 %3 m")
                .arg(num(mounting, 2), ge(ok), numbers::formatGeneral(kHallHeight));
        });
    const LayoutDistances d = layoutDistances(layout);
    std::vector<double> velocities;
    if (h != nullptr) {
        if (d.spacing && h->aMin >= 0.1)
            c.atLeast("spacing", *d.spacing, h->aMin, [&](bool ok) {
                return QStringLiteral("Abstand %1 m %2 a min %3 m")
                    .arg(num(*d.spacing, 2), ge(ok), num(h->aMin, 2));
            });
        if (d.wall && h->wMin > 0.0)
            c.atLeast("wall_distance", *d.wall, h->wMin, [&](bool ok) {
                return QStringLiteral("Wandabstand %1 m %2 w min %3 m")
                    .arg(num(*d.wall, 2), ge(ok), num(h->wMin, 2));
            });
        // A cooled jet must stay at the ceiling until it has slowed to the limit or reached its end.
        const std::optional<double> reach = throwToLimit(rec, *h);
        if (reach)
            a.throwLength = *reach;
        // A jet from a wall must carry its air across most of the room, or the far side stands still.
        if (layout.kind == LayoutKind::WallRow && layout.depth && reach) {
            const double needed = kWallRowReach * *layout.depth;
            c.atLeast("throw_reach", *reach, needed, [&](bool ok) {
                return QStringLiteral("Wurfweite %1 m %2 %3 m (3/4 der Raumtiefe %4 m)")
                    .arg(num(*reach, 2), ge(ok), num(needed, 2), num(*layout.depth, 2));
            });
        }
        if (dT > 0.1 && h->xKrit > 0.0) {
            const bool throwDecides = reach && *reach < d.travel;
            const double needed = throwDecides ? *reach : d.travel;
            c.atLeast("detachment", h->xKrit, needed, [&](bool ok) {
                return throwDecides
                           ? QStringLiteral(
                                 "x-krit %1 m %2 Wurfweite %3 m (bis %4 m/s; Strahlweg an der Decke %5 m)")
                                 .arg(num(h->xKrit, 2), ge(ok), num(needed, 2),
                                      numbers::formatGeneral(rec.velocityLimit), num(d.travel, 2))
                           : QStringLiteral("x-krit %1 m %2 Strahlweg an der Decke %3 m")
                                 .arg(num(h->xKrit, 2), ge(ok), num(needed, 2));
            });
        }
        if (dT < -0.1)
            c.atMost("heating_height", mounting, kHeatingMountingLimit, [&](bool ok) {
                return ok ? QStringLiteral("Heizen mit Horizontalstrahl in %1 m Höhe (höchstens %2 m)")
                                .arg(num(mounting, 2), numbers::formatGeneral(kHeatingMountingLimit))
                          : QStringLiteral("Heizen mit Horizontalstrahl in %1 m Höhe (höchstens %2 m): die "
                                           "warme Luft bleibt unter der Decke")
                                .arg(num(mounting, 2), numbers::formatGeneral(kHeatingMountingLimit));
            });
        if (dT > kColdJetLimit && !h->ceilingMounted)
            c.atMost("free_cold_jet", dT, kColdJetLimit, [&](bool) {
                return QStringLiteral(
                           "kalter Freistrahl unter der Decke (%1 K Untertemperatur, höchstens %2 K): "
                           "sein Absinken wird nicht berechnet")
                    .arg(num(dT, 1), numbers::formatGeneral(kColdJetLimit));
            });
        const bool soundFails = !(a.lwa <= rec.maxSoundLevel + 1e-9);
        if (terms.failAbove && a.failed + (soundFails ? 1 : 0) > *terms.failAbove) {
            a.abandoned = true;
            return a;
        }
        // The velocities at head height at the layout's places; the flow picture shows the worst section.
        double worstVelocity = -1.0;
        for (const LayoutSection& s : sectionsOf(layout)) {
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
        // Air colder than the room falls faster than the isothermal decay says: such a jet is
        // for heating, and its sinking is not computed.
        if (dT > 0.1)
            c.atMost("cold_vertical_jet", dT, kColdJetLimit, [&](bool ok) {
                return ok ? QStringLiteral("Vertikalstrahl %1 K kälter als der Raum (höchstens %2 K)")
                                .arg(num(dT, 1), numbers::formatGeneral(kColdJetLimit))
                          : QStringLiteral(
                                "kalter Vertikalstrahl (%1 K Untertemperatur, höchstens %2 K) fällt "
                                "in den Aufenthaltsbereich: sein Absinken wird nicht berechnet")
                                .arg(num(dT, 1), numbers::formatGeneral(kColdJetLimit));
            });
        if (dT < -0.1)
            c.atLeast("penetration", v->yMax, run, [&](bool ok) {
                return QStringLiteral("y max %1 m %2 bis Kopfhöhe %3 m")
                    .arg(num(v->yMax, 2), ge(ok), num(run, 2));
            });
        c.atMost("velocity", v->vk, rec.velocityLimit, [&](bool ok) {
            return QStringLiteral("vk %1 m/s %2 %3 m/s")
                .arg(beside(v->vk, rec.velocityLimit, 2), le(ok), num(rec.velocityLimit, 2));
        });
        if (d.spacing) {
            const double least = verticalSpacing(rec, g);
            c.atLeast("spacing", *d.spacing, least, [&](bool ok) {
                return QStringLiteral(
                           "Abstand %1 m %2 a min %3 m (die Strahlen vereinigen sich sonst über Kopfhöhe)")
                    .arg(num(*d.spacing, 2), ge(ok), num(least, 2));
            });
        }
        velocities.push_back(v->vk);
        a.vMid = v->vk;
    }
    c.atMost("sound", a.lwa, rec.maxSoundLevel, [&](bool ok) {
        return QStringLiteral("LWA %1 dB %2 %3 dB")
            .arg(beside(a.lwa, rec.maxSoundLevel, 1), le(ok), numbers::formatGeneral(rec.maxSoundLevel));
    });
    if (!velocities.empty()) {
        try {
            // The rating grows with the velocity: the worst place is the fastest.
            const double fastest = *std::max_element(velocities.begin(), velocities.end());
            const double rating = draughtRating(rec.roomTemp, fastest);
            a.draught = DraughtResult{rating, draughtCategory(rating)};
            const bool temperatureInside =
                ld(rec.roomTemp) >= kDraughtValidLow && ld(rec.roomTemp) <= kDraughtValidHigh;
            a.draughtValid = temperatureInside && fastest < kDraughtValidVelocity;
            // Outside the model's temperature range the rating says nothing; at 0,5 m/s and more it
            // is beyond the model because the draught is, and that fails.
            const double limit = categoryLimit(terms.targetCategory);
            a.categoryMet = temperatureInside && rating < limit;
            c.atMost(
                "draught", rating, limit,
                [&](bool) {
                    QString text = QStringLiteral("DR %1 % (%2), Ziel Kategorie %3")
                                       .arg(num(rating, 1), categoryText(a.draught->category),
                                            QString(terms.targetCategory));
                    if (!temperatureInside)
                        text += QStringLiteral(", Raumtemperatur außerhalb 20 … 26 °C: nicht bewertet");
                    else if (fastest >= kDraughtValidVelocity)
                        text +=
                            QStringLiteral(", Luftgeschwindigkeit %1 m/s ab 0,5 m/s").arg(num(fastest, 2));
                    return text;
                },
                temperatureInside);
        } catch (const ArithmeticError&) {
        }
    }
    a.feasible = a.failed == 0;
    return a;
}

JudgementOrder orderOf(const Judgement& j) {
    JudgementOrder k;
    k.feasible = j.feasible;
    k.evaluated = true;
    k.failed = j.failed;
    k.categoryMet = j.categoryMet;
    k.count = j.count;
    k.slotMetres = j.slotMetres;
    k.dpInside = j.dp >= kDpLow && j.dp <= kDpHigh;
    k.soundBand = static_cast<int>(std::floor(j.marginTogether / 3.0));
    k.rating = j.draught ? j.draught->rating : 1000.0;
    k.cellAspect = j.cellAspect;
    return k;
}

bool judgedBefore(const JudgementOrder& a, const JudgementOrder& b) {
    if (a.feasible != b.feasible)
        return a.feasible;
    // A choice that could not be evaluated has no count; it must not pass for the fewest outlets.
    if (a.evaluated != b.evaluated)
        return a.evaluated;
    if (a.failed != b.failed)
        return a.failed < b.failed;
    if (a.categoryMet != b.categoryMet)
        return a.categoryMet;
    if (a.count != b.count)
        return a.count < b.count;
    if (std::fabs(a.slotMetres - b.slotMetres) > 1e-6)
        return a.slotMetres < b.slotMetres;
    if (a.dpInside != b.dpInside)
        return a.dpInside;
    if (a.soundBand != b.soundBand)
        return a.soundBand > b.soundBand;
    if (a.rating != b.rating)
        return a.rating < b.rating;
    return a.cellAspect < b.cellAspect - 1e-9;
}

std::optional<Judgement> bestLayout(CalculationRecord& rec, const ChoiceGeometry& geometry, CountRange range,
                                    int from, int to, const JudgementTerms& terms, bool* cut) {
    const bool horizontal = rec.horizontalJet != 0;
    const double proposedCount = rec.outletCount;
    const auto putBack = qScopeGuard([&rec, proposedCount] { rec.outletCount = proposedCount; });
    std::optional<Judgement> best;
    std::optional<JudgementOrder> bestKey;
    const int first = std::max(1, from);
    const int last = std::min(to, first + kMaxCountsTried - 1);
    const double vMin = geometry.perOutlet ? rec.outlet.vMin : rec.vMinOutlet;
    const double vMax = geometry.perOutlet ? rec.outlet.vMax : rec.vMaxOutlet;
    const auto bound = [&]() -> std::optional<int> {
        if (bestKey && terms.failAbove)
            return std::min(bestKey->failed, *terms.failAbove);
        return bestKey ? std::optional<int>(bestKey->failed) : terms.failAbove;
    };
    CountSearch search;
    for (int count = first; count <= last; ++count) {
        // The checks of the count alone, before evaluating it.
        const double flow = rec.totalFlow / count;
        int failedBefore =
            (flow >= vMin && flow <= vMax ? 0 : 1) + (count >= range.least && count <= range.most ? 0 : 1);
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
        for (const OutletLayout& layout :
             outletLayouts(geometry.kind, rec.roomWidth, rec.roomLength, count, geometry.outletLength)) {
            JudgementTerms searching = terms;
            searching.wording = Wording::Tally;
            searching.failAbove = bound();
            Judgement a = judgeLayout(rec, geometry, h ? &*h : nullptr, v ? &*v : nullptr, count, range,
                                      layout, searching);
            if (a.abandoned) {
                if (cut != nullptr)
                    *cut = true;
                continue;
            }
            const JudgementOrder key = orderOf(a);
            if (!bestKey || judgedBefore(key, *bestKey)) {
                bestKey = key;
                best = std::move(a);
            }
        }
    }
    return best;
}

std::optional<Judgement> judgeRecord(const CalculationRecord& record, const ChoiceGeometry& geometry,
                                     QChar targetCategory) {
    if (record.horizontalJet == 0 && record.verticalJet == 0)
        return std::nullopt;
    auto rec = std::make_unique<CalculationRecord>(record);
    const int count = outletsOf(*rec);
    if (count < 1)
        return std::nullopt;
    const CountRange range = countRangeOf(*rec);
    JudgementTerms terms;
    terms.targetCategory = targetCategory;
    try {
        const std::optional<Judgement> best = bestLayout(*rec, geometry, range, count, count, terms);
        rec->outletCount = count;
        CountSearch search;
        std::optional<HorizontalResult> h;
        std::optional<VerticalResult> v;
        if (rec->horizontalJet != 0) {
            h = evaluateHorizontalAtCount(*rec, search);
            requireFiniteResult(*h);
        } else {
            v = evaluateVerticalAtCount(*rec, search);
            requireFiniteResult(*v);
        }
        if (best)
            return judgeLayout(*rec, geometry, h ? &*h : nullptr, v ? &*v : nullptr, count, range,
                               best->layout, terms);
        // Nothing fits the room: the checks that need no layout, and why none is drawn.
        OutletLayout none;
        none.wallWidth.reset();
        none.wallLength.reset();
        none.rows = 0;
        none.columns = 0;
        Judgement j =
            judgeLayout(*rec, geometry, h ? &*h : nullptr, v ? &*v : nullptr, count, range, none, terms);
        j.placed = false;
        LayoutCheck placed;
        placed.name = QStringLiteral("layout");
        placed.value = count;
        placed.ok = false;
        placed.text = QStringLiteral("keine Anordnung von %1 Durchlässen in %2 × %3 m")
                          .arg(count)
                          .arg(num(rec->roomWidth, 2), num(rec->roomLength, 2));
        j.checks.push_back(placed);
        ++j.failed;
        j.feasible = false;
        return j;
    } catch (const Error&) {
        return std::nullopt;
    }
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
        return QStringLiteral("%1 an der %2wand, Raumtiefe %3 m")
            .arg(l.columns)
            .arg(l.rowsAlongLength ? QStringLiteral("Längs") : QStringLiteral("Stirn"), metres(l.depth));
    }
    return {};
}

QStringList verdictLines(const Judgement& j) {
    QStringList lines;
    for (const LayoutCheck& c : j.checks)
        if (!c.ok)
            lines << c.text;
    if (lines.isEmpty())
        lines << kAllChecksMet;
    return lines;
}

} // namespace fyl
