// Evaluating and ranking every calculable catalogue choice for a room. Core layer (fylcore).
#include "selection/suggestions.h"

#include "calc/draught.h"
#include "calc/evaluation.h"
#include "frame/dialogs.h"
#include "frame/numbers.h"
#include "frame/shell.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace fyl {

namespace {

QString num(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}

// The limits a planner checks first; each broken one is named with its figures.
void judge(Suggestion& s, const CalculationRecord& rec, const ResultsView& view) {
    if (!view.countBar || view.countBar->minimum > view.countBar->maximum || view.countBar->maximum < 1)
        s.reasons << QStringLiteral("kein zulässiger Anzahlbereich");
    const int count = static_cast<int>(s.count);
    if (count < 1)
        s.reasons << QStringLiteral("Anzahl %1").arg(num(s.count, 0));
    else if (countOutsideFlowRange(rec, count))
        s.reasons << QStringLiteral("Volumenstrom je Durchlass %1 außerhalb %2 … %3")
                         .arg(num(s.flowPerOutlet, 2),
                              num(rec.designCode.str() == QLatin1String("0") ? rec.outlet.vMin : rec.vMinOutlet, 2),
                              num(rec.designCode.str() == QLatin1String("0") ? rec.outlet.vMax : rec.vMaxOutlet, 2));
    if (s.lwa > rec.maxSoundLevel)
        s.reasons << QStringLiteral("LWA %1 dB > %2 dB").arg(num(s.lwa, 1), numbers::formatGeneral(rec.maxSoundLevel));
    if (s.design == QLatin1String("0") && s.aMin && *s.aMin * *s.aMin * s.count > rec.floorArea)
        s.reasons << QStringLiteral("a min² × Anzahl %1 m² > Grundfläche %2 m²")
                         .arg(num(*s.aMin * *s.aMin * s.count, 1), numbers::formatGeneral(rec.floorArea));
    if (s.vertical && s.vMid > rec.velocityLimit)
        s.reasons << QStringLiteral("vk %1 m/s > %2 m/s").arg(num(s.vMid, 2), numbers::formatGeneral(rec.velocityLimit));
    s.feasible = s.reasons.isEmpty();
}

} // namespace

Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs) {
    Suggestion s;
    s.choice = choice;
    rec.continueUsed = 1;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    InertShell shell;
    try {
        SelectionModel model({{rec, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders});
        const SelectionOutcome outcome = planOutlet(model, catalogue, choice, rec);
        s.design = rec.designCode.str();
        if (!outcome.results || outcome.results->evaluated == JetKind::None) {
            s.reasons << QStringLiteral("keine Auswertung für diese Strahlform");
            return s;
        }
        const ResultsView& view = *outcome.results;
        s.designation = view.form3[form3::Label1].text.value_or(QString());
        s.vertical = view.evaluated == JetKind::Vertical;
        s.count = wholeOutletCount(rec.outletCount);
        s.flowPerOutlet = rec.flowPerOutlet;
        s.dp = rec.dp;
        s.lwa = rec.lwa;
        s.vMid = rec.vMid;
        if (s.vertical) {
            s.yMax = rec.yMax;
        } else {
            s.aMin = rec.aMin;
            s.wMin = rec.wMin;
            s.criticalDistance = rec.criticalDistance;
            s.vLeft = rec.vLeft;
            s.vRight = rec.vRight;
        }
        s.soundMargin = rec.maxSoundLevel - rec.lwa;
        if (const auto dr = headHeightDraught(rec)) {
            s.draughtRating = dr->rating;
            s.draughtCategory = dr->category;
        }
        judge(s, rec, view);
    } catch (const Error& e) {
        s.feasible = false;
        s.reasons << e.message();
    }
    return s;
}

Suggestion evaluateChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice) {
    auto rec = std::make_unique<CalculationRecord>(room);
    CollectingDialogs dialogs;
    return takeOverChoice(catalogue, *rec, texts, folders, choice, dialogs);
}

bool ranksBefore(const Suggestion& a, const Suggestion& b) {
    if (a.feasible != b.feasible)
        return a.feasible;
    if (a.count != b.count)
        return a.count < b.count;
    if (a.dp != b.dp)
        return a.dp < b.dp;
    return a.soundMargin > b.soundMargin;
}

std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders) {
    std::vector<Suggestion> all;
    for (const OutletChoice& choice : offeredChoices(catalogue, room, texts, folders))
        all.push_back(evaluateChoice(catalogue, room, texts, folders, choice));
    std::stable_sort(all.begin(), all.end(), ranksBefore);
    return all;
}

} // namespace fyl
