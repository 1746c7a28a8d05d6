// The Shell interface on QDesktopServices and QProcess. Shared widgets (fylwidgets).
#include "widgets/qtshell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace fyl {

bool QtShell::hasHandler(const QString& documentPath) {
    const QFileInfo document(documentPath);
    if (!document.isFile())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open takes any document and fails afterwards, unseen, when no program is registered for
    // its type; the desktop's table, which xdg-open reads too, tells beforehand.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true; // another way of opening: whether it works, open() says
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QMimeDatabase().mimeTypeForFile(document).name()});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    return true; // the shell reports a missing association itself
#endif
}

bool QtShell::open(const QString& target) {
    const QUrl url = target.startsWith(QStringLiteral("mailto:")) ||
                             target.startsWith(QStringLiteral("http://")) ||
                             target.startsWith(QStringLiteral("https://"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

bool QtShell::start(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

} // namespace fyl
