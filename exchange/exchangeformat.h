// The line format the exchange files share: their keys, the forms and ranges of their numbers, the
// writer's checks of a value and the reader of the lines. Core layer (fylcore); the exchange
// writers and readers alone use it, so that a file one side writes the other reads.
#pragma once

#include "frame/record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace fyl::exchangeformat {

// The keys of the files, each defined once for its writer and its reader; a value line follows each
// key except where noted.
namespace key {
inline constexpr char Type[] = "Typ";
inline constexpr char Id[] = "Kennnummer";
inline constexpr char Count[] = "Anzahl";
inline constexpr char AMin[] = "a_min";
inline constexpr char WallMin[] = "Rand_min";
inline constexpr char Width[] = "Raumbreite";
inline constexpr char Length[] = "Raumlänge";
inline constexpr char Spacing[] = "Einbauabstand";
inline constexpr char Wall[] = "Wandabstand";
inline constexpr char JetKind[] = "Strahlform (v/h)";
inline constexpr char Project[] = "Projekt";
inline constexpr char Editor[] = "Bearbeiter";
inline constexpr char Height[] = "Raumhoehe";
inline constexpr char Head[] = "Kopfhoehe";
inline constexpr char Velocity[] = "Luftgeschwindigkeit";
inline constexpr char AMinSeated[] = "Minabstand für Sitzhöhe(1.3 m)";
inline constexpr char WallMinSeated[] = "Minwandabstand für Sitzhöhe(1.3 m)";
inline constexpr char Sound[] = "Schallleistungspegel";
inline constexpr char Room[] = "Raumdaten"; // then width, length, height and an empty line
inline constexpr char ProjectData[] = "Projektdaten";
inline constexpr char Address[] = "Adresse"; // then five lines, the project number and date
// The layout file.
inline constexpr char Layout[] = "Anordnung";
inline constexpr char Rows[] = "Reihen";
inline constexpr char Columns[] = "Spalten";
inline constexpr char RowsAlongLength[] = "Reihen längs";
inline constexpr char SpacingAcross[] = "Abstand quer";
inline constexpr char SpacingAlong[] = "Abstand längs";
inline constexpr char WallAcross[] = "Wandabstand quer";
inline constexpr char WallAlong[] = "Wandabstand längs";
inline constexpr char Depth[] = "Wurfweite";
inline constexpr char RowEnds[] = "Reihenenden";
inline constexpr char PieceLength[] = "Stücklänge";
inline constexpr char Checks[] = "Prüfungen";
inline constexpr char Check[] = "Prüfung"; // then name, verdict, value, limit and text
} // namespace key

// A value that is not there: a limit of a vertical jet, a distance a layout has not.
inline const QString kDashes = QStringLiteral("--");

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

// The forms both files of the ceiling plan share: what ties the layout file to the exchange file
// is written alike in both.
inline constexpr NumberForm kCount{key::Count, 1, 0, 0, 1e6, true};
inline constexpr NumberForm kWidth{key::Width, 4, 2, 0, kMaxBuildingLength};
inline constexpr NumberForm kLength{key::Length, 4, 2, 0, kMaxBuildingLength};

// The outlet as the files name it: type and size.
QString outletName(const CalculationRecord& rec);

// The value of a number line, or why the readers refuse it (empty when they take it).
QString refusal(const QString& line, const NumberForm& form, double& value);

// A number as the files write it; refused (FileError naming `file` and the value) when the readers
// would refuse it, ArithmeticError when it is not finite.
QString number(long double value, const NumberForm& form, const char* file);

// A text as one line, so that it cannot add lines to the file, cut to `limit` characters.
QString textValue(const QString& text, int limit = 100);

// Reads the lines in order, checking keys and converting values; every failure (FileError) names
// the file and its line.
class LineReader {
public:
    // `expected`: the file's number of lines, when it is fixed; otherwise `requireLines` checks it
    // once the file has said how many follow.
    LineReader(const QByteArray& bytes, std::optional<int> expected, const char* file);

    void requireLines(int expected) const;
    void key(const char* expected);
    QString text() { return next(); }
    void empty();
    double real(const NumberForm& form);
    std::optional<double> realOrDashes(const NumberForm& form);
    int count(const NumberForm& form);
    // One of `choices`, as its index.
    int oneOf(const QStringList& choices);
    bool horizontal() { return oneOf({QStringLiteral("h"), QStringLiteral("v")}) == 0; }
    [[noreturn]] void fail(const QString& what) const;

private:
    QString next();
    QString current() const { return lines_.at(index_ - 1); }

    QString file_;
    QStringList lines_;
    int index_ = 0;
};

} // namespace fyl::exchangeformat
