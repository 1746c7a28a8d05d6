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
#include "frame/shell.h"

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
};
constexpr RoomColumn kRoomColumns[] = {
    {Width, RoomField::Width, RoomColumn::Positive, true},
    {Length, RoomField::Length, RoomColumn::Positive, true},
    {Height, RoomField::Height, RoomColumn::Positive, true},
    {AirChangeRate, RoomField::AirChangeRate, RoomColumn::Positive, false},
    {VolumeFlow, RoomField::VolumeFlow, RoomColumn::Positive, false},
    {CoolingLoad, RoomField::CoolingLoad, RoomColumn::NotNegative, false},
    {RoomTemp, RoomField::RoomTemperature, RoomColumn::Any, true},
    {SupplyTemp, RoomField::SupplyTemperature, RoomColumn::Any, false},
    {HeadHeight, RoomField::HeadHeight, RoomColumn::NotNegative, true},
    {MountingHeight, RoomField::MountingHeight, RoomColumn::NotNegative, true},
    {AirVelocity, RoomField::VelocityLimit, RoomColumn::Positive, true},
    {SoundPower, RoomField::MaxSoundPowerLevel, RoomColumn::Positive, true},
};

QString columnName(int column) {
    return QString::fromUtf8(kHeader[column]);
}

// "Zeile 7, Spalte 4 (Höhe): …", "Zeile 7, Spalten 8 und 9 (Raumtemperatur, Zulufttemperatur): …"
struct RowRefusal {
    QString message;
};
[[noreturn]] void refuse(int line, const std::vector<int>& columns, const QString& what) {
    QStringList places, names;
    for (const int column : columns) {
        places << QString::number(column + 1);
        names << columnName(column);
    }
    const QString last = places.takeLast();
    const QString place =
        places.isEmpty() ? QStringLiteral("Spalte %1").arg(last)
                         : QStringLiteral("Spalten %1 und %2").arg(places.join(QStringLiteral(", ")), last);
    throw RowRefusal{QStringLiteral("Zeile %1, %2 (%3): %4")
                         .arg(QString::number(line), place, names.join(QStringLiteral(", ")), what)};
}
[[noreturn]] void refuse(int line, int column, const QString& what) {
    refuse(line, std::vector<int>{column}, what);
}

// A number as the schedule gives it: decimal comma, blanks around allowed. A point is refused, since
// a German spreadsheet writes it only as a thousands separator ("1.200" is not 1,2).
long double cellNumber(int line, int column, const QString& text) {
    if (text.contains(QLatin1Char('.')))
        refuse(line, column,
               QStringLiteral("'%1' ist keine Zahl mit Dezimalkomma (ohne Tausenderpunkt).").arg(text));
    long double value = 0;
    try {
        value = numbers::parseReal(text);
    } catch (const ConversionError&) {
        refuse(line, column, QStringLiteral("'%1' ist keine Zahl.").arg(text));
    }
    if (!std::isfinite(value) || std::fabs(value) > 1e9L)
        refuse(line, column, QStringLiteral("'%1' liegt außerhalb jedes sinnvollen Bereichs.").arg(text));
    return value;
}

int cellInteger(int line, int column, const QString& text) {
    try {
        const int value = numbers::parseInt(text);
        if (value < 1)
            refuse(line, column, QStringLiteral("'%1' ist keine positive ganze Zahl.").arg(text));
        return value;
    } catch (const ConversionError&) {
        refuse(line, column, QStringLiteral("'%1' ist keine ganze Zahl.").arg(text));
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

void readRow(RoomRow& row, const QStringList& cells) {
    const int line = row.line;
    row.name = cells[Room].trimmed();
    if (row.name.isEmpty())
        refuse(line, Room, QStringLiteral("der Raum hat keinen Namen."));
    const QString rateText = cells[AirChangeRate].trimmed(), flowText = cells[VolumeFlow].trimmed();
    if (!rateText.isEmpty() && !flowText.isEmpty())
        refuse(line, {AirChangeRate, VolumeFlow}, QStringLiteral("nur eines von beiden angeben."));
    std::optional<double> value[ColumnCount];
    for (const RoomColumn& c : kRoomColumns) {
        const QString text = cells[c.column].trimmed();
        if (text.isEmpty()) {
            if (c.required)
                refuse(line, c.column, QStringLiteral("der Wert fehlt."));
            continue;
        }
        const long double v = cellNumber(line, c.column, text);
        if (c.range == RoomColumn::Positive && !(v > 0))
            refuse(line, c.column, QStringLiteral("'%1' muss größer als 0 sein.").arg(text));
        if (c.range == RoomColumn::NotNegative && v < 0)
            refuse(line, c.column, QStringLiteral("'%1' darf nicht negativ sein.").arg(text));
        value[c.column] = stored(v); // as the window's field holds it
    }

    CoolingCells given{value[VolumeFlow], value[CoolingLoad], *value[RoomTemp], value[SupplyTemp]};
    if (value[AirChangeRate])
        given.flow = flowOfRate(*value[Width], *value[Length], *value[Height], *value[AirChangeRate]);
    const auto figures = coolingFigures(given);
    if (const auto* refusal = std::get_if<CoolingRefusal>(&figures)) {
        std::vector<int> columns;
        if (refusal->cells & CoolingRefusal::Flow) {
            if (!rateText.isEmpty() || flowText.isEmpty()) // neither given: both are meant
                columns.push_back(AirChangeRate);
            if (rateText.isEmpty())
                columns.push_back(VolumeFlow);
        }
        for (const auto& [cell, column] :
             {std::pair{CoolingRefusal::Load, CoolingLoad}, std::pair{CoolingRefusal::RoomTemp, RoomTemp},
              std::pair{CoolingRefusal::SupplyTemp, SupplyTemp}})
            if (refusal->cells & cell)
                columns.push_back(column);
        refuse(line, columns, refusal->message);
    }
    const CoolingFigures& cooling = std::get<CoolingFigures>(figures);
    row.cooling = cooling;

    // The fields as a planner fills them so that the window keeps the rule's figures: the
    // temperatures, then a given cooling load, from which the window derives the supply
    // temperature just as the rule did; a load the rule derived the window computes itself on
    // leaving the supply temperature.
    for (const RoomColumn& c : kRoomColumns) {
        const QString text = cells[c.column].trimmed();
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
                row.fields.push_back({RoomField::CoolingLoad, cells[CoolingLoad].trimmed(), cooling.load});
            } else if (value[c.column]) {
                row.fields.push_back({c.field, text, *value[c.column]});
            } else { // isothermal: the supply air at room temperature
                row.fields.push_back({c.field, cells[RoomTemp].trimmed(), cooling.roomTemp});
            }
            break;
        default:
            if (value[c.column])
                row.fields.push_back({c.field, text, *value[c.column]});
            break;
        }
    }

    if (cells.size() > ComfortCategory) {
        const QString category = cells[ComfortCategory].trimmed();
        if (category.size() > 1 || (category.size() == 1 && !QStringLiteral("ABC").contains(category[0])))
            refuse(line, ComfortCategory,
                   QStringLiteral("'%1' ist keine Komfortkategorie (A, B oder C; leer: B).").arg(category));
        if (!category.isEmpty())
            row.comfortCategory = category[0];
    }

    if (cells[Type].trimmed().isEmpty()) {
        for (int column = Size; column <= Tube; ++column)
            if (!cells[column].trimmed().isEmpty())
                refuse(
                    line, column,
                    QStringLiteral("ohne Typ wird der Durchlass vorgeschlagen; die Zelle muss leer sein."));
        return;
    }
    OutletChoice choice;
    choice.type = cells[Type].trimmed();
    choice.size = cells[Size].trimmed();
    if (choice.size.isEmpty())
        refuse(line, Size, QStringLiteral("zum Typ fehlt die Größe."));
    if (cells[JetForm].trimmed().isEmpty())
        refuse(line, JetForm, QStringLiteral("zum Typ fehlt die Strahlform."));
    choice.jetForm = cellInteger(line, JetForm, cells[JetForm].trimmed());
    if (const QString t = cells[SlotLength].trimmed(); !t.isEmpty()) {
        choice.length = cellNumber(line, SlotLength, t);
        if (!(*choice.length > 0))
            refuse(line, SlotLength, QStringLiteral("'%1' muss größer als 0 sein.").arg(t));
    }
    if (const QString t = cells[SlotCount].trimmed(); !t.isEmpty())
        choice.slotCount = cellInteger(line, SlotCount, t);
    if (const QString t = cells[Tube].trimmed(); !t.isEmpty()) {
        choice.tube = cellNumber(line, Tube, t);
        if (!(*choice.tube > 0))
            refuse(line, Tube, QStringLiteral("'%1' muss größer als 0 sein.").arg(t));
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
            if (dT < 0)
                return refused(R::RoomTemp | R::SupplyTemp,
                               QStringLiteral("die Zuluft ist wärmer als der Raum (ΔT = %1 K); geplant wird "
                                              "gekühlte oder isotherme Zuluft.")
                                   .arg(figure(dT)));
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

std::vector<RoomRow> readRoomSchedule(const QByteArray& bytes) {
    const std::vector<CsvRecord> records = splitCsv(decodeSpreadsheetText(bytes));
    const QStringList header = scheduleHeader();
    if (records.empty())
        throw FileError(QStringLiteral("Das Raumbuch ist leer; erwartet wird die Kopfzeile %1.")
                            .arg(header.join(QLatin1Char(';'))));
    QStringList given;
    for (const QString& f : records.front().fields)
        given << f.trimmed();
    // Files written before the comfort category stay valid: the last column may be left out.
    const QStringList required = header.mid(0, ComfortCategory);
    if (given != header && given != required)
        throw FileError(
            QStringLiteral("Zeile %1: die Kopfzeile ist nicht die eines Raumbuchs. Erwartet wird: "
                           "%2, wahlweise gefolgt von %3")
                .arg(QString::number(records.front().line), required.join(QLatin1Char(';')),
                     header.constLast()));
    const qsizetype columns = given.size();
    std::vector<RoomRow> rows;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& rec = records[i];
        // A spreadsheet exports its empty rows as bare separators.
        if (std::all_of(rec.fields.begin(), rec.fields.end(),
                        [](const QString& f) { return f.trimmed().isEmpty(); }) &&
            rec.error.isEmpty())
            continue;
        RoomRow& row = rows.emplace_back();
        row.line = rec.line;
        if (!rec.fields.isEmpty())
            row.name = rec.fields.constFirst().trimmed();
        try {
            if (!rec.error.isEmpty())
                throw RowRefusal{QStringLiteral("Zeile %1: %2.").arg(QString::number(rec.line), rec.error)};
            if (rec.fields.size() != columns)
                throw RowRefusal{QStringLiteral("Zeile %1: %2 Felder statt %3.")
                                     .arg(QString::number(rec.line), QString::number(rec.fields.size()),
                                          QString::number(columns))};
            readRow(row, rec.fields);
        } catch (const RowRefusal& refusal) {
            row.error = refusal.message;
            row.fields.clear();
            row.cooling.reset();
            row.outlet.reset();
        }
    }
    return rows;
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
