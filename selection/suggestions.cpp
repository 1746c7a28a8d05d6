// Evaluating and ranking every calculable catalogue choice for a room. Core layer (fylcore).
#include "selection/suggestions.h"

#include "calc/arithmetic.h"
#include "calc/draught.h"
#include "calc/evaluation.h"
#include "calc/judgement.h"
#include "calc/outletlayout.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/numbers.h"
#include "frame/shell.h"
#include "results/outletresults.h"
#include "results/planningcopy.h"
#include "selection/selectionlists.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace fyl {

using ld = long double;

namespace {

QString num(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}


// Evaluates the choice in `rec` at `count` outlets set by hand, with the flow picture at the given
// section; the critical-distance search only when asked for.
void evaluateAt(CalculationRecord& rec, bool horizontal, int count, const LayoutSection* section,
                bool criticalSearch, std::optional<HorizontalResult>& h, std::optional<VerticalResult>& v) {
    rec.outletCount = count;
    if (section != nullptr) {
        const double wall = section->wall.value_or(0.0);
        rec.spacing = section->spacing.value_or(2.0 * wall);
        rec.wallLeft = wall;
        rec.wallRight = wall;
        rec.resultsWindowFlag = 0;
    }
    if (horizontal) {
        HorizontalResult r = evaluateHorizontal(rec, true, criticalSearch);
        requireFiniteResult(r);
        storeResults(rec, r);
        h = r;
        v.reset();
    } else {
        VerticalResult r = evaluateVertical(rec, true);
        requireFiniteResult(r);
        storeResults(rec, r);
        v = r;
        h.reset();
    }
}

// The figures of the record the take-over and the layout search left.
void readFigures(Suggestion& s, const CalculationRecord& rec, const ResultsView& view) {
    s.design = rec.designCode.str();
    s.designation = view.form3[form3::Label1].text.value_or(s.designation);
    s.jetFormName = rec.outlet.thirdNameText().trimmed();
    s.evaluated = true;
    s.vertical = view.evaluated == JetKind::Vertical;
    s.count = outletsOf(rec);
    s.flowPerOutlet = rec.flowPerOutlet;
    s.shownFlow = shownFlowPerOutlet(rec, view.evaluated, rec.flowPerOutlet);
    s.dp = rec.dp;
    s.lwa = rec.lwa;
    s.vMid = rec.vMid;
    s.aMin.reset();
    s.wMin.reset();
    s.criticalDistance.reset();
    s.xKrit.reset();
    s.vLeft.reset();
    s.vRight.reset();
    s.yMax.reset();
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
    s.lwaTogether = s.count > 0 ? rec.lwa + 10.0 * std::log10(double(s.count)) : rec.lwa;
    const QString unit = view.form3[form3::Label8].text.value_or(QString());
    s.flowShown = num(s.shownFlow, 2) + QLatin1Char(' ') +
                  QString(unit).remove(QLatin1Char('[')).remove(QLatin1Char(']')).trimmed();
}

// Runs the take-over into `rec`, searches the layouts and reads the suggestion from what that left;
// what fails becomes a reason. Not `full`: only what the order needs, without the critical-distance
// search and the checks' texts (so without reasons).
// With `failAbove` (the failed checks of an evaluated choice found before), layouts that fail more
// are not searched: a choice none of whose layouts is left cannot head the ranking, and `outranked`
// is set instead of a suggestion being made.
// The judgement a suggestion shows: its layout, its checks, its draught rating and its place in the order.
void applyJudgement(Suggestion& s, const Judgement& j, bool full) {
    if (j.placed)
        s.layout = j.layout;
    s.checks = j.checks;
    s.draughtValid = j.draughtValid;
    if (j.draught) {
        s.draughtRating = j.draught->rating;
        s.draughtCategory = j.draught->category;
    }
    s.order = orderOf(j);
    s.feasible = j.feasible;
    if (full)
        for (const LayoutCheck& c : s.checks)
            if (!c.ok)
                s.reasons << c.text;
}

template <class TakeOver>
Suggestion suggestionOf(const OutletChoice& choice, CalculationRecord& rec, ChoiceGeometries& geometries,
                        const RankingOptions& options, bool full, TakeOver takeOver,
                        std::optional<int> failAbove = std::nullopt, bool* outranked = nullptr) {
    const bool criticalSearch = full;
    JudgementTerms terms;
    terms.targetCategory = options.targetCategory;
    terms.wording = full ? Wording::Worded : Wording::Listed;
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
        readFigures(s, rec, view);
        const CountRange range = countRangeOf(rec);
        const ChoiceGeometry geometry = geometries.of(rec);
        JudgementTerms searching = terms;
        searching.failAbove = failAbove;
        bool cut = false;
        std::optional<Judgement> best = bestLayout(rec, geometry, range, range.least, range.most, searching, &cut);
        if (!best && (range.least > range.most || range.most < 1)) {
            // No count in range: the proposal's count, judged at its layouts, says why.
            best = bestLayout(rec, geometry, range, s.count, s.count, searching, &cut);
        }
        if (!best && cut && outranked != nullptr) {
            *outranked = true;
            return s;
        }
        const bool horizontal = rec.horizontalJet != 0;
        std::optional<HorizontalResult> h;
        std::optional<VerticalResult> v;
        if (!best) {
            // Nothing fits the room: the proposal's figures, with the checks that need no layout.
            evaluateAt(rec, horizontal, s.count, nullptr, criticalSearch, h, v);
            readFigures(s, rec, view);
            if (const std::optional<Judgement> shown = judgeRecord(rec, geometry, options.targetCategory))
                applyJudgement(s, *shown, full);
            return s;
        }
        // A vertical jet's figures do not depend on the distances, but the flow picture, the
        // exchange files and so the ceiling plan show the layout's: its first section.
        const std::vector<LayoutSection> sections = sectionsOf(best->layout);
        const LayoutSection* section = horizontal        ? &best->worst
                                       : sections.empty() ? nullptr
                                                          : &sections.front();
        evaluateAt(rec, horizontal, best->count, section, criticalSearch, h, v);
        readFigures(s, rec, view);
        const Judgement shown = judgeLayout(rec, geometry, h ? &*h : nullptr, v ? &*v : nullptr, best->count,
                                            range, best->layout, terms);
        if (section != nullptr) {
            s.pictureSpacing = rec.spacing;
            s.pictureWall = rec.wallLeft;
        }
        applyJudgement(s, shown, full);
    } catch (const Error& e) {
        s.feasible = false;
        s.reasons << e.message();
    }
    return s;
}

} // namespace

Suggestion takeOverChoice(const Catalogue& catalogue, CalculationRecord& rec, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, Dialogs& dialogs,
                          const RankingOptions& options) {
    rec.continueUsed = 1;
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    InertShell shell;
    ChoiceGeometries geometries(catalogue);
    return suggestionOf(choice, rec, geometries, options, true, [&] {
        SelectionModel model({{rec, flags, working, calcStatus, texts, dialogs}, catalogue, shell, folders});
        return planOutlet(model, catalogue, choice, rec);
    });
}

Suggestion evaluateChoice(const Catalogue& catalogue, const CalculationRecord& room, const TextTable& texts,
                          const Folders& folders, const OutletChoice& choice, const RankingOptions& options) {
    auto rec = std::make_unique<CalculationRecord>(room);
    CollectingDialogs dialogs;
    return takeOverChoice(catalogue, *rec, texts, folders, choice, dialogs, options);
}

bool ranksBefore(const Suggestion& a, const Suggestion& b) {
    return judgedBefore(a.order, b.order);
}

void showAsSuggested(const Suggestion& suggestion, PlanningParts parts, SelectionOutcome& outcome) {
    if (!suggestion.evaluated || !outcome.results || outcome.results->evaluated == JetKind::None)
        return;
    auto copy = std::make_unique<PlanningCopy>(parts);
    CalculationRecord& rec = copy->rec;
    rec.outletCount = suggestion.count;
    copy->flags.countSetByHand = true;
    copy->flags.spacingSetInFlowPicture = false;
    if (suggestion.pictureSpacing && suggestion.pictureWall) {
        rec.spacing = *suggestion.pictureSpacing;
        rec.wallLeft = *suggestion.pictureWall;
        rec.wallRight = *suggestion.pictureWall;
        rec.resultsWindowFlag = 0;
    }
    ResultsView view = *outcome.results;
    const ResultsView again = outcome.results->evaluated == JetKind::Horizontal
                                  ? EvaluateHorizontalJet(copy->evaluationParts(parts.texts))
                                  : EvaluateVerticalJet(copy->evaluationParts(parts.texts));
    // The heading and visibilities of the take-over stay; the figures are the new evaluation's.
    applyView(view, again);
    outcome.results = view;
    copy->storeInto(parts);
}

namespace {

// Choices that differ only in the tube diameter or the slot length and give the same figures, as
// the list shows them, are one row.
QString figuresKey(const Suggestion& s) {
    if (!s.evaluated)
        return {};
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
               .arg(s.choice.type, s.choice.size)
               .arg(s.choice.jetForm)
               .arg(s.choice.slotCount.value_or(0))
               .arg(s.count)
               .arg(num(s.shownFlow, 2), num(s.dp, 0), num(s.lwa, 1))
               .arg(s.layout ? layoutText(*s.layout) : QString()) +
           (s.draughtRating ? num(*s.draughtRating, 1) : QString()) +
           (s.feasible ? QStringLiteral("+") : QString());
}

QString choiceText(const OutletChoice& c) {
    QString text = c.size;
    if (c.length)
        text += QStringLiteral(" / %1 mm").arg(numbers::formatGeneral(*c.length));
    if (c.tube)
        text += QStringLiteral(" / Rohr %1 mm").arg(numbers::formatGeneral(*c.tube));
    return text;
}

void groupAlike(std::vector<Suggestion>& list) {
    // Only rows of one type, size, jet form, slot count and count can be alike; their full keys,
    // which take formatting, are made only when such a row is already there.
    using Bucket = std::tuple<QString, QString, int, int, int>;
    std::map<Bucket, std::vector<std::size_t>> buckets;
    std::vector<Suggestion> grouped;
    std::vector<QString> keys; // per grouped row; empty until needed
    for (Suggestion& s : list) {
        if (s.evaluated) {
            std::vector<std::size_t>& rows = buckets[Bucket{s.choice.type, s.choice.size, s.choice.jetForm,
                                                             s.choice.slotCount.value_or(0), s.count}];
            if (!rows.empty()) {
                const QString key = figuresKey(s);
                const auto same = std::find_if(rows.begin(), rows.end(), [&](std::size_t row) {
                    if (keys[row].isEmpty())
                        keys[row] = figuresKey(grouped[row]);
                    return keys[row] == key;
                });
                if (same != rows.end()) {
                    grouped[*same].alternatives << choiceText(s.choice);
                    continue;
                }
                keys.push_back(key);
            } else {
                keys.emplace_back();
            }
            rows.push_back(grouped.size());
        } else {
            keys.emplace_back();
        }
        grouped.push_back(std::move(s));
    }
    list = std::move(grouped);
}

// The ranking: `Full` with every figure and text; `Quick` in the same order, with what the order needs;
// `Head` as quick, but only choices that may head it, so the first is the head and the others follow
// in order, though not all of them.
enum class Ranking { Full, Quick, Head };

std::vector<Suggestion> rankedChoices(const Catalogue& catalogue, const CalculationRecord& room,
                                      const TextTable& texts, const Folders& folders, Ranking ranking,
                                      const RankingOptions& options) {
    const bool full = ranking == Ranking::Full;
    std::optional<JudgementOrder> head; // of the evaluated choices so far, for `Head`
    std::vector<Suggestion> all;
    // The steps a size and jet form share with their other configurations are taken once; each
    // choice goes on from there on copies, as evaluateChoice would go through all of them. The
    // result texts nobody reads here are left out; the figures are the same to the bit.
    CollectingDialogs dialogs;
    auto rec = std::make_unique<CalculationRecord>();
    const RankingShortcuts shortcuts{true, true, ranking != Ranking::Full};
    ChoiceGeometries geometries(catalogue);
    forEachOfferedChoice(
        catalogue, room, texts, folders,
        [&](const OutletChoice& choice, const PreparedSelection& prepared) {
            *rec = *prepared.record;
            bool outranked = false;
            Suggestion s = suggestionOf(
                choice, *rec, geometries, options, full,
                [&] { return finishOutlet(prepared, choice, catalogue, texts, folders, dialogs, *rec, shortcuts); },
                head ? std::optional<int>(head->failed) : std::nullopt, &outranked);
            if (outranked)
                return;
            if (ranking == Ranking::Head && s.evaluated) {
                if (!head || judgedBefore(s.order, *head))
                    head = s.order;
            }
            all.push_back(std::move(s));
        },
        options.skipped);
    std::stable_sort(all.begin(), all.end(), ranksBefore);
    groupAlike(all);
    return all;
}

} // namespace

std::vector<Suggestion> suggestOutlets(const Catalogue& catalogue, const CalculationRecord& room,
                                       const TextTable& texts, const Folders& folders,
                                       const RankingOptions& options) {
    return rankedChoices(withDetailRecords(catalogue, folders.program), room, texts, folders, Ranking::Full,
                         options);
}

std::optional<Suggestion> bestSuggestion(const Catalogue& givenCatalogue, const CalculationRecord& room,
                                         const TextTable& texts, const Folders& folders,
                                         const RankingOptions& options) {
    const Catalogue catalogue = withDetailRecords(givenCatalogue, folders.program);
    // The critical-distance search changes no figure the ranking compares; it can only fail, and a
    // failed choice ranks behind every evaluated one. So the order without it is the ranking's, and
    // the first feasible choice whose search does not fail heads the ranking. Mostly that is the
    // first of all, which the search for the head alone finds.
    const std::vector<Suggestion> heads = rankedChoices(catalogue, room, texts, folders, Ranking::Head, options);
    if (heads.empty())
        return std::nullopt;
    if (const Suggestion& first = heads.front(); first.evaluated) {
        Suggestion full = evaluateChoice(catalogue, room, texts, folders, first.choice, options);
        if (full.evaluated && full.feasible == first.feasible) {
            full.alternatives = first.alternatives;
            return full;
        }
    }
    // Its search failed: the runners-up need the whole order.
    const std::vector<Suggestion> quick = rankedChoices(catalogue, room, texts, folders, Ranking::Quick, options);
    // The same holds among unsuitable choices when none is suitable: the head is the first whose
    // search does not fail.
    const bool anySuitable = quick.front().feasible;
    for (const Suggestion& candidate : quick) {
        if (candidate.feasible != anySuitable || !candidate.evaluated)
            break;
        Suggestion full = evaluateChoice(catalogue, room, texts, folders, candidate.choice, options);
        if (full.evaluated && full.feasible == candidate.feasible) {
            full.alternatives = candidate.alternatives;
            return full;
        }
    }
    // Every candidate's search failed: the whole ranking decides.
    return suggestOutlets(catalogue, room, texts, folders, options).front();
}

QStringList suggestionColumns() {
    // The window's own word for the flow: per metre for slot outlets, as their unit says.
    return {QStringLiteral("Rang"),
            QStringLiteral("Bezeichnung"),
            QStringLiteral("Anzahl"),
            QStringLiteral("Anordnung"),
            QStringLiteral("Durchlassbelastung"),
            QStringLiteral("dp"),
            QStringLiteral("LWA"),
            QStringLiteral("a min"),
            QStringLiteral("DR"),
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
                name += QStringLiteral(" / %1 / %2")
                            .arg(numbers::formatGeneral(*s.choice.length))
                            .arg(*s.choice.slotCount);
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
            add(s.layout ? layoutText(*s.layout) : QStringLiteral("–"), std::nullopt);
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
            for (int i = 0; i < 7; ++i)
                add(QString(), std::nullopt);
        }
        QStringList notes = s.reasons;
        if (!s.alternatives.isEmpty())
            notes << QStringLiteral("ebenso: ") + s.alternatives.join(QStringLiteral(", "));
        add(notes.join(QStringLiteral("; ")), std::nullopt);
        // Every check with its figures, as the row's tool tip.
        QStringList checks;
        for (const LayoutCheck& c : s.checks)
            checks << (c.ok ? QStringLiteral("✓ ") : QStringLiteral("✗ ")) + c.text;
        if (s.evaluated && s.count > 1)
            checks << QStringLiteral("LWA aller %1 Durchlässe zusammen %2 dB")
                          .arg(s.count)
                          .arg(num(s.lwaTogether, 1));
        row.toolTip = checks.join(QLatin1Char('\n'));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace fyl
