// zelkfyl-cli picture: the flow simulation's room section as the calculation window's
// "Raumschnitt" opens it, after moving its sliders, printed as JSON and written as PNG or SVG.
// Application layer over the core (fylcore) and the painter (fyldraw).
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"

#include "flowsim/flowpicturepainter.h"
#include "flowsim/flowpicturesvg.h"
#include "flowsim/flowsimmodel.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/jsontext.h"
#include "results/resultswindow.h"

#include <QBuffer>

namespace {

const char* const kPictureUsage =
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
    fyl::cli::CommandLine call(QString::fromUtf8(kPictureUsage),
                               {"spacing", "wall-left", "wall-right", "png", "svg", "program-dir"},
                               {"proportional"});
    call.parse(args, 1);
    // The slider positions the fields would give, checked before anything is read; a decimal point
    // as the shell writes it, or the window's comma.
    std::optional<int> moves[3];
    const char* const movers[3] = {"spacing", "wall-left", "wall-right"};
    for (int i = 0; i < 3; ++i)
        moves[i] =
            call.converted(movers[i], fyl::FlowSimModel::editPosition, fyl::cli::Decimals::CommaOrPoint);

    fyl::cli::refuseProjectOutputClash(call, {"png", "svg"});

    fyl::cli::Session session;
    fyl::cli::AnsweringDialogs dialogs(err);
    fyl::cli::openProject(session, call.programDir(), call.positional(0));
    fyl::cli::evaluateAsShown(session, QStringLiteral("Es wurde kein Bild gezeichnet."));
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
    if (call.isSet("proportional"))
        follow(model.CheckBox3Click(true));
    if (moves[0])
        follow(model.ScrollBar2Change(*moves[0]));
    if (moves[1])
        follow(model.ScrollBar3Change(*moves[1]));
    if (moves[2])
        follow(model.ScrollBar4Change(*moves[2]));

    // Both pictures are made first and placed together: a failure writes neither.
    std::vector<std::pair<QString, QByteArray>> files;
    if (call.isSet("png"))
        files.emplace_back(call.value("png"), pngBytes(fyl::flowPictureImage(view.picture)));
    if (call.isSet("svg"))
        files.emplace_back(call.value("svg"), fyl::flowPictureSvg(view.picture));
    fyl::writeFilesTogether(files);
    out << pictureJson(*session.record, view);
    return 0;
}

const fyl::cli::CommandRegistration pictureRegistration("picture", runPicture, kPictureUsage);

} // namespace
