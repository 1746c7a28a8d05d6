// The flow simulation window's rules without widgets: its texts, the spacing and wall distance
// sliders and fields, the three check boxes, the way back and the picture they redraw. Core
// layer (fylcore).
#pragma once

#include "flowsim/flowpicture.h"
#include "results/planningcopy.h"
#include "results/resultsview.h"

#include <QString>

#include <optional>
#include <vector>

namespace fyl {

// The window title and the fixed texts the text table gives the window.
struct Form4Texts {
    QString title;
    Form4View controls;
};
Form4Texts form4CreationTexts(const TextTable& texts);

// What a flow simulation action asks of the windows.
struct FlowSimOutcome {
    std::optional<ResultsView> results; // apply to TForm3 and TForm4
    // New positions of the three sliders, set without running their handlers again.
    std::optional<int> bar2, bar3, bar4;
    std::optional<bool> checkBox1, checkBox2; // the other box unticked
    bool redraw = false;
    bool hideSelf = false;
};

// A drawn picture and the labels that go with it.
struct FlowPictureView {
    FlowPicture picture;
    Form4View labels;
    std::vector<OutletContour> contours; // the zones the picture shows, one per drawn outlet
};

using FlowSimParts = PlanningParts;

// Each action works on copies and stores them only at its end, so an error changes nothing.
class FlowSimModel {
public:
    static constexpr int kBarMinimum = -100; // 10 m
    static constexpr int kBarMaximum = 0;

    explicit FlowSimModel(FlowSimParts parts) : parts_(parts) {}

    FlowSimOutcome ScrollBar2Change(int position); // spacing
    FlowSimOutcome ScrollBar3Change(int position); // wall distance left
    FlowSimOutcome ScrollBar4Change(int position); // wall distance right
    // Enter in, or leaving, Edit2 … Edit4: the slider position the text asks for, clamped as the
    // slider clamps it. A text that is not a number raises ConversionError.
    static int editPosition(const QString& text);
    // The text of the value at `position` when `text` asks for another one the slider could not
    // take (beyond 10 m, below 0); none when the text stands for the value in use.
    static std::optional<QString> textInUse(const QString& text, int position);
    FlowSimOutcome CheckBox1Click(bool checked); // the section spans the room width
    FlowSimOutcome CheckBox2Click(bool checked); // the section spans the room length
    FlowSimOutcome CheckBox3Click(bool checked); // the height at the scale of the width
    FlowSimOutcome Button1Click();

    // Draws the picture as the state now stands; `routine` computes the zones (none: no zones).
    FlowPictureView picture(const ContourRoutine& routine);

    bool checkBox1() const { return checkBox1_; }
    bool checkBox2() const { return checkBox2_; }
    bool checkBox3() const { return checkBox3_; }

private:
    enum class Side { Left, Right };
    FlowSimOutcome wallChange(Side side, int position);
    FlowSimOutcome bothWallsFrom(double span);

    FlowSimParts parts_;
    bool checkBox1_ = false;
    bool checkBox2_ = false;
    bool checkBox3_ = false;
};

} // namespace fyl
