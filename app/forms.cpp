// The seven windows created once, in their fixed order. Application layer.
#include "app/forms.h"

#include "auxiliary/Unit6.h"
#include "auxiliary/Unit7.h"
#include "flowsim/Unit4.h"
#include "frame/Unit1.h"
#include "print/Unit5.h"
#include "results/Unit3.h"
#include "selection/Unit2.h"

namespace fyl {

Forms::Forms(std::unique_ptr<QSettings> settingsStore, Dialogs& dialogs, Shell& shell)
    : settings(std::move(settingsStore)) {
    form1 = std::make_unique<TForm1>(state, dialogs, shell, *settings);
    form2 = std::make_unique<TForm2>(state);
    form3 = std::make_unique<TForm3>(state);
    form4 = std::make_unique<TForm4>(state);
    form5 = std::make_unique<TForm5>(state);
    form6 = std::make_unique<TForm6>(state);
    form7 = std::make_unique<TForm7>(state);
}

Forms::~Forms() = default;

std::unique_ptr<QSettings> applicationSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"),
                                       QStringLiteral("zol"));
}

} // namespace fyl
