// zelkfyl-cli evaluate and expr, run as a planner runs them: hand-computed results, counts by
// hand, and failures that write nothing.
#include "tests/support/clirun.h"
#include "tests/support/testfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

using fyl::test::CliRun;
using fyl::test::realAt;

// Run from the program directory, whose text table the commands need.
CliRun cliInProgramFolder(const QStringList& args) {
    return fyl::test::runCli(args, QStringLiteral(ZELK_PROGRAM_DIR));
}

// The record image written field by field at its file offsets.
class Image {
public:
    Image() : bytes_(11880, '\0') {}
    void real(int offset, double v) { std::memcpy(bytes_.data() + offset, &v, sizeof v); }
    void int32(int offset, std::int32_t v) { std::memcpy(bytes_.data() + offset, &v, sizeof v); }
    void byte(int offset, char v) { bytes_[offset] = v; }
    void chars(int offset, const char* s) { std::memcpy(bytes_.data() + offset, s, std::strlen(s)); }
    void shortString(int offset, const char* s) {
        bytes_[offset] = static_cast<char>(std::strlen(s));
        chars(offset + 1, s);
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// The ceiling diffuser of the evaluation tests, written at the record's file offsets:
// Vsound 100, count 7.5, N 8, V 93.75, run to the velocity limit 15 m.
Image ceilingDiffuser(double totalFlow = 750.0) {
    Image im;
    im.chars(2, "DLQ");
    im.chars(51, "01"); // jet form
    const std::pair<int, double> reals[] = {
        {65, 50.0},        {73, 150.0},  {212, 0.01},   {220, 2.0},
        {244, -5.0},       {252, 20.0},                             // flows, dp, sound
        {276, 0.032},      {284, 2.0},   {292, 1.0},    {300, 0.5}, // decay, free jet
        {308, 0.64},       {316, 1.0},   {324, 1.0},    {476, 274.658203125},
        {484, 1.0},                                   // detachment, trajectory
        {500, -1.0},       {508, 90.0},  {516, 10.0}, // zone
        {3760, 10.0},      {3768, 10.0}, {3776, 100.0}, {3784, 3.0},
        {3808, totalFlow}, {3840, 0.2},  {3848, 1.8},   {3856, 26.0},
        {3864, 18.0},      {3880, 35.0}, {4144, 3.0},   {6704, 1000.0}};
    for (const auto& [offset, value] : reals)
        im.real(offset, value);
    im.shortString(4060, "0"); // design code
    im.byte(4184, 1);          // spacing-reset flag
    im.int32(6696, 1);         // slot count
    return im;
}

} // namespace

TEST(EvaluateCommand, HandComputedCeilingJet) {
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.zol"));
    // Two records: the second one counts.
    fyl::test::writeFile(project, ceilingDiffuser(9999.0).bytes() + ceilingDiffuser().bytes());
    const QString out = dir.filePath(QStringLiteral("out.zol"));
    const CliRun run =
        cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--write"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_EQ(j[QStringLiteral("jet_kind")].toString(), "horizontal");
    // The proposal 7.5 is kept; the figures are for trunc(7.5 + 0.9) = 8 outlets, and so is the count.
    EXPECT_NEAR(j[QStringLiteral("count_stored")].toDouble(), 7.5, 1e-12);
    EXPECT_EQ(j[QStringLiteral("count")].toInt(), 8);
    EXPECT_EQ(j[QStringLiteral("flow_per_outlet")].toDouble(), 93.75); // 750 / 8
    EXPECT_NEAR(j[QStringLiteral("x_krit")].toDouble(), 7.5, 1e-12);   // 0.64 * 93.75 / 8
    EXPECT_NEAR(j[QStringLiteral("critical_distance")].toDouble(), 6.97265625, 1e-12);
    EXPECT_NEAR(j[QStringLiteral("a_min")].toDouble(), 25.2, 1e-12); // 2 * (15 - 2 * 1.2)
    EXPECT_EQ(j[QStringLiteral("count_range")].toArray(), (QJsonArray{5, 15}));
    EXPECT_EQ(j[QStringLiteral("count_position")].toInt(), 8);
    const QJsonObject display = j[QStringLiteral("display")].toObject();
    EXPECT_EQ(display[QStringLiteral("Edit1")].toString(), "8");
    EXPECT_EQ(display[QStringLiteral("Label7")].toString(), "93,75");
    EXPECT_EQ(display[QStringLiteral("Label21.visible")].toBool(), true);
    EXPECT_EQ(display[QStringLiteral("TForm4.Edit2")].toString(), "10,00");
    EXPECT_EQ(display[QStringLiteral("Label44")].toString(), "Horizontalstrahl"); // the program's text table

    // The written record holds the printed numbers bit for bit.
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    ASSERT_EQ(written.size(), 11880);
    EXPECT_EQ(written[4184], 0); // the spacing-reset flag was used
    // Every result the JSON names is the record's field at its byte place, and nothing else is.
    const std::pair<const char*, int> reals[] = {{"count_stored", 3816}, {"flow_per_outlet", 3832},
                                                 {"x_krit", 3904},       {"critical_distance", 3912},
                                                 {"y_max", 3920},        {"a_min", 3928},
                                                 {"a_min_13", 3936},     {"w_min", 3944},
                                                 {"w_min_13", 3952},     {"dp", 3960},
                                                 {"lwa", 3968},          {"v_min_outlet", 4064},
                                                 {"v_max_outlet", 4072}, {"spacing", 4088},
                                                 {"v_mid", 4096},        {"v_left", 4104},
                                                 {"v_right", 4112},      {"wall_left", 4152},
                                                 {"wall_right", 4160}};
    for (const auto& [key, offset] : reals)
        EXPECT_EQ(j[QLatin1String(key)].toDouble(), realAt(written, offset)) << key;
    std::int32_t bounds[2];
    std::memcpy(bounds, written.constData() + 4080, sizeof bounds);
    EXPECT_EQ(j[QStringLiteral("count_bound_1")].toInt(), bounds[0]);
    EXPECT_EQ(j[QStringLiteral("count_bound_2")].toInt(), bounds[1]);
    // With the count, the kind, the count bar, the status, the working values, the display, the
    // judgement and the mounting height the figures are for (the ceiling diffuser's, the room's).
    EXPECT_EQ(j.size(), 34);
    EXPECT_EQ(j[QStringLiteral("outlet_mounting_height")].toDouble(), realAt(written, 4144));
    // The judgement: no grid of eight keeps a min 25,20 m in the 10 × 10 m room, and the list says so.
    bool spacingFails = false;
    for (const QJsonValue c : j[QStringLiteral("checks")].toArray())
        if (c[QStringLiteral("name")].toString() == QLatin1String("spacing") &&
            !c[QStringLiteral("ok")].toBool())
            spacingFails = c[QStringLiteral("text")].toString().contains(QStringLiteral("< a min 25,20 m"));
    EXPECT_TRUE(spacingFails);
    EXPECT_FALSE(j[QStringLiteral("suitable")].toBool());
}

TEST(EvaluateCommand, CountSetByHandAndTexts) {
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.zol"));
    fyl::test::writeFile(project, ceilingDiffuser().bytes());
    fyl::test::writeAnsiLines(
        dir.filePath(QStringLiteral("Fyltext.txt")),
        fyl::test::textTableLines(235, [](int n) { return QStringLiteral("Text %1").arg(n); }));
    const CliRun run = cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--count"),
                                           QStringLiteral("6"), QStringLiteral("--program-dir"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject j = run.json();
    EXPECT_EQ(j[QStringLiteral("count")].toInt(), 6);
    EXPECT_EQ(j[QStringLiteral("flow_per_outlet")].toDouble(), 125.0); // 750 / 6
    EXPECT_NEAR(j[QStringLiteral("a_min")].toDouble(), 35.2, 1e-12);   // g = 4: 2 * (20 - 2.4)
    EXPECT_EQ(j[QStringLiteral("display")].toObject()[QStringLiteral("Label44")].toString(), "Text 86");
    // Without a catalogue there are no mounting places to lay the outlets out by: no judgement.
    EXPECT_FALSE(j.contains(QStringLiteral("checks")));
}

TEST(EvaluateCommand, FailuresWriteNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.zol"));
    const QString project = dir.filePath(QStringLiteral("p.zol"));
    fyl::test::writeFile(project, ceilingDiffuser().bytes() + QByteArray(7, 'x'));
    CliRun run = cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--write"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("11880")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    fyl::test::writeFile(project, ceilingDiffuser(0.0).bytes()); // count 0: division by zero
    run = cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--write"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(out));

    // A non-finite real in any defined field is a damaged file: refused, naming the field. Results
    // that the evaluation does not recompute (the vertical jet's wall velocities) count as well.
    const std::pair<int, const char*> damaged[] = {
        {3840, "velocity_limit"}, {4104, "v_left"}, {252, "sound_a"}};
    for (const auto& [offset, field] : damaged) {
        Image im = ceilingDiffuser();
        im.chars(51, "02");
        im.real(offset, offset == 4104 ? std::numeric_limits<double>::infinity() : std::nan(""));
        fyl::test::writeFile(project, im.bytes());
        run = cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--write"), out});
        EXPECT_EQ(run.exitCode, 1) << field;
        EXPECT_TRUE(run.err.contains(field)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << field;
        EXPECT_FALSE(QFile::exists(out)) << field;
    }

    // A jet form without an evaluation is said so, not answered with zeros.
    for (const char* code : {"07", ""}) {
        Image im = ceilingDiffuser();
        im.byte(51, 0);
        im.byte(52, 0);
        im.chars(51, code);
        fyl::test::writeFile(project, im.bytes());
        run = cliInProgramFolder({QStringLiteral("evaluate"), project, QStringLiteral("--write"), out});
        EXPECT_EQ(run.exitCode, 2) << code;
        EXPECT_TRUE(run.err.contains("keine Auswertung")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << code;
        EXPECT_FALSE(QFile::exists(out)) << code;
    }
}

TEST(ExprCommand, PrintsValueErrorAndText) {
    CliRun run = cliInProgramFolder({QStringLiteral("expr"), QStringLiteral("4,5*6")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json()[QStringLiteral("value")].toDouble(), 27.0);
    EXPECT_EQ(run.json()[QStringLiteral("error")].toInt(), 0);
    EXPECT_EQ(run.json()[QStringLiteral("text")].toString(), "4,5*6=27.00");

    run = cliInProgramFolder({QStringLiteral("expr"), QStringLiteral("2*PI")});
    EXPECT_TRUE(run.out.contains("\"value\": 6.2831855,")) << run.out.toStdString(); // single precision

    run = cliInProgramFolder({QStringLiteral("expr"), QStringLiteral("-3*2"), QStringLiteral("--width"),
                              QStringLiteral("8"), QStringLiteral("--decimals"), QStringLiteral("1")});
    EXPECT_EQ(run.json()[QStringLiteral("value")].toDouble(), -6.0);
    EXPECT_EQ(run.json()[QStringLiteral("text")].toString(), "-3*2=    -6.0");
}
