#pragma once

#include <QStringList>
#include <QTextStream>

namespace fyl::cli {

// One command of zelkfyl-cli: its arguments after the command word, standard output and
// standard error. Returns the process's exit status.
using Command = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace fyl::cli
