// The information window without widgets. Core layer (fylcore, QtCore only).
#include "auxiliary/information.h"

namespace fyl {

InformationTexts informationTexts(const TextTable& texts) {
    return {texts.text(211), texts.text(212), texts.text(214), texts.text(215),
            QStringLiteral("Version %1").arg(QStringLiteral(ZELK_VERSION))};
}

LinkOpening linkOpening(InformationLink link, const QString& labelText, const TextTable& texts) {
    if (link == InformationLink::Mail)
        return {QStringLiteral("mailto:") + labelText, texts.text(223)};
    return {QStringLiteral("http://") + labelText, texts.text(224)};
}

} // namespace fyl
