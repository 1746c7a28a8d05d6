// Pieces of JSON text for the command line's documents, whose keys keep a fixed order (which
// QJsonObject would sort). Core layer (fylcore).
#pragma once

#include <QString>

namespace fyl {

// A text as a JSON string, quoted and escaped by QJsonDocument.
QString jsonString(const QString& text);

// The shortest decimal text that reads back to the same double ("0.1", "1e-07", "250"), or to the
// same float ("6.2831855"). A value that is not finite has no JSON form and is written as null.
QString exactReal(double value);
QString exactReal(float value);

} // namespace fyl
