// Reading room schedules, planning their rooms, naming their files and the summary. Core layer
// (fylcore), above the main window's model.
#include "schedule/roomschedule.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/csv.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/filetext.h"
#include "frame/numbers.h"
#include "frame/recordfields.h"
#include "frame/runstate.h"
#include "frame/sheet.h"
#include "frame/shell.h"
#include "frame/workbook.h"

#include <QSet>

#include <cmath>
#include <functional>

namespace fyl {

using namespace schedule;
using arith::stored;

namespace {

const char* const kHeader[ColumnCount] = {"Raum",
                                          "Breite",
                                          "Länge",
                                          "Höhe",
                                          "Luftwechsel",
                                          "Volumenstrom",
                                          "Kühllast",
                                          "Raumtemperatur",
                                          "Zulufttemperatur",
                                          "Kopfhöhe",
                                          "Einbauhöhe",
                                          "Luftgeschwindigkeit",
                                          "Schallleistung",
                                          "Typ",
                                          "Größe",
                                          "Strahlform",
                                          "Schlitzlänge",
                                          "Schlitzanzahl",
                                          "Rohr",
                                          "Komfortkategorie"};

// The room columns in their order, with the field the planner types each into and the values a
// room can have: `positive` refuses zero and less, otherwise only less than zero is refused.
// Flow, air change rate, cooling load and supply temperature may be empty; the cooling rule
// decides what they must give together.
struct RoomColumn {
    Column column;
    RoomField field;
    enum { Positive, NotNegative, Any } range;
    bool required;
    bool length = false; // a length of the room, taken as every reader of a project takes it
};
constexpr RoomColumn kRoomColumns[] = {
    {Width, RoomField::Width, RoomColumn::Positive, true, true},
    {Length, RoomField::Length, RoomColumn::Positive, true, true},
    {Height, RoomField::Height, RoomColumn::Positive, true, true},
    {AirChangeRate, RoomField::AirChangeRate, RoomColumn::Positive, false},
    {VolumeFlow, RoomField::VolumeFlow, RoomColumn::Positive, false},
    {CoolingLoad, RoomField::CoolingLoad, RoomColumn::NotNegative, false},
    {RoomTemp, RoomField::RoomTemperature, RoomColumn::Any, true},
    {SupplyTemp, RoomField::SupplyTemperature, RoomColumn::Any, false},
    {HeadHeight, RoomField::HeadHeight, RoomColumn::NotNegative, true, true},
    {MountingHeight, RoomField::MountingHeight, RoomColumn::NotNegative, true, true},
    {AirVelocity, RoomField::VelocityLimit, RoomColumn::Positive, true},
    {SoundPower, RoomField::MaxSoundPowerLevel, RoomColumn::Positive, true},
};

QString columnName(int column) {
    return QString::fromUtf8(kHeader[column]);
}

// Where a row is, for its messages: a CSV's line, or a worksheet's row whose cells have names.
struct RowPlace {
    QString sheet; // empty for a CSV
    int line = 0;
};

// "Zeile 7, Spalte 4", "Zeile 7, Spalten 8 und 9"; in a workbook "Tabelle1!D7", "Tabelle1!H7 und I7".
QString placeOf(const RowPlace& at, const std::vector<int>& columns) {
    QStringList places;
    for (const int column : columns)
        places << (at.sheet.isEmpty() ? QString::number(column + 1)
                                      : sheetCellName(at.sheet, column, at.line));
    if (!at.sheet.isEmpty() && places.size() > 1) // the sheet once: "Tabelle1!H7 und I7"
        for (qsizetype i = 1; i < places.size(); ++i)
            places[i] = places[i].mid(places[i].lastIndexOf(QLatin1Char('!')) + 1);
    const QString last = places.takeLast();
    QString cells =
        places.isEmpty() ? last : QStringLiteral("%1 und %2").arg(places.join(QStringLiteral(", ")), last);
    if (!at.sheet.isEmpty())
        return cells;
    return QStringLiteral("Zeile %1, %2 %3")
        .arg(QString::number(at.line),
             places.isEmpty() ? QStringLiteral("Spalte") : QStringLiteral("Spalten"), cells);
}

QString namesOf(const std::vector<int>& columns) {
    QStringList names;
    for (const int column : columns)
        names << columnName(column);
    return names.join(QStringLiteral(", "));
}

// "Zeile 7, Spalte 4 (Höhe): …", "Tabelle1!H7 und I7 (Raumtemperatur, Zulufttemperatur): …"
struct RowRefusal {
    QString message;
};
[[noreturn]] void refuse(const RowPlace& at, const std::vector<int>& columns, const QString& what) {
    throw RowRefusal{QStringLiteral("%1 (%2): %3").arg(placeOf(at, columns), namesOf(columns), what)};
}
[[noreturn]] void refuse(const RowPlace& at, int column, const QString& what) {
    refuse(at, std::vector<int>{column}, what);
}

// How a file writes decimals: with a comma (as a German spreadsheet does, and as it always did here)
// or with a point. A file's texts decide it; undecided, a point is refused as the comma's
// thousands separator, and "1.000" or "1,000" could mean 1 or 1000.
enum class DecimalMark { Undecided, Comma, Point };

// "1.000", "-12,500", "1.000.000": digits grouped by threes, as a thousands separator writes them.
bool looksGrouped(const QString& text, QChar mark) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    const QStringList groups = t.split(mark);
    if (groups.size() < 2 || groups.front().isEmpty() || groups.front().size() > 3 ||
        groups.front().front() == QLatin1Char('0'))
        return false;
    for (qsizetype i = 0; i < groups.size(); ++i)
        for (const QChar c : groups[i])
            if (!c.isDigit() || c.unicode() > '9' || (i > 0 && groups[i].size() != 3))
                return false;
    return true;
}

// The mark a number written as text shows beyond doubt: a comma or a point that is a number's
// decimal separator and cannot be a thousands separator.
DecimalMark markOf(const QString& text) {
    const bool comma = text.contains(QLatin1Char(',')), point = text.contains(QLatin1Char('.'));
    if (comma == point)
        return DecimalMark::Undecided;
    const QChar mark = comma ? QLatin1Char(',') : QLatin1Char('.');
    if (looksGrouped(text, mark))
        return DecimalMark::Undecided;
    try {
        numbers::parseRealWith(text, mark);
    } catch (const ConversionError&) {
        return DecimalMark::Undecided;
    }
    return comma ? DecimalMark::Comma : DecimalMark::Point;
}

// The columns read as decimal numbers.
bool isDecimalColumn(int column) {
    return (column >= Width && column <= SoundPower) || column == SlotLength || column == Tube;
}

// The file's decimal mark from its number columns' texts (a workbook's number cells hold numbers,
// not texts, and have no say). Both marks in one file raise FileError naming a cell of each.
DecimalMark decimalMarkOf(const SheetTable& table, qsizetype columns) {
    struct Seen {
        RowPlace at;
        int column = 0;
        QString text;
    };
    std::optional<Seen> seen[3];
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const SheetRow& row = table.rows[r];
        if (!row.error.isEmpty() ||
            (table.sheet.isEmpty() && static_cast<qsizetype>(row.cells.size()) != columns))
            continue;
        for (int column = 0; column < std::min<int>(static_cast<int>(row.cells.size()), ColumnCount);
             ++column) {
            const SheetCell& cell = row.cells[static_cast<std::size_t>(column)];
            if (!isDecimalColumn(column) || cell.number)
                continue;
            const DecimalMark mark = markOf(cell.text.trimmed());
            auto& first = seen[static_cast<int>(mark)];
            if (mark == DecimalMark::Undecided || first)
                continue;
            first = Seen{{table.sheet, row.line}, column, cell.text.trimmed()};
            const auto& other =
                seen[static_cast<int>(mark == DecimalMark::Comma ? DecimalMark::Point : DecimalMark::Comma)];
            if (other) {
                const QString comma = QStringLiteral("ein Dezimalkomma"),
                              point = QStringLiteral("einen Dezimalpunkt");
                const bool isComma = mark == DecimalMark::Comma;
                throw FileError(
                    QStringLiteral("%1 (%2): '%3' hat %4, aber %5 (%6) '%7' %8; eine Datei schreibt "
                                   "ihre Zahlen durchgehend mit Dezimalkomma oder durchgehend mit "
                                   "Dezimalpunkt.")
                        .arg(placeOf(first->at, {column}), columnName(column), first->text,
                             isComma ? comma : point, placeOf(other->at, {other->column}),
                             columnName(other->column), other->text, isComma ? point : comma));
            }
        }
    }
    if (seen[static_cast<int>(DecimalMark::Comma)])
        return DecimalMark::Comma;
    return seen[static_cast<int>(DecimalMark::Point)] ? DecimalMark::Point : DecimalMark::Undecided;
}

// A cell's text; a cell that holds nothing usable refuses the row.
QString cellText(const RowPlace& at, int column, const SheetCell& cell) {
    if (!cell.refusal.isEmpty())
        refuse(at, column, cell.refusal);
    return cell.text.trimmed();
}

// A number as the schedule gives it, with the text the window's field shows for it: a workbook's
// number cell as it holds it; a text with the file's decimal mark, blanks around allowed. A
// thousands separator is refused: a German spreadsheet writes "1.200" for 1200, not 1,2.
struct CellValue {
    long double value = 0;
    QString text;
};
CellValue cellNumber(const RowPlace& at, int column, const SheetCell& cell, DecimalMark mark) {
    CellValue v{0, cellText(at, column, cell)};
    if (cell.number) {
        v.value = *cell.number;
    } else {
        QChar separator = QLatin1Char(',');
        if (mark == DecimalMark::Point) {
            if (v.text.contains(QLatin1Char(',')))
                refuse(at, column,
                       QStringLiteral("'%1' ist keine Zahl mit Dezimalpunkt (ohne Tausenderkomma).")
                           .arg(v.text));
            separator = QLatin1Char('.');
        } else if (mark == DecimalMark::Undecided &&
                   (looksGrouped(v.text, QLatin1Char('.')) || looksGrouped(v.text, QLatin1Char(',')))) {
            refuse(at, column,
                   QStringLiteral(
                       "'%1' ist mehrdeutig: keine andere Zahl der Datei zeigt, ob sie Dezimalkomma "
                       "oder Dezimalpunkt schreibt, und hier kann das Zeichen auch Tausender trennen. "
                       "Bitte ohne Tausendertrennzeichen schreiben.")
                       .arg(v.text));
        } else if (v.text.contains(QLatin1Char('.'))) {
            refuse(at, column,
                   QStringLiteral("'%1' ist keine Zahl mit Dezimalkomma (ohne Tausenderpunkt).").arg(v.text));
        }
        try {
            v.value = numbers::parseRealWith(v.text, separator);
        } catch (const ConversionError&) {
            refuse(at, column, QStringLiteral("'%1' ist keine Zahl.").arg(v.text));
        }
        v.text.replace(separator, numbers::decimalSeparator()); // as typed into the window
    }
    if (!std::isfinite(v.value) || std::fabs(v.value) > 1e9L)
        refuse(at, column, QStringLiteral("'%1' liegt außerhalb jedes sinnvollen Bereichs.").arg(v.text));
    return v;
}

int cellInteger(const RowPlace& at, int column, const SheetCell& cell) {
    const QString text = cellText(at, column, cell);
    if (cell.number) {
        if (*cell.number != std::floor(*cell.number) || std::fabs(*cell.number) > 1e9)
            refuse(at, column, QStringLiteral("'%1' ist keine ganze Zahl.").arg(text));
        if (*cell.number < 1)
            refuse(at, column, QStringLiteral("'%1' ist keine positive ganze Zahl.").arg(text));
        return static_cast<int>(*cell.number);
    }
    try {
        const int value = numbers::parseInt(text);
        if (value < 1)
            refuse(at, column, QStringLiteral("'%1' ist keine positive ganze Zahl.").arg(text));
        return value;
    } catch (const ConversionError&) {
        refuse(at, column, QStringLiteral("'%1' ist keine ganze Zahl.").arg(text));
    }
}

// A figure in a message: four significant digits, decimal comma.
QString figure(double value) {
    return numbers::formatGeneral(value, 4);
}

// The volume flow that volume and air change rate give, rounded where the window stores each
// step (floor area, volume, flow), so that the window ends with this very flow.
double flowOfRate(double width, double length, double height, double rate) {
    const double area = stored(static_cast<long double>(width) * length);
    const double volume = stored(static_cast<long double>(area) * height);
    return stored(static_cast<long double>(volume) * rate);
}

// The cooling load the window computes on leaving a temperature: none where the supply air is not
// at least 0,05 K cooler than the room.
double loadOfTemperatures(double flow, double roomTemp, double supplyTemp) {
    const double dT = stored(static_cast<long double>(roomTemp) - supplyTemp);
    double load = 0.0;
    if (supplyTemp < roomTemp && static_cast<long double>(dT) >= 0.05L)
        CoolingLoadForFlow(dT, flow, load);
    return load;
}

// A cooling figure the schedule derived, shown as the window shows the field.
RoomEntry derivedEntry(RoomField field, double value, int precision, int decimals) {
    return RoomEntry{field, numbers::formatFixed(value, precision, decimals), value};
}

void readRow(RoomRow& row, const RowPlace& at, const std::vector<SheetCell>& cells, DecimalMark mark) {
    row.name = cellText(at, Room, cells[Room]);
    // A row without any size is no room: a sum or a heading between the rooms, as lists often have.
    if (cells[Width].isEmpty() && cells[Length].isEmpty() && cells[Height].isEmpty())
        refuse(at, {Width, Length, Height},
               QStringLiteral("die Zeile hat keine Maße und ist kein Raum; Summen- und Zwischenzeilen "
                              "gehören nicht in die Raumliste (bitte löschen oder auf ein anderes "
                              "Blatt setzen)."));
    if (row.name.isEmpty())
        refuse(at, Room, QStringLiteral("der Raum hat keinen Namen."));
    const bool rateGiven = !cells[AirChangeRate].isEmpty(), flowGiven = !cells[VolumeFlow].isEmpty();
    if (rateGiven && flowGiven)
        refuse(at, {AirChangeRate, VolumeFlow}, QStringLiteral("nur eines von beiden angeben."));
    std::optional<double> value[ColumnCount];
    QString shown[ColumnCount]; // each number as the window's field gets it
    for (const RoomColumn& c : kRoomColumns) {
        const SheetCell& cell = cells[c.column];
        if (cell.isEmpty()) {
            if (c.required)
                refuse(at, c.column, QStringLiteral("der Wert fehlt."));
            continue;
        }
        const CellValue v = cellNumber(at, c.column, cell, mark);
        const QString text = cell.text.trimmed();
        if (c.range == RoomColumn::Positive && !(v.value > 0))
            refuse(at, c.column, QStringLiteral("'%1' muss größer als 0 sein.").arg(text));
        if (c.range == RoomColumn::NotNegative && v.value < 0)
            refuse(at, c.column, QStringLiteral("'%1' darf nicht negativ sein.").arg(text));
        if (c.length)
            if (const QString why = roomLengthRefusal(static_cast<double>(v.value), text); !why.isEmpty())
                refuse(at, c.column, why);
        value[c.column] = stored(v.value); // as the window's field holds it
        shown[c.column] = v.text;
    }

    CoolingCells given{value[VolumeFlow], value[CoolingLoad], *value[RoomTemp], value[SupplyTemp]};
    if (value[AirChangeRate])
        given.flow = flowOfRate(*value[Width], *value[Length], *value[Height], *value[AirChangeRate]);
    const auto figures = coolingFigures(given);
    if (const auto* refusal = std::get_if<CoolingRefusal>(&figures)) {
        std::vector<int> columns;
        if (refusal->cells & CoolingRefusal::Flow) {
            if (rateGiven || !flowGiven) // neither given: both are meant
                columns.push_back(AirChangeRate);
            if (!rateGiven)
                columns.push_back(VolumeFlow);
        }
        for (const auto& [cell, column] :
             {std::pair{CoolingRefusal::Load, CoolingLoad}, std::pair{CoolingRefusal::RoomTemp, RoomTemp},
              std::pair{CoolingRefusal::SupplyTemp, SupplyTemp}})
            if (refusal->cells & cell)
                columns.push_back(column);
        refuse(at, columns, refusal->message);
    }
    const CoolingFigures& cooling = std::get<CoolingFigures>(figures);
    row.cooling = cooling;

    // The fields as a planner fills them so that the window keeps the rule's figures: the
    // temperatures, then a given cooling load, from which the window derives the supply
    // temperature just as the rule did; a load the rule derived the window computes itself on
    // leaving the supply temperature.
    for (const RoomColumn& c : kRoomColumns) {
        const QString& text = shown[c.column];
        switch (c.column) {
        case VolumeFlow:
            if (cooling.derived == CoolingFigures::Flow)
                row.fields.push_back(derivedEntry(c.field, cooling.flow, 6, 0));
            else if (value[c.column])
                row.fields.push_back({c.field, text, *value[c.column]});
            break;
        case CoolingLoad:
            break;
        case SupplyTemp:
            if (cooling.derived == CoolingFigures::SupplyTemp) {
                row.fields.push_back(derivedEntry(c.field, cooling.supplyTemp, 4, 1));
                row.fields.push_back({RoomField::CoolingLoad, shown[CoolingLoad], cooling.load});
            } else if (value[c.column]) {
                row.fields.push_back({c.field, text, *value[c.column]});
            } else { // isothermal: the supply air at room temperature
                row.fields.push_back({c.field, shown[RoomTemp], cooling.roomTemp});
            }
            break;
        default:
            if (value[c.column])
                row.fields.push_back({c.field, text, *value[c.column]});
            break;
        }
    }

    if (cells.size() > ComfortCategory) {
        const QString category = cellText(at, ComfortCategory, cells[ComfortCategory]);
        if (category.size() > 1 || (category.size() == 1 && !QStringLiteral("ABC").contains(category[0])))
            refuse(at, ComfortCategory,
                   QStringLiteral("'%1' ist keine Komfortkategorie (A, B oder C; leer: B).").arg(category));
        if (!category.isEmpty())
            row.comfortCategory = category[0];
    }

    if (cells[Type].isEmpty()) {
        for (int column = Size; column <= Tube; ++column)
            if (!cells[column].isEmpty())
                refuse(
                    at, column,
                    QStringLiteral("ohne Typ wird der Durchlass vorgeschlagen; die Zelle muss leer sein."));
        return;
    }
    OutletChoice choice;
    choice.type = cellText(at, Type, cells[Type]);
    choice.size = cellText(at, Size, cells[Size]);
    if (choice.size.isEmpty())
        refuse(at, Size, QStringLiteral("zum Typ fehlt die Größe."));
    if (cells[JetForm].isEmpty())
        refuse(at, JetForm, QStringLiteral("zum Typ fehlt die Strahlform."));
    choice.jetForm = cellInteger(at, JetForm, cells[JetForm]);
    if (const SheetCell& cell = cells[SlotLength]; !cell.isEmpty()) {
        choice.length = cellNumber(at, SlotLength, cell, mark).value;
        if (!(*choice.length > 0))
            refuse(at, SlotLength, QStringLiteral("'%1' muss größer als 0 sein.").arg(cell.text.trimmed()));
    }
    if (const SheetCell& cell = cells[SlotCount]; !cell.isEmpty())
        choice.slotCount = cellInteger(at, SlotCount, cell);
    if (const SheetCell& cell = cells[Tube]; !cell.isEmpty()) {
        choice.tube = cellNumber(at, Tube, cell, mark).value;
        if (!(*choice.tube > 0))
            refuse(at, Tube, QStringLiteral("'%1' muss größer als 0 sein.").arg(cell.text.trimmed()));
    }
    row.outlet = choice;
}

} // namespace

std::variant<CoolingFigures, CoolingRefusal> coolingFigures(const CoolingCells& in) {
    using R = CoolingRefusal;
    const auto refused = [](unsigned cells, const QString& message) { return R{cells, message}; };
    CoolingFigures f;
    f.roomTemp = in.roomTemp;
    try {
        if (in.supplyTemp) {
            const double dT = stored(static_cast<long double>(in.roomTemp) - *in.supplyTemp);
            // Warm supply air heats: it carries no cooling load, so one given with it is a
            // contradiction, not a figure to be dropped.
            if (dT < 0 && in.load && *in.load != 0)
                return refused(
                    R::Load | R::RoomTemp | R::SupplyTemp,
                    QStringLiteral("eine Kühllast von %1 kW passt nicht zu Zuluft von %2 °C, wärmer "
                                   "als der Raum (%3 °C); zum Heizen die Kühllast leer lassen oder 0 "
                                   "angeben.")
                        .arg(figure(*in.load), figure(*in.supplyTemp), figure(in.roomTemp)));
            if (dT > 12)
                return refused(R::RoomTemp | R::SupplyTemp,
                               QStringLiteral("ΔT = %1 K ist mehr als 12 K.").arg(figure(dT)));
        }
        if (!in.flow) {
            if (!in.load || !in.supplyTemp)
                return refused(R::Flow, QStringLiteral("eines von beiden fehlt (ohne beide Kühllast und "
                                                       "Zulufttemperatur angeben)."));
            const double dT = stored(static_cast<long double>(in.roomTemp) - *in.supplyTemp);
            // Below 0,05 K the window computes no load, so no flow could carry the given one.
            if (!(*in.load > 0) || dT < 0.05)
                return refused(R::Load | R::SupplyTemp,
                               QStringLiteral("aus %1 kW bei ΔT = %2 K folgt kein Volumenstrom; Luftwechsel "
                                              "oder Volumenstrom angeben.")
                                   .arg(figure(*in.load), figure(dT)));
            FlowForCoolingLoad(dT, *in.load, f.flow);
            f.supplyTemp = *in.supplyTemp;
            f.load = loadOfTemperatures(f.flow, f.roomTemp, f.supplyTemp);
            f.derived = CoolingFigures::Flow;
            return f;
        }
        f.flow = *in.flow;
        if (!(f.flow > 0))
            return refused(R::Flow, QStringLiteral("der Volumenstrom ist 0."));
        if (in.supplyTemp) {
            f.supplyTemp = *in.supplyTemp;
            f.load = loadOfTemperatures(f.flow, f.roomTemp, f.supplyTemp);
            f.derived = CoolingFigures::Load;
            if (in.load && std::fabs(f.load - *in.load) > 0.05 * *in.load)
                return refused(
                    R::Flow | R::Load | R::SupplyTemp,
                    QStringLiteral("%1 m³/h mit Zuluft von %2 °C (ΔT = %3 K) führen %4 kW ab, nicht "
                                   "%5 kW (mehr als 5 % Abweichung).")
                        .arg(figure(f.flow), figure(f.supplyTemp), figure(f.dT()), figure(f.load),
                             figure(*in.load)));
            return f;
        }
        if (in.load) {
            double dT = 0;
            FlowForCoolingLoad(f.flow, *in.load, dT); // with the flow in place of ΔT, ΔT
            if (dT > 12)
                return refused(R::Flow | R::Load,
                               QStringLiteral("%1 kW bei %2 m³/h ergeben ΔT = %3 K, mehr als 12 K.")
                                   .arg(figure(*in.load), figure(f.flow), figure(dT)));
            f.load = *in.load;
            f.supplyTemp = stored(static_cast<long double>(f.roomTemp) - dT);
            f.derived = CoolingFigures::SupplyTemp;
            return f;
        }
    } catch (const ArithmeticError&) {
        return refused(R::Flow | R::Load | R::SupplyTemp,
                       QStringLiteral("die Werte ergeben keine endliche Zahl."));
    }
    f.supplyTemp = f.roomTemp;
    f.derived = CoolingFigures::Isothermal;
    return f;
}

QStringList scheduleHeader() {
    QStringList header;
    for (const char* name : kHeader)
        header << QString::fromUtf8(name);
    return header;
}

namespace {

// A CSV's records as a sheet's rows; the header row tells the field separator.
SheetTable csvTable(const QByteArray& bytes) {
    const QString text = decodeSpreadsheetText(bytes);
    SheetTable table;
    for (CsvRecord& rec : splitCsv(text, headerSeparator(text))) {
        SheetRow& row = table.rows.emplace_back();
        row.line = rec.line;
        if (!rec.error.isEmpty())
            row.error = QStringLiteral("Zeile %1: %2.").arg(QString::number(rec.line), rec.error);
        for (QString& field : rec.fields)
            row.cells.push_back(SheetCell{std::move(field), std::nullopt, QString()});
    }
    return table;
}

std::vector<RoomRow> scheduleRows(const SheetTable& table) {
    const QStringList header = scheduleHeader();
    if (table.rows.empty())
        throw FileError(QStringLiteral("Das Raumbuch ist leer; erwartet wird die Kopfzeile %1.")
                            .arg(header.join(QLatin1Char(';'))));
    const bool workbook = !table.sheet.isEmpty();
    const SheetRow& first = table.rows.front();
    QStringList given;
    for (const SheetCell& cell : first.cells) {
        if (!cell.refusal.isEmpty())
            throw FileError(QStringLiteral("%1 (Kopfzeile): %2")
                                .arg(sheetCellName(table.sheet, static_cast<int>(given.size()), first.line),
                                     cell.refusal));
        given << cell.text.trimmed();
    }
    while (workbook && !given.isEmpty() && given.constLast().isEmpty()) // a sheet's row ends anywhere
        given.removeLast();
    // Files written before the comfort category stay valid: the last column may be left out.
    const QStringList required = header.mid(0, ComfortCategory);
    if (given != header && given != required) {
        // Name the headings that differ, so a typing error is found without comparing 20 names.
        QStringList differences;
        const qsizetype compared = std::max(given.size(), required.size());
        for (qsizetype i = 0; i < compared; ++i) {
            const QString got = i < given.size() ? given[i] : QString();
            const QString wanted = i < header.size() ? header[i] : QString();
            if (got == wanted || (i == ComfortCategory && got.isEmpty()))
                continue;
            const QString place = workbook ? sheetCellName(table.sheet, static_cast<int>(i), first.line)
                                           : QStringLiteral("Spalte %1").arg(i + 1);
            differences << (wanted.isEmpty()
                                ? QStringLiteral("%1 '%2' gehört zu keiner Spalte").arg(place, got)
                            : got.isEmpty() ? QStringLiteral("%1 '%2' fehlt").arg(place, wanted)
                                            : QStringLiteral("%1 '%2' statt '%3'").arg(place, got, wanted));
        }
        constexpr qsizetype kNamed = 4;
        if (differences.size() > kNamed)
            differences = differences.mid(0, kNamed) << QStringLiteral("…");
        throw FileError(
            QStringLiteral("%1: die Kopfzeile ist nicht die eines Raumbuchs (%2). Erwartet wird: "
                           "%3, wahlweise gefolgt von %4")
                .arg(workbook ? QStringLiteral("%1, Zeile %2").arg(table.sheet, QString::number(first.line))
                              : QStringLiteral("Zeile %1").arg(first.line),
                     differences.join(QStringLiteral("; ")), required.join(QLatin1Char(';')),
                     header.constLast()));
    }
    const qsizetype columns = given.size();
    const DecimalMark mark = decimalMarkOf(table, columns);
    std::vector<RoomRow> rows;
    for (std::size_t i = 1; i < table.rows.size(); ++i) {
        const SheetRow& rec = table.rows[i];
        // A spreadsheet exports its empty rows as bare separators.
        if (std::all_of(rec.cells.begin(), rec.cells.end(), [](const SheetCell& c) { return c.isEmpty(); }) &&
            rec.error.isEmpty())
            continue;
        RoomRow& row = rows.emplace_back();
        row.line = rec.line;
        if (!rec.cells.empty())
            row.name = rec.cells.front().text.trimmed();
        const RowPlace at{table.sheet, rec.line};
        try {
            if (!rec.error.isEmpty())
                throw RowRefusal{rec.error};
            std::vector<SheetCell> cells = rec.cells;
            if (workbook) {
                // A sheet's row holds its cells up to the last one written; beyond the header's
                // columns none may hold anything.
                for (auto c = static_cast<std::size_t>(columns); c < cells.size(); ++c)
                    if (!cells[c].isEmpty())
                        throw RowRefusal{
                            QStringLiteral("%1: die Zelle liegt rechts der letzten Spalte (%2) und "
                                           "muss leer sein.")
                                .arg(sheetCellName(table.sheet, static_cast<int>(c), rec.line),
                                     given.constLast())};
                cells.resize(static_cast<std::size_t>(columns));
            } else if (static_cast<qsizetype>(cells.size()) != columns) {
                throw RowRefusal{QStringLiteral("Zeile %1: %2 Felder statt %3.")
                                     .arg(QString::number(rec.line), QString::number(cells.size()),
                                          QString::number(columns))};
            }
            readRow(row, at, cells, mark);
        } catch (const RowRefusal& refusal) {
            row.error = refusal.message;
            row.fields.clear();
            row.cooling.reset();
            row.outlet.reset();
        }
    }
    return rows;
}

} // namespace

std::vector<RoomRow> readRoomSchedule(const QByteArray& bytes, QString* notice) {
    if (isZipArchive(bytes)) {
        const SheetTable table = readWorkbook(bytes);
        if (notice != nullptr)
            *notice = table.notice;
        return scheduleRows(table);
    }
    // A compound document is no text either: the workbook format of Excel before 2007, or an
    // .xlsx that Excel or LibreOffice encrypted with a password.
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw FileError(
            QStringLiteral("Die Datei ist eine Arbeitsmappe im alten Excel-Format (.xls) oder eine mit "
                           "Kennwort verschlüsselte Arbeitsmappe; bitte ohne Kennwort als .xlsx, .ods "
                           "oder CSV speichern."));
    return scheduleRows(csvTable(bytes));
}

std::vector<QString> uniqueFileNames(const std::vector<QString>& roomNames) {
    std::vector<QString> names;
    names.reserve(roomNames.size());
    QSet<QString> taken;
    for (const QString& room : roomNames) {
        const QString base = safeFileName(room);
        QString name = base;
        for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
            name = base + QStringLiteral(" (%1)").arg(n);
        taken.insert(name.toCaseFolded());
        names.push_back(name);
    }
    return names;
}

QString failureLine(const RoomRow& row, const RoomOutcome& outcome) {
    switch (outcome.kind) {
    case RoomOutcome::Planned:
        return QString();
    case RoomOutcome::RowRefused:
        return outcome.message;
    case RoomOutcome::PlanningFailed:
    case RoomOutcome::FilesNotWritten:
        break;
    }
    return QStringLiteral("Zeile %1 (%2): %3").arg(QString::number(row.line), row.name, outcome.message);
}

RoomPlan planRoom(const RoomRow& row, const ScheduleContext& context) {
    RoomPlan plan;
    plan.comfortCategory = row.comfortCategory;
    if (!row.error.isEmpty()) {
        plan.outcome = {RoomOutcome::RowRefused, row.error};
        return plan;
    }
    auto rec = std::make_unique<CalculationRecord>();
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    CollectingDialogs dialogs;
    InertShell shell;
    Folders folders;
    folders.program = context.programDir;
    DemoPictures demoPictures;
    MainWindowModel model(
        {{*rec, flags, working, calcStatus, context.texts, dialogs}, shell, folders, demoPictures});

    // The planner's steps; the first that fails ends the room with what the window said.
    const auto step = [&](const std::function<void()>& action) {
        if (!runAction(dialogs, action))
            throw Error(dialogs.messages.isEmpty() ? QStringLiteral("Die Raumdaten wurden nicht übernommen.")
                                                   : dialogs.messages.constLast());
    };
    try {
        step([&] { model.Neu1Click(); });
        // "Raumdaten / Vorgaben" opens the panel with the focus in the air change rate; going to
        // the first field of the schedule leaves it.
        step([&] { model.roomDataCommand(); });
        std::optional<RoomField> focus = model.takeFocusRequest();
        if (focus)
            step([&] { model.enterField(*focus); });
        model.setProjectText(0, singleLineText(row.name)); // a quoted cell may hold a line break
        for (const RoomEntry& entry : row.fields) {
            if (focus && *focus != entry.field)
                step([&, left = *focus] { model.leaveField(left); });
            step([&, f = entry.field] { model.enterField(f); });
            model.setRoomValue(entry.field, entry.text, entry.value);
            step([&, f = entry.field] { model.leaveField(f); });
            focus.reset();
        }
        step([&] { model.weiter(); });
    } catch (const Error& e) {
        plan.outcome = {RoomOutcome::PlanningFailed, e.message()};
        return plan;
    }
    plan.notes = dialogs.messages;

    const Folders selectionFolders = folders;
    CollectingDialogs selectionDialogs;
    RankingOptions options;
    options.targetCategory = row.comfortCategory;
    QStringList skipped;
    options.skipped = [&skipped](const QString& reason) { skipped << reason; };
    try {
        if (row.outlet) {
            plan.result = takeOverChoice(context.catalogue, *rec, context.texts, selectionFolders,
                                         *row.outlet, selectionDialogs, options);
            if (plan.result.designation.isEmpty()) {
                plan.outcome = {RoomOutcome::PlanningFailed, plan.result.reasons.join(QStringLiteral("; "))};
                return plan;
            }
            if (!plan.result.feasible)
                plan.notes << QStringLiteral("nicht geeignet: ") +
                                  plan.result.reasons.join(QStringLiteral("; "));
        } else {
            const std::optional<Suggestion> head =
                bestSuggestion(context.catalogue, *rec, context.texts, selectionFolders, options);
            if (!head) {
                plan.outcome = {RoomOutcome::PlanningFailed,
                                QStringLiteral("Der Katalog bietet keinen berechenbaren Durchlass an.")};
                return plan;
            }
            const Suggestion& best = *head;
            if (!best.feasible) {
                const QString name = best.designation.isEmpty() ? best.choice.size : best.designation;
                plan.outcome = {RoomOutcome::PlanningFailed,
                                QStringLiteral("kein geeigneter Durchlass; am besten %1: %2")
                                    .arg(name, best.reasons.join(QStringLiteral("; ")))};
                return plan;
            }
            plan.result = takeOverChoice(context.catalogue, *rec, context.texts, selectionFolders,
                                         best.choice, selectionDialogs, options);
        }
    } catch (const Error& e) {
        // A damaged catalogue fails this room, not the run: the other rooms go on.
        plan.outcome = {RoomOutcome::PlanningFailed, e.message()};
        return plan;
    }
    skipped.removeDuplicates();
    if (!skipped.isEmpty())
        plan.notes << QStringLiteral("Der Katalog ist nicht ganz lesbar (%1 Fehler, z. B. %2); die Wahl "
                                     "berücksichtigt diese Durchlässe nicht")
                          .arg(skipped.size())
                          .arg(skipped.constFirst());
    plan.notes << selectionDialogs.messages;
    plan.notes.removeDuplicates(); // a message the window shows at every field is one note
    // A figure that is not finite would make the project unreadable and the summary meaningless.
    if (const auto field = firstNonFiniteReal(*rec)) {
        plan.outcome = {RoomOutcome::PlanningFailed,
                        QStringLiteral("Die Auswertung ergibt im Feld %1 keine endliche Zahl.").arg(*field)};
        return plan;
    }
    plan.record = std::move(rec);
    return plan;
}

namespace {

// One line of text, so that the CSV and the workbook hold the same text whatever a name holds.
SummaryCell textCell(const QString& t) {
    return SummaryCell{singleLineText(t), std::nullopt, 0};
}

// Rounded as shown, so that the workbook holds the number the CSV shows.
SummaryCell numberCell(std::optional<double> v, int decimals) {
    if (!v || !std::isfinite(*v))
        return SummaryCell{};
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(*v * scale) / scale;
    return SummaryCell{QString(), rounded == 0.0 ? 0.0 : rounded, decimals};
}

bool isSlotOutlet(const CalculationRecord& rec) {
    return rec.designCode.str() != QLatin1String("0");
}

// The summary's figures of a planned room, between its name and its notes: one table for the
// header and the rows, so that they cannot drift apart.
struct SummaryColumn {
    const char* name;
    SummaryCell (*cell)(const Suggestion& s, const CalculationRecord& rec);
};
const SummaryColumn kSummaryColumns[] = {
    {"Typ", [](const Suggestion& s, const CalculationRecord&) { return textCell(s.choice.type); }},
    {"Größe", [](const Suggestion& s, const CalculationRecord&) { return textCell(s.choice.size); }},
    {"Strahlform",
     [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.choice.jetForm, 0); }},
    {"Bezeichnung", [](const Suggestion& s, const CalculationRecord&) { return textCell(s.designation); }},
    {"Anzahl", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.count, 0); }},
    {"Anordnung",
     [](const Suggestion& s, const CalculationRecord&) {
         return s.layout ? textCell(layoutText(*s.layout)) : SummaryCell{};
     }},
    // Slot outlets are rated per metre of their active length; a whole outlet carries that length.
    {"Volumenstrom je Durchlass",
     [](const Suggestion& s, const CalculationRecord& rec) {
         return numberCell(isSlotOutlet(rec) ? stored(static_cast<long double>(s.flowPerOutlet) *
                                                      rec.effectiveLength / 1000.0L)
                                             : s.flowPerOutlet,
                           2);
     }},
    {"Volumenstrom je m Schlitz",
     [](const Suggestion& s, const CalculationRecord& rec) {
         return isSlotOutlet(rec) ? numberCell(s.flowPerOutlet, 2) : SummaryCell{};
     }},
    {"Betrieb",
     [](const Suggestion&, const CalculationRecord& rec) {
         const double dT = stored(static_cast<long double>(rec.roomTemp) - rec.supplyTemp);
         return textCell(dT > 0   ? QStringLiteral("Kühlen")
                         : dT < 0 ? QStringLiteral("Heizen")
                                  : QStringLiteral("isotherm"));
     }},
    {"Kühllast",
     [](const Suggestion&, const CalculationRecord& rec) { return numberCell(rec.coolingLoad, 3); }},
    {"ΔT",
     [](const Suggestion&, const CalculationRecord& rec) {
         return numberCell(stored(static_cast<long double>(rec.roomTemp) - rec.supplyTemp), 2);
     }},
    {"Zulufttemperatur",
     [](const Suggestion&, const CalculationRecord& rec) { return numberCell(rec.supplyTemp, 2); }},
    {"dp", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.dp, 1); }},
    {"LWA", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.lwa, 1); }},
    {"a min", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.aMin, 2); }},
    {"w min", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.wMin, 2); }},
    {"x-krit", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.xKrit, 2); }},
    {"y max", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.yMax, 2); }},
    {"vk", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.vMid, 2); }},
    {"DR", [](const Suggestion& s, const CalculationRecord&) { return numberCell(s.draughtRating, 1); }},
    {"Kategorie", [](const Suggestion& s, const CalculationRecord&) { return textCell(s.draughtCategory); }},
};

} // namespace

QStringList summaryHeader() {
    QStringList header{QStringLiteral("Raum")};
    for (const SummaryColumn& c : kSummaryColumns)
        header << QString::fromUtf8(c.name);
    return header << QStringLiteral("Hinweise");
}

SummaryRow summaryRow(const QString& roomName, const RoomPlan& plan) {
    SummaryRow row{textCell(roomName)};
    for (const SummaryColumn& c : kSummaryColumns)
        row.push_back(plan.planned() ? c.cell(plan.result, *plan.record) : SummaryCell{});
    row.push_back(textCell(plan.planned() ? plan.notes.join(QStringLiteral("; ")) : plan.outcome.message));
    return row;
}

QByteArray summaryCsv(const std::vector<SummaryRow>& rows) {
    QString out = csvLine(summaryHeader());
    for (const SummaryRow& row : rows) {
        QStringList fields;
        for (const SummaryCell& cell : row) {
            if (cell.number) {
                fields << numbers::formatFixed(*cell.number, 15, cell.decimals);
            } else {
                // A spreadsheet would run a text beginning like a formula as one; a lone "-" (no
                // draught category) is no formula.
                const bool formulaLike =
                    !cell.text.isEmpty() &&
                    (QStringLiteral("=@\t\r").contains(cell.text[0]) ||
                     (cell.text.size() > 1 && QStringLiteral("+-").contains(cell.text[0])));
                fields << (formulaLike ? QLatin1Char('\'') + cell.text : cell.text);
            }
        }
        out += csvLine(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace fyl
