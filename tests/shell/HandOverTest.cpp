#include "shell/HandOver.h"
#include "shell/SingleInstance.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zp {
namespace {

TEST(HandOver, RecordLayout) {
    const QByteArray R = EncodeHandOver({QStringLiteral("/usr/bin/zelk-pixaro"), QStringLiteral("ä.dgm")});
    ASSERT_EQ(R.size(), 16008);
    // Slot 0: unit 0 zero, text from unit 1, little-endian UTF-16.
    EXPECT_EQ(R[0], '\0');
    EXPECT_EQ(R[1], '\0');
    EXPECT_EQ(R[2], '/');
    EXPECT_EQ(R[3], '\0');
    // Slot 1 starts at byte 4,002.
    EXPECT_EQ(R[4002], '\0');
    EXPECT_EQ(static_cast<unsigned char>(R[4004]), 0xE4u);
    EXPECT_EQ(R[4006], '.');
    for (int I = 2 * 4002; I < R.size(); ++I) ASSERT_EQ(R[I], '\0') << I; // slots 2 and 3 empty

    const QStringList Back = DecodeHandOver(R);
    EXPECT_EQ(Back, (QStringList{"/usr/bin/zelk-pixaro", QString::fromUtf8("ä.dgm"), "", ""}));
    EXPECT_EQ(DecodeHandOver(QByteArray()), (QStringList{"", "", "", ""}));
}

TEST(HandOver, LengthRuleAndReaderLimit) {
    const QString Long1999(1999, QLatin1Char('x'));
    const QString Long2000(2000, QLatin1Char('x'));
    EXPECT_TRUE(FitsHandOver({QStringLiteral("p"), Long1999}));
    EXPECT_FALSE(FitsHandOver({QStringLiteral("p"), QString(), QString(), Long2000}));
    EXPECT_FALSE(FitsHandOver({Long2000}));
    EXPECT_EQ(DecodeHandOver(EncodeHandOver({Long1999}))[0], Long1999);

    // A record from elsewhere whose slot is full up to unit 2000 reads 2,000 units, no more.
    QByteArray R(16008, '\0');
    for (int I = 1; I <= 2000; ++I) R[2 * I] = 'y';
    R[2 * 2001] = 'z'; // unit 0 of slot 1 is not text
    EXPECT_EQ(DecodeHandOver(R)[0].size(), 2000);
    EXPECT_EQ(DecodeHandOver(R)[1], QString());
}

QString UniqueKey() {
    return QStringLiteral("zp-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

TEST(SingleInstance, SecondStartHandsOverItsRecord) {
    const QString Key = UniqueKey();
    TSingleInstance First(Key);
    ASSERT_TRUE(First.TryBecomePrimary());
    TSingleInstance Second(Key);
    EXPECT_FALSE(Second.TryBecomePrimary());

    QStringList Received;
    QEventLoop Loop;
    QObject::connect(&First, &TSingleInstance::HandOverReceived, [&](const QStringList& T) {
        Received = T;
        Loop.quit();
    });
    bool Sent = false;
    std::thread Sender([&] {
        Sent =
            Second.SendToPrimary(EncodeHandOver({QStringLiteral("/bin/zp"), QStringLiteral("/tmp/a.dgm")}));
    });
    QTimer::singleShot(5000, &Loop, &QEventLoop::quit);
    Loop.exec();
    Sender.join();
    EXPECT_TRUE(Sent);
    EXPECT_EQ(Received, (QStringList{"/bin/zp", "/tmp/a.dgm", "", ""}));
}

TEST(SingleInstance, NobodyListeningMeansNoHandOver) {
    TSingleInstance Lonely(UniqueKey());
    EXPECT_FALSE(Lonely.SendToPrimary(EncodeHandOver({QStringLiteral("x")}), 200));
}

TEST(SingleInstance, StartAfterAKilledInstanceComesUpNormally) {
    const QString Key = UniqueKey();
    int Ready[2];
    ASSERT_EQ(pipe(Ready), 0);
    const pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        TSingleInstance Crashing(Key);
        const char Ok = Crashing.TryBecomePrimary() ? '1' : '0';
        (void)!write(Ready[1], &Ok, 1);
        for (;;) pause();
    }
    char Ok = 0;
    ASSERT_EQ(read(Ready[0], &Ok, 1), 1);
    ASSERT_EQ(Ok, '1');
    {
        TSingleInstance WhileAlive(Key);
        EXPECT_FALSE(WhileAlive.TryBecomePrimary());
    }
    kill(Child, SIGKILL);
    waitpid(Child, nullptr, 0);
    TSingleInstance After(Key);
    EXPECT_TRUE(After.TryBecomePrimary());
    close(Ready[0]);
    close(Ready[1]);
}

} // namespace
} // namespace zp

int main(int argc, char** argv) {
    QCoreApplication App(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
