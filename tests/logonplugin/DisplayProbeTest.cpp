// When the plug-in may show its window: a stale DISPLAY would let the window system end the host process.
#include "DisplayProbe.h"

#include <gtest/gtest.h>

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
