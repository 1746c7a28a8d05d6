// The main window without widgets: room data actions, "weiter", panels, the record in and out,
// attachments and the project commands. Core layer (fylcore), above the other core folders.
#include "room/mainwindowmodel.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/errors.h"
#include "frame/expression.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "results/outletresults.h"
#include "results/planningcopy.h"
#include "room/mainwindowcontent.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace fyl {

using enum RoomField;
using arith::divide;
using arith::sqrtOf;
using arith::stored;
using numbers::formatFixed;
using ld = long double;

namespace {

const QString kTitlePrefix = QStringLiteral("ZELKFYL      Projekt: ");
constexpr int kMaxAttachments = 20;

QString fileNamePartOf(const QString& path) {
    return fileNamePart(path);
}

std::size_t indexOf(RoomField f) {
    return static_cast<std::size_t>(f);
}

QString normalised(QString text) {
    return text.replace(QLatin1Char('.'), numbers::decimalSeparator());
}

// A room field holds what the record stores, so a loaded project computes as the saved one did.
// A value beyond the record's range stays as it is: storing it refuses it where it always did.
ld recordPrecision(ld value) {
    return std::fabs(value) <= std::numeric_limits<double>::max() ? ld(static_cast<double>(value)) : value;
}

// Values derived from each other (flow and air change rate at a volume, volume and floor area at
// a height, supply temperature and cooling load) are rounded to the record's precision, so that
// deriving one back from the other can miss the value it came from in its last digit. A field
// whose value already gives back the value it would be derived from keeps it: leaving a field
// unchanged changes no figure.
bool givesBack(ld derivedBack, ld source) {
    return recordPrecision(derivedBack) == source;
}

} // namespace

std::optional<long double> MainWindowState::writtenValue(RoomField field) const {
    const Written& w = written[indexOf(field)];
    if (w.valid && normalised(room[indexOf(field)]) == normalised(w.text))
        return w.value;
    return std::nullopt;
}

long double MainWindowState::roomValue(RoomField field) const {
    if (const auto value = writtenValue(field))
        return *value;
    return recordPrecision(numbers::parseReal(room[indexOf(field)]));
}

void MainWindowState::writeRoom(RoomField field, const QString& text, long double value) {
    room[indexOf(field)] = text;
    written[indexOf(field)] = {text, recordPrecision(value), true};
}

// One action's copies of everything it may change; they replace the originals only when the
// action ends without an error.
struct MainWindowModel::Work : PlanningCopy {
    Work(const MainWindowParts& p, const MainWindowState& state)
        : PlanningCopy(p), s(state), texts(p.texts), dialogs(p.dialogs), shell(p.shell), folders(p.folders) {}

    MainWindowState s;
    const TextTable& texts;
    Dialogs& dialogs;
    Shell& shell;
    const Folders& folders;
    MainWindowOutcome out;

    const QString& field(RoomField f) const { return s.room[indexOf(f)]; }
    // NormaliseDecimal: a typed point becomes the decimal separator.
    void normalise(RoomField f) { s.room[indexOf(f)] = normalised(field(f)); }
    // ReadEditNumber: the field's value; a text that is not a number ends the action.
    ld number(RoomField f) const { return s.roomValue(f); }
    std::optional<ld> numberIfAny(RoomField f) const {
        try {
            return number(f);
        } catch (const ConversionError&) {
            return std::nullopt;
        }
    }
    void write(RoomField f, const QString& text, ld value) { s.writeRoom(f, text, value); }
    void put(RoomField f, ld value, int precision, int decimals) {
        write(f, formatFixed(value, precision, decimals), value);
    }
    // A value derived from others; the field keeps a value of its own that `keeps` accepts.
    template <class Keeps> void derive(RoomField f, ld value, int precision, int decimals, Keeps keeps) {
        if (const std::optional<ld> held = numberIfAny(f); held && keeps(*held))
            value = *held;
        put(f, value, precision, decimals);
    }
    void show(int entry) { showText(texts, dialogs, entry); }
    bool ask(int entry) { return askText(texts, dialogs, entry); }
    EvaluationParts evaluationParts() { return PlanningCopy::evaluationParts(texts); }
};

template <class Action> auto MainWindowModel::transaction(Action action) {
    auto w = std::make_unique<Work>(parts_, state_);
    w->s.focus.reset();
    action(*w); // an error leaves here, before anything is stored
    state_ = w->s;
    w->storeInto(parts_);
    return w->out;
}

namespace {

using Work = MainWindowModel::Work;

// A room size changed after the project was begun: "weiter" waits for the room data command.
void sizeChanged(Work& w) {
    if (!w.flags.freshProject) {
        w.s.continueEnabled = false;
        w.show(198);
    }
}

// The area and volume fields take arithmetic; the value is written back five characters wide. A
// text the program wrote is not evaluated again: it is the value rounded.
ld evaluatedField(Work& w, RoomField f) {
    ld value = 0.0L;
    if (const auto written = w.s.writtenValue(f)) {
        value = *written;
    } else {
        QString text = w.field(f);
        float result = 0.0f;
        int status = 0;
        if (ExpressionEvaluator(text, result, 5, 2, status) != 0)
            result = 0.0f;
        value = result;
    }
    w.write(f, normalised(numbers::formatWidth(value, 5, 2)), value);
    return w.number(f);
}

// The volume flow that volume and air change rate give; a flow whose rate at this volume is that
// rate already stays.
void putFlow(Work& w, ld volume, ld rate, int precision, int decimals) {
    w.derive(VolumeFlow, volume * rate, precision, decimals,
             [&](ld flow) { return volume != 0.0L && givesBack(flow / volume, rate); });
}

// The volume flow from volume and air change rate, in whole m³/h.
void deriveFlowFromAirChange(Work& w) {
    const ld volume = w.number(Volume);
    putFlow(w, volume, w.number(AirChangeRate), 6, 0);
}

// Floor area or room height left: the volume from both, and the flow it carries.
void deriveVolumeFromArea(Work& w) {
    const ld area = evaluatedField(w, FloorArea);
    w.normalise(Height);
    if (w.s.areaInput) {
        const ld side = sqrtOf(area);
        w.put(Width, side, 6, 2);
        w.put(Length, side, 6, 2);
    }
    const ld height = w.number(Height);
    if (w.number(MountingHeight) > height)
        w.write(MountingHeight, w.field(Height), height);
    w.derive(Volume, area * height, 6, 2,
             [&](ld volume) { return height != 0.0L && givesBack(volume / height, area); });
    if (area != ld(w.s.snapshot.area) || height != ld(w.s.snapshot.height))
        sizeChanged(w);
    const ld volume = w.number(Volume);
    putFlow(w, volume, w.number(AirChangeRate), 6, 2);
}

// Volume left: the floor area at the room height, and the flow.
void deriveAreaFromVolume(Work& w) {
    const ld volume = evaluatedField(w, Volume);
    const ld height = w.number(Height);
    w.derive(FloorArea, divide(volume, height), 6, 2,
             [&](ld area) { return givesBack(area * height, volume); });
    deriveFlowFromAirChange(w);
    if (volume != ld(w.s.snapshot.volume))
        sizeChanged(w);
}

// Width or length left: floor area and volume; the volume flow is left as it was.
void deriveAreaAndVolume(Work& w, RoomField left) {
    if (left == Width) {
        w.normalise(Width);
        w.normalise(Length);
    } else {
        w.normalise(Length);
        w.normalise(Width);
    }
    w.put(FloorArea, w.number(Width) * w.number(Length), 6, 2);
    // From the area as the field holds it, as leaving the height computes the volume.
    w.put(Volume, w.number(FloorArea) * w.number(Height), 6, 2);
    w.rec.dimensionsEntered = 1;
    const ld value = w.number(left);
    if (value != ld(left == Width ? w.s.snapshot.width : w.s.snapshot.length))
        sizeChanged(w);
}

void StoreWindow(const MainWindowState& s, CalculationRecord& rec);

// G: "weiter".
void continueStep(Work& w) {
    StoreWindow(w.s, w.rec);
    if (w.rec.calculationMode) {
        w.out.showCalculation = true;
        w.out.closeFlowSimulation = true;
        if (w.flags.loadedWithResults) {
            w.out.results = ShowOutletResults(w.evaluationParts());
        } else {
            if (w.rec.verticalJet) {
                ResultsView view = EvaluateVerticalJet(w.evaluationParts());
                view.form3.setVisible(form3::GroupBox2, true);
                view.form3.setVisible(form3::GroupBox1, false);
                w.out.results = view;
            }
            if (w.rec.horizontalJet) {
                ResultsView view = EvaluateHorizontalJet(w.evaluationParts());
                view.form3.setVisible(form3::GroupBox1, true);
                view.form3.setVisible(form3::GroupBox2, false);
                w.out.results = view;
            }
        }
    } else {
        w.out.showSelection = true;
    }
    w.rec.continueUsed = 1;
}

// R: in calculation mode every room value re-runs the evaluation at once.
void recalculate(Work& w) {
    if (w.rec.calculationMode)
        continueStep(w);
}

// Cooling load left (and after a new flow): the supply temperature from the load and the flow.
void deriveSupplyTemperature(Work& w) {
    if (w.field(CoolingLoad).isEmpty()) {
        recalculate(w);
        return;
    }
    w.normalise(CoolingLoad);
    const double load = stored(w.number(CoolingLoad));
    const double flow = stored(w.number(VolumeFlow));
    const ld roomTemp = w.number(RoomTemperature);
    double dT = w.working.dT;
    w.calcStatus = FlowForCoolingLoad(flow, load, dT);
    // Without a volume flow there is no temperature difference; an old one would set a supply
    // temperature that belongs to another room state, so the supply temperature stays.
    if (w.calcStatus == 0) {
        w.working.dT = dT;
        bool newSupply = true;
        if (dT > 12.0 && w.ask(171)) {
            w.put(CoolingLoad, w.rec.coolingLoad, 4, 1);
            newSupply = false;
        }
        if (newSupply) {
            // A supply temperature from which this cooling load was computed at this flow stays.
            const auto keeps = [&](ld supply) {
                const ld difference = recordPrecision(roomTemp - supply);
                if (!(supply < roomTemp && difference >= 0.05L &&
                      difference <= std::numeric_limits<double>::max()))
                    return false;
                double back = 0.0;
                try {
                    CoolingLoadForFlow(static_cast<double>(difference), flow, back);
                } catch (const ArithmeticError&) {
                    return false;
                }
                return back == load;
            };
            w.derive(SupplyTemperature, stored(roomTemp - dT), 4, 1, keeps);
            w.rec.supplyTemp = stored(w.number(SupplyTemperature));
        }
    }
    recalculate(w);
}

// Room or supply temperature left: the cooling load that the new temperatures carry away.
void deriveCoolingLoad(Work& w, RoomField left) {
    w.normalise(left);
    const double snapshot = left == RoomTemperature ? w.s.snapshot.roomTemp : w.s.snapshot.supplyTemp;
    if (w.number(left) != ld(snapshot)) {
        const ld supply = w.number(SupplyTemperature);
        const ld room = w.number(RoomTemperature);
        const double flow = stored(w.number(VolumeFlow));
        if (supply >= room) {
            const bool isZero =
                w.field(CoolingLoad).trimmed().isEmpty() || w.numberIfAny(CoolingLoad) == 0.0L;
            if (!isZero)
                w.show(178);
            w.write(CoolingLoad, QStringLiteral("0"), 0.0L);
        } else {
            w.show(179);
            const double d = stored(room - supply);
            double load = 0.0;
            if (ld(d) >= 0.05L)
                w.calcStatus = CoolingLoadForFlow(d, flow, load);
            if (load < 0.0) {
                w.show(180);
                load = 0.0;
            }
            w.put(CoolingLoad, load, 5, 1);
        }
    }
    recalculate(w);
}

// The window's texts are written with zeros after their length, so a shorter text or a removed
// attachment leaves nothing of the old one in a saved file.
void StoreWindow(const MainWindowState& s, CalculationRecord& rec) {
    auto value = [&s](RoomField f) { return stored(s.roomValue(f)); };
    rec.roomWidth = value(Width);
    rec.roomLength = value(Length);
    rec.roomHeight = value(Height);
    rec.floorArea = value(FloorArea);
    rec.roomVolume = value(Volume);
    rec.airChangeRate = value(AirChangeRate);
    rec.totalFlow = value(VolumeFlow);
    rec.velocityLimit = value(VelocityLimit);
    rec.headHeight = value(HeadHeight);
    rec.mountingHeight = value(MountingHeight);
    rec.coolingLoad = value(CoolingLoad);
    rec.roomTemp = value(RoomTemperature);
    rec.supplyTemp = value(SupplyTemperature);
    rec.maxSoundLevel = value(MaxSoundPowerLevel);
    rec.projectName.assign(s.project[0]);
    rec.projectNumber.assign(s.project[1]);
    rec.projectDate.assign(s.project[2]);
    for (int i = 0; i < 5; ++i)
        rec.contactAddress[i].assign(s.project[3 + static_cast<std::size_t>(i)]);
    rec.editor[0].assign(s.project[8]);
    rec.editor[1].assign(s.project[9]);
    for (int i = 0; i < 26; ++i)
        rec.remarks[i].assign(i < s.remarks.size() ? s.remarks[i] : QString());
    for (int i = 0; i < kMaxAttachments; ++i)
        rec.attachments[i].assign(i < s.attachments.size() ? s.attachments[i] : QString());
}

void FillWindow(MainWindowState& s, const CalculationRecord& rec) {
    const MainWindowContent c = contentFromRecord(rec);
    for (int i = 0; i < kRoomFieldCount; ++i)
        s.writeRoom(static_cast<RoomField>(i), c.roomFields[i], c.roomValues[i]);
    // Like typing, a new project name sets the title; the same name leaves the title as it is.
    if (c.projectFields[0] != s.project[0])
        s.title = kTitlePrefix + c.projectFields[0];
    s.project = c.projectFields;
    s.remarks = c.remarkLines;
    s.attachments.clear();
    s.selectedAttachment = -1;
    s.run1Text.clear();
    for (const QString& path : c.attachments) {
        s.attachments << path;
        s.selectedAttachment = static_cast<int>(s.attachments.size()) - 1;
        s.run1Text = fileNamePartOf(path);
    }
    if (c.enableContinue)
        s.continueEnabled = true;
}

void roomData(Work& w) {
    if (w.s.areaInput) {
        w.s.dimensionFieldsEnabled = false;
        w.rec.dimensionsEntered = 0;
        const ld side = sqrtOf(w.number(FloorArea));
        w.put(Width, side, 6, 2);
        w.put(Length, side, 6, 2);
    } else {
        w.s.dimensionFieldsEnabled = true;
        w.rec.dimensionsEntered = 1;
    }
    w.s.roomPanelVisible = !w.s.roomPanelVisible;
    if (w.s.roomPanelVisible)
        w.s.focus = AirChangeRate;
    w.s.projectPanelVisible = false;
    deriveFlowFromAirChange(w);
    w.s.accepted.mounting = stored(w.number(MountingHeight));
    w.s.accepted.head = stored(w.number(HeadHeight));
    w.s.accepted.sound = stored(w.number(MaxSoundPowerLevel));
    w.s.continueVisible = true;
    w.s.continueEnabled = true;
}

void projectData(Work& w, const QDate& today) {
    w.s.projectPanelVisible = !w.s.projectPanelVisible;
    w.s.roomPanelVisible = false;
    // The dialogue is German whatever the system is set to, and so is the date.
    w.s.project[2] = QLocale(QLocale::German).toString(today, QLocale::ShortFormat);
    w.s.continueVisible = true;
}

void selectionUpdate(MainWindowState& s) {
    const bool valid = s.selectedAttachment >= 0 && s.selectedAttachment < s.attachments.size();
    s.run1Text = valid ? fileNamePartOf(s.attachments[s.selectedAttachment]) : QString();
}

// The bytes saving the project would write now.
QByteArray imageToSave(const MainWindowState& s, const CalculationRecord& rec) {
    auto copy = std::make_unique<CalculationRecord>(rec);
    StoreWindow(s, *copy);
    return projectFileBytes(*copy);
}

// Save: the window into the record, the dialog, the file. Only a written file makes the project
// unchanged, so that quitting after a cancelled or failed save still asks.
void save(Work& w) {
    StoreWindow(w.s, w.rec);
    FileDialogRequest request;
    request.title = w.texts.text(1);
    request.folder = w.folders.project;
    request.filter = QStringLiteral("Fyl (*.zol);;alle Dateien (*)");
    request.defaultSuffix = QStringLiteral("zol");
    request.fileName = safeFileName(w.rec.projectName.str().trimmed(), QStringLiteral("Projekt"));
    // A project that has a file is saved into it again unless the planner names another.
    if (!w.s.projectFile.isEmpty()) {
        const QFileInfo own(w.s.projectFile);
        request.folder = own.absolutePath();
        request.fileName = own.fileName();
    }
    const std::optional<QString> chosen = w.dialogs.saveFile(request);
    if (!chosen)
        return;
    const QString path = projectFilePath(*chosen);
    // The dialog asked about replacing the name it was given; a name that got ".zol" only here
    // is asked about now.
    if (path != *chosen && QFileInfo::exists(path) &&
        !w.dialogs.confirm(QStringLiteral("%1 ist bereits vorhanden. Ersetzen?").arg(QFileInfo(path).fileName())))
        return;
    w.rec.flowPictureShown = 0;
    writeProjectFile(path, w.rec);
    w.s.savedImage = projectFileBytes(w.rec);
    w.s.projectFile = path;
}

} // namespace

MainWindowModel::MainWindowModel(MainWindowParts parts) : parts_(parts) {
    FillWindowFromRecord();
}

void MainWindowModel::setRoomText(RoomField field, const QString& text) {
    state_.room[indexOf(field)] = text;
}

void MainWindowModel::setRoomValue(RoomField field, const QString& text, double value) {
    state_.writeRoom(field, text, value);
}

void MainWindowModel::setProjectText(int index, const QString& text) {
    Q_ASSERT(index >= 0 && index < 10);
    if (index == 0 && text != state_.project[0])
        state_.title = kTitlePrefix + text;
    state_.project[static_cast<std::size_t>(index)] = text;
}

void MainWindowModel::setRemarks(const QStringList& lines) {
    state_.remarks = lines;
}

void MainWindowModel::setAreaInput(bool checked) {
    state_.areaInput = checked;
}

void MainWindowModel::enterField(RoomField field) {
    transaction([field](Work& w) {
        auto snap = [&w](RoomField f) { return stored(w.number(f)); };
        // Leaving the floor area or the height compares both with what they held on entering; the
        // other one's snapshot is taken too, so that an old one does not count as a change.
        auto snapOther = [&w](RoomField f, double& snapshot) {
            const std::optional<ld> value = w.numberIfAny(f);
            if (value && std::fabs(*value) <= std::numeric_limits<double>::max())
                snapshot = static_cast<double>(*value);
        };
        switch (field) {
        case FloorArea:
            w.s.snapshot.area = snap(FloorArea);
            snapOther(Height, w.s.snapshot.height);
            break;
        case Height:
            w.s.snapshot.height = snap(Height);
            snapOther(FloorArea, w.s.snapshot.area);
            break;
        case Volume:
            w.s.snapshot.volume = snap(Volume);
            break;
        case Width:
            w.s.snapshot.width = snap(Width);
            break;
        case Length:
            w.s.snapshot.length = snap(Length);
            break;
        case RoomTemperature:
            w.s.snapshot.roomTemp = snap(RoomTemperature);
            break;
        case SupplyTemperature:
            w.s.snapshot.supplyTemp = snap(SupplyTemperature);
            break;
        case CoolingLoad:
            // The record's cooling load is this field's snapshot.
            w.rec.coolingLoad = snap(CoolingLoad);
            break;
        default:
            break;
        }
    });
}

MainWindowOutcome MainWindowModel::leaveField(RoomField field) {
    return transaction([field](Work& w) {
        switch (field) {
        case FloorArea:
        case Height:
            deriveVolumeFromArea(w);
            break;
        case Volume:
            deriveAreaFromVolume(w);
            break;
        case Width:
        case Length:
            deriveAreaAndVolume(w, field);
            break;
        case AirChangeRate: {
            w.normalise(AirChangeRate);
            const ld rate = w.number(AirChangeRate);
            putFlow(w, w.number(Volume), rate, 5, 0);
            deriveSupplyTemperature(w);
            recalculate(w);
            break;
        }
        case VolumeFlow: {
            w.normalise(VolumeFlow);
            const ld flow = w.number(VolumeFlow);
            const ld volume = w.number(Volume);
            // A rate that gives this flow at this volume already stays.
            w.derive(AirChangeRate, divide(flow, volume), 6, 1,
                     [&](ld rate) { return givesBack(rate * volume, flow); });
            deriveSupplyTemperature(w);
            recalculate(w);
            break;
        }
        case VelocityLimit:
            w.normalise(VelocityLimit);
            recalculate(w);
            break;
        case HeadHeight:
        case MountingHeight: {
            w.normalise(field);
            if (w.number(field) > w.number(Height)) {
                w.show(43);
                w.put(field, field == HeadHeight ? w.s.accepted.head : w.s.accepted.mounting, 6, 2);
            }
            recalculate(w);
            break;
        }
        case CoolingLoad:
            deriveSupplyTemperature(w);
            break;
        case RoomTemperature:
        case SupplyTemperature:
            deriveCoolingLoad(w, field);
            break;
        case MaxSoundPowerLevel:
            w.normalise(MaxSoundPowerLevel);
            if (!(w.number(MaxSoundPowerLevel) > 0.0L))
                w.put(MaxSoundPowerLevel, w.s.accepted.sound, 4, 1);
            recalculate(w);
            break;
        }
    });
}

MainWindowOutcome MainWindowModel::weiter() {
    return transaction([](Work& w) { continueStep(w); });
}

void MainWindowModel::roomDataCommand() {
    transaction([](Work& w) { roomData(w); });
}

void MainWindowModel::checkBoxClicked() {
    transaction([](Work& w) {
        roomData(w);
        roomData(w);
    });
}

void MainWindowModel::projectDataCommand(const QDate& today) {
    transaction([&today](Work& w) { projectData(w, today); });
}

void MainWindowModel::setMenusEnabled(bool enabled) {
    state_.menusEnabled = enabled;
}

void MainWindowModel::showRoomPanel() {
    state_.roomPanelVisible = true;
}

void MainWindowModel::enableContinue() {
    state_.continueEnabled = true;
    state_.continueVisible = true;
}

void MainWindowModel::hideRoomPanel() {
    state_.roomPanelVisible = false;
}

void MainWindowModel::hideProjectPanel() {
    state_.projectPanelVisible = false;
}

void MainWindowModel::StoreWindowInRecord(CalculationRecord& rec) const {
    auto copy = std::make_unique<CalculationRecord>(rec);
    StoreWindow(state_, *copy);
    rec = *copy;
}

void MainWindowModel::FillWindowFromRecord() {
    FillWindow(state_, parts_.record);
}

void MainWindowModel::Add1Click() {
    if (state_.attachments.size() >= kMaxAttachments)
        return;
    if (const std::optional<QString> path = parts_.dialogs.openFile({})) {
        state_.attachments << *path;
        state_.selectedAttachment = static_cast<int>(state_.attachments.size()) - 1;
    }
    selectionUpdate(state_);
}

void MainWindowModel::Del1Click() {
    const int i = state_.selectedAttachment;
    if (i < 0 || i >= state_.attachments.size())
        return;
    state_.attachments.removeAt(i);
    if (i < state_.attachments.size())
        state_.selectedAttachment = i;
    else
        state_.selectedAttachment = state_.attachments.isEmpty() ? -1 : i - 1;
    selectionUpdate(state_);
}

void MainWindowModel::selectAttachment(int index) {
    state_.selectedAttachment = index;
    selectionUpdate(state_);
}

void MainWindowModel::Run1Click() {
    const int i = state_.selectedAttachment;
    if (i >= 0 && i < state_.attachments.size())
        parts_.shell.open(state_.attachments[i]);
}

void MainWindowModel::Speichern1Click() {
    transaction([](Work& w) { save(w); });
}

MainWindowOutcome MainWindowModel::Laden1Click(const QDate& today, const std::optional<QString>& given) {
    return transaction([&today, &given](Work& w) {
        w.out.closeSelectionAndCalculation = true;
        FileDialogRequest request;
        request.folder = w.folders.project;
        request.filter = QStringLiteral("fyl (*.zol);;Alle Dateien (*)");
        const std::optional<QString> path = given ? given : w.dialogs.openFile(request);
        if (!path)
            return;
        readProjectFile(*path, w.rec); // a malformed or damaged file is refused whole
        w.s.projectFile = *path;
        setFlagsAfterLoad(w.rec, w.flags);
        w.s.menusEnabled = true;
        projectData(w, today);
        w.s.projectPanelVisible = true;
        if (w.rec.continueUsed) {
            w.s.continueEnabled = true;
            w.s.continueVisible = true;
        }
        w.s.title = kTitlePrefix + w.rec.projectName.str();
        FillWindow(w.s, w.rec);
        w.s.savedImage = imageToSave(w.s, w.rec);
    });
}

MainWindowOutcome MainWindowModel::Neu1Click() {
    return transaction([](Work& w) {
        w.out.closeSelectionAndCalculation = true;
        w.out.resetSelection = true;
        ResetRecord(w.rec);
        FillWindow(w.s, w.rec);
        w.s.projectPanelVisible = false;
        w.s.roomPanelVisible = false;
        w.flags.countSetByHand = false;
        w.s.continueEnabled = false;
        w.flags.freshProject = true;
        w.flags.loadedWithResults = false;
        w.s.menusEnabled = true;
        // The new project has no file yet: saving it must not propose the one it replaced.
        w.s.projectFile.clear();
        w.s.savedImage = imageToSave(w.s, w.rec);
    });
}

QString markedTitle(const QString& title, bool changed) {
    return changed ? QLatin1Char('*') + title : title;
}

bool MainWindowModel::projectChanged() const {
    try {
        return imageToSave(state_, parts_.record) != state_.savedImage;
    } catch (const Error&) {
        return true;
    }
}

void MainWindowModel::takeAsUnchanged() {
    try {
        state_.savedImage = imageToSave(state_, parts_.record);
    } catch (const Error&) {
        state_.savedImage.clear(); // nothing a file could hold: every state is a change
    }
}

bool MainWindowModel::askToSaveChanges() {
    if (!projectChanged())
        return true;
    const std::optional<bool> save = askTextOrCancel(parts_.texts, parts_.dialogs, 173);
    if (!save)
        return false; // withdrawn: the project stays as it is
    if (!*save)
        return true;
    // Only a project that got saved may be left: a cancelled or failed save keeps it open.
    return runAction(parts_.dialogs, [this] { Speichern1Click(); }) && !projectChanged();
}

} // namespace fyl
