#include "PasswordInput.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <termios.h>
#include <unistd.h>

namespace wardenctl {
namespace {

void StripLineEnd(std::string& line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
}

} // namespace

bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the password file " + path;
        return false;
    }
    std::getline(in, password);
    StripLineEnd(password);
    return true;
}

bool ReadPasswordFromTerminal(const std::string& prompt, std::string& password, std::string& error)
{
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) {
        error = "no terminal to read the password from; give --password-file";
        return false;
    }
    termios saved {};
    const bool canHide = ::tcgetattr(tty, &saved) == 0;
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    if (canHide) {
        ::tcsetattr(tty, TCSAFLUSH, &hidden);
    }
    [[maybe_unused]] const auto shown = ::write(tty, prompt.data(), prompt.size());
    password.clear();
    char c = 0;
    while (::read(tty, &c, 1) == 1 && c != '\n') {
        password += c;
    }
    StripLineEnd(password);
    if (canHide) {
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    }
    [[maybe_unused]] const auto newline = ::write(tty, "\n", 1);
    ::close(tty);
    return true;
}

} // namespace wardenctl
