// The platform set-up of programs that draw without a window. Core layer (fylcore).
#include "frame/batchplatform.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace fyl {

void prepareBatchPlatform() {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QtMessageHandler qtDefault = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
            return;
        if (qtDefault != nullptr)
            qtDefault(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qUtf8Printable(text)); // NOLINT(cert-err33-c): nowhere to report
    });
#endif
}

} // namespace fyl
