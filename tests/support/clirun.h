// Running zelkfyl-cli from a test and reading what it printed. Test support.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace fyl::test {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const; // standard output as one JSON object
};

// Runs zelkfyl-cli with `args` and waits for it to end, in `workingDirectory` when one is given.
CliRun runCli(const QStringList& args, const QString& workingDirectory = QString(), int timeoutMs = 30000);

// Runs zelkfyl-cli with `args` on the catalogue of `programDir` (--program-dir), the built one by default.
CliRun runCliOn(QStringList args, const QString& programDir = QStringLiteral(ZELK_PROGRAM_DIR));

// The double stored at `offset` of a record image.
double realAt(const QByteArray& bytes, int offset);

} // namespace fyl::test
