// The child of the kill test: saves a project, an exchange file and a set of two files (as the
// room schedule writes its summary) in a loop, alternating two contents, until it is killed; with
// --references it writes each content once under its own name.
// Test support (links the core only).
#include "exchange/exchangefiles.h"
#include "frame/files.h"
#include "frame/projectfile.h"
#include "frame/record.h"

#include <QCoreApplication>
#include <QDir>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<fyl::CalculationRecord> content(int which) {
    auto rec = std::make_unique<fyl::CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    fyl::ResetRecord(*rec);
    rec->projectName.assign(which == 0 ? QStringLiteral("Altbau Nord")
                                       : QStringLiteral("Neubau Süd, Haus 2"));
    rec->totalFlow = which == 0 ? 720.0 : 1350.0;
    rec->roomWidth = which == 0 ? 6.0 : 12.5;
    rec->outletCount = which == 0 ? 3 : 4;
    return rec;
}

void save(const QString& folder, const QString& project, const QString& exchangeFolder, int which) {
    const auto rec = content(which);
    fyl::writeProjectFile(QDir(folder).filePath(project), *rec);
    fyl::writeExchangeFile(exchangeFolder, fyl::kCeilingExchangeName, fyl::ceilingExchangeLines(*rec));
    fyl::writeFileSet({{QStringLiteral("results.csv"), rec->projectName.str().toUtf8()},
                       {QStringLiteral("Raum.zol"), fyl::projectFileBytes(*rec)}},
                      QDir(exchangeFolder).filePath(QStringLiteral("set")));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--references")) {
        for (int which : {0, 1}) {
            const QString sub = QDir(args[2]).filePath(QString::number(which));
            QDir().mkpath(sub);
            save(args[2], QStringLiteral("%1.zol").arg(which), sub, which);
        }
        return 0;
    }
    if (args.size() != 2)
        return 2;
    for (int which = 0;; which = 1 - which)
        save(args[1], QStringLiteral("p.zol"), args[1], which);
}
