// zelkfyl-cli's arguments: wrong calls of the commands end with the message and the usage (exit
// status 2) before anything is read, numbers are read by the numbers module, and nothing that a
// command throws escapes as a crash.
#include "cli/options.h"
#include "cli/summaryworkbook.h"
#include "flowsim/flowsimmodel.h"
#include "frame/errors.h"
#include "tests/support/clirun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>

#include <unistd.h>

using namespace fyl;
using cli::CommandLine;
using cli::Decimals;

namespace {

// The message a wrong call raises, or "no wrong call".
template <class Read> QString wrongCallOf(Read read) {
    try {
        read();
    } catch (const cli::WrongCall& call) {
        EXPECT_EQ(call.usage, QStringLiteral("test N"));
        return call.message;
    }
    return QStringLiteral("no wrong call");
}

CommandLine parsed(const QStringList& args) {
    CommandLine call(QStringLiteral("test N"), {"n", "m"}, {"flag"});
    call.parse(args, 0);
    return call;
}

} // namespace

TEST(CommandOptions, WrongCallsOfTheCommandsExitTwoWithTheUsageAndReadNothing) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.zol")); // a wrong call is found first
    const QString out = dir.filePath(QStringLiteral("out"));
    const std::pair<QStringList, const char*> calls[] = {
        {{"evaluate", missing, "--colour", "red"}, "colour"},
        {{"evaluate", missing, "--count", "drei"}, "'drei' ist kein gültiger Integerwert."},
        {{"evaluate", missing, "--count"}, "count"},
        {{"evaluate"}, "erwartet 1, gegeben 0"},
        {{"exchange", missing, "other.zol", "--sound", out}, "other.zol"},
        {{"exchange", missing}, "--ceiling"},
        {{"picture", missing, "--spacing", "1.2x"}, "'1.2x' ist kein gültiger Gleitkommawert."},
        {{"report", missing}, "--pdf fehlt"},
        {{"report", missing, "--pdf", out, "--dpi", "0"}, "'0' ist keine Auflösung"},
        {{"rank", missing, "--top", "0"}, "'0' ist kleiner als 1."},
        {{"plan", missing, "--type", "DRL", "--size", "DRL 400", "--jet-form", "1", "--length", "1.5"},
         "'1.5' ist kein gültiger Gleitkommawert."},
        {{"schedule", missing, "--out", out, "--jobs", "257"}, "'257' ist keine Anzahl paralleler Räume"},
        {{"catalogue", "record", dir.path(), "x"}, "'x' ist kein gültiger Integerwert."},
        {{"catalogue", "record", dir.path(), "2147483648"}, "'2147483648' ist kein gültiger Integerwert."},
        {{"catalogue", "record", dir.path(), "--", "-1"}, "'-1' ist kleiner als 0."},
        {{"catalogue", "check"}, "erwartet 1, gegeben 0"},
        {{"expr", "1+1", "--width", "40000"}, "'40000' ist größer als 32767."},
        {{"report", missing, "--pdf", out, "--pdf", out + "2"}, "Die Option --pdf ist mehrfach angegeben."},
    };
    for (const auto& [args, message] : calls) {
        const test::CliRun run = test::runCli(args);
        const QString said = QString::fromUtf8(run.err);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << "\n" << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(message))) << said.toStdString();
        const QString usage = QStringLiteral("Aufruf: zelkfyl-cli ") + args.first();
        EXPECT_TRUE(said.contains(usage)) << said.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()); // nothing was written
}

TEST(CommandOptions, TheProgramDirectoryIsTheOptionThenTheInstalledOneThenTheCurrentFolder) {
    const auto programDirOf = [](const QStringList& args) {
        CommandLine call(QStringLiteral("test"), {"program-dir"});
        call.parse(args, 0);
        return call.programDir();
    };
    qunsetenv(cli::kProgramDirVariable);
    EXPECT_EQ(programDirOf({}), QDir::currentPath()); // a build's program directory is run in
    qputenv(cli::kProgramDirVariable, "/usr/share/zelkfyl");
    EXPECT_EQ(programDirOf({}), QStringLiteral("/usr/share/zelkfyl"));
    EXPECT_EQ(programDirOf({"--program-dir", "/elsewhere"}), QStringLiteral("/elsewhere"));
    qunsetenv(cli::kProgramDirVariable);
}

TEST(CommandOptions, NumbersAreReadByTheNumbersModuleWithinTheirBounds) {
    // Whole numbers: blanks and a sign as the parser allows, nothing else.
    EXPECT_EQ(parsed({"--n", " +12 "}).integer("n", 1, 20), 12);
    EXPECT_FALSE(parsed({}).integer("n", 1, 20));
    EXPECT_EQ(wrongCallOf([] {
                  parsed({"--n", "1e3"}).integer("n");
              }),
              "'1e3' ist kein gültiger Integerwert.");
    EXPECT_EQ(wrongCallOf([] {
                  parsed({"--n", "12,0"}).integer("n");
              }),
              "'12,0' ist kein gültiger Integerwert.");
    EXPECT_EQ(wrongCallOf([] { parsed({"--n", "21"}).integer("n", 1, 20); }), "'21' ist größer als 20.");
    EXPECT_EQ(wrongCallOf([] {
                  parsed({"--n", "0"}).integer("n", 1, 20, "Stückzahl");
              }),
              "'0' ist keine Stückzahl.");

    // Reals: the dialogue's comma; the point only where the command takes both, and the message
    // names the text as it was given.
    EXPECT_EQ(parsed({"--n", "2,5"}).real("n"), 2.5L);
    EXPECT_EQ(wrongCallOf([] {
                  parsed({"--n", "2.5"}).real("n");
              }),
              "'2.5' ist kein gültiger Gleitkommawert.");
    EXPECT_EQ(parsed({"--n", "2.5E-1"}).real("n", Decimals::CommaOrPoint), 0.25L);
    EXPECT_EQ(wrongCallOf([] {
                  parsed({"--n", "2.5.1"}).real("n", Decimals::CommaOrPoint);
              }),
              "'2.5.1' ist kein gültiger Gleitkommawert.");

    // A slider's field keeps its own rule: truncated to 0,1 m and held to 0 … 10 m.
    const auto position = [](const char* text) {
        return parsed({"--n", text}).converted("n", FlowSimModel::editPosition, Decimals::CommaOrPoint);
    };
    EXPECT_EQ(position("3.59"), -35);
    EXPECT_EQ(position("3,59"), -35);
    EXPECT_EQ(position("12"), -100);
    EXPECT_EQ(position("-1"), 0);

    // The declaration itself: unknown options, missing values and arguments.
    EXPECT_EQ(wrongCallOf([] { parsed({"--k", "1"}); }), "Unknown option 'k'.");
    EXPECT_EQ(wrongCallOf([] { parsed({"--n"}); }), "Missing value after '--n'.");
    EXPECT_EQ(wrongCallOf([] { parsed({"extra"}); }), "Überzähliges Argument: extra");
    EXPECT_EQ(wrongCallOf([] { parsed({"--flag"}).required("m"); }), "Die Option --m fehlt.");
}

TEST(CommandOptions, FailuresBecomeTheirExitStatusAndNothingEscapes) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const auto body = [&](auto thrown) {
        out.clear();
        err.clear();
        const int status = cli::runCommandBody(QStringLiteral("test N"), outStream, errStream, [&]() -> int {
            outStream << "partial\n";
            throw thrown;
        });
        outStream.flush();
        errStream.flush();
        return status;
    };
    EXPECT_EQ(body(cli::WrongCall{QStringLiteral("falsch"), {}}), 2);
    EXPECT_EQ(err, QStringLiteral("falsch\nAufruf: zelkfyl-cli test N\n"));
    EXPECT_EQ(out, QStringLiteral("partial\n")); // what was printed before stays before the message
    EXPECT_EQ(body(cli::Refused{QStringLiteral("nicht angeboten")}), 2);
    EXPECT_EQ(err, QStringLiteral("nicht angeboten\n"));
    EXPECT_EQ(body(FileError(QStringLiteral("Die Datei fehlt."))), 1);
    EXPECT_EQ(err, QStringLiteral("Die Datei fehlt.\n"));

    // The outermost guard: whatever a command lets through is a message and exit status 1.
    const auto guarded = [&](const std::function<int()>& main) {
        err.clear();
        const int status = cli::guardedMain(errStream, main);
        errStream.flush();
        return status;
    };
    EXPECT_EQ(guarded([]() -> int { throw std::length_error("vector too long"); }), 1);
    EXPECT_EQ(err, QStringLiteral("Abbruch: vector too long\n"));
    EXPECT_EQ(guarded([]() -> int { throw 42; }), 1);
    EXPECT_EQ(err, QStringLiteral("Abbruch: unbekannter Fehler.\n"));
    EXPECT_EQ(guarded([] { return 3; }), 3);
    EXPECT_TRUE(err.isEmpty());
}

TEST(CommandOptions, AWorkbookThatCannotBeWrittenIsOneSentenceWithTheSystemsReason) {
    QTemporaryDir dir;
    const QString caught = dir.filePath(QStringLiteral("stderr"));
    (void)std::fflush(stderr);
    const int saved = dup(2);
    ASSERT_NE(std::freopen(QFile::encodeName(caught).constData(), "w", stderr), nullptr);
    QString message;
    try {
        cli::summaryWorkbook({}, dir.filePath(QStringLiteral("gone")), QStringLiteral("out/results.xlsx"));
    } catch (const FileError& e) {
        message = e.message();
    }
    (void)std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    EXPECT_EQ(message, QStringLiteral("Die Arbeitsmappe out/results.xlsx kann nicht geschrieben werden (die "
                                      "Datei oder der Ordner existiert nicht)."));
    QFile lines(caught);
    ASSERT_TRUE(lines.open(QIODevice::ReadOnly));
    EXPECT_EQ(lines.readAll(), QByteArray());
}
