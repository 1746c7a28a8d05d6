// The named real and text fields of the detail record and of the calculation record, with their
// byte places: the one list that JSON forms, the catalogue tools, the project file check and the
// evaluation walk. Core layer (fylcore).
#pragma once

#include "frame/record.h"

#include <QString>

#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace fyl {

// The named fields of a detail record with their byte places, so that the JSON forms, the
// catalogue builder and the checker walk one list instead of repeating the layout.
struct OutletRealField {
    const char* key; // JSON key, e.g. "pressure_k"
    std::size_t offset;
};

struct OutletTextField {
    const char* key;
    std::size_t offset;
    std::size_t size; // bytes of the field
    bool shortString; // a length byte and characters; otherwise a NUL-ended fixed field
};

std::span<const OutletRealField> outletRealFields();
std::span<const OutletTextField> outletTextFields();

double readReal(const OutletRecord& record, const OutletRealField& field);
void writeReal(OutletRecord& record, const OutletRealField& field, double value);

QString readText(const OutletRecord& record, const OutletTextField& field);
// Writes a text in the code page; a fixed field is NUL-padded, a short string keeps the bytes
// after its length. Returns false when the text does not fit (nothing is cut silently here,
// because the builder must not ship a shortened name).
bool writeText(OutletRecord& record, const OutletTextField& field, const QString& value);

// The reals of the calculation record after its outlet part (room data, results, selection and
// flow picture values), named as the command line prints them; offsets count from the record's start.
struct RecordRealField {
    const char* key; // e.g. "velocity_limit"
    std::size_t offset;
    bool result = false; // set by the evaluation: one of the results evaluate and plan print
};
std::span<const RecordRealField> recordRealFields();
// The field of that key; an unknown key is a programming error.
const RecordRealField& recordRealField(const char* key);
double readReal(const CalculationRecord& record, const RecordRealField& field);

// The whole-number results of the calculation record (the count range the evaluation sets),
// named and placed as the reals are.
struct RecordIntegerField {
    const char* key; // e.g. "count_bound_1"
    std::size_t offset;
};
std::span<const RecordIntegerField> recordIntegerResults();
std::int32_t readInteger(const CalculationRecord& record, const RecordIntegerField& field);

// The first real of the record (outlet part first, then the rest in record order) that is NaN or
// infinite, as "key (Byte offset)"; none when every real is finite. The program never stores
// such a value, so a record holding one is damaged.
std::optional<QString> firstNonFiniteReal(const CalculationRecord& record);

// The room's lengths as every reader of a project and the room schedule take them: a width, length
// or height of the room (`size`) 0 (not given) or from kMinBuildingLength up to kMaxBuildingLength,
// a head or mounting height the same. Why `value`, shown as `shown` ("5,3"), is no such length;
// empty when it is one. A value such as 4.9e-324, which no one types, is refused as too small.
QString roomLengthRefusal(double value, const QString& shown);
// The record's first room length that the rule refuses, as "key (Byte offset): why"; none when all
// pass.
std::optional<QString> firstRefusedRoomLength(const CalculationRecord& record);

// Reals of the calculation record chosen by key (of either table), resolved once: the values a
// computation reads. requireFinite raises ArithmeticError naming the first that is NaN or
// infinite, the second line of defence behind the check at load.
class RealFieldSet {
public:
    RealFieldSet(std::initializer_list<const char*> keys); // an unknown key stops debug builds
    void requireFinite(const CalculationRecord& record) const;

private:
    std::vector<RecordRealField> fields_; // offsets from the start of the calculation record
};

} // namespace fyl
