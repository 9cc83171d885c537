#include "common/named_pipe.h"
#include "platform/regular_file.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

class RegularFileTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString PathOf(const char* Name) const { return Dir.path() + u'/' + QLatin1String(Name); }
};

TEST_F(RegularFileTest, RefusesWhatIsNoRegularFileWithoutWaiting) {
    tvx::testing::TNamedPipe pipe(PathOf("pipe"));
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ReadRegularFile(PathOf("pipe"), 100).Fault, TReadFault::NotRegular);
    QFile file;
    EXPECT_EQ(OpenRegularFile(file, PathOf("pipe")).Fault, TReadFault::NotRegular);
    EXPECT_FALSE(file.isOpen());
    EXPECT_LT(clock.elapsed(), 1000);

    // A device that never ends and a folder.
    if (QFile::exists("/dev/zero")) {
        EXPECT_EQ(ReadRegularFile("/dev/zero", 100).Fault, TReadFault::NotRegular);
    } else {
        std::printf("/dev/zero is missing: the device case is not checked\n");
    }
    EXPECT_EQ(ReadRegularFile(Dir.path(), 100).Fault, TReadFault::NotRegular);

    const TFileRead missing = ReadRegularFile(PathOf("missing"), 100);
    EXPECT_TRUE(missing.Missing());
    EXPECT_EQ(missing.SystemReason(), "No such file or directory");
}

TEST_F(RegularFileTest, ReadsAWholeFileUpToTheBound) {
    QFile out(PathOf("text"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("0123456789");
    out.close();
    EXPECT_EQ(ReadRegularFile(PathOf("text"), 10).Bytes, "0123456789");
    EXPECT_EQ(ReadRegularFile(PathOf("text"), 9).Fault, TReadFault::TooLarge);

    QFile in;
    ASSERT_TRUE(OpenRegularFile(in, PathOf("text")).Ok());
    EXPECT_EQ(in.readAll(), "0123456789");
}

} // namespace
