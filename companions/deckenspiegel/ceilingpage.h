// The ceiling plan's page as a display list: the room to scale with its grid, the outlets,
// dimension chains, the marks of what falls short, a legend and the title block. Core layer of
// the ceiling-plan tool (fylceiling); fyldraw's renderPrimitives draws it.
#pragma once

#include "drawing/displaylist.h"
#include "exchange/ceilinglayout.h"

#include <QDate>

#include <vector>

namespace fyl::ceiling {

// The device the page is laid out for.
struct PageGeometry {
    int width = 0, height = 0; // pixels
    double dpi = 96.0;
    // On paper the room is drawn at a standard scale 1:n; on screen it fills the space.
    bool paper = true;
};

// A4 landscape at `dpi`.
PageGeometry a4Landscape(double dpi);

struct CeilingPage {
    std::vector<PicturePrimitive> primitives;
    int scale = 0; // n of 1:n on paper; 0 on screen
    // [mm] The page height the panel needs: its legend, the findings' heading and first line and
    // the title block one below the other. A lower page cuts the title block off at the bottom.
    double leastHeight = 0;
};

namespace pagecolours {
inline constexpr Rgb kOutlet{205, 225, 250};
inline constexpr Rgb kLimit{220, 0, 0}; // below a_min or Rand_min
inline constexpr Rgb kLimitFill{255, 150, 150};
inline constexpr Rgb kSeated{235, 130, 0}; // below the value for a seated head height
inline constexpr Rgb kSeatedFill{255, 205, 130};
inline constexpr Rgb kGrid{215, 215, 215};
inline constexpr Rgb kGood{0, 120, 0}; // every check met
} // namespace pagecolours

CeilingPage ceilingPage(const CeilingExchange& x, const CeilingLayout& layout, const PageGeometry& geometry,
                        const QDate& date);

} // namespace fyl::ceiling
