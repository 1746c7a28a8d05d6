// Benchmarks of the flow picture: one slider step as the window runs it (evaluation, both outlets'
// zones, the display list and its rendering) and the contour routines alone; and of the printed
// report written as PDF.
#include "fixtures/calcfixture.h"
#include "flowsim/flowpicturepainter.h"
#include "flowsim/flowsimmodel.h"
#include "print/reportprint.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class SilentDialogs : public fyl::Dialogs {
public:
    void information(const QString&) override {}
    bool confirm(const QString&) override { return true; }
    void error(const QString&) override {}
    std::optional<QString> openFile(const fyl::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const fyl::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const fyl::FileDialogRequest&) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};

struct PictureState {
    std::unique_ptr<fyl::test::CalcState> calc = fyl::test::ceilingDiffuserState("01");
    SilentDialogs dialogs;
    fyl::PlanningParts parts() {
        return {calc->record, calc->flags, calc->working, calc->calcStatus, calc->texts, dialogs};
    }
};

void BM_PictureSliderStep(benchmark::State& bench) {
    PictureState s;
    s.calc->record.flowPictureShown = 1;
    fyl::FlowSimModel model(s.parts());
    const fyl::ContourRoutine routine = fyl::jetContours(s.calc->record, s.dialogs);
    model.picture(routine);
    int position = -30;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        position = position == -30 ? -31 : -30; // a real move each time
        const fyl::FlowSimOutcome outcome = model.ScrollBar2Change(position);
        benchmark::DoNotOptimize(outcome);
        const QImage image = fyl::flowPictureImage(model.picture(routine).picture);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PictureSliderStep)->Unit(benchmark::kMicrosecond);

void BM_PictureContours(benchmark::State& bench) {
    PictureState s;
    fyl::CalculationRecord& rec = s.calc->record;
    rec.spacing = 3.0;
    rec.wallLeft = rec.wallRight = 2.0;
    fyl::EvaluateHorizontalJet(s.calc->parts());
    const fyl::FlowPictureInputs in = fyl::flowPictureInputs(rec, false);
    const std::vector<fyl::ContourRequest> requests = fyl::pictureContourInputs(in, rec);
    const fyl::ContourRoutine routine = fyl::jetContours(rec, s.dialogs);
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
    for (auto _ : bench) {
        const std::vector<fyl::OutletContour> zones = fyl::computeContours(requests, routine);
        benchmark::DoNotOptimize(zones.data());
    }
}
BENCHMARK(BM_PictureContours)->Unit(benchmark::kMicrosecond);

} // namespace

// The printed report: both pages' display lists, the zones, the letterhead picture and the
// two-page PDF at 600 dpi, as "Drucken" or zelkfyl-cli report produce it.
void BM_ReportPdf(benchmark::State& bench) {
    // Text layout needs the platform's fonts, which a GUI application provides.
    static int argc = 1;
    static char name[] = "zelkfyl-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);

    PictureState s;
    s.calc->texts.load(QStringLiteral(ZELK_PROGRAM_DIR "/Fyltext.txt"));
    fyl::EvaluateHorizontalJet(s.calc->parts());
    const fyl::Catalogue catalogue;
    const fyl::ReportInputs in{s.calc->record,
                               s.calc->texts,
                               catalogue,
                               QStringLiteral("DRL  400 horizontal"),
                               QStringLiteral(ZELK_PROGRAM_DIR),
                               QDate(2026, 12, 7),
                               600,
                               {},
                               false};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    const fyl::ContourRoutine routine = fyl::jetContours(s.calc->record, s.dialogs);
    for (auto _ : bench) // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable only counts the runs
        fyl::writeReportPdf(path, in, routine);
    bench.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);
