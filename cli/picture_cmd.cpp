// zelkfyl-cli picture: the flow simulation's room section as the calculation window's
// "Raumschnitt" opens it, after moving its sliders, printed as JSON and written as PNG or SVG.
// Application layer over the core (fylcore) and the painter (fyldraw).
#include "cli/commands.h"
#include "cli/resultjson.h"

#include "flowsim/flowpicturepainter.h"
#include "flowsim/flowpicturesvg.h"
#include "flowsim/flowsimmodel.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jetkind.h"
#include "frame/jsontext.h"
#include "frame/projectfile.h"
#include "frame/runstate.h"
#include "frame/texttable.h"
#include "results/outletresults.h"
#include "results/resultswindow.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>

#include <memory>

namespace {

const char* const kUsage =
    "picture PROJECT.zol [--spacing M] [--wall-left M] [--wall-right M] [--proportional] "
    "[--png OUT.png] [--svg OUT.svg] [--program-dir DIR]";

QString pictureJson(const fyl::CalculationRecord& rec, const fyl::FlowPictureView& view) {
    using fyl::exactReal;
    QString polygons;
    for (std::size_t k = 0; k < view.contours.size(); ++k) {
        for (const auto& polygon : view.contours[k].contour.polygons) {
            QString points;
            for (const fyl::ContourPoint& p : polygon) {
                if (!points.isEmpty())
                    points += QStringLiteral(", ");
                points += QStringLiteral("[%1, %2]").arg(exactReal(p.x), exactReal(p.y));
            }
            if (!polygons.isEmpty())
                polygons += QStringLiteral(",\n");
            polygons += QStringLiteral("    {\"outlet\": %1, \"points\": [%2]}").arg(k + 1).arg(points);
        }
    }
    return QStringLiteral("{\n"
                          "  \"picture_outlet_count\": %1,\n"
                          "  \"section_width\": %2,\n"
                          "  \"spacing\": %3,\n"
                          "  \"wall_left\": %4,\n"
                          "  \"wall_right\": %5,\n"
                          "  \"v_mid\": %6,\n"
                          "  \"v_left\": %7,\n"
                          "  \"v_right\": %8,\n"
                          "  \"contour_error\": %9,\n"
                          "  \"polygons\": [%10]\n"
                          "}\n")
        .arg(exactReal(rec.pictureOutletCount), exactReal(rec.sectionWidth), exactReal(rec.spacing),
             exactReal(rec.wallLeft), exactReal(rec.wallRight), exactReal(rec.vMid), exactReal(rec.vLeft),
             exactReal(rec.vRight), QString::number(view.picture.contourError),
             polygons.isEmpty() ? QString() : QStringLiteral("\n") + polygons + QStringLiteral("\n  "));
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw fyl::FileError(QStringLiteral("Das Bild kann nicht als PNG kodiert werden."));
    return bytes;
}

// Opens the picture as "Raumschnitt" does for the project evaluated as the calculation window
// shows it, then moves the sliders the call names, in the window's order. Each move that the
// window redraws after is drawn here too: drawing stores the picture's spacing and width in the
// record, which the next move's evaluation reads.
int runPicture(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption spacingOption(QStringLiteral("spacing"), QStringLiteral("Einbauabstand"),
                                           QStringLiteral("M"));
    const QCommandLineOption leftOption(QStringLiteral("wall-left"), QStringLiteral("Wandabstand links"),
                                        QStringLiteral("M"));
    const QCommandLineOption rightOption(QStringLiteral("wall-right"), QStringLiteral("Wandabstand rechts"),
                                         QStringLiteral("M"));
    const QCommandLineOption proportionalOption(QStringLiteral("proportional"),
                                                QStringLiteral("Höhe maßstäblich darstellen"));
    const QCommandLineOption pngOption(QStringLiteral("png"), QStringLiteral("Bild als PNG"),
                                       QStringLiteral("OUT.png"));
    const QCommandLineOption svgOption(QStringLiteral("svg"), QStringLiteral("Bild als SVG"),
                                       QStringLiteral("OUT.svg"));
    const QCommandLineOption programDirOption(QStringLiteral("program-dir"),
                                              QStringLiteral("Programmverzeichnis"), QStringLiteral("DIR"));
    parser.addOptions(
        {spacingOption, leftOption, rightOption, proportionalOption, pngOption, svgOption, programDirOption});
    if (!parser.parse(QStringList{QStringLiteral("picture")} + args) ||
        parser.positionalArguments().size() != 1) {
        if (!parser.errorText().isEmpty())
            err << parser.errorText() << "\n";
        err << "Aufruf: zelkfyl-cli " << kUsage << "\n";
        return 2;
    }
    // The slider positions the fields would give, checked before anything is read.
    std::optional<int> moves[3];
    const QCommandLineOption* movers[3] = {&spacingOption, &leftOption, &rightOption};
    for (int i = 0; i < 3; ++i) {
        if (!parser.isSet(*movers[i]))
            continue;
        try {
            // A decimal point as the shell writes it, or the window's comma.
            QString text = parser.value(*movers[i]);
            moves[i] = fyl::FlowSimModel::editPosition(text.replace(QLatin1Char('.'), QLatin1Char(',')));
        } catch (const fyl::Error&) {
            err << "'" << parser.value(*movers[i]) << "' ist kein gültiger Gleitkommawert.\n";
            return 2;
        }
    }
    const QString programDir =
        parser.isSet(programDirOption) ? parser.value(programDirOption) : QDir::currentPath();

    fyl::cli::Session session;
    fyl::cli::loadTexts(session, programDir);
    fyl::cli::AnsweringDialogs dialogs(err);
    try {
        if (!fyl::cli::loadEvaluableProject(session, parser.positionalArguments().constFirst(), err,
                                            QStringLiteral("Es wurde kein Bild gezeichnet.")))
            return 2;
        fyl::ShowOutletResults(
            {*session.record, session.working, session.calcStatus, session.flags, session.texts});
        const fyl::PlanningParts parts{*session.record,    session.flags, session.working,
                                       session.calcStatus, session.texts, dialogs};
        fyl::ResultsWindowModel resultsWindow(parts);
        if (!resultsWindow.Raumschnitt1Click().flowPictureLabels)
            return 2; // refused, the reason already on standard error

        const fyl::ContourRoutine routine = fyl::jetContours(*session.record, dialogs);
        fyl::FlowSimModel model(parts);
        fyl::FlowPictureView view = model.picture(routine);
        const auto follow = [&](const fyl::FlowSimOutcome& outcome) {
            if (outcome.redraw)
                view = model.picture(routine);
        };
        if (parser.isSet(proportionalOption))
            follow(model.CheckBox3Click(true));
        if (moves[0])
            follow(model.ScrollBar2Change(*moves[0]));
        if (moves[1])
            follow(model.ScrollBar3Change(*moves[1]));
        if (moves[2])
            follow(model.ScrollBar4Change(*moves[2]));

        if (parser.isSet(pngOption))
            fyl::writeFileAtomically(parser.value(pngOption), pngBytes(fyl::flowPictureImage(view.picture)),
                                     QStringLiteral("Das Bild"));
        if (parser.isSet(svgOption))
            fyl::writeFileAtomically(parser.value(svgOption), fyl::flowPictureSvg(view.picture),
                                     QStringLiteral("Das Bild"));
        out << pictureJson(*session.record, view);
        return 0;
    } catch (const fyl::Error& e) {
        err << e.message() << "\n";
        return 1;
    }
}

const fyl::cli::CommandRegistration registration("picture", runPicture, kUsage);

} // namespace
