// The main window's room fields show their values rounded; what the actions read is the value
// itself until the planner types over it.
#include "auxiliary/demopictures.h"
#include "frame/expression.h"
#include "frame/projectfile.h"
#include "frame/scripteddialogs.h"
#include "room/mainwindowmodel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace fyl;
using enum RoomField;

namespace {

// 8 × 6 × 3 m: 48 m² and 144 m³.
class RoomValuesTest : public testing::Test {
protected:
    void SetUp() override { reset(); }
    void reset() {
        ResetRecord(rec);
        rec.roomWidth = 8.0;
        rec.roomLength = 6.0;
        rec.roomHeight = 3.0;
        rec.mountingHeight = 3.0;
        rec.floorArea = 48.0;
        rec.roomVolume = 144.0;
        model = std::make_unique<MainWindowModel>(
            MainWindowParts{{rec, flags, working, calcStatus, texts, dialogs}, shell, folders, demoPictures});
    }
    // The record as it stands is saved and loaded as a project.
    void load() {
        const QString file = dir.filePath(QStringLiteral("p.zol"));
        writeProjectFile(file, rec);
        dialogs.fileAnswers.push_back(file);
        model->Laden1Click(QDate(2024, 1, 1));
    }
    // The planner enters a field, types over its text unless `text` is null, and leaves it.
    void visit(RoomField field, const QString& text = {}) {
        model->enterField(field);
        if (!text.isNull())
            model->setRoomText(field, text);
        model->leaveField(field);
    }
    std::string shown(RoomField field) const {
        return model->state().room[static_cast<std::size_t>(field)].toStdString();
    }
    QStringList errors() const { return dialogs.texts(ScriptedDialogs::Shown::Error); }

    QTemporaryDir dir;
    CalculationRecord rec{};
    RuntimeFlags flags;
    WorkingValues working;
    int calcStatus = 0;
    TextTable texts;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    Folders folders;
    DemoPictures demoPictures;
    std::unique_ptr<MainWindowModel> model;
};

const double kRate600 = static_cast<double>(600.0L / 144.0L); // 4,1667 /h
const double kFlow42 = static_cast<double>(144.0L * 4.2);     // 604,8 m³/h

struct FlowCase {
    const char* name;
    double flow, rate; // of the loaded project
    // Then each field entered, typed over (a null text: left as it is) and left.
    std::vector<std::pair<RoomField, QString>> typed;
    const char* rateShown;             // after the room data command
    double expectedFlow, expectedRate; // in the record after "weiter"
};

TEST_F(RoomValuesTest, RateAndFlowAreReadAsComputedNotAsShown) {
    const FlowCase cases[] = {
        {"loaded", 600, kRate600, {}, "4", 600, kRate600},
        {"loaded, fields left", 600, kRate600, {{AirChangeRate, {}}, {VolumeFlow, {}}}, "4,2", 600, kRate600},
        {"loaded 12,5 /h", 1800, 12.5, {{AirChangeRate, {}}}, "13", 1800, 12.5},
        {"typed flow", 1440, 10, {{VolumeFlow, "600"}, {AirChangeRate, {}}}, "4,2", 600, kRate600},
        {"typed flow, then height", 1440, 10, {{VolumeFlow, "600"}, {Height, "3.5"}}, "4,2", 700, kRate600},
        // What the planner typed is read as typed.
        {"typed rate", 1440, 10, {{AirChangeRate, "4,2"}, {VolumeFlow, {}}}, "4,2", kFlow42, 4.2},
        {"typed over a computed rate", 600, kRate600, {{AirChangeRate, "4,0"}}, "4,0", 576, 4},
    };
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        rec.totalFlow = c.flow;
        rec.airChangeRate = c.rate;
        load();
        for (const auto& [field, text] : c.typed)
            visit(field, text);
        model->roomDataCommand();
        EXPECT_EQ(shown(AirChangeRate), c.rateShown);
        model->weiter();
        EXPECT_EQ(+rec.totalFlow, c.expectedFlow);
        EXPECT_EQ(+rec.airChangeRate, c.expectedRate);
        EXPECT_TRUE(errors().isEmpty());
    }
}

TEST_F(RoomValuesTest, ArithmeticFieldsAreNotEvaluatedAgainFromTheirText) {
    rec.floorArea = 12.3456;
    rec.roomVolume = 37.0368;
    load();
    visit(Height); // evaluates the floor area: its value, not its text "12,35"
    model->weiter();
    EXPECT_EQ(+rec.floorArea, 12.3456);
    EXPECT_DOUBLE_EQ(rec.roomVolume, 37.0368);

    // A typed expression keeps the evaluator's value, also when the field is left unchanged later.
    QString expression = QStringLiteral("2*PI");
    float evaluated = 0.0f;
    int status = 0;
    ASSERT_EQ(ExpressionEvaluator(expression, evaluated, 5, 2, status), 0);
    model->setAreaInput(true);
    model->checkBoxClicked();
    visit(FloorArea, QStringLiteral("2*PI"));
    visit(FloorArea);
    EXPECT_EQ(shown(FloorArea), " 6,28");
    visit(Volume);
    model->weiter();
    EXPECT_EQ(+rec.floorArea, double(evaluated));
    EXPECT_DOUBLE_EQ(rec.roomVolume, 3.0 * evaluated);
    EXPECT_TRUE(errors().isEmpty());
}

} // namespace
