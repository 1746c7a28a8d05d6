// The maker's check of a catalogue folder: what would fail or mislead at run time. Core layer
// (fylcore).
#pragma once

#include <QString>

#include <vector>

namespace fyl {

// One thing in a catalogue that would fail or mislead at run time, placed by file, line and
// column (both 1-based; 0 when the finding concerns the whole file or line).
struct CatalogueFinding {
    QString file;
    int line = 0;
    int column = 0;
    QString message;
};

// Loads the catalogue in `folder` the way the program does and checks the index lines against
// the name tables, the outlet list and the detail records. Empty when the catalogue is clean.
std::vector<CatalogueFinding> checkCatalogue(const QString& folder);

// "ZELK.idx:12:50: text" — the form editors and build logs link to.
QString formatFinding(const CatalogueFinding& finding);

} // namespace fyl
