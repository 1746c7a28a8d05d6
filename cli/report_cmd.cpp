// zelkfyl-cli report: the printed report of a project as a PDF file, the pages the print window's
// "Drucken" would print, without a dialog. Application layer over the core and the drawing layer.
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"

#include "flowsim/flowpicture.h"
#include "print/reportpages.h"
#include "print/reportprint.h"
#include "results/resultswindow.h"

namespace {

const char* const kReportUsage =
    "report PROJECT.zol --pdf OUT.pdf [--dpi N] [--no-data-page] [--no-picture-page] "
    "[--no-letterhead] [--proportional] [--program-dir DIR]";

int runReport(const QStringList& args, QTextStream&, QTextStream& err) {
    fyl::cli::CommandLine call(QString::fromUtf8(kReportUsage), {"pdf", "dpi", "program-dir"},
                               {"no-data-page", "no-picture-page", "no-letterhead", "proportional"});
    call.parse(args, 1);
    const QString pdf = call.required("pdf");
    const QString dpiRange =
        QStringLiteral("Auflösung: eine ganze Zahl von %1 bis %2 dpi, bei der die A4-Seite in "
                       "die Druckerkoordinaten 0 bis 65535 passt")
            .arg(fyl::kLeastReportDpi)
            .arg(fyl::kGreatestReportDpi);
    const QByteArray dpiWhat = dpiRange.toUtf8();
    const int dpi =
        call.integer("dpi", fyl::kLeastReportDpi, fyl::kGreatestReportDpi, dpiWhat.constData()).value_or(600);
    const QString programDir = call.programDir();
    fyl::cli::refuseProjectOutputClash(call, {"pdf"});

    fyl::cli::Session session;
    fyl::cli::AnsweringDialogs dialogs(err);
    fyl::cli::openProject(session, programDir, call.positional(0), fyl::cli::WithCatalogue::Yes);
    // The report prints what the calculation window shows after the project was loaded.
    const fyl::ResultsView view =
        fyl::cli::evaluateAsShown(session, QStringLiteral("Es wurde kein Bericht geschrieben."));
    fyl::PrintChoices choices{!call.isSet("no-data-page"), !call.isSet("no-picture-page"),
                              call.isSet("no-letterhead")};
    if (choices.picturePage && !fyl::picturePageAvailable(*session.record)) {
        // The print window offers no picture page then: its check box is cleared and disabled.
        err << "Zuluft und Raum haben dieselbe Temperatur: ein Raumschnitt des Vertikalstrahls kann "
               "nicht gedruckt werden; der Bericht hat keine Bildseite.\n";
        choices.picturePage = false;
    }
    const fyl::ReportInputs in{*session.record,
                               session.texts,
                               session.catalogue,
                               view.form3[fyl::form3::Label1].text.value_or(QString()),
                               programDir,
                               QDate::currentDate(),
                               dpi,
                               choices,
                               call.isSet("proportional")};
    fyl::writeReportPdf(pdf, in, fyl::jetContours(*session.record, dialogs));
    return 0;
}

const fyl::cli::CommandRegistration reportRegistration("report", runReport, kReportUsage, true);

} // namespace
