// When the plug-in may show its window: a stale DISPLAY would let the window system end the host process.
#include "DisplayProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using wardengate::LocalDisplayNumber;
using wardengate::XDisplayAccepts;

TEST(DisplayProbe, LocalDisplayNamesGiveTheirNumberAndOthersNone)
{
    EXPECT_EQ(LocalDisplayNumber(":0"), 0);
    EXPECT_EQ(LocalDisplayNumber(":12.1"), 12);
    EXPECT_EQ(LocalDisplayNumber("unix:3"), 3);
    EXPECT_EQ(LocalDisplayNumber("remote:0"), std::nullopt);
    EXPECT_EQ(LocalDisplayNumber(":"), std::nullopt);
    EXPECT_EQ(LocalDisplayNumber(":x"), std::nullopt);
    EXPECT_EQ(LocalDisplayNumber(""), std::nullopt);
}

TEST(DisplayProbe, OnlyADisplayWhoseServerListensIsReachable)
{
    std::string folder = (std::filesystem::temp_directory_path() / "warden-x11-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string path = folder + "/X7";
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 4), 0);
    EXPECT_TRUE(XDisplayAccepts(":7", folder));
    EXPECT_TRUE(XDisplayAccepts(":7.0", folder));
    EXPECT_FALSE(XDisplayAccepts(":8", folder));
    EXPECT_TRUE(XDisplayAccepts("remote:8", folder)); // only the remote server can tell
    ::close(server);
    EXPECT_FALSE(XDisplayAccepts(":7", folder)); // the socket file is left behind by a server that is gone
    std::filesystem::remove_all(folder);
}

std::string Printed(const char* format, int number)
{
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// An X server that takes the connection but never answers its setup (hung, or not an X server at all) must
// not hold the logon: it counts as refusing once the wait is over.
TEST(DisplayProbe, AServerThatNeverAnswersIsRefusingAfterTheWait)
{
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(server, 0);
    // The X library tries the abstract socket of a display first; a number no server of this machine uses.
    int number = 0;
    for (number = 6100; number < 6200; ++number) {
        const std::string name = Printed("/tmp/.X11-unix/X%d", number);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.c_str(), name.size());
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (!std::filesystem::exists(name) && ::bind(server, reinterpret_cast<const sockaddr*>(&address), length) == 0)
            break;
    }
    ASSERT_LT(number, 6200);
    ASSERT_EQ(::listen(server, 4), 0);
    const std::string silent = Printed(":%d", number);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(wardengate::XServerAdmits(silent, 300));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    const std::string absent = Printed(":%d", number + 1000);
    EXPECT_FALSE(wardengate::XServerAdmits(absent, 300)); // nobody listens
    ::close(server);
}

TEST(DisplayProbe, AStaleDisplayIsNoDisplayButAQtPlatformIs)
{
    const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    std::optional<std::string> saved[3];
    for (int i = 0; i < 3; ++i) {
        if (const char* value = std::getenv(names[i]))
            saved[i] = value;
        ::unsetenv(names[i]);
    }
    EXPECT_FALSE(wardengate::HasDisplay());
    ::setenv("DISPLAY", ":9876", 1);
    EXPECT_FALSE(wardengate::HasDisplay());
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_TRUE(wardengate::HasDisplay());
    ::unsetenv("QT_QPA_PLATFORM");
    ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_TRUE(wardengate::HasDisplay());
    for (int i = 0; i < 3; ++i) {
        if (saved[i])
            ::setenv(names[i], saved[i]->c_str(), 1);
        else
            ::unsetenv(names[i]);
    }
}

} // namespace
