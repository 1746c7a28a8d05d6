// The calculation window's rules: creation texts, the count by hand, the ways back, the flow
// picture and print commands, the judgement after an evaluation. Core layer (fylcore).
#include "results/resultswindow.h"

#include "calc/judgement.h"
#include "calc/mountingheight.h"
#include "exchange/exchangefiles.h"
#include "frame/ansi.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "results/judgementview.h"
#include "results/outletresults.h"
#include "results/planningcopy.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace fyl {

Form3Texts form3CreationTexts(const TextTable& texts) {
    using namespace form3;
    Form3Texts t;
    t.title = texts.text(75);
    const std::pair<Control, int> entries[] = {
        {Label2, 80},    {Label3, 81},   {Label5, 82},   {Label9, 84},    {Label12, 85}, {GroupBox1, 86},
        {Label22, 157},  {Label17, 87},  {Label18, 88},  {GroupBox2, 89}, {Label33, 90}, {Label34, 91},
        {GroupBox4, 96}, {Label43, 156}, {Label40, 172}, {Label41, 27},   {Button1, 79}, {Button2, 58},
    };
    for (const auto& [control, entry] : entries)
        t.controls.setText(control, texts.text(entry));
    // The menus open with Alt and a letter, as in every other window; without them Alt+T went on
    // to the focused count field as a "t".
    const std::pair<std::array<Control, 3>, std::array<int, 3>> menus[] = {
        {{Drucken1, Tools1, Ausschreibungstext1}, {77, 78, 169}},
        {{Raumschnitt1, Deckenspiegel1, Sound1}, {76, 45, 47}},
    };
    for (const auto& [controls, entryOf] : menus) {
        const QStringList marked =
            withMnemonics({texts.text(entryOf[0]), texts.text(entryOf[1]), texts.text(entryOf[2])});
        for (std::size_t i = 0; i < controls.size(); ++i)
            t.controls.setText(controls[i], marked[static_cast<qsizetype>(i)]);
    }
    t.controls.setVisible(Ausschreibungstext1, false); // made invisible by design; its command still works
    // The floor-area hint belongs to ordinary outlets; their evaluation shows it.
    for (Control id : {Label39, Label40, Label41, Label42})
        t.controls.setVisible(id, false);
    return t;
}

ResultsWindowOutcome ResultsWindowModel::ScrollBar1Change(int position) {
    auto c = std::make_unique<PlanningCopy>(parts_);
    SetOutletCountByHand(c->rec, c->flags, position); // the evaluation colours the count field
    ResultsWindowOutcome out;
    out.results = c->rec.horizontalJet ? EvaluateHorizontalJet(c->evaluationParts(parts_.texts))
                                       : EvaluateVerticalJet(c->evaluationParts(parts_.texts));
    out.results->form3.setText(form3::Edit1, numbers::formatGeneral(position));
    c->storeInto(parts_);
    return out;
}

std::optional<ResultsWindowModel::TypedCount>
ResultsWindowModel::Edit1Change(const QString& text, int minimum, int maximum) const {
    // While the planner clears the field to type a new count there is nothing to take yet.
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const int typed = numbers::parseInt(text);
    if (typed == outletsOf(parts_.record))
        return std::nullopt;
    TypedCount taken;
    taken.position = std::clamp(typed, minimum, std::max(minimum, maximum));
    taken.evaluate = taken.position != outletsOf(parts_.record);
    return taken;
}

ResultsWindowOutcome ResultsWindowModel::Button1Click() {
    ResultsWindowOutcome out;
    out.hideSelf = true;
    out.showSelection = true;
    if (parts_.flags.loadedWithResults) {
        out.resetSelection = true;
        out.countRange = CountBar{0, 500, 0};
    }
    parts_.record.resultsWindowFlag = 0;
    out.hideFlowSimulation = true;
    parts_.record.flowPictureShown = 0;
    parts_.flags.countSetByHand = false;
    return out;
}

ResultsWindowOutcome ResultsWindowModel::Button2Click(const QString& countText) {
    const int count = numbers::parseInt(countText); // a text that is not a count changes nothing
    ResultsWindowOutcome out;
    out.hideSelf = true;
    out.hideSelection = true;
    out.showMainRoomPanel = true;
    parts_.record.outletCount = count;
    parts_.flags.spacingSetInFlowPicture = false;
    parts_.flags.freshProject = false;
    return out;
}

ResultsWindowOutcome ResultsWindowModel::FormClose() {
    ResultsWindowOutcome out;
    out.enableMainContinue = parts_.record.continueUsed != 0;
    return out;
}

ResultsWindowOutcome ResultsWindowModel::Raumschnitt1Click() {
    ResultsWindowOutcome out;
    const CalculationRecord& rec = parts_.record;
    // A vertical jet without warmer supply air does not fall into the room: nothing to draw.
    if (static_cast<long double>(rec.supplyTemp) - rec.roomTemp < 0.01L && rec.verticalJet) {
        showText(parts_.texts, parts_.dialogs, 97);
        return out;
    }
    parts_.record.flowPictureShown = 1;
    out.flowPictureLabels = std::array<QString, 3>{numbers::formatFixed(rec.velocityLimit, 3, 2),
                                                   numbers::formatFixed(rec.headHeight, 3, 2),
                                                   numbers::formatFixed(outletMountingHeight(rec), 3, 2)};
    return out;
}

bool picturePageAvailable(const CalculationRecord& rec) {
    const bool isothermalVertical =
        std::fabs(static_cast<long double>(rec.roomTemp) - rec.supplyTemp) < 0.1L && rec.verticalJet != 0;
    return !isothermalVertical;
}

ResultsWindowOutcome ResultsWindowModel::Drucken1Click() {
    ResultsWindowOutcome out;
    out.printTemperatures = picturePageAvailable(parts_.record);
    return out;
}

ResultsWindowOutcome ResultsWindowModel::Deckenspiegel1Click(const Folders& folders,
                                                             const Catalogue& catalogue, Shell& shell) {
    handOverToTool(CompanionTool::CeilingPlan, parts_.record, catalogue, folders, shell);
    ResultsWindowOutcome out;
    out.hideFlowSimulation = true;
    return out;
}

ResultsWindowOutcome ResultsWindowModel::Sound1Click(const Folders& folders, Shell& shell) {
    const Catalogue none; // the sound tool gets no judgement
    handOverToTool(CompanionTool::Sound, parts_.record, none, folders, shell);
    ResultsWindowOutcome out;
    out.hideFlowSimulation = true;
    return out;
}

ResultsWindowOutcome ResultsWindowModel::Ausschreibungstext1Click(const Folders& folders, Shell& shell) {
    ResultsWindowOutcome out;
    out.hideFlowSimulation = true;
    const QString name = parts_.record.outlet.tenderTextName();
    if (name.isEmpty()) {
        showText(parts_.texts, parts_.dialogs, 98);
        return out;
    }
    // The name comes with the record, which a project file brings: it must stay inside the folder.
    const QString path = joinPath(joinPath(folders.program, QStringLiteral("Aus_texte")), name);
    if (!isPlainFileName(name) || !shell.hasHandler(path) || !shell.open(path))
        showText(parts_.texts, parts_.dialogs, 100);
    return out;
}

void ResultsWindowModel::judge(const Catalogue& catalogue, ResultsView& view) const {
    judgementView(judgeRecord(parts_.record, choiceGeometry(catalogue, parts_.record)), view);
}

} // namespace fyl
