// Where the ceiling-plan tool finds its exchange file and the layout file beside it, and reading
// them. Core layer (fylcore, QtCore only), beside the formats it reads.
#pragma once

#include "exchange/exchangefiles.h"
#include "exchange/layoutexchange.h"

#include <QString>

#include <optional>

namespace fyl::ceiling {

// The path of the exchange file that `argument` names. A bare name (what ZELK FYL passes) is
// looked up in `temporaryFolder`: the exact name, else the one name there that differs only in
// case (ZELK FYL writes "Zoldaten.tmp" and calls the tool with "ZOLDaten.tmp"), else the name in
// the current folder. An argument with a folder part is taken as it is. An empty argument stands
// for "Zoldaten.tmp". Raises FileError naming what was looked for and where.
QString locateExchangeFile(const QString& argument, const std::optional<QString>& temporaryFolder);

// The file at `path` read and checked; FileError with the reader's message otherwise.
CeilingExchange loadCeilingExchange(const QString& path);

// The layout file beside the exchange file at `exchangePath`, when one lies there that ZELK FYL
// wrote together with `x` (the same outlet, count and room), that reads whole and that carries a
// judgement. Otherwise none, and the plan is laid out from the exchange file alone, as for a writer
// that hands over no layout; `ignored` then says why a file that lies there is not used.
std::optional<LayoutExchange> loadLayoutBeside(const QString& exchangePath, const CeilingExchange& x,
                                               QString* ignored = nullptr);

} // namespace fyl::ceiling
