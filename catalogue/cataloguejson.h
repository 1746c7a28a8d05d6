// The diagnostic JSON forms of the catalogue for the command line. Core layer (fylcore).
#pragma once

#include "catalogue/catalogue.h"
#include "frame/jsontext.h"
#include "frame/record.h"

#include <QString>

#include <optional>

namespace fyl {

struct CatalogueLoadFailure {
    QString file;
    QString message;
};

// The diagnostic JSON forms of the CLI. Keys come in a fixed order; texts are UTF-8; reals are
// written in their shortest form that reads back to the same double. A real that is not finite
// has no JSON form and is written as null.
QString catalogueDumpJson(const Catalogue& catalogue, const std::optional<CatalogueLoadFailure>& failure);
QString outletRecordJson(const OutletRecord& record);

} // namespace fyl
