// Evaluating and ranking every calculable catalogue choice for a room. Core layer (fylcore).
#include "selection/suggestions.h"

#include "calc/draught.h"
#include "calc/evaluation.h"
#include "frame/dialogs.h"
#include "frame/numbers.h"
#include "frame/shell.h"
#include "results/outletresults.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace fyl {

namespace {

QString num(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}

// A value that breaks its limit, with as many more decimals as it takes to read above it: "LWA 35,0 dB
// > 35 dB" would look like no reason at all.
QString above(double value, double limit, int decimals) {
    QString text = num(value, decimals);
    for (int d = decimals + 1; d <= decimals + 3 && numbers::parseReal(text) <= limit; ++d)
        text = num(value, d);
    return text;
}

// The limits a planner checks first; each broken one is named with its figures.
void judge(Suggestion& s, const CalculationRecord& rec) {
    // The count range as the evaluation stored it, not as the scroll bar shows it: the bar offers
    // the least count alone when the range is empty.
    const bool perOutlet = rec.designCode.str() == QLatin1String("0");
    const int least = perOutlet ? rec.countBound2 : rec.countBound1;
    const int most = perOutlet ? rec.countBound1 : rec.countBound2;
    if (least > most || most < 1)
        s.reasons << QStringLiteral("kein zulässiger Anzahlbereich (%1 … %2)").arg(least).arg(most);
    if (s.count < 1) {
        s.reasons << QStringLiteral("Anzahl %1").arg(s.count);
    } else if (countOutsideFlowRange(rec, s.count)) {
        // Compared per outlet; slot outlets show their flow per metre elsewhere.
        s.reasons << QStringLiteral("Volumenstrom je Durchlass %1 m³/h außerhalb %2 … %3 m³/h")
                         .arg(num(rec.totalFlow / s.count, 1), num(perOutlet ? rec.outlet.vMin : rec.vMinOutlet, 1),
                              num(perOutlet ? rec.outlet.vMax : rec.vMaxOutlet, 1));
    }
    if (s.lwa > rec.maxSoundLevel)
        s.reasons << QStringLiteral("LWA %1 dB > %2 dB")
                         .arg(above(s.lwa, rec.maxSoundLevel, 1), numbers::formatGeneral(rec.maxSoundLevel));
    if (s.design == QLatin1String("0") && s.aMin && *s.aMin * *s.aMin * s.count > rec.floorArea)
        s.reasons << QStringLiteral("a min² × Anzahl %1 m² > Grundfläche %2 m²")
                         .arg(num(*s.aMin * *s.aMin * s.count, 1), numbers::formatGeneral(rec.floorArea));
    if (s.vertical && s.vMid > rec.velocityLimit)
        s.reasons << QStringLiteral("vk %1 m/s > %2 m/s")
                         .arg(above(s.vMid, rec.velocityLimit, 2), numbers::formatGeneral(rec.velocityLimit));
    s.feasible = s.reasons.isEmpty();
}

// Runs the take-over into `rec` and reads the suggestion from what it left; what fails becomes a
// reason.
template <class TakeOver>
Suggestion suggestionOf(const OutletChoice& choice, const CalculationRecord& rec, TakeOver takeOver) {
    Suggestion s;
    s.choice = choice;
    try {
        const SelectionOutcome outcome = takeOver();
        s.design = rec.designCode.str();
        if (!outcome.results || outcome.results->evaluated == JetKind::None) {
            s.reasons << QStringLiteral("keine Auswertung für diese Strahlform");
            return s;
        }
        const ResultsView& view = *outcome.results;
        s.designation = view.form3[form3::Label1].text.value_or(QString());
        s.jetFormName = rec.outlet.thirdNameText().trimmed();
        s.evaluated = true;
        s.vertical = view.evaluated == JetKind::Vertical;
        s.count = wholeOutletCount(rec.outletCount);
        s.flowPerOutlet = rec.flowPerOutlet;
        s.shownFlow = shownFlowPerOutlet(rec, view.evaluated, rec.flowPerOutlet);
        s.dp = rec.dp;
        s.lwa = rec.lwa;
        s.vMid = rec.vMid;
        if (s.vertical) {
            s.yMax = rec.yMax;
        } else {
            s.aMin = rec.aMin;
            s.wMin = rec.wMin;
            s.criticalDistance = rec.criticalDistance;
            if (rec.xKrit > 0.0)
                s.xKrit = rec.xKrit;
            s.vLeft = rec.vLeft;
            s.vRight = rec.vRight;
        }
        s.soundMargin = rec.maxSoundLevel - rec.lwa;
        const QString unit = view.form3[form3::Label8].text.value_or(QString());
        s.flowShown = view.form3[form3::Label7].text.value_or(QString()).trimmed() + QLatin1Char(' ') +
                      QString(unit).remove(QLatin1Char('[')).remove(QLatin1Char(']')).trimmed();
        if (const auto dr = headHeightDraught(rec)) {
            s.draughtRating = dr->rating;
            s.draughtCategory = dr->category;
        }
        judge(s, rec);
    } catch (const Error& e) {
        s.feasible = false;
        s.reasons << e.message();
    }
    return s;
}

} // namespace

Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs) {
    rec.continueUsed = 1;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    InertShell shell;
    return suggestionOf(choice, rec, [&] {
        SelectionModel model({{rec, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders});
        return planOutlet(model, catalogue, choice, rec);
    });
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
    // A choice that could not be evaluated has no count; it must not pass for the fewest outlets.
    if (a.evaluated != b.evaluated)
        return a.evaluated;
    if (a.count != b.count)
        return a.count < b.count;
    if (a.dp != b.dp)
        return a.dp < b.dp;
    return a.soundMargin > b.soundMargin;
}

namespace {

std::vector<Suggestion> rankedChoices(const Catalogue& catalogue, const CalculationRecord& room,
                                      const TextTable& texts, const Folders& folders, bool criticalSearch) {
    std::vector<Suggestion> all;
    // The steps a size and jet form share with their other configurations are taken once; each
    // choice goes on from there on copies, as evaluateChoice would go through all of them. The
    // result texts nobody reads here are left out; the figures are the same to the bit.
    CollectingDialogs dialogs;
    auto rec = std::make_unique<CalculationRecord>();
    const RankingShortcuts shortcuts{true, !criticalSearch};
    forEachOfferedChoice(catalogue, room, texts, folders,
                         [&](const OutletChoice& choice, const PreparedSelection& prepared) {
                             *rec = *prepared.record;
                             all.push_back(suggestionOf(choice, *rec, [&] {
                                 return finishOutlet(prepared, choice, catalogue, texts, folders, dialogs, *rec,
                                                     shortcuts);
                             }));
                         });
    std::stable_sort(all.begin(), all.end(), ranksBefore);
    return all;
}

} // namespace

std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders) {
    return rankedChoices(catalogue, room, texts, folders, true);
}

std::optional<Suggestion> bestSuggestion(const Catalogue& catalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders) {
    // The critical-distance search changes no figure the ranking compares; it can only fail, and a
    // failed choice ranks behind every evaluated one. So the order without it is the ranking's, and
    // the first feasible choice whose search does not fail heads the ranking.
    const std::vector<Suggestion> quick = rankedChoices(catalogue, room, texts, folders, false);
    if (quick.empty())
        return std::nullopt;
    for (const Suggestion& candidate : quick) {
        if (!candidate.feasible)
            break;
        Suggestion full = evaluateChoice(catalogue, room, texts, folders, candidate.choice);
        if (full.evaluated && full.feasible)
            return full;
    }
    // No feasible choice: which unsuitable one comes first needs the whole ranking.
    return suggestOutlets(catalogue, room, texts, folders).front();
}

QStringList suggestionColumns() {
    // The window's own word for the flow: per metre for slot outlets, as their unit says.
    return {QStringLiteral("Rang"),    QStringLiteral("Bezeichnung"),
            QStringLiteral("Anzahl"),  QStringLiteral("Durchlassbelastung"),
            QStringLiteral("dp"),      QStringLiteral("LWA"),
            QStringLiteral("a min"),   QStringLiteral("DR"),
            QStringLiteral("Hinweise")};
}

std::vector<SuggestionRow> suggestionRows(const std::vector<Suggestion>& list) {
    std::vector<SuggestionRow> rows;
    rows.reserve(list.size());
    int rank = 0;
    for (const Suggestion& s : list) {
        QString name = s.designation;
        if (name.isEmpty()) {
            name = QStringLiteral("%1 / Strahlform %2").arg(s.choice.size).arg(s.choice.jetForm);
            if (s.choice.length && s.choice.slotCount)
                name += QStringLiteral(" / %1 / %2").arg(numbers::formatGeneral(*s.choice.length)).arg(*s.choice.slotCount);
        }
        // Slot outlets' headings leave the jet form out; two of them would read alike.
        if (s.evaluated && s.design != QLatin1String("0") && !s.jetFormName.isEmpty())
            name += QStringLiteral(" – ") + s.jetFormName;
        SuggestionRow row;
        row.feasible = s.feasible;
        const auto add = [&row](const QString& text, std::optional<double> key) {
            row.cells << text;
            row.sortKeys.push_back(key);
        };
        ++rank;
        add(QString::number(rank), rank);
        add(name, std::nullopt);
        if (s.evaluated) {
            const bool aMinShown = s.aMin && *s.aMin >= 0.1;
            add(QString::number(s.count), s.count);
            add(s.flowShown, s.shownFlow);
            add(num(s.dp, 0) + QStringLiteral(" Pa"), s.dp);
            add(num(s.lwa, 1) + QStringLiteral(" dB"), s.lwa);
            add(aMinShown ? num(*s.aMin, 2) + QStringLiteral(" m") : QStringLiteral("–"), s.aMin);
            add(s.draughtRating ? QStringLiteral("%1 % (%2)")
                                      .arg(num(*s.draughtRating, 1), s.draughtCategory == QLatin1String("-")
                                                                         ? QStringLiteral("über C")
                                                                         : s.draughtCategory)
                                : QStringLiteral("–"),
                s.draughtRating);
        } else {
            for (int i = 0; i < 6; ++i)
                add(QString(), std::nullopt);
        }
        add(s.reasons.join(QStringLiteral("; ")), std::nullopt);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace fyl
