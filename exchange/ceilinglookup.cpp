// Finding and reading the ceiling-plan exchange file and the layout file beside it. Core layer (fylcore).
#include "exchange/ceilinglookup.h"

#include "exchange/ceilinglayout.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QDir>
#include <QFileInfo>

namespace fyl::ceiling {

QString locateExchangeFile(const QString& argument, const std::optional<QString>& temporaryFolder) {
    return fyl::locateExchangeFile(argument, kCeilingExchangeName, temporaryFolder);
}

CeilingExchange loadCeilingExchange(const QString& path) {
    return readCeilingExchange(
        readWholeFile(path, kMaxExchangeFileBytes, QStringLiteral("Die Austauschdatei")));
}

std::optional<LayoutExchange> loadLayoutBeside(const QString& exchangePath, const CeilingExchange& x,
                                               QString* ignored) {
    const QString path = layoutFileBeside(exchangePath);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QString why;
    try {
        LayoutExchange layout = readLayoutExchange(
            readWholeFile(path, kMaxExchangeFileBytes, QStringLiteral("Die Anordnungsdatei")));
        if (!belongsTo(layout, x))
            why = QStringLiteral("sie gehört zu %1 (%2 Stück) in %3 × %4 m")
                      .arg(layout.outletName)
                      .arg(layout.outletCount)
                      .arg(metres(layout.roomWidth), metres(layout.roomLength));
        else if (layout.judged)
            return layout;
    } catch (const Error& e) {
        why = e.message();
    }
    if (ignored != nullptr && !why.isEmpty())
        *ignored = QStringLiteral("%1 nicht verwendet: %2").arg(QDir::toNativeSeparators(path), why);
    return std::nullopt;
}

} // namespace fyl::ceiling
