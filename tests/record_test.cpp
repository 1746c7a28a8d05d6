// The record images: field offsets written out, reset values, bytes that survive.
#include "frame/projectfile.h"
#include "frame/record.h"
#include "tests/support/testfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace fyl;

namespace {

// Helpers that address the record as the files do: by byte offset.
template <typename T> T at(const void* base, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof value);
    return value;
}

template <typename T> void put(void* base, std::size_t offset, T value) {
    std::memcpy(static_cast<char*>(base) + offset, &value, sizeof value);
}

std::unique_ptr<CalculationRecord> filledRecord(unsigned char fill) {
    auto rec = std::make_unique<CalculationRecord>();
    std::memset(rec.get(), fill, sizeof *rec);
    return rec;
}

} // namespace

// A project file made byte by byte: the reader finds each field at its offset, the file's last byte
// is the last character of attachment 20, and the writer gives every byte back, the ones no field
// names included, but the flow picture flag, which a saved file always has cleared.
TEST(RecordLayout, AHandMadeProjectFileIsReadAndWrittenByteForByte) {
    QByteArray image(11880, '\xAB'); // 0xABAB... read as a real is finite
    char* bytes = image.data();
    put<double>(bytes, 65, 150);       // the outlet's least flow
    put<double>(bytes, 3760, 12.5);    // room width
    // The room's other sizes within what a project may hold; 0xABAB... reads as a negative length.
    put<double>(bytes, 3768, 20.0); // room length
    put<double>(bytes, 3784, 6.0);  // room height
    put<double>(bytes, 3848, 1.8);  // head height
    put<double>(bytes, 4144, 6.0);  // mounting height
    put<double>(bytes, 3968, 31.5);    // LWA
    put<std::uint8_t>(bytes, 4186, 1); // flow picture shown
    put<std::uint8_t>(bytes, 4217, 5); // project name: length byte, then the characters
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): characters of a text field, not a C string
    std::memcpy(bytes + 4218, "Halle", 5);
    put<std::int32_t>(bytes, 6696, 4);              // slot count
    put<std::uint8_t>(bytes, 6760 + 19 * 256, 255); // attachment 20 at its full length
    bytes[11879] = 'z';

    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("hand.zol"));
    test::writeFile(original, image);
    auto rec = filledRecord(0);
    readProjectFile(original, *rec);
    EXPECT_EQ(+rec->outlet.vMin, 150);
    EXPECT_EQ(+rec->roomWidth, 12.5);
    EXPECT_EQ(+rec->lwa, 31.5);
    EXPECT_EQ(+rec->flowPictureShown, 1);
    EXPECT_EQ(rec->projectName.str(), QStringLiteral("Halle"));
    EXPECT_EQ(+rec->slotCount, 4);
    const QString attachment = rec->attachments[19].str();
    EXPECT_EQ(attachment.size(), 255);
    EXPECT_TRUE(attachment.endsWith(QLatin1Char('z'))) << attachment.right(3).toStdString();

    const QString saved = dir.filePath(QStringLiteral("saved.zol"));
    writeProjectFile(saved, *rec);
    QByteArray expected = image;
    expected[4186] = 0;
    EXPECT_EQ(test::readFile(saved), expected);
}

TEST(RecordLayout, RoomAndResultFieldsLieAtTheirFileOffsets) {
    auto rec = filledRecord(0);
    put<double>(rec.get(), 3760, 12.5);     // room width
    put<double>(rec.get(), 3784, 3.25);     // room height
    put<double>(rec.get(), 3808, 4000);     // total volume flow
    put<double>(rec.get(), 3816, 7);        // number of outlets
    put<double>(rec.get(), 3864, 20.001);   // supply temperature
    put<double>(rec.get(), 3912, 4.75);     // critical distance
    put<double>(rec.get(), 3968, 31.5);     // LWA
    put<std::int32_t>(rec.get(), 4080, -3); // first count bound
    put<std::int32_t>(rec.get(), 4084, 9);  // second count bound
    put<double>(rec.get(), 4104, 0.31);     // velocity at the left wall
    put<double>(rec.get(), 4112, 0.32);     // at the right wall
    put<double>(rec.get(), 4144, 2.9);      // mounting height
    put<std::uint8_t>(rec.get(), 4170, 1);  // calculation mode
    put<std::uint8_t>(rec.get(), 4175, 1);  // vertical-jet kind
    put<std::uint8_t>(rec.get(), 4184, 1);  // results window flag
    put<std::uint8_t>(rec.get(), 4188, 1);  // continue used
    put<std::int32_t>(rec.get(), 6696, 4);  // slot count
    put<double>(rec.get(), 6704, 2600);     // effective length
    EXPECT_EQ(+rec->roomWidth, 12.5);
    EXPECT_EQ(+rec->roomHeight, 3.25);
    EXPECT_EQ(+rec->totalFlow, 4000);
    EXPECT_EQ(+rec->outletCount, 7);
    EXPECT_EQ(+rec->supplyTemp, 20.001);
    EXPECT_EQ(+rec->criticalDistance, 4.75);
    EXPECT_EQ(+rec->lwa, 31.5);
    EXPECT_EQ(+rec->countBound1, -3);
    EXPECT_EQ(+rec->countBound2, 9);
    EXPECT_EQ(+rec->vLeft, 0.31);
    EXPECT_EQ(+rec->vRight, 0.32);
    EXPECT_EQ(+rec->mountingHeight, 2.9);
    EXPECT_EQ(+rec->calculationMode, 1);
    EXPECT_EQ(+rec->verticalJet, 1);
    EXPECT_EQ(+rec->horizontalJet, 0);
    EXPECT_EQ(+rec->resultsWindowFlag, 1);
    EXPECT_EQ(+rec->continueUsed, 1);
    EXPECT_EQ(+rec->slotCount, 4);
    EXPECT_EQ(+rec->effectiveLength, 2600);
}

TEST(RecordLayout, TextFieldsAreLengthBytePlusCharacters) {
    auto rec = filledRecord(0);
    rec->projectName.assign(QStringLiteral("Büro 3"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 4217), 6);
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(rec.get()) + 4218, "B\xFCro 3", 6), 0);
    rec->remarks[25].assign(QStringLiteral("last"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 4268 + 25 * 73), 4);
    rec->contactAddress[4].assign(QStringLiteral("x"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 6166 + 4 * 41), 1);
    rec->editor[1].assign(QStringLiteral("yz"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 6371 + 41), 2);
    rec->attachments[19].assign(QStringLiteral("c:\\a.pdf"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 6760 + 19 * 256), 8);
    EXPECT_EQ(at<char>(rec.get(), 6760 + 19 * 256 + 1), 'c');
    rec->designCode.assign(QStringLiteral("3"));
    EXPECT_EQ(at<char>(rec.get(), 4061), '3');
    rec->sizeText.assign(QStringLiteral("200"));
    EXPECT_EQ(at<std::uint8_t>(rec.get(), 6720), 3);
}

TEST(RecordLayout, OutletFieldsLieAtTheirDetailFileOffsets) {
    auto rec = filledRecord(0);
    char* base = reinterpret_cast<char*>(rec.get());
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): bytes of the image, not a C string
    std::memcpy(base + 2, "DLX\0", 4);
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): bytes of the image, not a C string
    std::memcpy(base + 13, "DLX 400    ", 11); // full width, no NUL
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): bytes of the image, not a C string
    std::memcpy(base + 51, "04", 2);
    put<double>(base, 65, 150);
    put<double>(base, 73, 600);
    put<double>(base, 212, 3.2e-4);
    put<double>(base, 252, 27.5);
    put<double>(base, 292, 0.9);
    put<double>(base, 324, 1.5);
    put<double>(base, 452, 0.75);
    put<double>(base, 468, 15);
    put<double>(base, 500, -0.7);
    put<double>(base, 524, 0.5);
    put<std::uint8_t>(base, 532, 5);
    put<std::uint8_t>(base, 633, 3);
    put<std::uint8_t>(base, 734 + 24 * 121, 9);
    put<std::int16_t>(base, 734 + 24 * 121 + 118, -2);
    put<std::uint8_t>(base, 3758, 7);
    // Unary plus copies each value out of the packed record: gtest binds references.
    const OutletRecord& o = rec->outlet;
    EXPECT_EQ(o.typeNameText().toStdString(), "DLX");
    EXPECT_EQ(o.sizeNameText().toStdString(), "DLX 400    ");
    EXPECT_EQ(o.jetFormCodeText().toStdString(), "04");
    EXPECT_EQ(+o.vMin, 150);
    EXPECT_EQ(+o.vMax, 600);
    EXPECT_EQ(+o.pressureK, 3.2e-4);
    EXPECT_EQ(+o.soundA, 27.5);
    EXPECT_EQ(+o.decayA, 0.9);
    EXPECT_EQ(+o.detachFlowExp, 1.5);
    EXPECT_EQ(+o.penFlowExp, 0.75);
    EXPECT_EQ(+o.angle, 15);
    EXPECT_EQ(+o.zoneCoef, -0.7);
    EXPECT_EQ(+o.value524, 0.5);
    EXPECT_EQ(+o.lengthsList.length, 5);
    EXPECT_EQ(+o.countsList.length, 3);
    EXPECT_EQ(+o.sizeTable[24].content.length, 9);
    EXPECT_EQ(+o.sizeTable[24].int118, -2);
    EXPECT_EQ(+o.sizeTable[24].byte120, 7);
}

TEST(ShortText, CutsLongTextsAndZeroFillsTheTail) {
    text<6> t;
    std::memset(&t, '#', sizeof t);
    t.assign(QStringLiteral("ab"));
    EXPECT_EQ(+t.length, 2);
    EXPECT_EQ(t.str().toStdString(), "ab");
    EXPECT_EQ(QByteArray(t.chars + 2, 4), QByteArray(4, '\0')); // no tail of what was there
    t.assign(QStringLiteral("1234567890"));
    EXPECT_EQ(+t.length, 6);
    EXPECT_EQ(t.str().toStdString(), "123456");
    t.length = 200; // a corrupt length byte from a file never reads past the field
    EXPECT_EQ(t.str().size(), 6);
    t.assign(QStringLiteral("€ä")); // Windows-1252 bytes
    EXPECT_EQ(static_cast<unsigned char>(t.chars[0]), 0x80);
    EXPECT_EQ(static_cast<unsigned char>(t.chars[1]), 0xE4);
    EXPECT_EQ(t.str(), QStringLiteral("€ä"));
}

TEST(ResetRecord, StoresTheResetValues) {
    auto rec = filledRecord(0);
    ResetRecord(*rec);
    EXPECT_EQ(+rec->roomWidth, 10.0);
    EXPECT_EQ(+rec->roomLength, 10.0);
    EXPECT_EQ(+rec->floorArea, 100.0);
    EXPECT_EQ(+rec->roomHeight, 3.0);
    EXPECT_EQ(+rec->roomVolume, 300.0);
    EXPECT_EQ(+rec->airChangeRate, 10.0);
    // 4000, although area x height x air change rate give 3000
    EXPECT_EQ(+rec->totalFlow, 4000.0);
    EXPECT_EQ(+rec->flowPerOutlet, 1000.0);
    EXPECT_EQ(+rec->velocityLimit, 0.2);
    EXPECT_EQ(+rec->headHeight, 1.8);
    EXPECT_EQ(+rec->roomTemp, 20.0);
    EXPECT_EQ(+rec->supplyTemp, 20.001);
    EXPECT_LT(rec->roomTemp - rec->supplyTemp, 0.0); // -0.001 K, not zero
    EXPECT_EQ(+rec->maxSoundLevel, 35.0);
    EXPECT_EQ(+rec->selectionFlow, 100.0);
    EXPECT_EQ(at<double>(rec.get(), 3896), 5000.0);
    EXPECT_EQ(rec->unread3976.str().toStdString(), "n. n.");
    EXPECT_EQ(rec->unread4003.str().toStdString(), " ");
    EXPECT_EQ(rec->unread4014.str().toStdString(), " ");
    EXPECT_EQ(+rec->vMinOutlet, 1.0);
    EXPECT_EQ(+rec->vMaxOutlet, 100000.0);
    EXPECT_EQ(+rec->countBound1, 1);
    EXPECT_EQ(+rec->countBound2, 100);
    EXPECT_EQ(+rec->pictureOutletCount, 2.0);
    EXPECT_EQ(+rec->mountingHeight, 3.0);
    EXPECT_EQ(+rec->wallLeft, 1.0);
    EXPECT_EQ(+rec->wallRight, 1.0);
    EXPECT_EQ(+rec->resultsWindowFlag, 1);
    EXPECT_EQ(+rec->slotCount, 1);
    EXPECT_EQ(+rec->effectiveLength, 1000.0);
}

TEST(ResetRecord, TouchesNothingOutsideTheResetColumn) {
    auto rec = filledRecord(0xAB);
    auto before = filledRecord(0xAB);
    ResetRecord(*rec);
    const auto* a = reinterpret_cast<const unsigned char*>(rec.get());
    const auto* b = reinterpret_cast<const unsigned char*>(before.get());
    // Byte ranges the reset leaves alone: the outlet, the not-used bytes, results without a reset
    // value and the two dimension flags.
    const std::pair<std::size_t, std::size_t> untouched[] = {
        {0, 3760},    // outlet record and the byte after it
        {3824, 3832}, // not used
        {3936, 3960}, // a min 1.3, w min, w min 1.3
        {4104, 4120}, // the two wall velocities
        {4128, 4136}, // not used
        {4173, 4174}, // not used
        {4181, 4184}, // dimensions-entered flag, 4182, 4183
        {4187, 4188}, // not used
        {6453, 6696}, // not used
        {6700, 6704}, // not used
        {6712, 6760}, // nominal length, size text, not used
    };
    for (const auto& [from, to] : untouched)
        for (std::size_t i = from; i < to; ++i)
            ASSERT_EQ(a[i], b[i]) << "byte " << i << " changed";
    EXPECT_EQ(a[4189], 0);            // project number emptied, and no tail of it left
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(a) + 4190, 16), QByteArray(16, '\0'));
    EXPECT_EQ(a[6760 + 19 * 256], 0); // attachment 20 emptied
    EXPECT_EQ(a[4268 + 25 * 73], 0);  // remark line 26 emptied
    EXPECT_EQ(a[4168], 0);
    EXPECT_EQ(a[4169], 0);
    for (std::size_t i = 4176; i < 4181; ++i)
        EXPECT_EQ(a[i], 0) << i;
}

TEST(RecordImage, BytesRoundTrip) {
    auto rec = filledRecord(0);
    ResetRecord(*rec);
    rec->projectName.assign(QStringLiteral("Halle"));
    const QByteArray image = recordBytes(*rec);
    ASSERT_EQ(image.size(), 11880);
    EXPECT_EQ(static_cast<unsigned char>(image[4217]), 5);
    auto copy = filledRecord(0xFF);
    setRecordBytes(*copy, image);
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the byte images are compared on purpose
    EXPECT_EQ(std::memcmp(copy.get(), rec.get(), sizeof *rec), 0);
}
