// Writing and reading the exchange files of the ceiling-plan and the sound tool. Core layer.
#include "exchange/exchangefiles.h"

#include "calc/evaluation.h"
#include "exchange/exchangeformat.h"
#include "exchange/layoutexchange.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/numbers.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace fyl {

using namespace exchangeformat;

namespace {

const char* const kPlaceholder = "xxxxxxxxxxx";

constexpr double kMaxLength = kMaxBuildingLength;
const NumberForm kAMin{key::AMin, 3, 2, 0, kMaxLength};
const NumberForm kWallMin{key::WallMin, 1, 2, 0, kMaxLength};
const NumberForm kSpacing{key::Spacing, 4, 2, 0, kMaxLength};
const NumberForm kWall{key::Wall, 4, 2, 0, kMaxLength};
const NumberForm kHeight{key::Height, 4, 2, 0, kMaxLength};
const NumberForm kHead{key::Head, 4, 2, 0, kMaxLength};
const NumberForm kVelocity{key::Velocity, 4, 2, 0, 100};
const NumberForm kAMinSeated{key::AMinSeated, 3, 2, 0, kMaxLength};
const NumberForm kWallMinSeated{key::WallMinSeated, 1, 2, 0, kMaxLength};
const NumberForm kSoundLevel{key::Sound, 2, 0, -100, 200};
const NumberForm kSoundHeight{"Raumhöhe", 4, 2, 0, kMaxLength};

} // namespace

QStringList ceilingExchangeLines(const CalculationRecord& rec) {
    const bool horizontal = rec.horizontalJet != 0;
    const auto value = [](long double v, const NumberForm& form) {
        return number(v, form, kCeilingExchangeName);
    };
    const auto spacingLimit = [&](long double v, const NumberForm& form) {
        return horizontal ? value(v, form) : kDashes;
    };
    const long double wall = std::min<long double>(rec.wallLeft, rec.wallRight);
    return {QString::fromUtf8(key::Type),
            textValue(outletName(rec)),
            QString::fromUtf8(key::Id),
            QString::fromLatin1(kPlaceholder),
            QString::fromUtf8(key::Count),
            value(outletsOf(rec), kCount),
            QString::fromUtf8(key::AMin),
            spacingLimit(rec.aMin, kAMin),
            QString::fromUtf8(key::WallMin),
            spacingLimit(rec.wMin, kWallMin),
            QString::fromUtf8(key::Width),
            value(rec.roomWidth, kWidth),
            QString::fromUtf8(key::Length),
            value(rec.roomLength, kLength),
            QString::fromUtf8(key::Spacing),
            value(rec.spacing, kSpacing),
            QString::fromUtf8(key::Wall),
            value(wall, kWall),
            QString::fromUtf8(key::JetKind),
            horizontal ? QStringLiteral("h") : QStringLiteral("v"),
            QString::fromUtf8(key::Project),
            textValue(rec.projectName.str()),
            QString::fromUtf8(key::Editor),
            textValue(rec.editor[0].str()),
            QString::fromUtf8(key::Height),
            value(rec.roomHeight, kHeight),
            QString::fromUtf8(key::Head),
            value(rec.headHeight, kHead),
            QString::fromUtf8(key::Velocity),
            value(rec.velocityLimit, kVelocity),
            QString::fromUtf8(key::AMinSeated),
            spacingLimit(rec.aMin13, kAMinSeated),
            QString::fromUtf8(key::WallMinSeated),
            spacingLimit(rec.wMin13, kWallMinSeated)};
}

QStringList soundExchangeLines(const CalculationRecord& rec) {
    const auto value = [](long double v, const NumberForm& form) {
        return number(v, form, kSoundExchangeName);
    };
    QStringList lines{QString::fromUtf8(key::Type),
                      textValue(outletName(rec)),
                      QString::fromUtf8(key::Count),
                      value(outletsOf(rec), kCount),
                      QString::fromUtf8(key::Sound),
                      value(rec.lwa, kSoundLevel),
                      QString::fromUtf8(key::Room),
                      value(rec.roomWidth, kWidth),
                      value(rec.roomLength, kLength),
                      value(rec.roomHeight, kSoundHeight),
                      QString(),
                      QString::fromUtf8(key::ProjectData),
                      textValue(rec.projectName.str()),
                      QString::fromUtf8(key::Editor),
                      textValue(rec.editor[0].str()),
                      textValue(rec.editor[1].str()),
                      QString::fromUtf8(key::Address)};
    for (const auto& line : rec.contactAddress)
        lines << textValue(line.str());
    lines << textValue(rec.projectNumber.str()) << textValue(rec.projectDate.str());
    return lines;
}

QByteArray exchangeFileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toAnsi(line) + "\r\n";
    return bytes;
}

QString writeExchangeFile(const QString& folder, const char* name, const QStringList& lines) {
    QString path = joinPath(folder, QString::fromLatin1(name));
    writeFileAtomically(path, exchangeFileBytes(lines), QStringLiteral("Die Austauschdatei"));
    return path;
}

QString companionProgram(const QString& programDir, CompanionTool tool) {
    QString name =
        tool == CompanionTool::CeilingPlan ? QStringLiteral("deckenspiegel") : QStringLiteral("zelk_sound");
#ifdef Q_OS_WIN
    name += QStringLiteral(".exe");
#endif
    return joinPath(programDir, name);
}

bool handOverToTool(CompanionTool tool, const CalculationRecord& rec, const Catalogue& catalogue,
                    const Folders& folders, Shell& shell) {
    const bool ceiling = tool == CompanionTool::CeilingPlan;
    const char* name = ceiling ? kCeilingExchangeName : kSoundExchangeName;
    if (ceiling)
        writeFilesTogether(
            ceilingPlanFiles(joinPath(folders.temp, QString::fromLatin1(name)), rec, catalogue));
    else
        writeExchangeFile(folders.temp, name, soundExchangeLines(rec));
    // The tool gets the name as written on disk: a case-sensitive file system would not find
    // another spelling of it.
    return shell.start(companionProgram(folders.program, tool), {QString::fromLatin1(name)}, folders.program);
}

namespace {

// The file in `folder` whose name is `name` but for case; the program's own spelling first when
// several differ only in case.
std::optional<QString> matchIgnoringCase(const QString& folder, const QString& name, const QString& own) {
    const QDir dir(folder);
    QStringList matches;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches << entry;
    if (matches.isEmpty())
        return std::nullopt;
    return dir.filePath(matches.contains(own) ? own : matches.constFirst());
}

} // namespace

QString locateExchangeFile(const QString& argument, const char* ownName,
                           const std::optional<QString>& temporaryFolder) {
    const QString own = QString::fromLatin1(ownName);
    QString name = argument.isEmpty() ? own : argument;
    const bool bare = !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
    if (!bare) {
        if (QFileInfo(name).isFile())
            return name;
        throw FileError(
            QStringLiteral("Die Austauschdatei %1 gibt es nicht.").arg(QDir::toNativeSeparators(name)));
    }
    if (temporaryFolder) {
        QString exact = joinPath(*temporaryFolder, name);
        if (QFileInfo(exact).isFile())
            return exact;
        if (const auto match = matchIgnoringCase(*temporaryFolder, name, own))
            return QDir::toNativeSeparators(*match);
    }
    if (QFileInfo(name).isFile())
        return QFileInfo(name).absoluteFilePath();
    if (!temporaryFolder)
        throw FileError(
            QStringLiteral("Die Austauschdatei %1 ist nicht zu finden: es ist kein Arbeitsverzeichnis "
                           "eingestellt (ZELK FYL legt es beim ersten Start fest), und im Ordner %2 "
                           "liegt sie auch nicht.")
                .arg(name, QDir::toNativeSeparators(QDir::currentPath())));
    throw FileError(QStringLiteral("Die Austauschdatei %1 liegt nicht im Ordner %2.")
                        .arg(name, QDir::toNativeSeparators(*temporaryFolder)));
}

CeilingExchange readCeilingExchange(const QByteArray& bytes) {
    LineReader in(bytes, kCeilingExchangeLines, kCeilingExchangeName);
    CeilingExchange x;
    in.key(key::Type);
    x.outletName = in.text();
    in.key(key::Id);
    x.idPlaceholder = in.text();
    in.key(key::Count);
    x.outletCount = in.count(kCount);
    in.key(key::AMin);
    x.aMin = in.realOrDashes(kAMin);
    in.key(key::WallMin);
    x.wallMin = in.realOrDashes(kWallMin);
    in.key(key::Width);
    x.roomWidth = in.real(kWidth);
    in.key(key::Length);
    x.roomLength = in.real(kLength);
    in.key(key::Spacing);
    x.spacing = in.real(kSpacing);
    in.key(key::Wall);
    x.wallDistance = in.real(kWall);
    in.key(key::JetKind);
    x.horizontal = in.horizontal();
    in.key(key::Project);
    x.project = in.text();
    in.key(key::Editor);
    x.editor = in.text();
    in.key(key::Height);
    x.roomHeight = in.real(kHeight);
    in.key(key::Head);
    x.headHeight = in.real(kHead);
    in.key(key::Velocity);
    x.velocityLimit = in.real(kVelocity);
    in.key(key::AMinSeated);
    x.aMinSeated = in.realOrDashes(kAMinSeated);
    in.key(key::WallMinSeated);
    x.wallMinSeated = in.realOrDashes(kWallMinSeated);
    return x;
}

SoundExchange readSoundExchange(const QByteArray& bytes) {
    LineReader in(bytes, kSoundExchangeLines, kSoundExchangeName);
    SoundExchange x;
    in.key(key::Type);
    x.outletName = in.text();
    in.key(key::Count);
    x.outletCount = in.count(kCount);
    in.key(key::Sound);
    x.lwa = in.real(kSoundLevel);
    in.key(key::Room);
    x.roomWidth = in.real(kWidth);
    x.roomLength = in.real(kLength);
    x.roomHeight = in.real(kSoundHeight);
    in.empty();
    in.key(key::ProjectData);
    x.project = in.text();
    in.key(key::Editor);
    x.editor[0] = in.text();
    x.editor[1] = in.text();
    in.key(key::Address);
    for (QString& line : x.address)
        line = in.text();
    x.projectNumber = in.text();
    x.projectDate = in.text();
    return x;
}

} // namespace fyl
