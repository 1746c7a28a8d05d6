// The two exchange files handed to the companion tools: the ceiling plan ("Zoldaten.tmp", 34
// lines) and the sound calculation ("Sounddaten.tmp", 24 lines). The writer of the program and
// the readers of the tools share this one definition of keys, line order and number forms.
// Core layer (fylcore).
#pragma once

#include "catalogue/catalogue.h"
#include "frame/record.h"
#include "frame/runstate.h"
#include "frame/shell.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace fyl {

inline constexpr char kCeilingExchangeName[] = "Zoldaten.tmp";
inline constexpr char kSoundExchangeName[] = "Sounddaten.tmp";
inline constexpr int kCeilingExchangeLines = 34;
inline constexpr int kSoundExchangeLines = 24;
// Either file is a few dozen lines of at most 100 characters; a larger one is not read.
inline constexpr qint64 kMaxExchangeFileBytes = qint64{64} << 10;

// The lines of each file in order, keys and values, from the record as it stands. Numbers use a
// point whatever the locale; texts are made one line and cut to 100 characters. Raises
// ArithmeticError when a number to be written is not finite, and FileError naming it when it lies
// outside what the readers take (the same ranges the readers check), so nothing is written then.
QStringList ceilingExchangeLines(const CalculationRecord& rec);
QStringList soundExchangeLines(const CalculationRecord& rec);

// The file's bytes: Windows-1252, every line ended by CR LF.
QByteArray exchangeFileBytes(const QStringList& lines);

// Writes the lines as `name` into `folder`, replacing an old file atomically; FileError on failure.
// Returns the path written.
QString writeExchangeFile(const QString& folder, const char* name, const QStringList& lines);

enum class CompanionTool { CeilingPlan, Sound };

// The tool's executable in the program directory ("deckenspiegel", "zelk_sound"; ".exe" on Windows).
QString companionProgram(const QString& programDir, CompanionTool tool);

// What the Tools menu's "Deckenspiegel" and "Sound" do: write the tool's exchange file into the
// temporary folder, then start the tool from the program directory with the file's bare name. The
// ceiling plan also gets the layout file beside it, with the record's judgement (`catalogue` gives
// the type's mounting places), the two written together. A failed write raises FileError, leaves
// the old files and starts nothing; a tool that cannot be started is not reported (the files
// stay). Returns whether the tool started.
bool handOverToTool(CompanionTool tool, const CalculationRecord& rec, const Catalogue& catalogue,
                    const Folders& folders, Shell& shell);

// Where a companion tool finds the exchange file its command line names. A bare name (what ZELK FYL
// passes) is looked up in `temporaryFolder`: the exact name, else a name there that differs only in
// case (the program's own spelling `ownName` first), else the name in the current folder. An
// argument with a folder part is taken as it is; an empty one stands for `ownName`. Raises
// FileError naming what was looked for and where.
QString locateExchangeFile(const QString& argument, const char* ownName,
                           const std::optional<QString>& temporaryFolder);

// What the ceiling-plan tool reads. Lengths in m, the velocity in m/s. The four spacing limits are
// empty for a vertical jet ("--").
struct CeilingExchange {
    QString outletName;
    QString idPlaceholder;
    int outletCount = 0;
    std::optional<double> aMin;
    std::optional<double> wallMin;
    double roomWidth = 0, roomLength = 0;
    double spacing = 0;
    double wallDistance = 0;
    bool horizontal = true; // "h"; "v" is false
    QString project;
    QString editor;
    double roomHeight = 0, headHeight = 0;
    double velocityLimit = 0;
    std::optional<double> aMinSeated;    // a min for a head height of 1.3 m
    std::optional<double> wallMinSeated; // w min for a head height of 1.3 m
};

// What the sound tool reads.
struct SoundExchange {
    QString outletName;
    int outletCount = 0;
    double lwa = 0; // sound power level of one outlet [dB]
    double roomWidth = 0, roomLength = 0, roomHeight = 0;
    QString project;
    std::array<QString, 2> editor;
    std::array<QString, 5> address;
    QString projectNumber;
    QString projectDate;
};

// Reads a file's bytes (Windows-1252; CR LF, LF or CR line ends; the last line's end may be
// missing). Raises FileError naming the line and what was expected there for anything else: a
// wrong key, a line too few or too many, a number that is not one, not finite or out of range.
CeilingExchange readCeilingExchange(const QByteArray& bytes);
SoundExchange readSoundExchange(const QByteArray& bytes);

} // namespace fyl
