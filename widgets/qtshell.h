// The Shell interface on QDesktopServices and QProcess. Shared widgets (fylwidgets,
// QtWidgets).
#pragma once

#include "frame/shell.h"

namespace fyl {

// Documents open with the desktop's registered programs; programs start detached with an
// argument list.
class QtShell : public Shell {
public:
    bool hasHandler(const QString& documentPath) override;
    bool open(const QString& target) override;
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
};

} // namespace fyl
