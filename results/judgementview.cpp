// The calculation window's part of a judgement: texts, colours and visibilities. Core layer
// (fylcore).
#include "results/judgementview.h"

#include "calc/draught.h"
#include "frame/numbers.h"

#include <algorithm>

namespace fyl {

void judgementView(const std::optional<Judgement>& j, ResultsView& view) {
    using namespace form3;
    Form3View& v = view.form3;
    v.setVisible(judgementBox, true);
    if (!j) {
        v.setVisible(judgementLayout, false);
        v.setVisible(DraughtHint, false);
        v.setText(judgementLines, QStringLiteral("Die Anordnung konnte nicht beurteilt werden."));
        v.setColour(judgementLines, LabelColour::Red);
        return;
    }
    v.setVisible(judgementLayout, true);
    v.setText(judgementLayout, j->placed ? QStringLiteral("Anordnung: ") + layoutText(j->layout)
                                         : QStringLiteral("Anordnung: keine passt in den Raum"));
    const QString draught = draughtRatingText(*j);
    if (!draught.isEmpty())
        v.setText(DraughtHint, QStringLiteral("Zugluftrisiko DR (EN ISO 7730, Tu %1 %): %2")
                                   .arg(numbers::formatGeneral(kDefaultTurbulence), draught));
    v.setVisible(DraughtHint, !draught.isEmpty());
    v.setText(judgementLines, verdictLines(*j).join(QLatin1Char('\n')));
    v.setColour(judgementLines, j->feasible ? LabelColour::Green : LabelColour::Red);
}

QString draughtRatingText(const Judgement& j) {
    if (!j.draught)
        return {};
    QString text = QStringLiteral("%1 % – %2")
                       .arg(numbers::formatFixed(j.draught->rating, 15, 1),
                            j.draught->category == QLatin1String("-")
                                ? QStringLiteral("schlechter als Kategorie C")
                                : QStringLiteral("Kategorie ") + j.draught->category);
    // Outside the model's temperature range the figure is shown but judges nothing.
    const auto check = std::find_if(j.checks.begin(), j.checks.end(),
                                    [](const LayoutCheck& c) { return c.name == QLatin1String("draught"); });
    if (check != j.checks.end() && !check->decides)
        text += QStringLiteral(", Raumtemperatur außerhalb 20 … 26 °C: nicht bewertet");
    return text;
}

void hideJudgement(ResultsView& view) {
    view.form3.setVisible(form3::judgementBox, false);
}

} // namespace fyl
