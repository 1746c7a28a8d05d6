// Where the ceiling-plan tool finds its exchange file, and reading it. Core layer (fylcore,
// QtCore only), beside the formats it reads.
#pragma once

#include "exchange/exchangefiles.h"

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

} // namespace fyl::ceiling
