// zelkfyl-cli report: the printed report of a project as a PDF file, the pages the print window's
// "Drucken" would print, without a dialog. Application layer over the core and the drawing layer.
#include "cli/commands.h"
#include "cli/resultjson.h"

#include "flowsim/flowpicture.h"
#include "frame/errors.h"
#include "print/reportprint.h"
#include "results/outletresults.h"
#include "results/resultswindow.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const char* const kUsage = "report PROJECT.zol --pdf OUT.pdf [--dpi N] [--no-data-page] [--no-picture-page] "
                           "[--no-letterhead] [--proportional] [--program-dir DIR]";

int runReport(const QStringList& args, QTextStream& out, QTextStream& err) {
    Q_UNUSED(out);
    QCommandLineParser parser;
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("PDF-Datei"),
                                       QStringLiteral("OUT.pdf"));
    const QCommandLineOption dpiOption(QStringLiteral("dpi"), QStringLiteral("Auflösung in dpi"),
                                       QStringLiteral("N"), QStringLiteral("600"));
    const QCommandLineOption noDataOption(QStringLiteral("no-data-page"), QStringLiteral("ohne Datenseite"));
    const QCommandLineOption noPictureOption(QStringLiteral("no-picture-page"),
                                             QStringLiteral("ohne Raumschnitt"));
    const QCommandLineOption noLetterheadOption(QStringLiteral("no-letterhead"),
                                                QStringLiteral("ohne Briefkopf"));
    const QCommandLineOption proportionalOption(
        QStringLiteral("proportional"), QStringLiteral("Raumschnitt maßstäblich, wie zuletzt gezeichnet"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"),
                                              QStringLiteral("Programmverzeichnis"), QStringLiteral("DIR"));
    parser.addOptions({pdfOption, dpiOption, noDataOption, noPictureOption, noLetterheadOption,
                       proportionalOption, programDirOption});
    bool dpiIsNumber = false;
    const bool parsed = parser.parse(QStringList{QStringLiteral("report")} + args);
    const int dpi = parsed ? parser.value(dpiOption).toInt(&dpiIsNumber) : 0;
    if (!parsed || parser.positionalArguments().size() != 1 || !parser.isSet(pdfOption) || !dpiIsNumber ||
        dpi < 1) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        else if (parsed && (!dpiIsNumber || dpi < 1))
            err << "'" << parser.value(dpiOption)
                << "' ist keine Auflösung (eine ganze Zahl dpi größer 0).\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    const QString programDir =
        parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath();

    fyl::cli::Session session;
    fyl::cli::loadTexts(session, programDir);
    fyl::cli::AnsweringDialogs dialogs(err);
    try {
        if (!fyl::cli::loadEvaluableProject(session, parser.positionalArguments().constFirst(), err,
                                            QStringLiteral("Es wurde kein Bericht geschrieben.")))
            return 2;
        // The report prints what the calculation window shows after the project was loaded.
        const fyl::ResultsView view = fyl::ShowOutletResults(
            {*session.record, session.working, session.calcStatus, session.flags, session.texts});
        fyl::PrintChoices choices{!parser.isSet(noDataOption), !parser.isSet(noPictureOption),
                                  parser.isSet(noLetterheadOption)};
        if (choices.picturePage && !fyl::picturePageAvailable(*session.record)) {
            // The print window offers no picture page then: its check box is cleared and disabled.
            err << "Zuluft und Raum haben dieselbe Temperatur: ein Raumschnitt des Vertikalstrahls kann "
                   "nicht gedruckt werden; der Bericht hat keine Bildseite.\n";
            choices.picturePage = false;
        }
        const fyl::ReportInputs in{*session.record,
                                   session.texts,
                                   view.form3[fyl::form3::Label1].text.value_or(QString()),
                                   programDir,
                                   QDate::currentDate(),
                                   dpi,
                                   choices,
                                   parser.isSet(proportionalOption)};
        fyl::writeReportPdf(parser.value(pdfOption), in, fyl::jetContours(*session.record, dialogs));
        return 0;
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const fyl::cli::CommandRegistration registration("report", runReport, kUsage, true);

} // namespace
