// Fuzz target of the project file reader and of the evaluation a loaded project runs, as
// zelkfyl-cli evaluate does it. Fuzzing harness over the core (fylcore).
//
// A refused file leaves the record byte for byte as it was; an accepted one holds exactly the last
// image of the file and no real that is not finite. Its evaluation either raises fyl::Error with
// record, working values and status unchanged, or stores only finite values and shows no "nan" or
// "inf"; the same holds after the count scroll bar moves, and for the exchange files written then,
// which the companions' readers read back whenever the writer accepts the record. The room section of the
// evaluated project, at both scales, holds no more primitives than its image can show, however large the
// room.
#include "fuzz/fuzzsupport.h"

#include "calc/evaluation.h"
#include "exchange/exchangefiles.h"
#include "fixtures/calcfixture.h"
#include "flowsim/flowpicture.h"
#include "frame/ansi.h"
#include "frame/dialogs.h"
#include "frame/errors.h"
#include "frame/jetkind.h"
#include "frame/projectfile.h"
#include "frame/recordfields.h"
#include "results/outletresults.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace {

using namespace fyl;
using fuzz::require;

constexpr qsizetype kImageSize = sizeof(CalculationRecord);

// The record the planner had before loading: the ceiling diffuser of the evaluation fixture.
const QByteArray& knownImage() {
    static const QByteArray image = recordBytes(test::ceilingDiffuserState("01")->record);
    return image;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameWorking(const WorkingValues& a, const WorkingValues& b) {
    return sameBits(a.V, b.V) && sameBits(a.vlim, b.vlim) && sameBits(a.h, b.h) && sameBits(a.dT, b.dT);
}

template <class View> void requireFiniteTexts(const View& view, const char* window) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto id = static_cast<typename View::Id>(i);
        if (const auto& text = view[id].text; text && fuzz::showsNonFinite(*text))
            fuzz::violated("a display text shows a non-finite number",
                           QString::fromLatin1(window) + QLatin1Char('.') + QLatin1String(controlName(id)) +
                               QStringLiteral(": ") + *text);
    }
}

struct Evaluation {
    CalculationRecord& record;
    WorkingValues working;
    int calcStatus = 0;
    RuntimeFlags flags;
    // Texts copied from the record (names, project data) may spell "nan" themselves; then only
    // the numbers are held to the check.
    bool recordSpellsNonFinite;

    std::optional<ResultsView> run(const char* what) {
        const QByteArray before = recordBytes(record);
        const WorkingValues workingBefore = working;
        const int statusBefore = calcStatus;
        std::optional<ResultsView> view;
        try {
            view = ShowOutletResults({record, working, calcStatus, flags, fuzz::programTexts()});
        } catch (const Error&) {
            require(recordBytes(record) == before, "a failed evaluation changed the record",
                    QString::fromLatin1(what));
            require(sameWorking(working, workingBefore) && calcStatus == statusBefore,
                    "a failed evaluation changed the working values", QString::fromLatin1(what));
            return std::nullopt;
        }
        if (const auto field = firstNonFiniteReal(record))
            fuzz::violated("an evaluation stored a non-finite real",
                           QString::fromLatin1(what) + QStringLiteral(": ") + *field);
        for (double v : {working.V, working.vlim, working.h, working.dT})
            require(std::isfinite(v), "an evaluation stored a non-finite working value",
                    QString::fromLatin1(what));
        if (!recordSpellsNonFinite) {
            requireFiniteTexts(view->form3, "TForm3");
            requireFiniteTexts(view->form4, "TForm4");
        }
        return view;
    }
};

// The exchange files of the evaluated project: all lines made, no non-finite number in them, and
// what the writer made the companions' readers read back with the same count and texts; or a typed
// error.
void checkExchangeLines(const CalculationRecord& record, bool recordSpellsNonFinite) {
    for (const bool ceiling : {true, false}) {
        QStringList lines;
        try {
            lines = ceiling ? ceilingExchangeLines(record) : soundExchangeLines(record);
        } catch (const Error&) {
            continue;
        }
        require(lines.size() == (ceiling ? kCeilingExchangeLines : kSoundExchangeLines),
                "an exchange file has the wrong number of lines");
        if (!recordSpellsNonFinite)
            for (const QString& line : lines)
                require(!fuzz::showsNonFinite(line), "an exchange file shows a non-finite number", line);
        const QByteArray bytes = exchangeFileBytes(lines);
        try {
            if (ceiling) {
                const CeilingExchange read = readCeilingExchange(bytes);
                require(read.outletCount == lines[5].toInt() && read.project == fromAnsi(toAnsi(lines[21])),
                        "the ceiling plan reads another file than was written", lines[21]);
            } else {
                const SoundExchange read = readSoundExchange(bytes);
                require(read.outletCount == lines[3].toInt() && read.project == fromAnsi(toAnsi(lines[12])),
                        "the sound tool reads another file than was written", lines[12]);
            }
        } catch (const FileError& e) {
            fuzz::violated("a companion refuses an exchange file the writer accepted", e.message());
        }
    }
}

// A grid line per pixel row and column, the zones of two outlets and the fixed parts are the
// most the 369 x 361 picture can show.
constexpr std::size_t kMostPicturePrimitives =
    FlowPicture::kHeight + FlowPicture::kWidth + 2 * Contour::kMaxPolygons + 20;

void checkFlowPicture(const CalculationRecord& record) {
    CollectingDialogs dialogs;
    const std::vector<OutletContour> zones = computeContours(
        pictureContourInputs(flowPictureInputs(record, false), record), jetContours(record, dialogs));
    for (const bool proportional : {false, true}) {
        const FlowPicture picture = drawFlowPicture(flowPictureInputs(record, proportional), zones);
        if (picture.primitives.size() > kMostPicturePrimitives)
            fuzz::violated("the room section holds more primitives than its image can show",
                           QString::number(picture.primitives.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path = fuzz::scratchFolder() + QStringLiteral("/project.zol");
    const QByteArray input = fuzz::inputBytes(data, size);
    fuzz::writeBytes(path, input);

    auto record = std::make_unique<CalculationRecord>();
    setRecordBytes(*record, knownImage());
    try {
        readProjectFile(path, *record);
    } catch (const Error&) {
        require(recordBytes(*record) == knownImage(), "a refused project file changed the record");
        return 0;
    }
    require(input.size() >= kImageSize && input.size() % kImageSize == 0,
            "a project file whose size is no multiple of the record was accepted");
    require(recordBytes(*record) == input.right(kImageSize), "the record is not the file's last image");
    if (const auto field = firstNonFiniteReal(*record))
        fuzz::violated("an accepted project file holds a non-finite real", *field);

    // zelkfyl-cli evaluate refuses a jet form without an evaluation before evaluating.
    if (jetFormOf(record->designCode.str(), record->outlet.jetFormCodeText()).kind == JetKind::None)
        return 0;
    static const QRegularExpression spelled(QStringLiteral("nan|inf"),
                                            QRegularExpression::CaseInsensitiveOption);
    Evaluation evaluation{*record, {}, 0, {}, false};
    evaluation.recordSpellsNonFinite = QString::fromLatin1(recordBytes(*record)).contains(spelled);
    const auto view = evaluation.run("evaluate");
    if (!view)
        return 0;
    checkExchangeLines(*record, evaluation.recordSpellsNonFinite);
    checkFlowPicture(*record);

    // The count scroll bar moved to a position of its range, as the calculation window allows.
    if (view->countBar && view->countBar->maximum >= view->countBar->minimum) {
        const long long span = static_cast<long long>(view->countBar->maximum) - view->countBar->minimum + 1;
        const int count = static_cast<int>(view->countBar->minimum + static_cast<long long>(data[0]) % span);
        const QByteArray before = recordBytes(*record);
        try {
            SetOutletCountByHand(*record, evaluation.flags, count);
        } catch (const Error&) {
            require(recordBytes(*record) == before, "a refused count changed the record");
            return 0;
        }
        if (evaluation.run("count set by hand"))
            checkExchangeLines(*record, evaluation.recordSpellsNonFinite);
    }
    return 0;
}
