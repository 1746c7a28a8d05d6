// The short guide that the help menu opens: written by the build into the program directory.
#include "tests/support/testfiles.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace fyl;

// A whole PDF of a few pages that holds every picture its source names: a picture the Markdown
// import drops (one without a description, say) leaves no trace but a missing image.
TEST(ShortGuide, IsACompletePdfOfAFewPagesWithEveryPicture) {
    const QByteArray pdf = test::readFile(QStringLiteral(ZELK_PROGRAM_DIR "/Fyl_Anleitung.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    const int pages = test::pdfPageCount(pdf);
    EXPECT_GE(pages, 4);
    EXPECT_LE(pages, 8);

    const QString source =
        QString::fromUtf8(test::readFile(QStringLiteral(ZELK_SOURCE_DIR "/docs/anleitung/Fyl_Anleitung.md")));
    const qsizetype named = source.count(QRegularExpression(QStringLiteral("!\\[[^\\]]*\\]\\(")));
    ASSERT_GE(named, 5);
    EXPECT_EQ(pdf.count("/Subtype /Image"), named);
}
