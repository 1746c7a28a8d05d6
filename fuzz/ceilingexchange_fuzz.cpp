// Fuzz target of the ceiling-plan exchange file (Zoldaten.tmp) and of the layout the ceiling-plan
// tool makes of an accepted file. Fuzzing harness over the core (fylcore).
//
// The reader raises FileError for anything it cannot take; what it accepts holds finite values
// within their ranges. The layout then places exactly the file's outlets inside the room with
// finite distances, or says why it cannot; its line of figures shows no non-finite number.
#include "fuzz/fuzzsupport.h"

#include "exchange/ceilinglayout.h"
#include "exchange/exchangefiles.h"
#include "frame/errors.h"

#include <cmath>
#include <optional>

namespace {

using namespace fyl;
using fuzz::require;

void requireWithin(double value, double low, double high, const char* what) {
    require(std::isfinite(value) && value >= low && value <= high, "an accepted value lies outside its range",
            QString::fromLatin1(what) + QStringLiteral(" = ") + QString::number(value));
}

void requireWithin(const std::optional<double>& value, double low, double high, const char* what) {
    if (value)
        requireWithin(*value, low, high, what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CeilingExchange x;
    try {
        x = readCeilingExchange(fuzz::inputBytes(data, size));
    } catch (const FileError& e) {
        require(e.message().startsWith(QLatin1String(kCeilingExchangeName)),
                "a refusal does not name the file", e.message());
        return 0;
    }
    require(x.outletCount >= 0 && x.outletCount <= 1000000, "an accepted count lies outside its range");
    for (const auto& [value, what] : {std::pair{x.roomWidth, "width"},
                                      {x.roomLength, "length"},
                                      {x.spacing, "spacing"},
                                      {x.wallDistance, "wall distance"},
                                      {x.roomHeight, "height"},
                                      {x.headHeight, "head height"}})
        requireWithin(value, 0, 1000, what);
    requireWithin(x.velocityLimit, 0, 100, "velocity");
    requireWithin(x.aMin, 0, 1000, "a_min");
    requireWithin(x.wallMin, 0, 1000, "Rand_min");
    requireWithin(x.aMinSeated, 0, 1000, "a_min seated");
    requireWithin(x.wallMinSeated, 0, 1000, "Rand_min seated");

    const ceiling::CeilingLayout layout = ceiling::layOutCeiling(x);
    if (layout.problem.isEmpty()) {
        require(int(layout.outlets.size()) == x.outletCount, "the plan does not place every outlet");
        require(x.outletCount <= ceiling::kMaxOutlets, "a plan of more outlets than the tool lays out");
        // A hair beyond the wall is rounding of the centred grid, not an outlet outside the room.
        const double slack = 1e-9 * (1 + x.roomWidth + x.roomLength);
        for (const ceiling::PlanOutlet& o : layout.outlets) {
            require(std::isfinite(o.x) && std::isfinite(o.y) && std::isfinite(o.wallDistance),
                    "a planned outlet has a non-finite place");
            // The detail is made only for a violation: a plan holds up to 1000 outlets.
            if (!(o.x >= -slack && o.x <= x.roomWidth + slack && o.y >= -slack &&
                  o.y <= x.roomLength + slack))
                fuzz::violated(
                    "a planned outlet lies outside the room",
                    QStringLiteral("%1, %2 in %3 x %4").arg(o.x).arg(o.y).arg(x.roomWidth).arg(x.roomLength));
        }
        for (const ceiling::PlanGap& gap : layout.gaps) {
            require(gap.from >= 0 && gap.to >= 0 && std::size_t(gap.from) < layout.outlets.size() &&
                        std::size_t(gap.to) < layout.outlets.size(),
                    "a gap joins outlets that are not planned");
            require(std::isfinite(gap.length) && gap.length >= 0, "a gap has no finite length");
        }
    } else {
        require(layout.outlets.empty(), "a plan with a problem places outlets", layout.problem);
    }
    const QString figures = ceiling::figuresLine(x, layout);
    require(!fuzz::showsNonFinite(figures) || fuzz::showsNonFinite(x.outletName + x.project + x.editor),
            "the line of figures shows a non-finite number", figures);
    return 0;
}
