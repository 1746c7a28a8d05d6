#pragma once

#include "frame/record.h"

#include <QString>

#include <span>

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

} // namespace fyl
