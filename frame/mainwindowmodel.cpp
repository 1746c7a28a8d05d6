// The main window without widgets: room data actions, "weiter", panels, the record in and out,
// attachments and the project commands. Core layer (fylcore), above the other core folders.
#include "frame/mainwindowmodel.h"

#include "calc/arithmetic.h"
#include "calc/formulas.h"
#include "frame/errors.h"
#include "frame/expression.h"
#include "frame/mainwindowcontent.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "results/outletresults.h"
#include "results/planningcopy.h"

#include <QLocale>

#include <cstring>
#include <memory>

namespace fyl {

using namespace form1;
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

} // namespace

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

    QString& field(RoomField f) { return s.room[static_cast<std::size_t>(f)]; }
    // NormaliseDecimal: a typed point becomes the decimal separator.
    void normalise(RoomField f) { field(f).replace(QLatin1Char('.'), numbers::decimalSeparator()); }
    // ReadEditNumber: the field as a number; a text that is not one ends the action.
    ld number(RoomField f) { return numbers::parseReal(field(f)); }
    void put(RoomField f, ld value, int precision, int decimals) {
        field(f) = formatFixed(value, precision, decimals);
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

// The area and volume fields take arithmetic; the value is written back five characters wide.
ld evaluatedField(Work& w, RoomField f) {
    QString text = w.field(f);
    float value = 0.0f;
    int status = 0;
    if (ExpressionEvaluator(text, value, 5, 2, status) != 0)
        value = 0.0f;
    w.field(f) = numbers::formatWidth(value, 5, 2).replace(QLatin1Char('.'), numbers::decimalSeparator());
    return value;
}

// s6: the volume flow from volume and air change rate.
void s6(Work& w) {
    w.put(edit7, w.number(Edit3) * w.number(Edit6), 6, 0);
}

// s1: floor area or room height left.
void s1(Work& w) {
    const ld area = evaluatedField(w, Edit1);
    w.normalise(Edit2);
    if (w.s.areaInput) {
        const ld side = sqrtOf(area);
        w.put(Edit4, side, 6, 2);
        w.put(Edit5, side, 6, 2);
    }
    const ld height = w.number(Edit2);
    if (w.number(Edit10) > height)
        w.field(Edit10) = w.field(Edit2);
    w.put(Edit3, area * height, 6, 2);
    if (area != ld(w.s.snapshot.area) || height != ld(w.s.snapshot.height))
        sizeChanged(w);
    w.put(edit7, w.number(Edit3) * w.number(Edit6), 6, 2);
}

// s3: volume left.
void s3(Work& w) {
    const ld volume = evaluatedField(w, Edit3);
    w.put(Edit1, divide(volume, w.number(Edit2)), 6, 2);
    s6(w);
    if (volume != ld(w.s.snapshot.volume))
        sizeChanged(w);
}

// s4 and s5: width or length left; the volume flow is left as it was.
void widthOrLength(Work& w, RoomField left) {
    if (left == Edit4) {
        w.normalise(Edit4);
        w.normalise(Edit5);
    } else {
        w.normalise(Edit5);
        w.normalise(Edit4);
    }
    const ld area = w.number(Edit4) * w.number(Edit5);
    w.put(Edit1, area, 6, 2);
    w.put(Edit3, area * w.number(Edit2), 6, 2);
    w.rec.dimensionsEntered = 1;
    const ld value = w.number(left);
    if (value != ld(left == Edit4 ? w.s.snapshot.width : w.s.snapshot.length))
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

// The cooling-load action: the supply temperature from the load and the volume flow.
void coolingLoadAction(Work& w) {
    if (w.field(Edit11).isEmpty()) {
        recalculate(w);
        return;
    }
    w.normalise(Edit11);
    const double load = stored(w.number(Edit11));
    const double flow = stored(w.number(edit7));
    const ld roomTemp = w.number(Edit12);
    double dT = w.working.dT;
    w.calcStatus = FlowForCoolingLoad(flow, load, dT);
    // Without a volume flow there is no temperature difference; an old one would set a supply
    // temperature that belongs to another room state, so the supply temperature stays.
    if (w.calcStatus == 0) {
        w.working.dT = dT;
        bool newSupply = true;
        if (dT > 12.0 && w.ask(171)) {
            w.put(Edit11, w.rec.coolingLoad, 4, 1);
            newSupply = false;
        }
        if (newSupply) {
            w.rec.supplyTemp = stored(roomTemp - dT);
            w.put(Edit13, w.rec.supplyTemp, 4, 1);
        }
    }
    recalculate(w);
}

// The temperature action: the cooling load that the new temperatures carry away.
void temperatureAction(Work& w, RoomField left) {
    w.normalise(left);
    const double snapshot = left == Edit12 ? w.s.snapshot.roomTemp : w.s.snapshot.supplyTemp;
    if (w.number(left) != ld(snapshot)) {
        const ld supply = w.number(Edit13);
        const ld room = w.number(Edit12);
        const double flow = stored(w.number(edit7));
        if (supply >= room) {
            const QString load = w.field(Edit11).trimmed();
            bool isZero = load.isEmpty();
            if (!isZero) {
                try {
                    isZero = numbers::parseReal(load) == 0.0L;
                } catch (const ConversionError&) {
                }
            }
            if (!isZero)
                w.show(178);
            w.field(Edit11) = QStringLiteral("0");
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
            w.put(Edit11, load, 5, 1);
        }
    }
    recalculate(w);
}

// The window's texts are written with zeros after their length, so a shorter text or a removed
// attachment leaves nothing of the old one in a saved file.
void StoreWindow(const MainWindowState& s, CalculationRecord& rec) {
    auto value = [&s](RoomField f) {
        return stored(numbers::parseReal(s.room[static_cast<std::size_t>(f)]));
    };
    rec.roomWidth = value(Edit4);
    rec.roomLength = value(Edit5);
    rec.roomHeight = value(Edit2);
    rec.floorArea = value(Edit1);
    rec.roomVolume = value(Edit3);
    rec.airChangeRate = value(Edit6);
    rec.totalFlow = value(edit7);
    rec.velocityLimit = value(Edit8);
    rec.headHeight = value(Edit9);
    rec.mountingHeight = value(Edit10);
    rec.coolingLoad = value(Edit11);
    rec.roomTemp = value(Edit12);
    rec.supplyTemp = value(Edit13);
    rec.maxSoundLevel = value(Edit14);
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
    s.room = c.roomFields;
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
        const ld side = sqrtOf(w.number(Edit1));
        w.put(Edit4, side, 6, 2);
        w.put(Edit5, side, 6, 2);
    } else {
        w.s.dimensionFieldsEnabled = true;
        w.rec.dimensionsEntered = 1;
    }
    w.s.roomPanelVisible = !w.s.roomPanelVisible;
    if (w.s.roomPanelVisible)
        w.s.focus = Edit6;
    w.s.projectPanelVisible = false;
    s6(w);
    w.s.accepted.mounting = stored(w.number(Edit10));
    w.s.accepted.head = stored(w.number(Edit9));
    w.s.accepted.sound = stored(w.number(Edit14));
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

// Save: the window into the record, the dialog, the file. Only a written file marks the project
// saved, so that quitting after a cancelled or failed save still asks.
void save(Work& w) {
    StoreWindow(w.s, w.rec);
    FileDialogRequest request;
    request.title = w.texts.text(1);
    request.folder = w.folders.project;
    request.filter = QStringLiteral("Fyl (*.zol);;alle Dateien (*)");
    request.defaultSuffix = QStringLiteral("zol");
    const std::optional<QString> path = w.dialogs.saveFile(request);
    if (!path)
        return;
    w.rec.flowPictureShown = 0;
    writeProjectFile(*path, w.rec);
    w.flags.projectSaved = true;
}

} // namespace

MainWindowModel::MainWindowModel(MainWindowParts parts) : parts_(parts) {
    FillWindowFromRecord();
}

void MainWindowModel::setRoomText(RoomField field, const QString& text) {
    state_.room[static_cast<std::size_t>(field)] = text;
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
        switch (field) {
        case Edit1:
            w.s.snapshot.area = snap(Edit1);
            break;
        case Edit2:
            w.s.snapshot.height = snap(Edit2);
            break;
        case Edit3:
            w.s.snapshot.volume = snap(Edit3);
            break;
        case Edit4:
            w.s.snapshot.width = snap(Edit4);
            break;
        case Edit5:
            w.s.snapshot.length = snap(Edit5);
            break;
        case Edit12:
            w.s.snapshot.roomTemp = snap(Edit12);
            break;
        case Edit13:
            w.s.snapshot.supplyTemp = snap(Edit13);
            break;
        case Edit11:
            // The record's cooling load is this field's snapshot.
            w.rec.coolingLoad = snap(Edit11);
            break;
        default:
            break;
        }
    });
}

MainWindowOutcome MainWindowModel::leaveField(RoomField field) {
    return transaction([field](Work& w) {
        switch (field) {
        case Edit1:
        case Edit2:
            s1(w);
            break;
        case Edit3:
            s3(w);
            break;
        case Edit4:
        case Edit5:
            widthOrLength(w, field);
            break;
        case Edit6:
            w.normalise(Edit6);
            w.put(edit7, w.number(Edit6) * w.number(Edit3), 5, 0);
            coolingLoadAction(w);
            recalculate(w);
            break;
        case edit7:
            w.normalise(edit7);
            w.put(Edit6, divide(w.number(edit7), w.number(Edit3)), 6, 1);
            coolingLoadAction(w);
            recalculate(w);
            break;
        case Edit8:
            w.normalise(Edit8);
            recalculate(w);
            break;
        case Edit9:
        case Edit10: {
            w.normalise(field);
            if (w.number(field) > w.number(Edit2)) {
                w.show(43);
                w.put(field, field == Edit9 ? w.s.accepted.head : w.s.accepted.mounting, 6, 2);
            }
            recalculate(w);
            break;
        }
        case Edit11:
            coolingLoadAction(w);
            break;
        case Edit12:
        case Edit13:
            temperatureAction(w, field);
            break;
        case Edit14:
            w.normalise(Edit14);
            if (!(w.number(Edit14) > 0.0L))
                w.put(Edit14, w.s.accepted.sound, 4, 1);
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

MainWindowOutcome MainWindowModel::Laden1Click(const QDate& today) {
    return transaction([&today](Work& w) {
        w.out.closeSelectionAndCalculation = true;
        FileDialogRequest request;
        request.folder = w.folders.project;
        request.filter = QStringLiteral("fyl (*.zol);;Alle Dateien (*)");
        const std::optional<QString> path = w.dialogs.openFile(request);
        if (!path)
            return;
        readProjectFile(*path, w.rec); // a malformed or damaged file is refused whole
        w.flags.loadedWithResults = w.rec.calculationMode != 0;
        w.s.menusEnabled = true;
        projectData(w, today);
        w.s.projectPanelVisible = true;
        w.flags.projectSaved = false;
        if (w.rec.continueUsed) {
            w.s.continueEnabled = true;
            w.s.continueVisible = true;
        }
        w.s.title = kTitlePrefix + w.rec.projectName.str();
        FillWindow(w.s, w.rec);
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
        w.flags.projectSaved = false;
        w.flags.countSetByHand = false;
        w.s.continueEnabled = false;
        w.flags.freshProject = true;
        w.flags.loadedWithResults = false;
        w.s.menusEnabled = true;
    });
}

bool MainWindowModel::FormClose() {
    if (parts_.flags.projectSaved || !askText(parts_.texts, parts_.dialogs, 173))
        return true;
    return runAction(parts_.dialogs, [this] { Speichern1Click(); });
}

} // namespace fyl
