#include "DisplayProbe.h"

#include "platform/Environment.h"

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace wardengate {

std::optional<int> LocalDisplayNumber(const std::string& display)
{
    std::string rest;
    if (display.rfind("unix:", 0) == 0)
        rest = display.substr(5);
    else if (display.rfind(':', 0) == 0)
        rest = display.substr(1);
    else
        return std::nullopt;
    const std::string number = rest.substr(0, rest.find('.'));
    if (number.empty() || number.size() > 6 || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(number);
}

bool XDisplayAccepts(const std::string& display, const std::string& socketFolder)
{
    const std::optional<int> number = LocalDisplayNumber(display);
    if (!number)
        return true;
    const std::string path = socketFolder + "/X" + std::to_string(*number);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool accepted = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return accepted;
}

bool XServerAdmits(const std::string& display, int waitMs)
{
    try {
        // The setup is awaited on a thread of its own: a server that accepts the socket and never answers
        // would hold the logon forever.
        std::packaged_task<bool(std::string)> attempt([](std::string name) {
            int screen = 0;
            xcb_connection_t* connection = xcb_connect(name.c_str(), &screen);
            const bool admitted = connection && xcb_connection_has_error(connection) == 0;
            xcb_disconnect(connection);
            return admitted;
        });
        std::future<bool> admitted = attempt.get_future();
        std::thread(std::move(attempt), display).detach();
        if (admitted.wait_for(std::chrono::milliseconds(waitMs)) != std::future_status::ready)
            return false;
        return admitted.get();
    } catch (...) {
        return false;
    }
}

bool HasDisplay()
{
    if (platform::EnvironmentText("QT_QPA_PLATFORM") || platform::EnvironmentText("WAYLAND_DISPLAY"))
        return true;
    const std::optional<std::string> display = platform::EnvironmentText("DISPLAY");
    return display && XDisplayAccepts(*display) && XServerAdmits(*display);
}

} // namespace wardengate
