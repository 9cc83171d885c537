#include "platform/own_temporaries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tvx;

TEST(OwnTemporaries, OnlyWhatAnEndedProcessOfOursLeftIsRemoved) {
    // A process that has ended, and its name for a folder.
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const QByteArray mine = OwnTemporaryTemplate("tarvinex-");
    QByteArray stale = mine;
    stale.replace(QByteArray::number(::getpid()), QByteArray::number(ended));
    stale.replace("XXXXXX", "abcdef");
    QByteArray live = mine;
    live.replace("XXXXXX", "ghijkl");
    QByteArray otherMachine = stale;
    otherMachine.replace("tarvinex-", "tarvinex-0");

    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QByteArray& name : {stale, live, otherMachine, QByteArray("tarvinex-notes")}) {
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(name) + "/inner"));
        QFile chart(dir.filePath(QString::fromLatin1(name) + "/inner/c.fml"));
        ASSERT_TRUE(chart.open(QIODevice::WriteOnly));
    }
    QFile plainFile(dir.filePath(QString::fromLatin1(stale).replace("abcdef", "mnopqr")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();

    RemoveStaleOwnTemporaries(dir.path(), "tarvinex-", true);
    QStringList kept{QString::fromLatin1(live), QString::fromLatin1(otherMachine),
                     "tarvinex-notes"};
    kept.sort();
    EXPECT_EQ(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), kept);
}
