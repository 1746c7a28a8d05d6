// The command registry of zelkfyl-cli. Application layer over the core.
#pragma once

#include <QStringList>
#include <QTextStream>

#include <map>

namespace fyl::cli {

// One command of zelkfyl-cli: its arguments after the command word, standard output and
// standard error. Returns the process's exit status; a wrong call, a refusal or a failure of the
// core may be thrown instead (cli/options.h), runCommand turns it into its message and status.
using Command = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

struct CommandInfo {
    Command run;
    const char* usage;  // one line for --help, e.g. "expr TEXT [--width W] [--decimals D]"
    bool fonts = false; // lays out text, which needs the platform's fonts (a GUI application)
};

// Commands register themselves from their own source file (cli/<name>_cmd.cpp):
//   static const fyl::cli::CommandRegistration reg("expr", runExpr, "expr TEXT ...");
std::map<QString, CommandInfo>& commandRegistry();

// Runs the registered command `name` as the program runs it: exceptions become their message on
// `err` and the exit status. The name must be registered.
int runCommand(const QString& name, const QStringList& args, QTextStream& out, QTextStream& err);

struct CommandRegistration {
    CommandRegistration(const char* name, Command run, const char* usage, bool fonts = false) {
        commandRegistry()[QString::fromLatin1(name)] = CommandInfo{run, usage, fonts};
    }
};

} // namespace fyl::cli
