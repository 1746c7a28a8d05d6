// Qt's own texts in German (buttons, file dialogs), for the program and its companions alike.
// Shared widgets (fylwidgets).
#pragma once

class QCoreApplication;

namespace fyl {

// Loads Qt's German translations into `app`; false when the system has none installed.
bool installGermanQtTexts(QCoreApplication& app);

} // namespace fyl
