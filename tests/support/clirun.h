// Running zelkfyl-cli from a test and reading what it printed. Test support.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

namespace fyl::test {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const; // standard output as one JSON object
};

// Runs zelkfyl-cli with `args` and waits for it to end.
CliRun runCli(const QStringList& args);

} // namespace fyl::test
