// The room-section picture as a display list: inputs, contour requests and steps 1 to 12 of the
// drawing. Core layer (fylcore).
#include "flowsim/flowpicture.h"

#include "calc/evaluation.h"
#include "calc/mountingheight.h"

#include <algorithm>
#include <cmath>

namespace fyl {

using ld = long double;
using namespace picturecolours;

namespace {

constexpr int kLeft = 10, kRight = 360, kTop = 80, kBottom = 350;
constexpr int kCeilingY = 77;

// Far outside the image but well inside an int, so a huge scale cannot overflow a coordinate.
constexpr ld kPixelLimit = 1.0e6L;

int clampPixel(ld v) {
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}
int truncPixel(ld v) {
    return clampPixel(std::trunc(v));
}
// To nearest, halves to even, as the picture has always rounded.
int roundPixel(ld v) {
    return clampPixel(std::nearbyint(v));
}

bool finitePoint(const ContourPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

FlowPictureInputs flowPictureInputs(const CalculationRecord& rec, bool proportional) {
    FlowPictureInputs in;
    const bool one = outletsOf(rec) == 1 || rec.singleOutlet != 0;
    in.outlets = one ? 1 : 2;
    in.spacing = one ? 0.0 : rec.spacing;
    in.wallLeft = rec.wallLeft;
    in.wallRight = rec.wallRight;
    in.W = static_cast<double>(ld(in.spacing) + rec.wallLeft + rec.wallRight);
    in.s = in.outlets > 1 ? in.spacing : 0.0;
    in.mountingHeight = outletMountingHeight(rec);
    in.H = rec.verticalJet ? in.mountingHeight : rec.roomHeight;
    in.headHeight = rec.headHeight;
    in.proportional = proportional;
    return in;
}

void storePictureInputs(const FlowPictureInputs& in, CalculationRecord& rec) {
    rec.spacing = in.spacing;
    rec.sectionWidth = in.W;
    rec.pictureOutletCount = in.outlets;
}

bool pictureHasZones(const CalculationRecord& rec) {
    return rec.verticalJet == 0 || rec.roomTemp < rec.supplyTemp;
}

std::vector<ContourRequest> pictureContourInputs(const FlowPictureInputs& in, const CalculationRecord& rec) {
    std::vector<ContourRequest> requests;
    for (int k = 0; k < in.outlets; ++k) {
        const bool first = k == 0, last = k == in.outlets - 1;
        if (rec.verticalJet) {
            if (!pictureHasZones(rec)) {
                requests.emplace_back(std::monostate{});
                continue;
            }
            VerticalContourInput v;
            v.V = rec.flowPerOutlet;
            v.vlim = rec.velocityLimit;
            v.mountingHeight = in.mountingHeight;
            v.yMax = rec.yMax;
            v.leftDistance = first ? in.wallLeft : static_cast<double>(ld(in.s) + in.wallLeft);
            v.rightDistance = last ? in.wallRight : static_cast<double>(ld(in.s) + in.wallRight);
            v.slotCount = rec.slotCount;
            requests.emplace_back(v);
        } else {
            const double half = static_cast<double>(ld(in.s) / 2.0L);
            HorizontalContourInput h;
            h.c = rec.criticalDistance;
            h.V = rec.flowPerOutlet;
            h.vlim = rec.velocityLimit;
            h.dT = static_cast<double>(ld(rec.roomTemp) - rec.supplyTemp);
            h.roomTemp = rec.roomTemp;
            h.roomHeight = rec.roomHeight;
            h.leftType = first ? BoundaryType::Wall : BoundaryType::Symmetry;
            h.leftDistance = first ? in.wallLeft : half;
            h.rightType = last ? BoundaryType::Wall : BoundaryType::Symmetry;
            h.rightDistance = last ? in.wallRight : half;
            h.y0 = static_cast<double>(ld(rec.roomHeight) - in.mountingHeight);
            h.slotCount = rec.slotCount;
            requests.emplace_back(h);
        }
    }
    return requests;
}

ContourRoutine jetContours(const CalculationRecord& rec, Dialogs& dialogs) {
    return [&rec, &dialogs](const ContourRequest& request, Contour& contour) {
        if (const auto* h = std::get_if<HorizontalContourInput>(&request))
            return HorizontalJetContour(rec.outlet, *h, contour);
        if (const auto* v = std::get_if<VerticalContourInput>(&request))
            return VerticalJetContour(rec.outlet, *v, contour, dialogs);
        return 0;
    };
}

std::vector<OutletContour> computeContours(const std::vector<ContourRequest>& requests,
                                           const ContourRoutine& routine) {
    std::vector<OutletContour> zones(requests.size());
    for (std::size_t k = 0; k < requests.size(); ++k) {
        if (std::holds_alternative<std::monostate>(requests[k]) || !routine)
            continue;
        OutletContour& zone = zones[k];
        zone.error = routine(requests[k], zone.contour);
        bool finite = true;
        for (const auto& polygon : zone.contour.polygons)
            finite = finite && std::all_of(polygon.begin(), polygon.end(), finitePoint);
        if (zone.error == 0 && !finite)
            zone.error = -1;
        if (zone.error != 0)
            zone.contour.polygons.clear();
    }
    return zones;
}

FlowPicture drawFlowPicture(const FlowPictureInputs& in, const std::vector<OutletContour>& contours) {
    FlowPicture picture;
    auto& out = picture.primitives;
    const Pen thin{kBlack, 1, PenStyle::Solid};
    auto line = [&out](int x1, int y1, int x2, int y2, Pen pen) {
        out.emplace_back(LinePrimitive{{x1, y1}, {x2, y2}, pen});
    };
    auto rectangle = [&out](int x1, int y1, int x2, int y2, Rgb brush, std::optional<Pen> pen) {
        out.emplace_back(PolygonPrimitive{{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, brush, pen});
    };

    // A section without width or height has no scale: it is drawn empty.
    const ld W = in.W, H = in.H;
    const bool hasKx = W > 0.0L;
    const ld scaleBase = in.proportional ? W : H;
    const bool hasKy = scaleBase > 0.0L && H > 0.0L;
    const ld kx = hasKx ? 350.0L / W : 0.0L;
    const ld ky = hasKy ? 270.0L / scaleBase : 0.0L;

    // The whole image first, so nothing of an earlier picture survives around the section.
    rectangle(0, 0, FlowPicture::kWidth, FlowPicture::kHeight, kWhite, std::nullopt);
    int F = kBottom;
    rectangle(kLeft, kTop, kRight, F, kWhite, thin);
    if (in.proportional && hasKy) {
        F = kTop + truncPixel(H * ky);
        // The band marks the image below a section that is wider than high; a taller section
        // runs off the image and leaves no band.
        if (F + 10 < kBottom)
            rectangle(kLeft, F + 10, kRight, kBottom, kWindow, thin);
    }
    picture.floorY = F;

    line(kLeft, kCeilingY, kRight, kCeilingY, {kBlack, 6});
    line(kRight, kCeilingY, kRight, F, {kBlack, 3});
    line(kRight, F, kLeft, F, {kBlack, 3});
    line(kLeft, F, kLeft, kTop, {kBlack, 3});

    if (hasKy) {
        const int hk = truncPixel(ky * in.headHeight);
        line(kLeft, F - hk, kRight, F - hk, {kBlue, 3, PenStyle::Dot});
        // Anchored at the floor; lines above or below the image are not drawn. The rows are
        // counted unclamped: the floor of a very high section is held to the pixel limit, and a
        // clamped row offset would never get above the image, adding lines until memory ran out.
        const int step = truncPixel(ky);
        const ld rows = std::trunc(H);
        const ld below = step > 0 ? std::ceil(ld(F - FlowPicture::kHeight) / step) : 1.0L;
        // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): whole numbers, counted exactly
        for (ld i = std::max(1.0L, below); i <= rows; ++i) {
            const ld y = ld(F) - i * step;
            if (y < 0 || (step == 0 && i > 1))
                break;
            line(kLeft, static_cast<int>(y), kRight, static_cast<int>(y), thin);
        }
    }
    if (!hasKx || !hasKy)
        return picture;

    const int xMax = kLeft + roundPixel(W * kx);
    for (int k = 0; k < in.outlets && k < static_cast<int>(contours.size()); ++k) {
        const OutletContour& zone = contours[k];
        picture.contourError = zone.error;
        if (zone.error != 0)
            continue;
        const ld offset = ld(k) * in.s + in.wallLeft;
        for (const auto& polygon : zone.contour.polygons) {
            PolygonPrimitive fill{{}, kRed, Pen{kRed, 1}};
            // The routine closes each polygon by repeating its first point.
            for (std::size_t i = 0; i + 1 < polygon.size(); ++i) {
                const int x = kLeft + roundPixel((offset + polygon[i].x) * kx);
                const int y = kTop + roundPixel(ld(polygon[i].y) * ky);
                fill.points.push_back({std::clamp(x, kLeft, xMax), y});
            }
            if (!fill.points.empty())
                out.emplace_back(std::move(fill));
        }
    }

    const int xc = kLeft + truncPixel((ld(in.spacing) / 2.0L + in.wallLeft) * kx);
    line(xc, kTop, xc, F, {kRed, 1});
    const int d = truncPixel(kx * in.spacing / 2.0L);
    const int yo = F - truncPixel(ky * in.mountingHeight);
    const Pen outletPen{kBlue, 1};
    out.emplace_back(EllipsePrimitive{xc - d - 6, yo - 6, xc - d + 6, yo + 6, outletPen, kYellow});
    if (d != 0) // one outlet: both circles are the same
        out.emplace_back(EllipsePrimitive{xc + d - 6, yo - 6, xc + d + 6, yo + 6, outletPen, kYellow});

    // Anchored at the centre line, over the zones; the centre line itself stays red.
    // Only the lines inside the picture are counted: a centre far outside it (a damaged project's
    // distances) must not make a million steps.
    const int step = truncPixel(kx);
    if (step > 0) {
        int x = xc - step;
        if (x >= kRight)
            x -= ((x - kRight) / step + 1) * step;
        for (; x > kLeft; x -= step)
            line(x, kTop, x, F, thin);
        x = xc + step;
        if (x <= kLeft)
            x += ((kLeft - x) / step + 1) * step;
        for (; x < kRight; x += step)
            line(x, kTop, x, F, thin);
    }
    return picture;
}

} // namespace fyl
