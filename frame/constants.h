// Mathematical constants shared by the formulas and the expression evaluator.
// Core layer (fylcore, no Qt needed).
#pragma once

namespace fyl {

// Extended-precision pi of the original arithmetic; the formulas and the evaluator's "PI" must
// agree to the last bit.
inline constexpr long double kPi = 3.14159265358979323851L;

} // namespace fyl
