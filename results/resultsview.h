// What the evaluation shows in the calculation window (TForm3) and the flow simulation window
// (TForm4): typed identifiers of the controls it fills, spelled as the windows name them, and
// the view that addresses them. Core layer (fylcore); the windows only apply a view.
#pragma once

#include "calc/evaluation.h"

#include <QString>

#include <array>
#include <optional>

namespace fyl {

// The lists below are the one place where an identifier and its control name are written: the
// enumerator is the name. A window resolves each identifier to its control when it is built.
#define FYL_FORM3_CONTROLS(X)                                                                                \
    X(Label1)                                                                                                \
    X(Label4)                                                                                                \
    X(Label6)                                                                                                \
    X(Label7)                                                                                                \
    X(Label8)                                                                                                \
    X(Label10)                                                                                               \
    X(Label13)                                                                                               \
    X(Label15)                                                                                               \
    X(Label19)                                                                                               \
    X(Label20)                                                                                               \
    X(Label21)                                                                                               \
    X(Label22)                                                                                               \
    X(Label23)                                                                                               \
    X(Label35)                                                                                               \
    X(Label36)                                                                                               \
    X(Label39)                                                                                               \
    X(Label40)                                                                                               \
    X(Label41)                                                                                               \
    X(Label42)                                                                                               \
    X(Label44)                                                                                               \
    X(DraughtHint)                                                                                           \
    X(judgementBox)                                                                                          \
    X(judgementLayout)                                                                                       \
    X(judgementLines)                                                                                        \
    X(Edit1)                                                                                                 \
    X(GroupBox1)                                                                                             \
    X(GroupBox2)                                                                                             \
    X(GroupBox4)                                                                                             \
    X(Label2)                                                                                                \
    X(Label3)                                                                                                \
    X(Label5)                                                                                                \
    X(Label9)                                                                                                \
    X(Label12)                                                                                               \
    X(Label17)                                                                                               \
    X(Label18)                                                                                               \
    X(Label33)                                                                                               \
    X(Label34)                                                                                               \
    X(Label43)                                                                                               \
    X(Button1)                                                                                               \
    X(Button2)                                                                                               \
    X(Drucken1)                                                                                              \
    X(Tools1)                                                                                                \
    X(Raumschnitt1)                                                                                          \
    X(Deckenspiegel1)                                                                                        \
    X(Sound1)                                                                                                \
    X(Ausschreibungstext1)

#define FYL_FORM4_CONTROLS(X)                                                                                \
    X(Edit2)                                                                                                 \
    X(Edit3)                                                                                                 \
    X(Edit4)                                                                                                 \
    X(Label27)                                                                                               \
    X(Label28)                                                                                               \
    X(Label29)                                                                                               \
    X(Label1)                                                                                                \
    X(Label2)                                                                                                \
    X(Label3)                                                                                                \
    X(Label4)                                                                                                \
    X(Label5)                                                                                                \
    X(Label8)                                                                                                \
    X(Label9)                                                                                                \
    X(Label10)                                                                                               \
    X(Label11)                                                                                               \
    X(Label12)                                                                                               \
    X(Label13)                                                                                               \
    X(Label14)                                                                                               \
    X(Label15)                                                                                               \
    X(Label21)                                                                                               \
    X(Label22)                                                                                               \
    X(Label23)                                                                                               \
    X(GroupBox1)                                                                                             \
    X(GroupBox3)                                                                                             \
    X(CheckBox1)                                                                                             \
    X(CheckBox2)                                                                                             \
    X(CheckBox3)                                                                                             \
    X(Button1)

#define FYL_ENUMERATOR(name) name,
#define FYL_NAME_TEXT(name) #name,

namespace form3 {
enum Control : int { FYL_FORM3_CONTROLS(FYL_ENUMERATOR) };
inline constexpr std::array kControlNames = {FYL_FORM3_CONTROLS(FYL_NAME_TEXT)};
} // namespace form3

namespace form4 {
enum Control : int { FYL_FORM4_CONTROLS(FYL_ENUMERATOR) };
inline constexpr std::array kControlNames = {FYL_FORM4_CONTROLS(FYL_NAME_TEXT)};
} // namespace form4

#undef FYL_ENUMERATOR
#undef FYL_NAME_TEXT

inline const char* controlName(form3::Control id) {
    return form3::kControlNames[static_cast<std::size_t>(id)];
}
inline const char* controlName(form4::Control id) {
    return form4::kControlNames[static_cast<std::size_t>(id)];
}

enum class LabelColour { Normal, Red, Green }; // Normal: the control's standard colour

// What one control is given; an absent part is left as the control has it.
struct ControlView {
    std::optional<QString> text;
    std::optional<LabelColour> colour; // text colour; for an edit its background, red or white
    std::optional<bool> visible;
};

// The controls of one window, indexed by their identifiers.
template <class IdType, std::size_t N> class FormView {
public:
    using Id = IdType;
    static constexpr std::size_t size = N;
    void setText(Id id, const QString& text) { at(id).text = text; }
    void setColour(Id id, LabelColour colour) { at(id).colour = colour; }
    void setVisible(Id id, bool visible) { at(id).visible = visible; }
    const ControlView& operator[](Id id) const { return controls_[static_cast<std::size_t>(id)]; }

private:
    ControlView& at(Id id) { return controls_[static_cast<std::size_t>(id)]; }
    std::array<ControlView, N> controls_{};
};

using Form3View = FormView<form3::Control, form3::kControlNames.size()>;
using Form4View = FormView<form4::Control, form4::kControlNames.size()>;

// Everything one run of the dispatcher or an evaluation shows.
struct ResultsView {
    JetKind evaluated = JetKind::None; // which evaluation filled the view
    Form3View form3;
    Form4View form4;
    std::optional<CountBar> countBar; // TForm3.ScrollBar1
    std::optional<int>
        spacingBarPosition; // TForm4.ScrollBar2; absent while the planner set the spacing there
};

// What the windows show once `next` is applied after `shown`: every part `next` gives replaces
// the one before, the rest stays.
template <class View> void applyView(View& shown, const View& next) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        const ControlView& control = next[id];
        if (control.text)
            shown.setText(id, *control.text);
        if (control.colour)
            shown.setColour(id, *control.colour);
        if (control.visible)
            shown.setVisible(id, *control.visible);
    }
}
inline void applyView(ResultsView& shown, const ResultsView& next) {
    if (next.evaluated != JetKind::None)
        shown.evaluated = next.evaluated;
    applyView(shown.form3, next.form3);
    applyView(shown.form4, next.form4);
    if (next.countBar)
        shown.countBar = next.countBar;
    if (next.spacingBarPosition)
        shown.spacingBarPosition = next.spacingBarPosition;
}

} // namespace fyl
