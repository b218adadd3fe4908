#include "lock/SystemStart.h"

#include "app/InstanceGuard.h"
#include "app/SessionFrame.h"
#include "rules/ProcessNames.h"

#include <gtest/gtest.h>

#include <QLocalServer>
#include <QLocalSocket>

#include <QThread>

#include <future>
#include <memory>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace screenveil {
namespace {

/** A stand-in for /proc: one folder per process with its command name. */
class FakeProcessTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() / ("proc-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_root);
        // The tray program's socket lives in the temporary folder: an empty one of our own has none, so that
        // a tray program running on this machine is never asked to lock.
        m_temporary = m_root / "tmp";
        std::filesystem::create_directories(m_temporary);
        const char* before = std::getenv("TMPDIR");
        m_savedTemporary = before ? std::optional<std::string>(before) : std::nullopt;
        ::setenv("TMPDIR", m_temporary.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_savedTemporary)
            ::setenv("TMPDIR", m_savedTemporary->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::filesystem::remove_all(m_root);
    }

    void Process(const std::string& id, const std::string& name)
    {
        std::filesystem::create_directories(m_root / id);
        std::ofstream(m_root / id / "comm") << name << "\n";
    }

    std::filesystem::path m_root;
    std::filesystem::path m_temporary;
    std::optional<std::string> m_savedTemporary;
};

TEST_F(FakeProcessTable, ReadsTheCommandNameOfEveryNumberedFolder)
{
    Process("1", "systemd");
    Process("4711", "ScreenVeil.scr");
    Process("self", "not-a-process");
    std::filesystem::create_directories(m_root / "99"); // ended while being read: no name
    auto names = RunningProcessNames(m_root.string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"ScreenVeil.scr", "systemd"}));
    EXPECT_TRUE(HasProcessNamed(names, "screenveil.SCR"));
    EXPECT_FALSE(HasProcessNamed(names, "ScreenVeil"));
    EXPECT_TRUE(RunningProcessNames((m_root / "missing").string()).empty());
}

TEST_F(FakeProcessTable, AStartWhileALockRunsAsksNobody)
{
    Process("10", "screenveil");
    std::string error;
    EXPECT_FALSE(RequestLockFromTray(m_root.string(), error));
    EXPECT_EQ(error, "a lock already runs");
}

TEST_F(FakeProcessTable, AStartUnderTheLinkNameAsksTheTrayProgramAndWithoutOneNothingHappens)
{
    Process("10", "ScreenVeil.scr");
    std::string error;
    EXPECT_FALSE(RequestLockFromTray(m_root.string(), error));
    EXPECT_NE(error, "a lock already runs");
    EXPECT_FALSE(error.empty());
}

// The tray program's side of the session socket, on a thread of its own: the first frame that arrives.
std::optional<deskwarden::app::SessionFrame> ReceiveOneFrame(std::promise<void>& listening)
{
    QLocalServer server;
    if (!server.listen(QString::fromStdString(deskwarden::app::SessionSocketName()))) {
        listening.set_value();
        return std::nullopt;
    }
    listening.set_value();
    if (!server.waitForNewConnection(5000))
        return std::nullopt;
    QLocalSocket* socket = server.nextPendingConnection();
    deskwarden::app::FrameReader reader;
    while (socket->waitForReadyRead(5000) || socket->bytesAvailable() > 0) {
        reader.Append(socket->readAll().toStdString());
        if (auto frame = reader.Next())
            return frame;
    }
    return std::nullopt;
}

TEST_F(FakeProcessTable, AStartUnderTheLinkNameAsksTheRunningTrayProgramToLock)
{
    Process("10", "ScreenVeil.scr");
    std::promise<void> listening;
    std::future<void> ready = listening.get_future();
    std::optional<deskwarden::app::SessionFrame> frame;
    // A QThread, not a bare thread: the socket's notifiers need Qt's own thread data.
    std::unique_ptr<QThread> tray(QThread::create([&] { frame = ReceiveOneFrame(listening); }));
    tray->start();
    ready.wait();
    std::string error;
    EXPECT_TRUE(RequestLockFromTray(m_root.string(), error)) << error;
    tray->wait();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->kind, deskwarden::app::kFrameLockScreen);
    EXPECT_TRUE(frame->payload.empty());
}

} // namespace
} // namespace screenveil
