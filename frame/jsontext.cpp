// Pieces of JSON text: escaped strings and exact reals. Core layer (fylcore).
#include "frame/jsontext.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <charconv>
#include <cmath>

namespace fyl {

QString jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

namespace {
template <class Real> QString shortest(Real value) {
    if (!std::isfinite(value))
        return QStringLiteral("null");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
}
} // namespace

QString exactReal(double value) {
    return shortest(value);
}

QString exactReal(float value) {
    return shortest(value);
}

} // namespace fyl
