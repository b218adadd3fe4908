#include "app/InstanceGuard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

/** Each test gets its own temporary folder, where the session's socket and lock live. */
class SessionGuard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hadPrevious = qEnvironmentVariableIsSet("TMPDIR");
        m_previous = qgetenv("TMPDIR");
        std::string pattern = (std::filesystem::temp_directory_path() / "session-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        qputenv("TMPDIR", QByteArray::fromStdString(m_folder));
        ASSERT_EQ(QDir::tempPath().toStdString(), m_folder);
    }
    void TearDown() override
    {
        // An unset folder stays unset: an empty one would send later tests' files to the working folder.
        if (m_hadPrevious)
            qputenv("TMPDIR", m_previous);
        else
            qunsetenv("TMPDIR");
        std::filesystem::remove_all(m_folder);
    }

    /** Lets the event loop run until `count` frames arrived or a second passed. */
    static void WaitFor(const std::vector<SessionFrame>& frames, std::size_t count)
    {
        const QDeadlineTimer deadline(1000);
        while (frames.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    std::string m_folder;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

TEST_F(SessionGuard, TheSecondProgramReachesTheFirstWithItsFrames)
{
    InstanceGuard first;
    std::string error;
    ASSERT_EQ(first.ClaimSession(error), InstanceGuard::Claim::First) << error;
    std::vector<SessionFrame> received;
    QObject::connect(&first, &InstanceGuard::FrameArrived, [&](quint32 kind, const QByteArray& payload) {
        received.push_back({kind, payload.toStdString()});
    });

    InstanceGuard second;
    ASSERT_EQ(second.ClaimSession(error), InstanceGuard::Claim::Second);
    ASSERT_TRUE(InstanceGuard::SendToRunning({{kFrameShowWindow, ""}, {kFrameHandOff, "2,ooo,1\n/a\n"}}, 2000, error))
        << error;
    WaitFor(received, 2);
    ASSERT_EQ(received.size(), 2U);
    EXPECT_EQ(received[0].kind, kFrameShowWindow);
    EXPECT_EQ(received[1].kind, kFrameHandOff);
    EXPECT_EQ(received[1].payload, "2,ooo,1\n/a\n");
}

TEST_F(SessionGuard, ASocketLeftByACrashedProgramDoesNotStopTheNext)
{
    {
        InstanceGuard crashed;
        std::string error;
        ASSERT_EQ(crashed.ClaimSession(error), InstanceGuard::Claim::First) << error;
    }
    // What a killed program leaves: the socket's file, without anyone listening.
    std::ofstream(m_folder + "/" + SessionSocketName()) << "";
    InstanceGuard next;
    std::string error;
    EXPECT_EQ(next.ClaimSession(error), InstanceGuard::Claim::First) << error;
}

TEST_F(SessionGuard, SendingWithoutARunningProgramFailsInTime)
{
    std::string error;
    EXPECT_FALSE(InstanceGuard::SendToRunning({{kFrameShowWindow, ""}}, 300, error));
    EXPECT_NE(error.find("does not answer"), std::string::npos) << error;
}

TEST_F(SessionGuard, TheLockFileIsPrivateAndALinkIsRefused)
{
    const std::string lock = m_folder + "/" + SessionSocketName() + ".lock";
    std::filesystem::create_symlink(m_folder + "/elsewhere", lock);
    InstanceGuard guard;
    std::string error;
    EXPECT_EQ(guard.ClaimSession(error), InstanceGuard::Claim::Failed);
    EXPECT_FALSE(std::filesystem::exists(m_folder + "/elsewhere")) << "the link was not followed";
    std::filesystem::remove(lock);
    ASSERT_EQ(guard.ClaimSession(error), InstanceGuard::Claim::First) << error;
    EXPECT_EQ(std::filesystem::status(lock).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

} // namespace
} // namespace deskwarden::test
