// The field tables of the detail record and the calculation record. Core layer (fylcore).
#include "frame/recordfields.h"

#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/numbers.h"

#include <array>
#include <cmath>
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

#define ROOM(key, member)                                                                                    \
    RecordRealField {                                                                                        \
        key, offsetof(CalculationRecord, member), false                                                      \
    }
#define RESULT(key, member)                                                                                  \
    RecordRealField {                                                                                        \
        key, offsetof(CalculationRecord, member), true                                                       \
    }
constexpr std::array kRecordRealFields = {
    ROOM("room_width", roomWidth),
    ROOM("room_length", roomLength),
    ROOM("floor_area", floorArea),
    ROOM("room_height", roomHeight),
    ROOM("room_volume", roomVolume),
    ROOM("air_change_rate", airChangeRate),
    ROOM("total_flow", totalFlow),
    RESULT("count", outletCount),
    RESULT("flow_per_outlet", flowPerOutlet),
    ROOM("velocity_limit", velocityLimit),
    ROOM("head_height", headHeight),
    ROOM("room_temp", roomTemp),
    ROOM("supply_temp", supplyTemp),
    ROOM("cooling_load", coolingLoad),
    ROOM("max_sound_level", maxSoundLevel),
    ROOM("selection_flow", selectionFlow),
    ROOM("value_3896", unread3896),
    RESULT("x_krit", xKrit),
    RESULT("critical_distance", criticalDistance),
    RESULT("y_max", yMax),
    RESULT("a_min", aMin),
    RESULT("a_min_13", aMin13),
    RESULT("w_min", wMin),
    RESULT("w_min_13", wMin13),
    RESULT("dp", dp),
    RESULT("lwa", lwa),
    RESULT("v_min_outlet", vMinOutlet),
    RESULT("v_max_outlet", vMaxOutlet),
    RESULT("spacing", spacing),
    RESULT("v_mid", vMid),
    RESULT("v_left", vLeft),
    RESULT("v_right", vRight),
    ROOM("section_width", sectionWidth),
    ROOM("picture_outlet_count", pictureOutletCount),
    ROOM("mounting_height", mountingHeight),
    RESULT("wall_left", wallLeft),
    RESULT("wall_right", wallRight),
    ROOM("effective_length", effectiveLength),
    ROOM("nominal_length", nominalLength),
};
#undef ROOM
#undef RESULT

constexpr std::array kRecordIntegerResults = {
    RecordIntegerField{"count_bound_1", offsetof(CalculationRecord, countBound1)},
    RecordIntegerField{"count_bound_2", offsetof(CalculationRecord, countBound2)},
};

const char* bytesOf(const OutletRecord& record) {
    return reinterpret_cast<const char*>(&record);
}
char* bytesOf(OutletRecord& record) {
    return reinterpret_cast<char*>(&record);
}

} // namespace

std::span<const RecordRealField> recordRealFields() {
    return kRecordRealFields;
}

const RecordRealField& recordRealField(const char* key) {
    for (const RecordRealField& field : kRecordRealFields)
        if (std::strcmp(field.key, key) == 0)
            return field;
    Q_ASSERT_X(false, "recordRealField", key);
    return kRecordRealFields.front();
}

std::span<const RecordIntegerField> recordIntegerResults() {
    return kRecordIntegerResults;
}

std::int32_t readInteger(const CalculationRecord& record, const RecordIntegerField& field) {
    std::int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + field.offset, sizeof value);
    return value;
}

double readReal(const CalculationRecord& record, const RecordRealField& field) {
    double value;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + field.offset, sizeof value);
    return value;
}

std::optional<QString> firstNonFiniteReal(const CalculationRecord& record) {
    auto named = [](const char* key, std::size_t offset) {
        return QStringLiteral("%1 (Byte %2)").arg(QLatin1String(key)).arg(offset);
    };
    for (const OutletRealField& field : kRealFields)
        if (!std::isfinite(readReal(record.outlet, field)))
            return named(field.key, field.offset);
    for (const RecordRealField& field : kRecordRealFields)
        if (!std::isfinite(readReal(record, field)))
            return named(field.key, field.offset);
    return std::nullopt;
}

QString roomLengthRefusal(double value, const QString& shown) {
    if (value == 0.0)
        return QString();
    if (!(value >= 0.0))
        return QStringLiteral("'%1' darf nicht negativ sein.").arg(shown);
    if (value < kMinBuildingLength)
        return QStringLiteral("%1 m sind für einen Raum zu klein (mindestens %2 m).")
            .arg(shown, numbers::formatGeneral(kMinBuildingLength));
    if (value > kMaxBuildingLength)
        return QStringLiteral("%1 m sind für einen Raum zu groß (höchstens %2 m); ein Tippfehler oder ein Datum?")
            .arg(shown, numbers::formatGeneral(kMaxBuildingLength));
    return QString();
}

std::optional<QString> firstRefusedRoomLength(const CalculationRecord& record) {
    for (const RecordRealField& field : kRecordRealFields) {
        const QLatin1String key(field.key);
        if (key != QLatin1String("room_width") && key != QLatin1String("room_length") &&
            key != QLatin1String("room_height") && key != QLatin1String("head_height") &&
            key != QLatin1String("mounting_height"))
            continue;
        const double value = readReal(record, field);
        if (!std::isfinite(value))
            continue; // told as not finite
        if (const QString why = roomLengthRefusal(value, QString::number(value, 'g', 17)); !why.isEmpty())
            return QStringLiteral("%1 (Byte %2): %3").arg(key).arg(field.offset).arg(why);
    }
    return std::nullopt;
}

RealFieldSet::RealFieldSet(std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): read by Q_ASSERT_X, which release builds omit
        const std::size_t before = fields_.size();
        // The outlet part starts the calculation record, so its offsets hold there too.
        for (const OutletRealField& field : kRealFields)
            if (std::strcmp(field.key, key) == 0)
                fields_.push_back({field.key, field.offset, false});
        for (const RecordRealField& field : kRecordRealFields)
            if (std::strcmp(field.key, key) == 0)
                fields_.push_back(field);
        Q_ASSERT_X(fields_.size() == before + 1, "RealFieldSet", key);
    }
}

void RealFieldSet::requireFinite(const CalculationRecord& record) const {
    for (const RecordRealField& field : fields_)
        if (!std::isfinite(readReal(record, field)))
            throwNotFinite(field.key);
}

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
