// The Shell interface on QDesktopServices and QProcess. Shared widgets (fylwidgets).
#include "widgets/qtshell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace fyl {

bool QtShell::hasHandler(const QString& documentPath) {
    // The desktop offers no portable query for a registered program; a document that exists is
    // handed to it, and the desktop reports a missing association itself.
    return QFileInfo(documentPath).isFile();
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
