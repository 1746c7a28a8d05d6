// The selection window without widgets: the steps from installation kind to jet form, the flow
// filter, the take-over of the outlet and the slot configuration. Core layer (fylcore), above
// results/.
#include "selection/selectionmodel.h"
#include "selection/selectiontexts.h"

#include "results/planningcopy.h"

#include "calc/arithmetic.h"
#include "calc/mountingheight.h"
#include "catalogue/loaders.h"
#include "catalogue/lookups.h"
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jetkind.h"
#include "frame/numbers.h"
#include "results/outletresults.h"
#include "selection/selectionlists.h"

#include <QDir>

#include <algorithm>
#include <memory>

namespace fyl {

using arith::stored;
using numbers::formatFixed;
using numbers::formatGeneral;
using ld = long double;

namespace {

constexpr int kScrollMinimum = 10;
constexpr int kScrollMaximum = 10000;

QString metres(long double value) {
    return formatFixed(value, 15, 2);
}

bool valid(const SelectionList& list, int index) {
    return index >= 0 && index < list.items.size();
}

void clear(SelectionList& list) {
    list.items.clear();
    list.selected = -1;
}

} // namespace

// One step's copies of everything it may change; they replace the originals only when the step
// ends without an error.
struct SelectionModel::Work : PlanningCopy {
    Work(const SelectionParts& p, const SelectionState& state)
        : PlanningCopy(p), s(state), catalogue(p.catalogue), texts(p.texts), dialogs(p.dialogs),
          shell(p.shell), folders(p.folders) {}

    SelectionState s;
    const Catalogue& catalogue;
    const TextTable& texts;
    Dialogs& dialogs;
    Shell& shell;
    const Folders& folders;
    SelectionOutcome out;

    void show(int entry) { showText(texts, dialogs, entry); }
    bool ask(int entry) { return askText(texts, dialogs, entry); }
    EvaluationParts evaluationParts() { return PlanningCopy::evaluationParts(texts); }
};

template <class Step> SelectionOutcome SelectionModel::transaction(Step step) {
    auto w = std::make_unique<Work>(parts_, state_);
    step(*w); // an error leaves here, before anything is stored
    state_ = std::move(w->s);
    w->storeInto(parts_);
    return w->out;
}

namespace {

using Work = SelectionModel::Work;

// A number from the chosen outlet's detail record (its size table or configuration lists). A text
// that is none is a damaged catalogue: the error names the file, the record and the list.
template <class Parse>
auto recordNumber(const Work& w, const QString& text, const char* list, Parse parse)
    -> decltype(parse(text)) {
    try {
        return parse(text);
    } catch (const ConversionError& e) {
        throw ConversionError(
            QStringLiteral("Katalogdatei %1, Datensatz %2 (%3): %4")
                .arg(QDir::toNativeSeparators(joinPath(w.folders.program, QString::fromLatin1(kDetailFile))))
                .arg(w.s.readRecord + 1)
                .arg(QString::fromUtf8(list), e.message()));
    }
}

void listTheSizes(Work& w) {
    const bool filterOn = w.s.CheckBox1;
    if (filterOn)
        w.rec.filterUsed = 1;
    const SizeListing listing = listSizes(w.catalogue, filterOn, w.rec.selectionFlow, w.s.selectedType,
                                          !w.s.ListBox8.items.isEmpty(), w.rec.typeListFlag != 0);
    w.rec.typeListFlag = listing.typeListFlag ? 1 : 0;
    w.s.ListBox9.items = listing.sizes;
    w.s.ListBox9.selected = -1;
}

void leaveWindow(Work& w) {
    w.out.hideSelection = true;
    w.out.backToRoomData = true;
    w.flags.freshProject = false;
}

// The jet form chosen. A jet form without an index line, or whose detail record cannot be read,
// leaves `weiter` disabled: the read buffer would still hold another outlet than the one shown.
void jetFormChosen(Work& w, int index) {
    const SelectionList& list = w.s.ListBox10;
    if (list.items.size() == 1)
        index = 0;
    w.s.ListBox10.selected = index;
    w.s.weiterEnabled = false;
    const QString name = list.items[index];
    std::optional<int> record;
    if (name.size() >= 2)
        record = detailRecordOf(w.catalogue, w.s.sizeKeyPrefix + name[1]);
    if (!record) {
        w.show(44);
        return;
    }
    w.s.readBuffer = detailRecord(w.catalogue, w.folders.program, *record);
    w.s.readRecord = *record;
    w.rec.outlet = w.s.readBuffer;
    w.s.weiterEnabled = true;
}

// The size chosen, and its jet form with it when it has only one.
void sizeChosen(Work& w, int index) {
    const QString sizeName = w.s.ListBox9.items[index];
    w.s.ListBox9.selected = index;
    w.s.groupbox1Visible = true;
    clear(w.s.ListBox10);
    w.s.listbox1Visible = false;
    w.s.GroupBox4Visible = false;
    w.s.Panel1Visible = false;
    w.s.weiterEnabled = false;
    w.s.Label17 = sizeName;

    w.s.sizeKeyPrefix = sizeKeyPrefix(sizeName);
    for (const JetFormItem& form : jetFormsOfSize(w.catalogue, sizeName))
        w.s.ListBox10.items << form.name;

    if (const std::optional<SizeLine> line = readSizeLine(w.catalogue, sizeName)) {
        w.rec.designCode.assign(line->design);
        // Slot outlets are rated per metre of slot.
        w.s.Label19 =
            line->design == QLatin1String("0") ? QStringLiteral(" [ m³/h ]") : QStringLiteral("[ m³/h m ]");
        // Yes: this outlet is planned just under the ceiling (outletMountingHeight); the room keeps
        // the planner's height for every other outlet.
        if (line->design == QLatin1String("3") &&
            raisedUnderCeiling(w.rec.roomHeight, w.rec.mountingHeight) && !w.ask(166))
            leaveWindow(w);
        w.s.Label11 = line->flowRange;
        w.s.smallestFlow = line->smallestFlow;
        w.s.largestFlow = line->largestFlow;
        w.s.dataSheetName = line->dataSheet;
    }
    if (w.s.ListBox10.items.size() == 1)
        jetFormChosen(w, 0);
}

QString slotLengthText(Work& w, const SlotLengthRange& total) {
    return w.texts.text(65) + QStringLiteral("  ") + metres(total.minimum) + QStringLiteral("  ") +
           w.texts.text(66) + QStringLiteral("  ") + metres(total.maximum) + QStringLiteral("  [ m ]");
}

// The derived values of a complete configuration: the slot length per outlet and the outlet
// count range. A length or count of 0 ends the step here.
void derive(Work& w, bool tube) {
    SlotConfiguration& c = w.s.configuration;
    const double slotLength = stored(ld(c.slotCount) * c.nominalLength / 1000.0L);
    const OutletCountRange range = outletCountRange({c.minimumTotal, c.maximumTotal}, slotLength);
    c.slotLength = slotLength;
    c.countFrom = range.from;
    c.countTo = range.to;
    const QString lengthText = metres(slotLength) + QStringLiteral("  [ m ]");
    const QString from = formatGeneral(range.from);
    const QString to = formatGeneral(range.to);
    if (tube) {
        w.s.Label24 = lengthText;
        w.s.Label26 = from + QStringLiteral("  bis  ") + to;
    } else {
        w.s.Label32 = lengthText;
        w.s.Label34 = from + QStringLiteral("  <-->  ") + to;
    }
}

// Stores the configuration for the evaluation. The count range stays the one computed from the
// uncorrected length, as the planner saw it.
void storeConfiguration(Work& w) {
    const SlotConfiguration& c = w.s.configuration;
    const bool tube = w.rec.designCode.str() == QLatin1String("2");
    const double slotLength = tube ? tubeSlotLength(c.nominalLength, c.slotCount) : c.slotLength;
    w.rec.slotCount = c.slotCount;
    w.rec.nominalLength = c.nominalLength;
    w.rec.effectiveLength = stored(ld(slotLength) * 1000.0L);
    w.rec.vMinOutlet = stored(ld(slotLength) * w.rec.outlet.vMin);
    w.rec.vMaxOutlet = stored(ld(slotLength) * w.rec.outlet.vMax);
    w.rec.countBound1 = c.countFrom;
    w.rec.countBound2 = c.countTo;
    if (tube)
        w.rec.sizeText.assign(c.diameter);
}

void setJetKind(Work& w, JetKind kind) {
    w.rec.horizontalJet = kind == JetKind::Horizontal ? 1 : 0;
    w.rec.verticalJet = kind == JetKind::Vertical ? 1 : 0;
}

// Opens the calculation window with `view` and runs the evaluation the outlet's jet form asks for
// over it, which also sets the hint; a form without one runs nothing, and the window shows the
// heading only.
void showResults(Work& w, ResultsView view) {
    const JetKind kind = jetFormOf(w.rec.designCode.str(), w.rec.outlet.jetFormCodeText()).kind;
    w.out.hideSelection = true;
    w.out.showCalculation = true;
    if (kind != JetKind::None) {
        view.form3.setVisible(form3::GroupBox1, kind == JetKind::Horizontal);
        view.form3.setVisible(form3::GroupBox2, kind == JetKind::Vertical);
        setJetKind(w, kind);
        applyView(view, kind == JetKind::Horizontal ? EvaluateHorizontalJet(w.evaluationParts())
                                                    : EvaluateVerticalJet(w.evaluationParts()));
    }
    w.out.results = view;
}

// Forward with a slot outlet: the configuration group opens over the jet forms.
void openSlotGroup(Work& w, bool tube) {
    w.s.Panel2Visible = false;
    ResultsView view;
    view.form3.setText(form3::Label1,
                       w.rec.outlet.typeNameText() + QStringLiteral("  ") + w.rec.outlet.sizeNameText());
    view.form3.setText(form3::Label8, QStringLiteral("[ m³/h m ]"));
    w.out.results = view;
    w.s.ListBox9.enabled = false;
    w.s.ListBox7.enabled = false;
    w.s.ListBox8.enabled = false;
    w.s.groupbox1Visible = false;
    w.s.GroupBox2Visible = tube;
    w.s.GroupBox3Visible = !tube;
    (tube ? w.s.GroupBox2 : w.s.GroupBox3) = slotGroupTitle(w.texts.text(tube ? 74 : 63), w.s.selectedType);
    w.s.configuration.diameterChosen = false;
    w.s.configuration.lengthChosen = false;
    w.s.configuration.countChosen = false;
    const SlotLengthRange total = requiredSlotLength(w.rec.totalFlow, w.s.smallestFlow, w.s.largestFlow);
    w.s.configuration.minimumTotal = total.minimum;
    w.s.configuration.maximumTotal = total.maximum;
    if (tube) {
        clear(w.s.ListBox14);
        clear(w.s.ListBox15);
        clear(w.s.ListBox16);
        w.s.ListBox14.items = FillSizeList(w.rec.outlet);
        w.s.Button3Enabled = false;
        w.s.Label22 = slotLengthText(w, total);
    } else {
        const ConfigurationLists lists = FillConfigurationLists(w.rec.outlet);
        clear(w.s.ListBox17);
        clear(w.s.ListBox18);
        w.s.ListBox17.items = lists.lengths;
        w.s.ListBox18.items = lists.counts;
        w.s.Button5Enabled = false;
        w.s.Label30 = slotLengthText(w, total);
    }
}

void heading(const Work& w, ResultsView& view) {
    if (!w.flags.headingLeftOut)
        headingView(w.rec, w.texts, view);
}

void weiter(Work& w) {
    // Every forward step starts from the record as read from the detail file, and from the room
    // alone: nothing of an outlet taken over before may reach this one's figures.
    w.rec.outlet = w.s.readBuffer;
    forgetPreviousOutlet(w.rec);
    w.flags.countSetByHand = false;
    w.flags.spacingSetInFlowPicture = false;
    const QString design = w.rec.designCode.str();
    if (design == QLatin1String("0")) {
        w.rec.resultsWindowFlag = 1;
        ResultsView view;
        heading(w, view);
        showResults(w, view);
    } else if (design == QLatin1String("2")) {
        openSlotGroup(w, true);
    } else if (design == QLatin1String("1") || design == QLatin1String("3")) {
        openSlotGroup(w, false);
    }
    w.rec.calculationMode = 1;
}

} // namespace

SelectionModel::SelectionModel(SelectionParts parts) : parts_(parts) {
    state_.GroupBox4 = parts_.texts.text(208);
    state_.Label19 = parts_.texts.text(61);
    state_.ListBox7.items = typeCodes(parts_.catalogue);
    state_.listbox1.items = installationKinds(parts_.catalogue);
}

void SelectionModel::chooseKind(int index) {
    if (!valid(state_.listbox1, index))
        return;
    transaction([index](Work& w) {
        w.s.listbox1.selected = index;
        clear(w.s.ListBox8);
        clear(w.s.ListBox3);
        clear(w.s.ListBox2);
        clear(w.s.ListBox9);
        w.s.selectedType.clear();
        const QString kind = w.s.listbox1.items[index];
        w.s.GroupBox4 = kind.left(20);
        w.s.Panel2Visible = false;
        w.s.Image2.clear(); // no type of this kind is chosen yet
        const KindTypes types = typesOfKind(w.catalogue, kind, w.s.ListBox7.items);
        w.s.ListBox3.items = types.names;
        w.s.ListBox8.items = types.calculable;
        w.s.ListBox2.items = types.dataSheetOnly;
        listTheSizes(w);
        if (w.s.ListBox8.items.isEmpty())
            clear(w.s.ListBox9);
    });
}

SelectionOutcome SelectionModel::chooseType(int index) {
    if (!valid(state_.ListBox8, index))
        return {};
    return transaction([index](Work& w) {
        w.s.ListBox8.selected = index;
        w.s.selectedType = w.s.ListBox8.items[index];
        w.s.Info1Enabled = true;
        listTheSizes(w);
        if (w.s.ListBox9.items.size() == 1)
            sizeChosen(w, 0);
        w.s.Image2 = joinPath(w.folders.program,
                              QStringLiteral("\\Fyl_Bilder\\") + w.s.selectedType + QStringLiteral(".bmp"));
        w.s.Image2Fallback = joinPath(w.folders.program, QStringLiteral("\\Fyl_Bilder\\image5.bmp"));
        w.s.Panel2Visible = true;
        // A type without an index line shows no attributes rather than those of the type before.
        const TypeAttributes attributes =
            typeAttributes(w.catalogue, w.s.selectedType).value_or(TypeAttributes{});
        w.s.ListBox11 = attributes.mounting;
        w.s.ListBox12 = attributes.adjustment;
        w.s.ListBox13 = attributes.use;
        w.s.dataSheetName = w.s.selectedType + QStringLiteral(".pdf");
        w.s.Label32.clear();
        w.s.Label34.clear();
        w.s.Edit2.clear();
    });
}

void SelectionModel::ListBox2Click(int index) {
    if (!valid(state_.ListBox2, index))
        return;
    transaction([index](Work& w) {
        w.s.ListBox2.selected = index;
        w.s.Info1Enabled = true;
        clear(w.s.ListBox10);
        w.s.Panel2Visible = false;
        w.s.Image2.clear(); // the calculable type chosen before is no longer the one shown
        w.s.dataSheetName = w.s.ListBox2.items[index] + QStringLiteral(".pdf");
        w.show(184);
    });
}

SelectionOutcome SelectionModel::chooseSize(int index) {
    if (!valid(state_.ListBox9, index))
        return {};
    return transaction([index](Work& w) { sizeChosen(w, index); });
}

SelectionOutcome SelectionModel::chooseJetForm(int index) {
    if (!valid(state_.ListBox10, index))
        return {};
    try {
        return transaction([index](Work& w) { jetFormChosen(w, index); });
    } catch (const Error&) {
        state_.weiterEnabled = false; // the read buffer holds another outlet than the one clicked
        throw;
    }
}

SelectionOutcome SelectionModel::goForward() {
    if (!state_.weiterEnabled)
        return {};
    return transaction([](Work& w) { weiter(w); });
}

void SelectionModel::zurueckClick() {
    state_.groupbox1Visible = false;
    state_.ListBox9.enabled = true;
    state_.ListBox7.enabled = true;
    state_.ListBox8.enabled = true;
    state_.listbox1Visible = true;
    state_.GroupBox4Visible = true;
    state_.Panel1Visible = true;
}

SelectionOutcome SelectionModel::BitBtn1Click() {
    return transaction([](Work& w) { leaveWindow(w); });
}

void SelectionModel::Panel2Click() {
    state_.Panel2Visible = false;
}

void SelectionModel::Info1Click() {
    if (state_.dataSheetName.isEmpty()) {
        showText(parts_.texts, parts_.dialogs, 98);
        return;
    }
    const QString path =
        joinPath(joinPath(parts_.folders.program, QStringLiteral("catalog")), state_.dataSheetName);
    if (!parts_.shell.hasHandler(path) || !parts_.shell.open(path))
        showText(parts_.texts, parts_.dialogs, 100);
}

void SelectionModel::resetToFirstStep() {
    state_.Image2.clear();
    state_.groupbox1Visible = false;
    state_.GroupBox2Visible = false;
    state_.GroupBox3Visible = false;
    state_.listbox1Visible = true;
    state_.GroupBox4Visible = true;
    state_.Panel1Visible = true;
    state_.ListBox8.enabled = true;
    state_.ListBox9.enabled = true;
}

void SelectionModel::CheckBox1Click(bool checked) {
    transaction([checked](Work& w) {
        w.s.CheckBox1 = checked;
        listTheSizes(w);
    });
}

namespace {

void scrollBarChanged(Work& w, int position) {
    w.s.ScrollBar1 = std::clamp(position, kScrollMinimum, kScrollMaximum);
    w.s.Edit1 = formatGeneral(w.s.ScrollBar1);
    w.rec.selectionFlow = w.s.ScrollBar1;
    listTheSizes(w);
}

} // namespace

void SelectionModel::ScrollBar1Change(int position) {
    transaction([position](Work& w) { scrollBarChanged(w, position); });
}

void SelectionModel::setEdit1Text(const QString& text) {
    state_.Edit1 = text;
}

void SelectionModel::Edit1Exit() {
    transaction([](Work& w) {
        // The scroll bar keeps its range and reports only a real change.
        const int position = std::clamp(numbers::parseInt(w.s.Edit1), kScrollMinimum, kScrollMaximum);
        if (position != w.s.ScrollBar1)
            scrollBarChanged(w, position);
    });
}

SelectionOutcome SelectionModel::chooseTubeDiameter(int index) {
    if (!valid(state_.ListBox14, index))
        return {};
    return transaction([index](Work& w) {
        w.s.ListBox14.selected = index;
        clear(w.s.ListBox15);
        clear(w.s.ListBox16);
        w.s.Label24.clear();
        w.s.Label26.clear();
        const SizeTableParts tube = splitSizeTableEntry(w.s.ListBox14.items[index]);
        w.s.configuration.diameter = tube.diameter;
        w.s.Label28 = tube.diameter + QStringLiteral(" [mm]");
        // The tube hangs at this height at most; the room keeps the planner's (outletMountingHeight).
        const ld highest = highestTubeMounting(
            w.rec.roomHeight, recordNumber(w, tube.diameter, "Größentabelle", numbers::parseReal));
        if (w.rec.mountingHeight > highest)
            w.dialogs.information(w.texts.text(168) + QStringLiteral("  ") + metres(highest) +
                                  QStringLiteral("    ") + w.texts.text(170));
        w.s.ListBox15.items = tube.lengths;
        w.s.ListBox16.items = tube.counts;
        w.s.configuration.diameterChosen = true;
        // The length and count lists start afresh for this tube, so the choices made for another
        // one go with them: going on would otherwise store a length this tube may not offer.
        w.s.configuration.lengthChosen = false;
        w.s.configuration.countChosen = false;
        w.s.Button3Enabled = false;
    });
}

namespace {

void tubeChoiceMade(Work& w) {
    const SlotConfiguration& c = w.s.configuration;
    if (c.diameterChosen && c.lengthChosen && c.countChosen) {
        w.s.Button3Enabled = true;
        derive(w, true);
    }
}

void linearChoiceMade(Work& w) {
    if (w.s.configuration.lengthChosen && w.s.configuration.countChosen) {
        w.s.Button5Enabled = true;
        derive(w, false);
        storeConfiguration(w);
    }
}

} // namespace

void SelectionModel::chooseTubeLength(int index) {
    if (!valid(state_.ListBox15, index))
        return;
    transaction([index](Work& w) {
        w.s.ListBox15.selected = index;
        w.s.configuration.lengthChosen = true;
        w.s.configuration.nominalLength =
            stored(recordNumber(w, w.s.ListBox15.items[index], "Größentabelle", numbers::parseReal));
        tubeChoiceMade(w);
    });
}

void SelectionModel::chooseTubeSlotCount(int index) {
    if (!valid(state_.ListBox16, index))
        return;
    transaction([index](Work& w) {
        w.s.ListBox16.selected = index;
        w.s.configuration.countChosen = true;
        w.s.configuration.slotCount =
            recordNumber(w, w.s.ListBox16.items[index], "Größentabelle", numbers::parseInt);
        tubeChoiceMade(w);
    });
}

void SelectionModel::Button2Click() {
    state_.GroupBox2Visible = false;
    state_.groupbox1Visible = true;
    state_.configuration.diameterChosen = false;
    state_.configuration.lengthChosen = false;
    state_.configuration.countChosen = false;
    state_.Button3Enabled = false;
}

SelectionOutcome SelectionModel::goForwardWithTube() {
    if (!state_.Button3Enabled)
        return {};
    return transaction([](Work& w) {
        storeConfiguration(w);
        ResultsView view;
        heading(w, view);
        w.rec.calculationMode = 1;
        showResults(w, view);
    });
}

void SelectionModel::chooseLinearLength(int index) {
    if (!valid(state_.ListBox17, index))
        return;
    transaction([index](Work& w) {
        SlotConfiguration& c = w.s.configuration;
        w.s.ListBox17.selected = index;
        c.lengthChosen = true;
        c.countChosen = false;
        if (w.s.ListBox18.items.size() == 1) {
            c.slotCount = recordNumber(w, w.s.ListBox18.items[0], "Schlitzzahlliste", numbers::parseInt);
            c.countChosen = true;
        }
        c.nominalLength =
            stored(recordNumber(w, w.s.ListBox17.items[index], "Längenliste", numbers::parseReal));
        w.s.Edit2 = w.s.ListBox17.items[index];
        // Until a count is chosen for the new length, what was derived for the old one is void:
        // going forward would store the new length with the old slot length.
        if (!c.countChosen) {
            w.s.Button5Enabled = false;
            w.s.Label32.clear();
            w.s.Label34.clear();
        }
        linearChoiceMade(w);
    });
}

void SelectionModel::chooseLinearSlotCount(int index) {
    if (!valid(state_.ListBox18, index))
        return;
    transaction([index](Work& w) {
        w.s.ListBox18.selected = index;
        w.s.configuration.countChosen = true;
        w.s.configuration.slotCount =
            recordNumber(w, w.s.ListBox18.items[index], "Schlitzzahlliste", numbers::parseInt);
        linearChoiceMade(w);
    });
}

void SelectionModel::Button4Click() {
    state_.GroupBox3Visible = false;
    state_.groupbox1Visible = true;
    state_.configuration.lengthChosen = false;
    state_.configuration.countChosen = false;
    state_.Button5Enabled = false;
}

SelectionOutcome SelectionModel::goForwardWithLinearSlots() {
    if (!state_.Button5Enabled)
        return {};
    return transaction([](Work& w) {
        w.flags.countSetByHand = false; // the evaluation proposes the count
        storeConfiguration(w);
        w.rec.calculationMode = 1;
        ResultsView view;
        heading(w, view);
        view.form3.setText(form3::Label13, QStringLiteral("(") + formatFixed(w.rec.maxSoundLevel, 3, 1) +
                                               QStringLiteral(")"));
        showResults(w, view);
    });
}

} // namespace fyl
