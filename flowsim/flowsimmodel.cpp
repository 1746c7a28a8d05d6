// The flow simulation window's input rules and its picture. Core layer (fylcore).
#include "flowsim/flowsimmodel.h"

#include "calc/arithmetic.h"
#include "frame/numbers.h"
#include "results/outletresults.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace fyl {

using ld = long double;
using numbers::formatFixed;
using numbers::formatGeneral;

Form4Texts form4CreationTexts(const TextTable& texts) {
    using namespace form4;
    Form4Texts t;
    t.title = texts.text(104);
    const std::pair<Control, int> entries[] = {
        {Label1, 108}, {Label3, 103}, {Label4, 34},     {GroupBox3, 92},  {Label14, 186},   {Label21, 93},
        {Label22, 94}, {Label23, 95}, {CheckBox1, 195}, {CheckBox2, 196}, {CheckBox3, 197}, {GroupBox1, 9},
        {Label8, 25},  {Label10, 26}, {Label12, 28},    {Button1, 58},
    };
    for (const auto& [control, entry] : entries)
        t.controls.setText(control, texts.text(entry));
    return t;
}

namespace {

double barValue(int position) {
    return static_cast<double>(ld(-position) / 10.0L);
}

int clampedBarPosition(long double value) {
    const ld position =
        std::clamp(std::trunc(value * -10.0L), ld(FlowSimModel::kBarMinimum), ld(FlowSimModel::kBarMaximum));
    return static_cast<int>(position);
}

// A wall distance the room leaves; a spacing wider than the room leaves none.
double remaining(long double span) {
    return span > 0.0L ? static_cast<double>(span) : 0.0;
}

ResultsView evaluate(PlanningCopy& c, const TextTable& texts) {
    return c.rec.horizontalJet ? EvaluateHorizontalJet(c.evaluationParts(texts))
                               : EvaluateVerticalJet(c.evaluationParts(texts));
}

} // namespace

int FlowSimModel::editPosition(const QString& text) {
    const long double value = numbers::parseReal(text);
    if (!std::isfinite(value))
        return kBarMinimum;
    return clampedBarPosition(value);
}

std::optional<QString> FlowSimModel::textInUse(const QString& text, int position) {
    const long double asked = std::trunc(numbers::parseReal(text) * -10.0L);
    if (asked == ld(position))
        return std::nullopt;
    return formatGeneral(barValue(position));
}

FlowSimOutcome FlowSimModel::ScrollBar2Change(int position) {
    auto c = std::make_unique<PlanningCopy>(parts_);
    const double spacing = barValue(position);
    c->rec.spacing = spacing;
    FlowSimOutcome out;
    if (checkBox1_ || checkBox2_) {
        const ld span = checkBox1_ ? c->rec.roomWidth : c->rec.roomLength;
        const double wall = remaining((span - spacing) / 2.0L);
        c->rec.wallLeft = wall;
        c->rec.wallRight = wall;
        out.bar3 = out.bar4 = clampedBarPosition(wall);
    }
    out.results = evaluate(*c, parts_.texts);
    // The planner's value as typed or dragged, not the evaluation's fixed-point form.
    out.results->form4.setText(form4::Edit2, formatGeneral(spacing));
    out.redraw = c->rec.flowPictureShown != 0;
    c->flags.spacingSetInFlowPicture = true;
    c->storeInto(parts_);
    return out;
}

FlowSimOutcome FlowSimModel::ScrollBar3Change(int position) {
    return wallChange(Side::Left, position);
}

FlowSimOutcome FlowSimModel::ScrollBar4Change(int position) {
    return wallChange(Side::Right, position);
}

FlowSimOutcome FlowSimModel::wallChange(Side side, int position) {
    auto c = std::make_unique<PlanningCopy>(parts_);
    CalculationRecord& rec = c->rec;
    double& moved = side == Side::Left ? rec.wallLeft : rec.wallRight;
    double& other = side == Side::Left ? rec.wallRight : rec.wallLeft;
    moved = barValue(position);
    // Only a distance the check boxes derive can run out of room; one the planner set stays his.
    if (checkBox1_ || checkBox2_) {
        const ld span = checkBox1_ ? rec.roomWidth : rec.roomLength;
        other = static_cast<double>(span - rec.spacing - moved);
        if (!(ld(other) > 0.0L)) {
            showText(parts_.texts, parts_.dialogs, 185);
            other = 0.0;
            // From the room width whichever box is ticked.
            moved = remaining(ld(rec.roomWidth) - rec.spacing);
        }
    }
    const QString leftText = formatFixed(rec.wallLeft, 4, 2);
    const QString rightText = formatFixed(rec.wallRight, 4, 2);
    FlowSimOutcome out;
    out.bar3 = clampedBarPosition(numbers::parseReal(leftText));
    out.bar4 = clampedBarPosition(numbers::parseReal(rightText));
    out.results = evaluate(*c, parts_.texts);
    out.results->form4.setText(form4::Edit3, leftText);
    out.results->form4.setText(form4::Edit4, rightText);
    out.redraw = true;
    c->storeInto(parts_);
    return out;
}

FlowSimOutcome FlowSimModel::bothWallsFrom(double span) {
    auto c = std::make_unique<PlanningCopy>(parts_);
    const double wall = remaining((ld(span) - c->rec.spacing) / 2.0L);
    c->rec.wallLeft = wall;
    c->rec.wallRight = wall;
    FlowSimOutcome out;
    out.bar3 = out.bar4 = clampedBarPosition(wall);
    out.results = evaluate(*c, parts_.texts);
    out.results->form4.setText(form4::Edit3, formatGeneral(wall));
    out.results->form4.setText(form4::Edit4, formatGeneral(wall));
    out.redraw = true;
    c->storeInto(parts_);
    return out;
}

// The boxes' states follow the controls even when the evaluation then fails.
FlowSimOutcome FlowSimModel::CheckBox1Click(bool checked) {
    checkBox1_ = checked;
    if (!checked)
        return {};
    checkBox2_ = false;
    FlowSimOutcome out = bothWallsFrom(parts_.record.roomWidth);
    out.checkBox2 = false;
    return out;
}

FlowSimOutcome FlowSimModel::CheckBox2Click(bool checked) {
    checkBox2_ = checked;
    if (!checked)
        return {};
    checkBox1_ = false;
    FlowSimOutcome out = bothWallsFrom(parts_.record.roomLength);
    out.checkBox1 = false;
    return out;
}

FlowSimOutcome FlowSimModel::CheckBox3Click(bool checked) {
    checkBox3_ = checked;
    auto c = std::make_unique<PlanningCopy>(parts_);
    FlowSimOutcome out;
    out.results = evaluate(*c, parts_.texts);
    out.redraw = true;
    c->storeInto(parts_);
    return out;
}

FlowSimOutcome FlowSimModel::Button1Click() {
    parts_.record.flowPictureShown = 0;
    FlowSimOutcome out;
    out.hideSelf = true;
    return out;
}

FlowPictureView FlowSimModel::picture(const ContourRoutine& routine) {
    CalculationRecord& rec = parts_.record;
    const FlowPictureInputs in = flowPictureInputs(rec, checkBox3_);
    storePictureInputs(in, rec);
    parts_.flags.proportionalPictureDrawn = checkBox3_;
    FlowPictureView view;
    view.contours = computeContours(pictureContourInputs(in, rec), routine);
    view.picture = drawFlowPicture(in, view.contours);
    using namespace form4;
    view.labels.setText(Label2, formatFixed(rec.velocityLimit, 3, 2));
    view.labels.setText(Label5, formatFixed(rec.headHeight, 3, 2));
    view.labels.setText(Label9, formatFixed(rec.roomWidth, 6, 2));
    view.labels.setText(Label11, formatFixed(rec.roomLength, 6, 2));
    view.labels.setText(Label13, formatFixed(rec.roomHeight, 6, 2));
    return view;
}

} // namespace fyl
