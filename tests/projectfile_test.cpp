// Project files: the last whole record counts, damaged files are refused, writing is atomic.
#include "frame/errors.h"
#include "frame/projectfile.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

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

#ifdef Q_OS_LINUX
// While it lives, writing a regular file past `bytes` fails with EFBIG instead of killing the
// process. Unlike a read-only folder this stops root as well.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &previous_) != 0)
            return;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        if (previousHandler_ == SIG_ERR)
            return;
        rlimit lowered = previous_;
        lowered.rlim_cur = std::min(bytes, previous_.rlim_max);
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        if (active_)
            setrlimit(RLIMIT_FSIZE, &previous_);
        if (previousHandler_ != SIG_ERR)
            std::signal(SIGXFSZ, previousHandler_); // NOLINT(cert-err33-c): nothing to do if it fails
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_ERR;
    bool active_ = false;
};
#endif

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

// The program never writes a NaN or an infinity, so an image holding one in any real of the
// record is damaged: refused with the field named, the record in memory untouched.
TEST(ProjectFile, NonFiniteRealsAreRefusedNamingTheField) {
    std::vector<int> offsets = {
        65,  73,  212, 220, 244, 252, 276, 284, 292, 300, 308, 316, 324,
        404, 412, 436, 444, 452, 468, 476, 484, 500, 508, 516, 524}; // the outlet part
    for (int offset = 3760; offset <= 3968; offset += 8)
        if (offset != 3824) // eight unused bytes
            offsets.push_back(offset);
    for (int offset : {4064, 4072, 4088, 4096, 4104, 4112, 4120, 4136, 4144, 4152, 4160, 6704, 6712})
        offsets.push_back(offset);
    ASSERT_EQ(offsets.size(), 64u);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.zol"));
    CalculationRecord rec{};
    rec.roomWidth = 3.0;
    const QByteArray before = recordBytes(rec);
    for (int offset : offsets) {
        for (double bad : {std::nan(""), -std::numeric_limits<double>::infinity()}) {
            QByteArray bytes = recordImage(4.5);
            std::memcpy(bytes.data() + offset, &bad, sizeof bad);
            test::writeFile(path, bytes);
            try {
                readProjectFile(path, rec);
                ADD_FAILURE() << "a non-finite real at byte " << offset << " was accepted";
            } catch (const FileError& e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("(Byte %1)").arg(offset))) << e.what();
            }
            EXPECT_EQ(recordBytes(rec), before) << offset;
        }
    }
    // Named as the command line prints it.
    QByteArray bytes = recordImage(4.5);
    const double nan = std::nan("");
    std::memcpy(bytes.data() + 3840, &nan, sizeof nan);
    test::writeFile(path, bytes);
    EXPECT_THROW(
        {
            try {
                readProjectFile(path, rec);
            } catch (const FileError& e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("velocity_limit (Byte 3840)"))) << e.what();
                throw;
            }
        },
        FileError);
}

TEST(ProjectFile, RoomLengthsNoRoomHasAreRefusedNamingTheField) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.zol"));
    CalculationRecord rec{};
    for (const auto& [offset, value, why] :
         {std::tuple{3784, 4.9e-324, "room_height (Byte 3784): 4.9406564584124654e-324 m sind für einen Raum zu klein"},
          std::tuple{3760, 1500.0, "room_width (Byte 3760): 1500 m sind für einen Raum zu groß"},
          std::tuple{4144, -1.0, "mounting_height (Byte 4144): '-1' darf nicht negativ sein"}}) {
        QByteArray bytes = recordImage(4.5);
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        test::writeFile(path, bytes);
        try {
            readProjectFile(path, rec);
            ADD_FAILURE() << offset;
        } catch (const FileError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(why))) << e.what();
        }
    }
    // A room not measured yet is a project all the same.
    QByteArray bytes = recordImage(4.5);
    const double none = 0.0;
    std::memcpy(bytes.data() + 3784, &none, sizeof none);
    test::writeFile(path, bytes);
    EXPECT_NO_THROW(readProjectFile(path, rec));
}

TEST(ProjectFile, WritingClearsTheFlowPictureFlag) {
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

TEST(ProjectFile, AWriteThatFailsHalfwayLeavesTheOldFileIntact) {
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.zol"));
    CalculationRecord rec{};
    rec.roomWidth = 4.5;
    writeProjectFile(path, rec);
    const QByteArray before = readAll(path);
    ASSERT_EQ(before.size(), 11880);

    rec.roomWidth = 9.0;
    bool limited = false;
    bool refused = false;
    {
        // A third of the record fits, the rest does not. Nothing reports in here: the test's
        // own output may be going to a file.
        FileSizeLimit limit(4096);
        limited = limit.active();
        if (limited) {
            try {
                writeProjectFile(path, rec);
            } catch (const FileError&) {
                refused = true;
            }
        }
    }
    if (!limited)
        GTEST_SKIP() << "the file size limit cannot be lowered here";
    EXPECT_TRUE(refused) << "the write did not report the failure";
    const QByteArray after = readAll(path);
    EXPECT_TRUE(after == before) << "the old file was changed: " << after.size() << " bytes now";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("p.zol")}); // and no temporary file is left behind
#else
    GTEST_SKIP() << "lowering the file size limit is arranged on Linux only";
#endif
}
