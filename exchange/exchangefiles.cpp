// Writing and reading the exchange files of the ceiling-plan and the sound tool. Core layer.
#include "exchange/exchangefiles.h"

#include "calc/evaluation.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/filetext.h"
#include "frame/numbers.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace fyl {

namespace {

const QString kDashes = QStringLiteral("--");

// The keys of both files, in file order; a value line follows each key except where noted.
namespace key {
const char* const Type = "Typ";
const char* const Id = "Kennnummer";
const char* const Count = "Anzahl";
const char* const AMin = "a_min";
const char* const WallMin = "Rand_min";
const char* const Width = "Raumbreite";
const char* const Length = "Raumlänge";
const char* const Spacing = "Einbauabstand";
const char* const Wall = "Wandabstand";
const char* const JetKind = "Strahlform (v/h)";
const char* const Project = "Projekt";
const char* const Editor = "Bearbeiter";
const char* const Height = "Raumhoehe";
const char* const Head = "Kopfhoehe";
const char* const Velocity = "Luftgeschwindigkeit";
const char* const AMinSeated = "Minabstand für Sitzhöhe(1.3 m)";
const char* const WallMinSeated = "Minwandabstand für Sitzhöhe(1.3 m)";
const char* const Sound = "Schallleistungspegel";
const char* const Room = "Raumdaten"; // then width, length, height and an empty line
const char* const ProjectData = "Projektdaten";
const char* const Address = "Adresse"; // then five lines, the project number and date
} // namespace key

const char* const kPlaceholder = "xxxxxxxxxxx";
constexpr int kTextLimit = 100;

// A number of the files: its form (w:d) and the values it may take. The writer refuses what the
// readers would refuse, so a file one side writes the other reads; checked on the text as written,
// since rounding can carry a value over a limit.
struct NumberForm {
    const char* name; // the key, or what the line holds where no key precedes it
    int width;
    int decimals;
    double low;
    double high;
    bool whole = false; // a count
};
constexpr double kMaxLength = kMaxBuildingLength;
const NumberForm kCount{key::Count, 1, 0, 0, 1e6, true};
const NumberForm kAMin{key::AMin, 3, 2, 0, kMaxLength};
const NumberForm kWallMin{key::WallMin, 1, 2, 0, kMaxLength};
const NumberForm kWidth{key::Width, 4, 2, 0, kMaxLength};
const NumberForm kLength{key::Length, 4, 2, 0, kMaxLength};
const NumberForm kSpacing{key::Spacing, 4, 2, 0, kMaxLength};
const NumberForm kWall{key::Wall, 4, 2, 0, kMaxLength};
const NumberForm kHeight{key::Height, 4, 2, 0, kMaxLength};
const NumberForm kHead{key::Head, 4, 2, 0, kMaxLength};
const NumberForm kVelocity{key::Velocity, 4, 2, 0, 100};
const NumberForm kAMinSeated{key::AMinSeated, 3, 2, 0, kMaxLength};
const NumberForm kWallMinSeated{key::WallMinSeated, 1, 2, 0, kMaxLength};
const NumberForm kSoundLevel{key::Sound, 2, 0, -100, 200};
const NumberForm kSoundHeight{"Raumhöhe", 4, 2, 0, kMaxLength};

// The value of a number line, or why the readers refuse it (empty when they take it).
QString refusal(const QString& line, const NumberForm& form, double& value) {
    const QString t = line.trimmed();
    bool ok = false;
    value = t.toDouble(&ok); // the point form, whatever the locale
    if (!ok || !std::isfinite(value) || t.contains(QLatin1Char(',')))
        return QStringLiteral("eine Zahl mit Dezimalpunkt erwartet, gefunden \"%1\"").arg(line);
    if (value < form.low || value > form.high)
        return QStringLiteral("%1 liegt außerhalb von %2 bis %3").arg(t).arg(form.low).arg(form.high);
    if (form.whole && value != std::floor(value))
        return QStringLiteral("eine ganze Zahl erwartet, gefunden \"%1\"").arg(line);
    return QString();
}

// A number as the file writes it; refused (FileError naming the file and the value) when the
// readers would refuse it.
QString number(long double value, const NumberForm& form, const char* file) {
    QString text = numbers::formatWidth(requireFinite(value, form.name), form.width, form.decimals);
    double read = 0;
    if (const QString why = refusal(text, form, read); !why.isEmpty())
        throw FileError(QStringLiteral("%1: %2 %3; die Austauschdatei wird nicht geschrieben.")
                            .arg(QString::fromLatin1(file), QString::fromUtf8(form.name), why));
    return text;
}

// A text as one line, so that it cannot add lines to the file, cut to the files' limit.
QString textValue(const QString& text) {
    return singleLineText(text).left(kTextLimit);
}

QString outletName(const CalculationRecord& rec) {
    return rec.outlet.typeNameText() + QLatin1Char(' ') + rec.outlet.sizeNameText();
}

// Reads the lines in order, checking keys and converting values; every failure names its line.
class LineReader {
public:
    LineReader(const QByteArray& bytes, int expected, const char* file) : file_(QString::fromLatin1(file)) {
        QString text = fromAnsi(bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        // The terminator of the last line starts no further one; taking it for an empty last line
        // would let a file that lost its last line pass for a whole one.
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        if (!bytes.isEmpty())
            lines_ = text.split(QLatin1Char('\n'));
        if (lines_.size() != expected)
            throw FileError(QStringLiteral("%1: %2 Zeilen erwartet, die Datei hat %3.")
                                .arg(file_)
                                .arg(expected)
                                .arg(lines_.size()));
    }

    void key(const char* expected) {
        const QString k = QString::fromUtf8(expected);
        if (next() != k)
            fail(QStringLiteral("der Schlüssel \"%1\" erwartet, gefunden \"%2\"").arg(k, current()));
    }
    QString text() { return next(); }
    void empty() {
        if (!next().isEmpty())
            fail(QStringLiteral("eine leere Zeile erwartet"));
    }
    double real(const NumberForm& form) {
        double v = 0;
        if (const QString why = refusal(next(), form, v); !why.isEmpty())
            fail(why);
        return v;
    }
    std::optional<double> realOrDashes(const NumberForm& form) {
        if (lines_.value(index_).trimmed() == kDashes) {
            next();
            return std::nullopt;
        }
        return real(form);
    }
    int count() { return static_cast<int>(real(kCount)); }
    bool horizontal() {
        const QString t = next();
        if (t != QLatin1String("h") && t != QLatin1String("v"))
            fail(QStringLiteral("\"h\" oder \"v\" erwartet, gefunden \"%1\"").arg(t));
        return t == QLatin1String("h");
    }

private:
    QString next() { return lines_.at(index_++); }
    QString current() const { return lines_.at(index_ - 1); }
    [[noreturn]] void fail(const QString& what) const {
        throw FileError(QStringLiteral("%1, Zeile %2: %3.").arg(file_).arg(index_).arg(what));
    }

    QString file_;
    QStringList lines_;
    int index_ = 0;
};

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

bool handOverToTool(CompanionTool tool, const CalculationRecord& rec, const Folders& folders, Shell& shell) {
    const bool ceiling = tool == CompanionTool::CeilingPlan;
    const char* name = ceiling ? kCeilingExchangeName : kSoundExchangeName;
    writeExchangeFile(folders.temp, name, ceiling ? ceilingExchangeLines(rec) : soundExchangeLines(rec));
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
    x.outletCount = in.count();
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
    x.outletCount = in.count();
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
