// Show text and ask text by text-table entry, and the wrapper that ends an action with the
// standard error box. Core layer (fylcore).
#include "frame/dialogs.h"

#include "frame/errors.h"

#include <exception>

namespace fyl {

bool runAction(Dialogs& dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Error& e) {
        dialogs.error(e.message());
    } catch (const std::exception& e) {
        dialogs.error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace fyl
