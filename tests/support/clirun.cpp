// Running zelkfyl-cli from a test. Test support.
#include "tests/support/clirun.h"

#include <QJsonDocument>
#include <QProcess>

namespace fyl::test {

QJsonObject CliRun::json() const {
    return QJsonDocument::fromJson(out).object();
}

CliRun runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZELK_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace fyl::test
