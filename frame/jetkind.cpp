// The rule from design and jet form code to the evaluation and its texts. Core layer (fylcore).
#include "frame/jetkind.h"

namespace fyl {

namespace {

// The jet form texts of the horizontal slot forms, in the hint and in the printed slot table.
int horizontalFormEntry(QStringView code) {
    if (code == u"04")
        return 175;
    if (code == u"05")
        return 176;
    if (code == u"06")
        return 177;
    return 0;
}

} // namespace

JetFormRule jetFormOf(QStringView design, QStringView code) {
    // Slot outlets of designs "1" and "2" are printed per metre of slot, in their own tables.
    const bool slotTable = design == u"1" || design == u"2";
    if (code == u"01" || code == u"04" || code == u"05" || code == u"06") {
        const int form = horizontalFormEntry(code);
        return {JetKind::Horizontal, code == u"04" || code == u"06", form != 0 ? form : 86,
                slotTable ? form : 154};
    }
    if (code == u"02" || code == u"03")
        return {JetKind::Vertical, false, code == u"03" ? 174 : 89, slotTable ? 174 : 155};
    return {};
}

JetFormRule jetFormAs(JetKind evaluated, QStringView design, QStringView code) {
    const JetFormRule form = jetFormOf(design, code);
    if (form.kind == evaluated || evaluated == JetKind::None)
        return form;
    return jetFormOf(design, evaluated == JetKind::Vertical ? u"02" : u"01");
}

} // namespace fyl
