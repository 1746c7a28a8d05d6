#include "frame/errors.h"
#include "frame/projectfile.h"
#include "tests/support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace fyl;

namespace {

QByteArray recordImage(double roomWidth) {
    QByteArray bytes(11880, '\0');
    std::memcpy(bytes.data() + 3760, &roomWidth, sizeof roomWidth); // room width at 3760
    bytes[4186] = 1;                                                // flow picture shown
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ProjectFile, TheLastWholeRecordCounts) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zwei.zol"));
    test::writeFile(path, recordImage(4.5) + recordImage(7.25));
    CalculationRecord rec{};
    readProjectFile(path, rec);
    EXPECT_EQ(+rec.roomWidth, 7.25);
    EXPECT_EQ(+rec.flowPictureShown, 1); // reading keeps the byte as stored
}

TEST(ProjectFile, MalformedSizesAreRefusedBeforeReading) {
    QTemporaryDir dir;
    CalculationRecord rec{};
    rec.roomWidth = 3.0;
    for (const QByteArray& bytes :
         {QByteArray(), recordImage(4.5) + QByteArray(5, 'x'), QByteArray(100, 'x')}) {
        const QString path = dir.filePath(QStringLiteral("kaputt.zol"));
        test::writeFile(path, bytes);
        try {
            readProjectFile(path, rec);
            ADD_FAILURE() << "a file of " << bytes.size() << " bytes was accepted";
        } catch (const FileError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("11880"))) << e.what();
        }
        EXPECT_EQ(+rec.roomWidth, 3.0); // the whole records before the fragment are not taken either
    }
    EXPECT_THROW(readProjectFile(dir.filePath(QStringLiteral("fehlt.zol")), rec), FileError);
}

TEST(ProjectFile, WritingIsAtomicAndClearsTheFlowPictureFlag) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.zol"));
    CalculationRecord rec{};
    rec.roomWidth = 12.5;
    rec.flowPictureShown = 1;
    writeProjectFile(path, rec);
    const QByteArray bytes = readAll(path);
    ASSERT_EQ(bytes.size(), 11880);
    double width = 0;
    std::memcpy(&width, bytes.constData() + 3760, sizeof width);
    EXPECT_EQ(width, 12.5);
    EXPECT_EQ(bytes[4186], 0);
    EXPECT_EQ(+rec.flowPictureShown, 1); // the record in memory is the caller's

    EXPECT_THROW(writeProjectFile(dir.filePath(QStringLiteral("fehlt/p.zol")), rec), FileError);
}
