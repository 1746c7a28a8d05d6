// Finding and reading the ceiling-plan exchange file. Core layer (fylcore).
#include "exchange/ceilinglookup.h"

#include "frame/files.h"

namespace fyl::ceiling {

QString locateExchangeFile(const QString& argument, const std::optional<QString>& temporaryFolder) {
    return fyl::locateExchangeFile(argument, kCeilingExchangeName, temporaryFolder);
}

CeilingExchange loadCeilingExchange(const QString& path) {
    return readCeilingExchange(
        readWholeFile(path, kMaxExchangeFileBytes, QStringLiteral("Die Austauschdatei")));
}

} // namespace fyl::ceiling
