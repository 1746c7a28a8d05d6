// zelkfyl-cli picture on projects planned from the demo catalogue: the section the sliders leave,
// the zones inside it, and the refusal of a vertical jet without heating.
#include "frame/projectfile.h"
#include "frame/record.h"
#include "tests/support/clirun.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

using test::CliRun;
using test::runCliOn;

// A room 10 x 10 x 3 m with `flow` planned with `size` blowing as jet form `jetForm`; the saved plan.
QString plannedProject(const QTemporaryDir& dir, double flow, const char* size, int jetForm) {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    rec->totalFlow = flow;
    rec->mountingHeight = 3.0;
    const QString in = dir.filePath(QStringLiteral("in.zol"));
    QString out = dir.filePath(QStringLiteral("plan.zol"));
    writeProjectFile(in, *rec);
    const CliRun run =
        runCliOn({QStringLiteral("plan"), in, QStringLiteral("--type"), QStringLiteral("DRL"),
                  QStringLiteral("--size"), QString::fromUtf8(size), QStringLiteral("--jet-form"),
                  QString::number(jetForm), QStringLiteral("--write"), out});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return out;
}

} // namespace

TEST(PictureCommand, TheSlidersSetTheSectionAndTheZonesStayInsideIt) {
    QTemporaryDir dir;
    const QString project = plannedProject(dir, 1700.0, "DRL 400", 1);
    const CliRun run =
        runCliOn({QStringLiteral("picture"), project, QStringLiteral("--spacing"), QStringLiteral("3.5"),
                  QStringLiteral("--wall-left"), QStringLiteral("1,5"), QStringLiteral("--wall-right"),
                  QStringLiteral("2"), QStringLiteral("--svg"), dir.filePath(QStringLiteral("p.svg"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_EQ(j[QStringLiteral("picture_outlet_count")].toInt(), 2);
    EXPECT_EQ(j[QStringLiteral("spacing")].toDouble(), 3.5);
    EXPECT_EQ(j[QStringLiteral("wall_left")].toDouble(), 1.5);
    EXPECT_EQ(j[QStringLiteral("wall_right")].toDouble(), 2.0);
    const double width = j[QStringLiteral("section_width")].toDouble();
    EXPECT_DOUBLE_EQ(width, 3.5 + 1.5 + 2.0);
    EXPECT_EQ(j[QStringLiteral("contour_error")].toInt(), 0);

    const QJsonArray polygons = j[QStringLiteral("polygons")].toArray();
    ASSERT_FALSE(polygons.isEmpty());
    bool outletSeen[2] = {false, false};
    for (const QJsonValue value : polygons) {
        const QJsonObject polygon = value.toObject();
        const int outlet = polygon[QStringLiteral("outlet")].toInt();
        ASSERT_TRUE(outlet == 1 || outlet == 2) << outlet;
        outletSeen[outlet - 1] = true;
        const double axis = outlet == 1 ? 1.5 : 1.5 + 3.5;
        const QJsonArray points = polygon[QStringLiteral("points")].toArray();
        ASSERT_GE(points.size(), 4);
        EXPECT_EQ(points.first(), points.last()); // closed
        for (const QJsonValue point : points) {
            const double x = axis + point[0].toDouble(), y = point[1].toDouble();
            EXPECT_TRUE(x >= -1e-5 && x <= width + 1e-5) << x;
            EXPECT_TRUE(y >= 0.0 && y <= 3.0) << y;
        }
    }
    EXPECT_TRUE(outletSeen[0] && outletSeen[1]);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("p.svg"))));
}

TEST(PictureCommand, AVerticalJetWithoutHeatingIsRefused) {
    QTemporaryDir dir;
    const QString project = plannedProject(dir, 4000.0, "DRL 500", 2);
    const QString png = dir.filePath(QStringLiteral("p.png"));
    const CliRun run = runCliOn({QStringLiteral("picture"), project, QStringLiteral("--png"), png});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("Heizfall")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(png));
}
