// Property test: random plausible and implausible rooms, each with every calculable choice of the
// demo catalogue, through the take-over and evaluation, the flow picture and the report's display
// lists. Each ends in results or a clean error; no NaN or infinity reaches the record, a label, a
// picture or a page. ZELK_PROPERTY_ROOMS sets the number of rooms (default 3; run more locally).
#include "catalogue/loaders.h"
#include "flowsim/flowpicture.h"
#include "flowsim/flowsimmodel.h"
#include "frame/dialogs.h"
#include "frame/recordfields.h"
#include "frame/shell.h"
#include "print/reportpages.h"
#include "selection/planchoice.h"

#include <QDate>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace fyl {
namespace {

// "nan", "inf" or "infinity" as a word ("info@…" is an address, not a number).
bool meaningless(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\b(nan|inf|infinity)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return number.match(text).hasMatch();
}

template <class View> std::optional<QString> meaninglessText(const View& view) {
    for (std::size_t i = 0; i < View::size; ++i) {
        const auto& text = view[static_cast<typename View::Id>(i)].text;
        if (text && meaningless(*text))
            return *text;
    }
    return std::nullopt;
}

std::optional<QString> meaninglessText(const std::vector<PicturePrimitive>& primitives) {
    for (const PicturePrimitive& p : primitives)
        if (const auto* t = std::get_if<TextPrimitive>(&p); t != nullptr && meaningless(t->text))
            return t->text;
    return std::nullopt;
}

// A room drawn from wide ranges; one in four is implausible (zero, negative or huge values).
std::unique_ptr<CalculationRecord> randomRoom(QRandomGenerator& rng) {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), 0, sizeof *rec);
    ResetRecord(*rec);
    const auto in = [&](double low, double high) { return low + (high - low) * rng.generateDouble(); };
    const bool odd = rng.bounded(4) == 0;
    rec->roomWidth = odd ? in(-1, 500) : in(2, 40);
    rec->roomLength = odd ? in(0, 1e4) : in(2, 60);
    rec->roomHeight = odd ? in(0, 60) : in(2.4, 12);
    rec->floorArea = rec->roomWidth * rec->roomLength;
    rec->roomVolume = rec->floorArea * rec->roomHeight;
    rec->totalFlow = odd ? in(0, 1e6) : in(80, 15000);
    rec->airChangeRate = rec->roomVolume > 0 ? rec->totalFlow / rec->roomVolume : 0;
    rec->roomTemp = odd ? in(-20, 60) : in(18, 28);
    rec->supplyTemp = odd ? in(-20, 80) : in(12, 40);
    rec->headHeight = odd ? in(0, 20) : in(1.1, 2.0);
    rec->mountingHeight = rng.bounded(3) == 0 ? rec->roomHeight * in(0.5, 1.0) : rec->roomHeight;
    rec->velocityLimit = odd ? in(0, 3) : in(0.1, 0.4);
    rec->maxSoundLevel = odd ? in(-10, 120) : in(25, 50);
    return rec;
}

TEST(Properties, EveryChoiceInRandomRoomsGivesResultsOrACleanError) {
    Catalogue catalogue;
    LoadCatalogue(catalogue, QStringLiteral(ZELK_PROGRAM_DIR));
    TextTable texts;
    texts.load(QStringLiteral(ZELK_PROGRAM_DIR "/Fyltext.txt"));
    Folders folders;
    folders.program = QStringLiteral(ZELK_PROGRAM_DIR);
    QRandomGenerator rng(20261207);
    const int rooms = qEnvironmentVariableIsSet("ZELK_PROPERTY_ROOMS") ? qEnvironmentVariableIntValue("ZELK_PROPERTY_ROOMS") : 3;
    int evaluated = 0, refused = 0;
    for (int r = 0; r < rooms; ++r) {
        const auto room = randomRoom(rng);
        const std::vector<OutletChoice> choices = offeredChoices(catalogue, *room, texts, folders);
        ASSERT_FALSE(choices.empty());
        for (const OutletChoice& choice : choices) {
            const QString what = QStringLiteral("room %1, %2 %3 form %4").arg(r).arg(choice.type, choice.size).arg(choice.jetForm);
            auto rec = std::make_unique<CalculationRecord>(*room);
            rec->continueUsed = 1;
            RuntimeFlags flags;
            WorkingValues working;
            int status = 0;
            CollectingDialogs dialogs;
            InertShell shell;
            std::optional<ResultsView> view;
            try {
                SelectionModel model({{*rec, flags, working, status, texts, dialogs}, catalogue, shell, folders});
                view = planOutlet(model, catalogue, choice, *rec).results;
            } catch (const Error&) {
                ++refused;
            }
            ASSERT_EQ(firstNonFiniteReal(*rec), std::nullopt) << what.toStdString();
            for (const QString& m : dialogs.messages)
                ASSERT_FALSE(meaningless(m)) << what.toStdString() << ": " << m.toStdString();
            if (!view || view->evaluated == JetKind::None)
                continue;
            ++evaluated;
            ASSERT_EQ(meaninglessText(view->form3), std::nullopt) << what.toStdString();
            ASSERT_EQ(meaninglessText(view->form4), std::nullopt) << what.toStdString();

            const ContourRoutine routine = jetContours(*rec, dialogs);
            try {
                FlowSimModel flow({*rec, flags, working, status, texts, dialogs});
                const FlowPictureView picture = flow.picture(routine);
                ASSERT_EQ(meaninglessText(picture.picture.primitives), std::nullopt) << what.toStdString();
                ASSERT_EQ(meaninglessText(picture.labels), std::nullopt) << what.toStdString();
                for (const OutletContour& zone : picture.contours)
                    for (const auto& polygon : zone.contour.polygons)
                        for (const ContourPoint& p : polygon)
                            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << what.toStdString();

                const ReportInputs in{
                    *rec, texts, catalogue, QStringLiteral("x"), folders.program, QDate(2026, 12, 7),
                    600,  {},    false};
                const std::vector<OutletContour> zones =
                    computeContours(pictureContourInputs(reportPictureInputs(in), *rec), routine);
                for (const ReportPage& page : reportPages(in, zones))
                    ASSERT_EQ(meaninglessText(page), std::nullopt) << what.toStdString();
            } catch (const Error&) {
                ++refused; // a clean refusal of the picture
            }
            ASSERT_EQ(firstNonFiniteReal(*rec), std::nullopt) << what.toStdString();
        }
    }
    EXPECT_GT(evaluated, 0);
    RecordProperty("evaluated", evaluated);
    RecordProperty("refused", refused);
}

} // namespace
} // namespace fyl
