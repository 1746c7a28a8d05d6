// The start of the companion programs and of zelkfyl: mode, platform, application object, common arguments
// and exit codes. Shared widgets (fylwidgets).
#include "widgets/companionstart.h"

#include "frame/batchplatform.h"
#include "widgets/qttranslations.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>

#include <algorithm>

namespace fyl {

CompanionStart::CompanionStart(const QString& name, const QString& boxTitle, const QString& description,
                               const QString& fileHelp, const QString& fileKind)
    : name_(name), boxTitle_(boxTitle), fileKind_(fileKind) {
    parser_.setApplicationDescription(description);
    parser_.addPositionalArgument(QStringLiteral("DATEI"), fileHelp, QStringLiteral("[DATEI]"));
    parser_.addHelpOption();
    parser_.addVersionOption();
}

CompanionStart::~CompanionStart() = default;

void CompanionStart::addOption(const QCommandLineOption& option) {
    parser_.addOption(option);
}

void CompanionStart::addBatchOption(const QCommandLineOption& option) {
    parser_.addOption(option);
    batchOptions_ << option.names().constFirst();
}

std::optional<int> CompanionStart::start(int& argc, char* argv[]) {
    // The same parser on the raw call: option names are ASCII, so the mode is known before Qt
    // decodes the arguments. Whether the call is wrong is told once there is somewhere to tell it.
    QStringList call;
    for (int i = 0; i < argc; ++i)
        call << QString::fromLocal8Bit(argv[i]);
    parser_.parse(call);
    const auto isSet = [this](const QString& name) { return parser_.isSet(name); };
    batch_ = isSet(QStringLiteral("help")) || isSet(QStringLiteral("help-all")) ||
             isSet(QStringLiteral("version")) ||
             std::any_of(batchOptions_.cbegin(), batchOptions_.cend(), isSet);
    if (batch_) {
        prepareBatchPlatform();
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app_ = std::make_unique<QApplication>(argc, argv);
        // The installed icon of the desktop entry; a build finds none in the theme and keeps Qt's.
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZELK_APP_ID)));
    }
    QCoreApplication::setApplicationName(name_);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELK_VERSION));
    // The companions' file dialogs and boxes speak German like the main program's.
    installGermanQtTexts(*app_);

    if (!parser_.parse(QCoreApplication::arguments()))
        return wrongCall(parser_.errorText());
    if (isSet(QStringLiteral("help")) || isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << parser_.helpText();
        return kExitDone;
    }
    if (isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << name_ << " " << ZELK_VERSION << "\n";
        return kExitDone;
    }
    if (parser_.positionalArguments().size() > 1)
        return wrongCall(QStringLiteral("Höchstens eine %1 angeben, nicht %2.")
                             .arg(fileKind_)
                             .arg(parser_.positionalArguments().size()));
    return std::nullopt;
}

QString CompanionStart::fileArgument() const {
    return parser_.positionalArguments().value(0);
}

int CompanionStart::fail(int code, const QString& text, const QString& boxText) const {
    if (batch_)
        QTextStream(stderr) << text << "\n";
    else
        QMessageBox::critical(nullptr, boxTitle_, boxText.isEmpty() ? text : boxText);
    return code;
}

int CompanionStart::wrongCall(const QString& reason) const {
    return fail(kExitWrongCall, reason + QStringLiteral("\n\n") + parser_.helpText().trimmed(), reason);
}

} // namespace fyl
