// A process killed with SIGKILL in the middle of overwriting a 3000-entry pad leaves either
// the old pad or the new one, never a mix: at chosen calls into the engine, and at random
// moments (inside the engine's own writes and commits).
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "DatabaseFault.h"
#include "MemoFixture.h"
#include "MemoStore.h"

namespace {

class MemoKillTest : public MemoFixture {
protected:
    void SetUp() override {
        MemoFixture::SetUp();
        MemoStore store(MemoMode::People);
        ASSERT_EQ(store.open(), MemoStore::OpenResult::Opened);
        ASSERT_EQ(store.savePad("KILL", m_older, false).code, 0);
        // How many calls into the engine one overwrite makes.
        telvia::db_fault::reset();
        ASSERT_EQ(store.savePad("KILL", m_newer, true).code, 0);
        m_points = telvia::db_fault::points();
        telvia::db_fault::reset();
        ASSERT_EQ(store.savePad("KILL", m_older, true).code, 0);
    }

    bool startChild(QProcess& child, const QStringList& args) {
        child.start(QStringLiteral(MEMO_SAVE_CHILD), QStringList{datPath(), settingsPath()} + args);
        return child.waitForStarted(10000);
    }
    // The stored pad: 0 when it is the older list, 1 the newer, -1 anything else.
    int storedVersion() {
        MemoStore store(MemoMode::People);
        EXPECT_EQ(store.open(), MemoStore::OpenResult::Opened);
        const auto pad = store.loadPad("KILL");
        EXPECT_EQ(store.padNames(), QStringList{"KILL"});
        if (pad == m_older) return 0;
        if (pad == m_newer) return 1;
        ADD_FAILURE() << "the pad is a mix: " << (pad ? pad->size() : 0) << " entries";
        return -1;
    }

    const std::vector<MemoEntry> m_older = makeEntries(MemoMode::People, 3000, "가");
    const std::vector<MemoEntry> m_newer = makeEntries(MemoMode::People, 3000, "나");
    std::int64_t m_points = 0;
};

TEST_F(MemoKillTest, KilledAtAChosenCallTheOldPadStays) {
    ASSERT_GT(m_points, 3000);
    for (std::int64_t at : {std::int64_t{2}, std::int64_t{3}, std::int64_t{5}, m_points / 2,
                            m_points - 1, m_points}) {
        QProcess child;
        ASSERT_TRUE(startChild(child, {"kill-at", QString::number(at)}));
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "point " << at;
        EXPECT_EQ(storedVersion(), 0) << "killed before point " << at;
    }
}

TEST_F(MemoKillTest, KilledAtRandomMomentsThePadIsWhole) {
    QRandomGenerator random(20240611);
    int versions[2] = {0, 0};
    for (int round = 0; round < 12; ++round) {
        QProcess child;
        ASSERT_TRUE(startChild(child, {"loop"}));
        ASSERT_TRUE(child.waitForReadyRead(30000));
        ASSERT_EQ(child.readLine().trimmed(), "ready");
        QThread::msleep(random.bounded(10, 250));
        child.kill();  // SIGKILL
        ASSERT_TRUE(child.waitForFinished(30000));
        const int v = storedVersion();
        if (v >= 0) ++versions[v];
    }
    // Every round left one whole list (the child alternates them, so both turn up).
    EXPECT_EQ(versions[0] + versions[1], 12);
}

}  // namespace
