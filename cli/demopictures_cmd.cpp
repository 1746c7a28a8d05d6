// zelkfyl-cli demo-pictures: the slideshow's demo pictures, the room sections of a few rooms
// planned from the catalogue with different outlets, each with a caption, as 24-bit BMP files.
// Application layer over the core (fylcore) and the painter (fyldraw).
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"

#include "calc/evaluation.h"
#include "flowsim/flowpicturepainter.h"
#include "flowsim/flowsimmodel.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "frame/numbers.h"
#include "frame/projectfile.h"
#include "frame/record.h"
#include "results/resultswindow.h"

#include <QBuffer>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace fyl;

const char* const kDemopicturesUsage = "demo-pictures OUTDIR [--program-dir DIR]";

// One demo room: its data, the outlet planned for it and what the caption says about it.
struct DemoRoom {
    const char* file;
    const char* room; // caption: the room
    double width, length, height, mounting, flow, roomTemp, supplyTemp;
    const char* type;
    const char* size;
    int jetForm;
    const char* slotLength = nullptr; // slot outlets
    const char* slotCount = nullptr;
};

// A ceiling diffuser and a four-way diffuser cooling offices, a linear slot, and a hall heated by
// vertical jets, whose picture needs supply air warmer than the room.
const DemoRoom kRooms[] = {
    {"Demo1_Buero_Dralldurchlass.bmp", "Büro 10 × 10 m, 3 m hoch", 10, 10, 3, 3, 1700, 24, 16, "DRL",
     "DRL 400", 1},
    {"Demo2_Seminarraum_Vierseitig.bmp", "Seminarraum 12 × 8 m, 3,2 m hoch", 12, 8, 3.2, 3.2, 2400, 24, 17,
     "DQA", "DQA 600", 1},
    {"Demo3_Empfang_Schlitzdurchlass.bmp", "Empfang 10 × 10 m, 3 m hoch", 10, 10, 3, 3, 1200, 24, 18, "LSA",
     "LSA 20", 4, "1200", "2"},
    {"Demo4_Halle_Heizen.bmp", "Halle 20 × 20 m, 6 m hoch, Heizfall", 20, 20, 6, 6, 4000, 18, 28, "DRL",
     "DRL 500", 2},
};

constexpr int kWidth = 808;
constexpr int kHeight = 633;
constexpr int kCaptionHeight = 64;
constexpr int kLegendHeight = 26;

QString fixed(double value, int decimals) {
    return numbers::formatFixed(value, 15, decimals);
}

// A fresh project with the room's data, as the main window stores it.
void writeRoom(const QString& path, const DemoRoom& room) {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->roomWidth = room.width;
    rec->roomLength = room.length;
    rec->floorArea = room.width * room.length;
    rec->roomHeight = room.height;
    rec->roomVolume = room.width * room.length * room.height;
    rec->totalFlow = room.flow;
    rec->airChangeRate = room.flow / (room.width * room.length * room.height);
    rec->mountingHeight = room.mounting;
    rec->roomTemp = room.roomTemp;
    rec->supplyTemp = room.supplyTemp;
    rec->dimensionsEntered = 1;
    writeProjectFile(path, *rec);
}

// Runs another command of this program; its standard output is returned, its failure raised.
QString runCommand(const char* name, const QStringList& args) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status = cli::runCommand(QString::fromLatin1(name), args, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (status != 0)
        throw Error(QStringLiteral("%1 %2: %3").arg(QLatin1String(name), args.join(QLatin1Char(' ')), err));
    return out;
}

// The room section as "Raumschnitt" opens it for the planned project.
FlowPicture sectionOf(const QString& project, const QString& programDir, QTextStream& err) {
    cli::Session session;
    cli::AnsweringDialogs dialogs(err);
    cli::openProject(session, programDir, project);
    cli::evaluateAsShown(session, QStringLiteral("Es wurde kein Demobild gezeichnet."));
    const PlanningParts parts{*session.record,    session.flags, session.working,
                              session.calcStatus, session.texts, dialogs};
    ResultsWindowModel resultsWindow(parts);
    if (!resultsWindow.Raumschnitt1Click().flowPictureLabels)
        throw Error(QStringLiteral("Für %1 gibt es keinen Raumschnitt.").arg(project));
    FlowSimModel model(parts);
    return model.picture(jetContours(*session.record, dialogs)).picture;
}

// The part of the section that holds a drawing, in the picture's pixels: the window's picture
// keeps room above the ceiling that a demo picture does not need.
QRectF drawnPart(const FlowPicture& section) {
    QImage probe(FlowPicture::kWidth, FlowPicture::kHeight, QImage::Format_RGB32);
    probe.fill(Qt::white);
    QPainter painter(&probe);
    renderFlowPicture(section, painter);
    painter.end();
    QRect drawn;
    for (int y = 0; y < probe.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < probe.width(); ++x)
            if (row[x] != qRgb(255, 255, 255))
                drawn |= QRect(x, y, 1, 1);
    }
    return drawn.isEmpty() ? QRectF(probe.rect()) : QRectF(drawn.adjusted(-2, -2, 2, 2));
}

// The section between a two-line caption (the room and its outlet, what was planned) and a
// legend.
QImage demoImage(const FlowPicture& section, const QString& title, const QString& facts,
                 const QString& legend) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(0, 0, kWidth, kCaptionHeight, QColor(0, 61, 122));
    painter.setPen(Qt::white);
    QFont font(installedFamily(QStringLiteral("Arial")));
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(16, 6, kWidth - 32, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    font.setPixelSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(16, 36, kWidth - 32, 24), Qt::AlignLeft | Qt::AlignVCenter, facts);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(70, 70, 70));
    painter.drawText(QRect(16, kHeight - kLegendHeight, kWidth - 32, kLegendHeight - 4),
                     Qt::AlignLeft | Qt::AlignVCenter, legend);

    const QRectF part = drawnPart(section);
    const QRectF area(16, kCaptionHeight + 12, kWidth - 32, kHeight - kCaptionHeight - kLegendHeight - 20);
    const double scale = std::min(area.width() / part.width(), area.height() / part.height());
    painter.translate(area.center().x() - part.center().x() * scale,
                      area.center().y() - part.center().y() * scale);
    painter.scale(scale, scale);
    painter.setClipRect(part);
    renderFlowPicture(section, painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QByteArray bmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw FileError(QStringLiteral("Das Bild kann nicht als BMP kodiert werden."));
    return bytes;
}

// Plans each room with `plan` (every question answered Yes), opens its section and writes it.
int runDemoPictures(const QStringList& args, QTextStream& out, QTextStream& err) {
    cli::CommandLine call(QString::fromUtf8(kDemopicturesUsage), {"program-dir"});
    call.parse(args, 1);
    const QString outDir = call.positional(0);
    const QString programDir = call.programDir();
    QTemporaryDir work;
    if (!work.isValid())
        throw FileError(QStringLiteral("Der temporäre Ordner kann nicht angelegt werden."));
    std::map<QString, QByteArray> drawn;
    for (const DemoRoom& room : kRooms) {
        const QString in = work.filePath(QStringLiteral("room.zol"));
        const QString planned = work.filePath(QStringLiteral("planned.zol"));
        writeRoom(in, room);
        QStringList plan = {in,
                            QStringLiteral("--type"),
                            QString::fromUtf8(room.type),
                            QStringLiteral("--size"),
                            QString::fromUtf8(room.size),
                            QStringLiteral("--jet-form"),
                            QString::number(room.jetForm),
                            QStringLiteral("--write"),
                            planned,
                            QStringLiteral("--program-dir"),
                            programDir};
        if (room.slotLength != nullptr)
            plan << QStringLiteral("--length") << QString::fromLatin1(room.slotLength)
                 << QStringLiteral("--slots") << QString::fromLatin1(room.slotCount);
        const QJsonObject result = QJsonDocument::fromJson(runCommand("plan", plan).toUtf8()).object();
        CalculationRecord rec{};
        readProjectFile(planned, rec);
        const QString designation = result.value(QStringLiteral("designation")).toString().simplified();
        const QString title = QStringLiteral("%1 – %2").arg(QString::fromUtf8(room.room), designation);
        const QString facts = QStringLiteral("%1 m³/h mit %2 Durchlässen · Zuluft %3 °C, Raum %4 °C")
                                  .arg(fixed(room.flow, 0), fixed(fyl::outletsOf(rec), 0),
                                       fixed(room.supplyTemp, 1), fixed(room.roomTemp, 1));
        const QString legend = QStringLiteral("Rot: Luftgeschwindigkeit über %1 m/s   ·   blau gestrichelt: "
                                              "Kopfhöhe %2 m   ·   gelb: Durchlässe")
                                   .arg(fixed(rec.velocityLimit, 2), fixed(rec.headHeight, 2));
        drawn[QString::fromLatin1(room.file)] =
            bmpBytes(demoImage(sectionOf(planned, programDir, err), title, facts, legend));
    }
    // Written only once every room is drawn, and as one set: a room or a write that fails leaves
    // no half set behind.
    writeFileSet(drawn, outDir);
    for (const auto& entry : drawn)
        out << QDir::toNativeSeparators(QDir(outDir).filePath(entry.first)) << "\n";
    return 0;
}

const cli::CommandRegistration demopicturesRegistration("demo-pictures", runDemoPictures, kDemopicturesUsage,
                                                        true);

} // namespace
