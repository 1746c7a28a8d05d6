#pragma once

#include "frame/appstate.h"

#include <QString>

#include <map>
#include <optional>

// The evaluation of the chosen outlet in the room: the count step, the horizontal-jet and the
// vertical-jet evaluation, and the dispatcher that heads the calculation window. The functions
// update the record, the working values and the status of the last formula call in the state,
// and describe what the calculation window (TForm3) and the flow simulation window (TForm4)
// show in a ResultsView; the windows only apply it.
namespace fyl {

enum class LabelColour { Normal, Red }; // Normal: the control's standard colour

struct ControlView {
    std::optional<QString> text;
    std::optional<LabelColour> colour;
    std::optional<bool> visible;
};

struct ScrollBarView {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

struct ResultsView {
    // Keyed by control name; controls of the flow simulation window carry the prefix "TForm4.".
    std::map<QString, ControlView> controls;
    // TForm3.ScrollBar1, the outlet count. The values are as computed: the scroll bar itself
    // clamps the position into its range when the window applies them.
    std::optional<ScrollBarView> countBar;
    // TForm4.ScrollBar2 position (the spacing slider); absent while the planner set the spacing there.
    std::optional<int> spacingBarPosition;

    void setText(const QString& name, const QString& text) { controls[name].text = text; }
    void setColour(const QString& name, LabelColour colour) { controls[name].colour = colour; }
    void setVisible(const QString& name, bool visible) { controls[name].visible = visible; }
};

enum class JetKind { None, Horizontal, Vertical };

// The dispatcher: heading, article number and unit labels, then the evaluation that the jet
// form code asks for. Faults (ArithmeticError) end it; the view then holds what was set before.
JetKind ShowOutletResults(AppState& state, ResultsView& view);
void EvaluateHorizontalJet(AppState& state, ResultsView& view);
void EvaluateVerticalJet(AppState& state, ResultsView& view);

// The jet kind of a jet form code: "01", "04", "05", "06" horizontal; "02", "03" vertical.
JetKind jetKindOfCode(const QString& jetFormCode);

// What moving the calculation window's count scroll bar to `count` does before the evaluation
// runs again: the count is taken as given, marked as set by hand, and the flow per outlet is
// the total flow shared by it. Returns true when that flow lies outside the outlet's range
// (the count edit turns red). A count of 0 raises ArithmeticError.
bool SetOutletCountByHand(AppState& state, int count);

} // namespace fyl
