#include "catalogue/outletfields.h"

#include "frame/ansi.h"

#include <array>
#include <cstring>

namespace fyl {

namespace {

#define REAL(key, member)                                                                                    \
    OutletRealField {                                                                                        \
        key, offsetof(OutletRecord, member)                                                                  \
    }
constexpr std::array kRealFields = {
    REAL("v_min", vMin),
    REAL("v_max", vMax),
    REAL("pressure_k", pressureK),
    REAL("pressure_m", pressureM),
    REAL("sound_b", soundB),
    REAL("sound_a", soundA),
    REAL("decay_k", decayK),
    REAL("decay_b", decayB),
    REAL("decay_a", decayA),
    REAL("free_jet_f", freeJetF),
    REAL("detach_c", detachC),
    REAL("detach_temp_exp", detachTempExp),
    REAL("detach_flow_exp", detachFlowExp),
    REAL("head_coef", headCoef),
    REAL("head_exp", headExp),
    REAL("pen_coef", penCoef),
    REAL("pen_temp_exp", penTempExp),
    REAL("pen_flow_exp", penFlowExp),
    REAL("angle", angle),
    REAL("buoyancy", buoyancy),
    REAL("traj_exp", trajExp),
    REAL("zone_coef", zoneCoef),
    REAL("spread", spread),
    REAL("width_term", widthTerm),
    REAL("value_524", value524),
};
#undef REAL

#define FIXED(key, member)                                                                                   \
    OutletTextField {                                                                                        \
        key, offsetof(OutletRecord, member), sizeof(OutletRecord::member), false                             \
    }
#define SHORT(key, member)                                                                                   \
    OutletTextField {                                                                                        \
        key, offsetof(OutletRecord, member), sizeof(OutletRecord::member), true                              \
    }
constexpr std::array kTextFields = {
    FIXED("type_name", typeName),        FIXED("size_name", sizeName),
    FIXED("third_name", thirdName),      FIXED("article_number", articleNumber),
    FIXED("jet_form_code", jetFormCode), FIXED("tender_text", tenderText),
    SHORT("lengths_list", lengthsList),  SHORT("counts_list", countsList),
};
#undef FIXED
#undef SHORT

const char* bytesOf(const OutletRecord& record) {
    return reinterpret_cast<const char*>(&record);
}
char* bytesOf(OutletRecord& record) {
    return reinterpret_cast<char*>(&record);
}

} // namespace

std::span<const OutletRealField> outletRealFields() {
    return kRealFields;
}
std::span<const OutletTextField> outletTextFields() {
    return kTextFields;
}

double readReal(const OutletRecord& record, const OutletRealField& field) {
    double value;
    std::memcpy(&value, bytesOf(record) + field.offset, sizeof value);
    return value;
}

void writeReal(OutletRecord& record, const OutletRealField& field, double value) {
    std::memcpy(bytesOf(record) + field.offset, &value, sizeof value);
}

QString readText(const OutletRecord& record, const OutletTextField& field) {
    const char* start = bytesOf(record) + field.offset;
    if (!field.shortString)
        return OutletRecord::fixedText(start, field.size);
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(start[0]), field.size - 1);
    return fromAnsi(QByteArray(start + 1, static_cast<qsizetype>(length)));
}

bool writeText(OutletRecord& record, const OutletTextField& field, const QString& value) {
    const QByteArray bytes = toAnsi(value);
    char* start = bytesOf(record) + field.offset;
    if (field.shortString) {
        if (static_cast<std::size_t>(bytes.size()) > field.size - 1)
            return false;
        start[0] = static_cast<char>(bytes.size());
        std::memcpy(start + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return true;
    }
    if (static_cast<std::size_t>(bytes.size()) > field.size)
        return false;
    std::memset(start, 0, field.size);
    std::memcpy(start, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace fyl
