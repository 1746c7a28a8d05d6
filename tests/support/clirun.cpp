// Running zelkfyl-cli from a test. Test support.
#include "tests/support/clirun.h"

#include <QJsonDocument>
#include <QProcess>

#include <cstring>

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

CliRun runCliOn(QStringList args, const QString& programDir) {
    return runCli(args << QStringLiteral("--program-dir") << programDir);
}

double realAt(const QByteArray& bytes, int offset) {
    double v = 0;
    if (offset >= 0 && offset + qsizetype(sizeof v) <= bytes.size())
        std::memcpy(&v, bytes.constData() + offset, sizeof v);
    return v;
}

} // namespace fyl::test
