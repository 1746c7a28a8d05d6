// The start of the companion programs (zelk_sound, deckenspiegel) and of zelkfyl itself: whether a
// run opens a window, the platform and application object that follow from it, the arguments all
// take and the exit codes they end with. Shared widgets (fylwidgets).
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QGuiApplication;

namespace fyl {

// The exit codes of zelkfyl-cli, so that a batch job reads all three programs alike.
enum CompanionExit : int {
    kExitDone = 0,
    // A file could not be found, read or written, is damaged, or gives nothing to show.
    kExitFileFailed = 1,
    // An unknown option, a missing or refused option value, more than one exchange file.
    kExitWrongCall = 2,
};

class CompanionStart {
public:
    // `name` is the program's name, `boxTitle` the title of its message boxes, `fileHelp` what the
    // help says about the one optional argument, a file of the kind `fileKind` names ("Austauschdatei"
    // for the companions' exchange file).
    CompanionStart(const QString& name, const QString& boxTitle, const QString& description,
                   const QString& fileHelp, const QString& fileKind = QStringLiteral("Austauschdatei"));
    ~CompanionStart();
    CompanionStart(const CompanionStart&) = delete;
    CompanionStart& operator=(const CompanionStart&) = delete;

    // The program's own options. Those added as batch options write or print without a window.
    void addOption(const QCommandLineOption& option);
    void addBatchOption(const QCommandLineOption& option);

    // Decides from the call, before the application object exists, whether the run opens a window:
    // a batch option, help or version make it windowless, and such a run needs no display (the
    // offscreen platform on Linux). Then makes the application and parses its arguments. Returns the
    // exit code when the run ends here (help or version printed, a wrong call reported).
    std::optional<int> start(int& argc, char* argv[]);

    bool batch() const { return batch_; }
    const QCommandLineParser& parser() const { return parser_; }
    // The exchange file as given; empty when the call names none.
    QString fileArgument() const;

    // Reports a failure and returns `code`: in a batch run `text` on standard error, otherwise
    // `boxText` (or `text`) in a message box.
    int fail(int code, const QString& text, const QString& boxText = QString()) const;
    // A wrong call: the reason, and in a batch run the help after it.
    int wrongCall(const QString& reason) const;

private:
    QString name_;
    QString boxTitle_;
    QString fileKind_;
    QCommandLineParser parser_;
    QStringList batchOptions_;
    bool batch_ = false;
    std::unique_ptr<QGuiApplication> app_;
};

} // namespace fyl
