// Reading room schedules, planning their rooms, naming their files and the summary. Core layer
// (fylcore), above the main window's model.
#include "schedule/roomschedule.h"

#include "frame/csv.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/recordfields.h"
#include "frame/runstate.h"
#include "frame/shell.h"

#include <QSet>

#include <cmath>
#include <functional>

namespace fyl {

using namespace schedule;

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
                                          "Rohr"};

// The room columns in their order, with the field the planner types each into and the values a
// room can have: `positive` refuses zero and less, otherwise only less than zero is refused.
struct RoomColumn {
    Column column;
    RoomField field;
    enum { Positive, NotNegative, Any } range;
};
constexpr RoomColumn kRoomColumns[] = {
    {Width, RoomField::Width, RoomColumn::Positive},
    {Length, RoomField::Length, RoomColumn::Positive},
    {Height, RoomField::Height, RoomColumn::Positive},
    {AirChangeRate, RoomField::AirChangeRate, RoomColumn::Positive},
    {VolumeFlow, RoomField::VolumeFlow, RoomColumn::Positive},
    {CoolingLoad, RoomField::CoolingLoad, RoomColumn::NotNegative},
    {RoomTemp, RoomField::RoomTemperature, RoomColumn::Any},
    {SupplyTemp, RoomField::SupplyTemperature, RoomColumn::Any},
    {HeadHeight, RoomField::HeadHeight, RoomColumn::NotNegative},
    {MountingHeight, RoomField::MountingHeight, RoomColumn::NotNegative},
    {AirVelocity, RoomField::VelocityLimit, RoomColumn::Positive},
    {SoundPower, RoomField::MaxSoundPowerLevel, RoomColumn::Positive},
};

QString columnName(int column) {
    return QString::fromUtf8(kHeader[column]);
}

// "Zeile 7, Spalte 4 (Höhe): …"
struct RowRefusal {
    QString message;
};
[[noreturn]] void refuse(int line, int column, const QString& what) {
    throw RowRefusal{QStringLiteral("Zeile %1, Spalte %2 (%3): %4")
                         .arg(QString::number(line), QString::number(column + 1), columnName(column), what)};
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

void readRow(RoomRow& row, const QStringList& cells) {
    const int line = row.line;
    row.name = cells[Room].trimmed();
    if (row.name.isEmpty())
        refuse(line, Room, QStringLiteral("der Raum hat keinen Namen."));
    const bool rate = !cells[AirChangeRate].trimmed().isEmpty();
    const bool flow = !cells[VolumeFlow].trimmed().isEmpty();
    if (rate == flow)
        throw RowRefusal{QStringLiteral("Zeile %1, Spalten 5 und 6 (Luftwechsel, Volumenstrom): %2")
                             .arg(QString::number(line), rate
                                                             ? QStringLiteral("nur eines von beiden angeben.")
                                                             : QStringLiteral("eines von beiden fehlt."))};
    for (const RoomColumn& c : kRoomColumns) {
        const QString text = cells[c.column].trimmed();
        if (text.isEmpty()) {
            if (c.column == AirChangeRate || c.column == VolumeFlow)
                continue;
            refuse(line, c.column, QStringLiteral("der Wert fehlt."));
        }
        const long double value = cellNumber(line, c.column, text);
        if (c.range == RoomColumn::Positive && !(value > 0))
            refuse(line, c.column, QStringLiteral("'%1' muss größer als 0 sein.").arg(text));
        if (c.range == RoomColumn::NotNegative && value < 0)
            refuse(line, c.column, QStringLiteral("'%1' darf nicht negativ sein.").arg(text));
        row.fields.emplace_back(c.field, text);
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

bool isDeviceName(const QString& name) {
    // Windows takes the part before the first dot, blanks before it ignored, as the device.
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList devices{QStringLiteral("CON"),    QStringLiteral("PRN"),
                                     QStringLiteral("AUX"),    QStringLiteral("NUL"),
                                     QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (devices.contains(base))
        return true;
    if (base.size() == 4 &&
        (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))) {
        const QChar d = base[3];
        // COM¹ … LPT³ are devices too.
        return (d >= QLatin1Char('1') && d <= QLatin1Char('9')) || d == QChar(0x00B9) || d == QChar(0x00B2) ||
               d == QChar(0x00B3);
    }
    return false;
}

// Room names are cut to this many characters: with " (1234)" and ".zol" even a name of
// three-byte characters stays below the 255 bytes most file systems allow.
constexpr int kMaxNameLength = 64;

QString cutName(QString name) {
    if (name.size() > kMaxNameLength) {
        int cut = kMaxNameLength;
        if (name[cut - 1].isHighSurrogate())
            --cut;
        name.truncate(cut);
    }
    while (!name.isEmpty() && (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' '))))
        name.chop(1);
    return name;
}

} // namespace

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
    if (given != header)
        throw FileError(
            QStringLiteral("Zeile %1: die Kopfzeile ist nicht die eines Raumbuchs. Erwartet wird: %2")
                .arg(QString::number(records.front().line), header.join(QLatin1Char(';'))));
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
            if (rec.fields.size() != ColumnCount)
                throw RowRefusal{QStringLiteral("Zeile %1: %2 Felder statt %3.")
                                     .arg(QString::number(rec.line), QString::number(rec.fields.size()),
                                          QString::number(ColumnCount))};
            readRow(row, rec.fields);
        } catch (const RowRefusal& refusal) {
            row.error = refusal.message;
            row.fields.clear();
            row.outlet.reset();
        }
    }
    return rows;
}

QString safeFileName(const QString& roomName) {
    QString name;
    name.reserve(roomName.size());
    for (const QChar c : roomName) {
        const char16_t u = c.unicode();
        const bool forbidden = u < 0x20 || u == 0x7F || QStringLiteral("<>:\"/\\|?*").contains(c);
        name += forbidden ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    name = cutName(name);
    if (name.isEmpty())
        return QStringLiteral("Raum");
    if (isDeviceName(name))
        name.prepend(QLatin1Char('_'));
    return name;
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
        model.setProjectText(0, row.name);
        for (const auto& [field, text] : row.fields) {
            if (focus && *focus != field)
                step([&, left = *focus] { model.leaveField(left); });
            step([&, f = field] { model.enterField(f); });
            model.setRoomText(field, text);
            step([&, f = field] { model.leaveField(f); });
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
    if (row.outlet) {
        plan.result = takeOverChoice(context.catalogue, *rec, context.texts, selectionFolders, *row.outlet,
                                     selectionDialogs);
        if (plan.result.designation.isEmpty()) {
            plan.outcome = {RoomOutcome::PlanningFailed, plan.result.reasons.join(QStringLiteral("; "))};
            return plan;
        }
        if (!plan.result.feasible)
            plan.notes << QStringLiteral("nicht geeignet: ") + plan.result.reasons.join(QStringLiteral("; "));
    } else {
        const std::optional<Suggestion> head =
            bestSuggestion(context.catalogue, *rec, context.texts, selectionFolders);
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
        plan.result = takeOverChoice(context.catalogue, *rec, context.texts, selectionFolders, best.choice,
                                     selectionDialogs);
    }
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

QStringList summaryHeader() {
    return QStringList{QStringLiteral("Raum"),
                       QStringLiteral("Typ"),
                       QStringLiteral("Größe"),
                       QStringLiteral("Strahlform"),
                       QStringLiteral("Bezeichnung"),
                       QStringLiteral("Anzahl"),
                       QStringLiteral("Volumenstrom je Durchlass"),
                       QStringLiteral("dp"),
                       QStringLiteral("LWA"),
                       QStringLiteral("a min"),
                       QStringLiteral("w min"),
                       QStringLiteral("x-krit"),
                       QStringLiteral("y max"),
                       QStringLiteral("vk"),
                       QStringLiteral("DR"),
                       QStringLiteral("Kategorie"),
                       QStringLiteral("Hinweise")};
}

SummaryRow summaryRow(const QString& roomName, const RoomPlan& plan) {
    const auto text = [](const QString& t) { return SummaryCell{t, std::nullopt, 0}; };
    // Rounded as shown, so that the workbook holds the number the CSV shows.
    const auto number = [](std::optional<double> v, int decimals) {
        if (!v || !std::isfinite(*v))
            return SummaryCell{};
        const double scale = std::pow(10.0, decimals);
        const double rounded = std::round(*v * scale) / scale;
        return SummaryCell{QString(), rounded == 0.0 ? 0.0 : rounded, decimals};
    };
    if (!plan.planned())
        return SummaryRow{text(roomName),
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          text(plan.outcome.message)};
    const Suggestion& s = plan.result;
    return SummaryRow{text(roomName),
                      text(s.choice.type),
                      text(s.choice.size),
                      number(s.choice.jetForm, 0),
                      text(s.designation),
                      number(s.count, 0),
                      number(s.shownFlow, 2),
                      number(s.dp, 1),
                      number(s.lwa, 1),
                      number(s.aMin, 2),
                      number(s.wMin, 2),
                      number(s.xKrit, 2),
                      number(s.yMax, 2),
                      number(s.vMid, 2),
                      number(s.draughtRating, 1),
                      text(s.draughtCategory),
                      text(plan.notes.join(QStringLiteral("; ")))};
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
