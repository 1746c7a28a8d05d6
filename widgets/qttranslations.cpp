// Qt's own texts in German. Shared widgets (fylwidgets).
#include "widgets/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace fyl {

bool installGermanQtTexts(QCoreApplication& app) {
    // The dialogue is German, so Qt's buttons and file dialogs speak German too ("Ja", "Nein").
    auto* texts = new QTranslator(&app);
    if (!texts->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}

} // namespace fyl
