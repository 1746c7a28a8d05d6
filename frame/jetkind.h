// The jet kind of an outlet, decided by its two-character jet form code: which evaluation runs,
// and which outlets the catalogue may offer. Core layer (fylcore).
#pragma once

#include <QString>

namespace fyl {

enum class JetKind { None, Horizontal, Vertical };

// "01", "04", "05", "06" horizontal; "02", "03" vertical; anything else has no evaluation.
inline JetKind jetKindOfCode(const QString& code) {
    if (code == QLatin1String("01") || code == QLatin1String("04") || code == QLatin1String("05") ||
        code == QLatin1String("06"))
        return JetKind::Horizontal;
    if (code == QLatin1String("02") || code == QLatin1String("03"))
        return JetKind::Vertical;
    return JetKind::None;
}

} // namespace fyl
