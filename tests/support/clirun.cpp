// Running zelkfyl-cli from a test. Test support.
#include "tests/support/clirun.h"

#include <QJsonDocument>
#include <QProcess>

namespace fyl::test {

QJsonObject CliRun::json() const {
    return QJsonDocument::fromJson(out).object();
}

CliRun runCli(const QStringList& args, const QString& workingDirectory, int timeoutMs) {
    QProcess p;
    if (!workingDirectory.isEmpty())
        p.setWorkingDirectory(workingDirectory);
    p.start(QStringLiteral(ZELK_CLI), args);
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace fyl::test
