// Bitmap printing and the print window: row stride, range check, stretched drawing, and the
// print dialog path with a scripted dialog. Window test group.
#include "frame/ansi.h"
#include "frame/errors.h"
#include "frame/files.h"
#include "print/Unit5.h"
#include "print/bitmapprint.h"
#include "print/bitmaprows.h"
#include "room/appstate.h"
#include "tests/support/scripted.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace fyl;

namespace {

// Left half red, right half blue: a stretched copy shows where each half landed.
QImage twoColourImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

} // namespace

TEST(BitmapPrint, RowsArePaddedToFourBytes) {
    EXPECT_EQ(dibRowStride(101, 24), 304);
    EXPECT_EQ(dibRowStride(100, 24), 300);
    EXPECT_EQ(dibRowStride(101, 8), 104);
    EXPECT_EQ(dibRowStride(1, 24), 4);
    // The converted copy really carries that layout.
    const QImage rows = deviceIndependentImage(twoColourImage(101, 3), false);
    EXPECT_EQ(rows.depth(), 24);
    EXPECT_EQ(rows.bytesPerLine(), 304);
    const QImage indexed = deviceIndependentImage(twoColourImage(101, 3), true);
    EXPECT_EQ(indexed.depth(), 8);
    EXPECT_EQ(indexed.colorCount(), 256);
    EXPECT_EQ(indexed.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(BitmapPrint, DrawsStretchedIntoTheRectangleAndLeavesTheImage) {
    const QImage image = twoColourImage(20, 10);
    const QImage before = image.copy();
    QImage page(200, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        printBitmap(painter, QRect(40, 20, 100, 60), image);
    }
    EXPECT_EQ(image, before);
    EXPECT_EQ(page.pixel(45, 25), qRgb(255, 0, 0));     // left half
    EXPECT_EQ(page.pixel(135, 75), qRgb(0, 0, 255));    // right half, stretched to the corner
    EXPECT_EQ(page.pixel(39, 50), qRgb(255, 255, 255)); // nothing outside
    EXPECT_EQ(page.pixel(140, 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(90, 19), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(90, 80), qRgb(255, 255, 255));
}

TEST(BitmapPrint, RefusesCoordinatesBeyondSixteenBits) {
    const QImage image = twoColourImage(20, 10);
    QImage page(10, 10, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    EXPECT_THROW(printBitmap(painter, QRect(65536, 0, 10, 10), image), RangeError);
    EXPECT_THROW(printBitmap(painter, QRect(0, -1, 10, 10), image), RangeError);
    EXPECT_THROW(printBitmap(painter, QRect(0, 0, 70000, 10), image), RangeError);
    EXPECT_NO_THROW(printBitmap(painter, QRect(65535, 65535, 0, 0), image));
    painter.end();
    EXPECT_EQ(page.pixel(5, 5), qRgb(255, 255, 255));
}

namespace {

struct PrintWindow {
    AppState state;
    test::ScriptedDialogs dialogs;
    QTemporaryDir out;
    std::unique_ptr<TForm5> form;
    int calls = 0;
    PrintChoices seen;

    explicit PrintWindow(const QString& programDir) {
        state.folders.program = programDir;
        state.texts.load(joinPath(QStringLiteral(ZELK_PROGRAM_DIR), QStringLiteral("\\Fyltext.txt")));
        form = std::make_unique<TForm5>(state, dialogs);
        form->printer().setOutputFormat(QPrinter::PdfFormat);
        form->printer().setOutputFileName(out.filePath(QStringLiteral("report.pdf")));
    }
    void withSeam() {
        form->printPages = [this](QPainter&, const PrintChoices& choices, double) {
            ++calls;
            seen = choices;
        };
    }
};

} // namespace

TEST(PrintWindow, CreatedWithItsSizeDefaultsTextsAndLogo) {
    PrintWindow w(QStringLiteral(ZELK_PROGRAM_DIR));
    EXPECT_EQ(w.form->size(), QSize(219, 126));
    EXPECT_TRUE(w.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.form->CheckBox1->isChecked());
    EXPECT_TRUE(w.form->CheckBox2->isChecked());
    EXPECT_FALSE(w.form->CheckBox3->isChecked());
    EXPECT_EQ(w.form->windowTitle(), w.state.texts.text(110));
    EXPECT_EQ(w.form->CheckBox3->text(), w.state.texts.text(188));
    EXPECT_EQ(w.form->Button1->text(), w.state.texts.text(114));
    EXPECT_FALSE(w.form->logo().isNull());
    EXPECT_TRUE(w.dialogs.shown.empty());

    w.form->setPicturePageAvailable(false);
    EXPECT_FALSE(w.form->CheckBox2->isChecked());
    EXPECT_FALSE(w.form->CheckBox2->isEnabled());
    w.form->setPicturePageAvailable(true);
    EXPECT_TRUE(w.form->CheckBox2->isChecked());
    EXPECT_TRUE(w.form->CheckBox2->isEnabled());
}

TEST(PrintWindow, AMissingLogoIsReportedAndTheWindowWorks) {
    QTemporaryDir empty;
    PrintWindow w(empty.path());
    ASSERT_EQ(w.dialogs.texts(test::ScriptedDialogs::Shown::Error).size(), 1);
    EXPECT_TRUE(w.form->logo().isNull());
    w.withSeam();
    w.dialogs.printAnswers = {true};
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    EXPECT_EQ(w.calls, 1);
}

TEST(PrintWindow, CancellingTheDialogPrintsNothing) {
    PrintWindow w(QStringLiteral(ZELK_PROGRAM_DIR));
    w.withSeam();
    w.form->show();
    w.dialogs.printAnswers = {false};
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    EXPECT_EQ(w.calls, 0);
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_EQ(w.dialogs.texts(test::ScriptedDialogs::Shown::Print).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(w.out.filePath(QStringLiteral("report.pdf"))));
}

TEST(PrintWindow, ConfirmingPrintsTheTickedChoices) {
    PrintWindow w(QStringLiteral(ZELK_PROGRAM_DIR));
    w.withSeam();
    w.form->show();
    QTest::mouseClick(w.form->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(w.form->CheckBox3, Qt::LeftButton);
    w.dialogs.printAnswers = {true};
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    ASSERT_EQ(w.calls, 1);
    EXPECT_FALSE(w.seen.dataPage);
    EXPECT_TRUE(w.seen.picturePage);
    EXPECT_TRUE(w.seen.withoutLetterhead);
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_TRUE(QFileInfo::exists(w.out.filePath(QStringLiteral("report.pdf"))));
}

TEST(PrintWindow, WithoutTheReportItSaysSoAndPrintsNothing) {
    PrintWindow w(QStringLiteral(ZELK_PROGRAM_DIR));
    w.dialogs.printAnswers = {true};
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    EXPECT_EQ(w.dialogs.texts(test::ScriptedDialogs::Shown::Error).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(w.out.filePath(QStringLiteral("report.pdf"))));
}
