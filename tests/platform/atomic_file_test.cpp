#include "as_another_user.h"
#include "common/file_size_limit.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

using namespace tvx;
using tvx::testing::kNobody;
using tvx::testing::kNoGroup;

namespace {

QByteArray ReadAll(const QString& Name) {
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QString Reason(int Error) {
    return QString::fromLocal8Bit(std::strerror(Error));
}

QStringList Entries(const QString& Dir) {
    return QDir(Dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

struct stat StatOf(const QString& Name) {
    struct stat info {};
    ::stat(QFile::encodeName(Name).constData(), &info);
    return info;
}

QByteArray Attribute(const QString& Name, const char* Key) {
    QByteArray value(256, '\0');
    const ssize_t n = ::getxattr(QFile::encodeName(Name).constData(), Key, value.data(), 256);
    return n < 0 ? QByteArray("(none)") : value.left(n);
}

// A file with the given content, owner and mode, as root makes it.
void MakeFile(const QString& Name, const QByteArray& Content, uid_t Owner, gid_t Group,
              mode_t Mode) {
    ASSERT_EQ(WriteFileAtomically(Name, Content), QString());
    const QByteArray path = QFile::encodeName(Name);
    ASSERT_EQ(::chown(path.constData(), Owner, Group), 0);
    ASSERT_EQ(::chmod(path.constData(), Mode), 0);
}

// A file with two names is written in place, so both keep showing it.
void MakeFileWithTwoNames(const QString& Name, const QString& Other) {
    ASSERT_EQ(WriteFileAtomically(Name, "old"), QString());
    ASSERT_EQ(::link(QFile::encodeName(Name).constData(), QFile::encodeName(Other).constData()), 0);
}

} // namespace

TEST(AtomicFile, ReplacesTheFileWholeOrSaysWhyAndLeavesIt) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    ASSERT_EQ(WriteFileAtomically(name, "old"), QString());
    QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(name);
    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(QFile::permissions(name), permissions);

    {
        tvx::testing::TFileSizeLimit full(16);
        EXPECT_EQ(WriteFileAtomically(name, QByteArray(100, 'x')), Reason(EFBIG));
    }
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(Entries(dir.path()), QStringList{"c.fml"});

    ASSERT_EQ(WriteFileAtomically(dir.filePath("plain"), "a file"), QString());
    EXPECT_EQ(WriteFileAtomically(dir.filePath("plain/c.fml"), "x"), Reason(ENOTDIR));
    EXPECT_EQ(WriteFileAtomically(dir.path(), "x"), Reason(EISDIR));
}

TEST(AtomicFile, WritesTheFileAtTheEndOfAChainOfLinksAndKeepsTheLinks) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("real") && QDir(dir.path()).mkpath("links"));
    ASSERT_EQ(WriteFileAtomically(dir.filePath("real/c.fml"), "old"), QString());
    ASSERT_TRUE(QFile::link("../real/c.fml", dir.filePath("links/mid.fml")));
    ASSERT_TRUE(QFile::link("mid.fml", dir.filePath("links/chain.fml")));
    ASSERT_EQ(WriteFileAtomically(dir.filePath("links/chain.fml"), "new"), QString());
    EXPECT_EQ(ReadAll(dir.filePath("real/c.fml")), "new");
    EXPECT_EQ(QFile::symLinkTarget(dir.filePath("links/chain.fml")), dir.filePath("links/mid.fml"));
    EXPECT_EQ(QFile::symLinkTarget(dir.filePath("links/mid.fml")), dir.filePath("real/c.fml"));

    // A link to nothing creates what it points at.
    ASSERT_TRUE(QFile::link("../real/d.fml", dir.filePath("links/dangling.fml")));
    ASSERT_EQ(WriteFileAtomically(dir.filePath("links/dangling.fml"), "made"), QString());
    EXPECT_EQ(ReadAll(dir.filePath("real/d.fml")), "made");
    EXPECT_TRUE(QFileInfo(dir.filePath("links/dangling.fml")).isSymLink());
}

TEST(AtomicFile, ANameAsLongAsTheSystemAllowsSaves) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QString(250, u'n'));
    ASSERT_EQ(WriteFileAtomically(name, "old"), QString());
    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(Entries(dir.path()), QStringList{QString(250, u'n')});
}

TEST(AtomicFile, ASaveKilledHalfwayLeavesAPrivateCopyThatTheNextSaveRemoves) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    ASSERT_EQ(WriteFileAtomically(name, "old"), QString());
    ASSERT_TRUE(QFile::setPermissions(name, QFile::permissions(name) | QFile::ReadOther));
    // The child dies of the file size limit in the middle of writing.
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        const rlimit small{16, 16};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        WriteFileAtomically(name, QByteArray(100, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const QStringList left = Entries(dir.path());
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(ReadAll(name), "old");
    // Nobody but the user could open it while it was written.
    EXPECT_EQ(StatOf(dir.filePath(left[0])).st_mode & 0777, 0600u) << left[0].toStdString();

    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    EXPECT_EQ(Entries(dir.path()), QStringList{"c.fml"});
    EXPECT_EQ(ReadAll(name), "new");
}

TEST(AtomicFile, AFailedWriteInPlacePutsTheOldBytesBack) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    MakeFileWithTwoNames(name, dir.filePath("other.fml"));
    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    EXPECT_EQ(ReadAll(dir.filePath("other.fml")), "new");
    {
        tvx::testing::TFileSizeLimit full(16);
        EXPECT_EQ(WriteFileAtomically(name, QByteArray(100, 'x')), Reason(EFBIG));
    }
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(StatOf(name).st_nlink, 2u);
}

TEST(AtomicFile, TheUsersPermissionsDecideAsForAPlainOpen) {
    QTemporaryDir dir;
    const QString own = dir.filePath("mine/own.fml");         // nobody's, 0444
    const QString foreign = dir.filePath("mine/foreign.fml"); // root's, 0644
    const QString shared = dir.filePath("mine/shared.fml");   // root's, 0666
    const QString fixed = dir.filePath("fixed/writable.fml"); // nobody's, in root's folder
    if (::geteuid() == 0) {
        ASSERT_TRUE(QDir(dir.path()).mkpath("mine") && QDir(dir.path()).mkpath("fixed"));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ::chmod(QFile::encodeName(dir.filePath("fixed")).constData(), 0755);
        ASSERT_EQ(::chown(QFile::encodeName(dir.filePath("mine")).constData(), kNobody, kNoGroup),
                  0);
        MakeFile(own, "own", kNobody, kNoGroup, 0444);
        MakeFile(foreign, "foreign", 0, 0, 0644);
        MakeFile(shared, "shared", 0, 0, 0666);
        MakeFile(fixed, "fixed", kNobody, kNoGroup, 0644);
    }
    QString why;
    const std::optional<QString> answers = tvx::testing::RunAsNobody(
        [&] {
            if (!QFileInfo::exists(own)) {
                return QStringLiteral("unreachable");
            }
            return QStringList{WriteFileAtomically(own, "x"), WriteFileAtomically(foreign, "x"),
                               WriteFileAtomically(shared, "new"),
                               WriteFileAtomically(fixed, "new")}
                .join(u'|');
        },
        why);
    if (!answers) {
        GTEST_SKIP() << why.toStdString();
    }
    if (*answers == "unreachable") {
        GTEST_SKIP() << "the user nobody cannot reach the temporary folder "
                     << dir.path().toStdString();
    }
    const QString denied = Reason(EACCES);
    EXPECT_EQ(*answers, denied + '|' + denied + "||");
    EXPECT_EQ(ReadAll(own), "own");
    EXPECT_EQ(ReadAll(foreign), "foreign");
    EXPECT_EQ(StatOf(foreign).st_uid, 0u);
    // Writable, but the replacement could not be made the same file: written
    // in place, owner and mode as they were.
    EXPECT_EQ(ReadAll(shared), "new");
    EXPECT_EQ(StatOf(shared).st_uid, 0u);
    EXPECT_EQ(StatOf(shared).st_mode & 07777, 0666u);
    EXPECT_EQ(ReadAll(fixed), "new");
    EXPECT_EQ(Entries(dir.filePath("mine")), QStringList({"foreign.fml", "own.fml", "shared.fml"}));
}

TEST(AtomicFile, AFileSavedByRootKeepsOwnerGroupModeAttributesAndLinks) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can save a file that belongs to another user";
    }
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    MakeFile(name, "old", kNobody, kNoGroup, 04750);
    const QByteArray path = QFile::encodeName(name);
    // user::rw-, user:nobody:r--, group::r-x, mask::r-x, other::---
    const unsigned char acl[] = {2,    0,    0,    0,    1,    0,    6,    0,    0xff, 0xff, 0xff,
                                 0xff, 2,    0,    4,    0,    0xfe, 0xff, 0,    0,    4,    0,
                                 5,    0,    0xff, 0xff, 0xff, 0xff, 0x10, 0,    5,    0,    0xff,
                                 0xff, 0xff, 0xff, 0x20, 0,    0,    0,    0xff, 0xff, 0xff, 0xff};
    if (::setxattr(path.constData(), "user.note", "kept", 4, 0) != 0 ||
        ::setxattr(path.constData(), "system.posix_acl_access", acl, sizeof acl, 0) != 0) {
        GTEST_SKIP() << "the temporary folder's file system takes no extended attributes: "
                     << std::strerror(errno);
    }
    const struct stat before = StatOf(name);
    const QByteArray aclBefore = Attribute(name, "system.posix_acl_access");
    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    const struct stat after = StatOf(name);
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNoGroup);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(Attribute(name, "user.note"), "kept");
    EXPECT_EQ(Attribute(name, "system.posix_acl_access"), aclBefore);

    ASSERT_EQ(::link(path.constData(), QFile::encodeName(dir.filePath("other.fml")).constData()),
              0);
    ASSERT_EQ(WriteFileAtomically(name, "newer"), QString());
    EXPECT_EQ(ReadAll(dir.filePath("other.fml")), "newer");
    EXPECT_EQ(StatOf(name).st_ino, StatOf(dir.filePath("other.fml")).st_ino);
    EXPECT_EQ(StatOf(name).st_mode, before.st_mode);
}

TEST(AtomicFile, TwoSavesAtOnceInPlaceLeaveOneWholeVersion) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    MakeFileWithTwoNames(name, dir.filePath("other.fml"));
    const QByteArray longer(3 << 20, 'a');
    const QByteArray shorter(2 << 20, 'b');
    for (int pair = 0; pair < 8; ++pair) {
        pid_t children[2];
        for (int i = 0; i < 2; ++i) {
            children[i] = ::fork();
            if (children[i] == 0) {
                ::_exit(WriteFileAtomically(name, i == 0 ? longer : shorter).isEmpty() ? 0 : 1);
            }
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const QByteArray now = ReadAll(name);
        ASSERT_TRUE(now == longer || now == shorter) << "pair " << pair << ": " << now.size();
    }
}

TEST(AtomicFile, AnAttributeTheUserCannotSeeOrSetKeepsTheFileWrittenInPlace) {
    QTemporaryDir dir;
    const QString name = dir.filePath("mine/c.fml");
    if (::geteuid() == 0) {
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ASSERT_TRUE(QDir(dir.path()).mkpath("mine"));
        ASSERT_EQ(::chown(QFile::encodeName(dir.filePath("mine")).constData(), kNobody, kNoGroup),
                  0);
        MakeFile(name, "old", kNobody, kNoGroup, 0644);
        if (::setxattr(QFile::encodeName(name).constData(), "trusted.note", "kept", 4, 0) != 0) {
            GTEST_SKIP() << "no trusted attribute can be set here: " << std::strerror(errno);
        }
    }
    QString why;
    const std::optional<QString> answer =
        tvx::testing::RunAsNobody([&] { return WriteFileAtomically(name, "new"); }, why);
    if (!answer) {
        GTEST_SKIP() << why.toStdString();
    }
    EXPECT_EQ(*answer, QString());
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(Attribute(name, "trusted.note"), "kept");
}

TEST(AtomicFile, ALinkAnotherUserPlantedInASharedFolderIsRefusedAsTheKernelRefusesIt) {
    QFile setting(QStringLiteral("/proc/sys/fs/protected_symlinks"));
    if (!setting.open(QIODevice::ReadOnly) || setting.readAll().trimmed() != "1") {
        GTEST_SKIP() << "the kernel protects no links here (fs.protected_symlinks is not 1)";
    }
    QTemporaryDir dir;
    const QString victim = dir.filePath("victim.fml");
    const QString link = dir.filePath("shared/c.fml");
    if (::geteuid() == 0) {
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ASSERT_TRUE(QDir(dir.path()).mkpath("shared"));
        ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("shared")).constData(), 01777), 0);
        ASSERT_EQ(WriteFileAtomically(victim, "root's"), QString());
    }
    QString why;
    const std::optional<QString> planted = tvx::testing::RunAsNobody(
        [&] { return QFile::link(victim, link) ? QString() : QStringLiteral("no link"); }, why);
    if (!planted || !planted->isEmpty()) {
        GTEST_SKIP() << "no link of another user could be planted: " << why.toStdString();
    }
    EXPECT_EQ(WriteFileAtomically(link, "x"), Reason(EACCES));
    EXPECT_EQ(ReadAll(victim), "root's");
}

TEST(AtomicFile, AFileMountedOverItsNameIsWrittenInPlace) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.fml");
    const QString name = dir.filePath("c.fml");
    ASSERT_EQ(WriteFileAtomically(source, "old"), QString());
    ASSERT_EQ(WriteFileAtomically(name, "covered"), QString());
    const QByteArray path = QFile::encodeName(name);
    if (::mount(QFile::encodeName(source).constData(), path.constData(), nullptr, MS_BIND,
                nullptr) != 0) {
        GTEST_SKIP() << "no file can be bind-mounted here: " << std::strerror(errno);
    }
    const QString result = WriteFileAtomically(name, "new");
    ::umount2(path.constData(), MNT_DETACH);
    EXPECT_EQ(result, QString());
    EXPECT_EQ(ReadAll(source), "new");
    EXPECT_EQ(Entries(dir.path()), QStringList({"c.fml", "source.fml"}));
}

TEST(AtomicFile, APipeGetsEveryByteWhileItsReaderIsThereAndTheEndIsToldWhenItGoes) {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("pipe.fml"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // The reader that stops early would otherwise end the test by SIGPIPE.
    const auto oldHandler = std::signal(SIGPIPE, SIG_IGN);
    const QByteArray chart(200 << 10, 'c');
    for (const bool readerStays : {true, false}) {
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // Holds the pipe open so the reader waits for the save, not for nothing.
        const int keeper = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_TRUE(reader >= 0 && keeper >= 0);
        ::fcntl(reader, F_SETFL, 0);
        QByteArray received;
        std::thread reading([&] {
            char buffer[4096];
            for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, n);
                if (!readerStays) {
                    break;
                }
            }
            ::close(reader);
        });
        const QString result = WriteFileAtomically(dir.filePath("pipe.fml"), chart);
        ::close(keeper);
        reading.join();
        if (readerStays) {
            EXPECT_EQ(result, QString());
            EXPECT_EQ(received, chart);
        } else {
            EXPECT_EQ(result, Reason(EPIPE));
        }
    }
    std::signal(SIGPIPE, oldHandler);
}
