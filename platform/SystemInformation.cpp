#include "SystemInformation.h"

#include "AsciiCase.h"
#include "Environment.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netpacket/packet.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace platform {

namespace {

constexpr std::size_t kMaxComputerNameLength = 15;
constexpr std::size_t kMaxRebootCommandLength = 4096;
constexpr std::size_t kMachineIdLength = 32;
// Enough for any kernel command line (the kernel limits it to a few kilobytes).
constexpr std::size_t kMaxCommandLineRead = 65536;

std::string ReadSmallFile(const char* path, std::size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string content(limit, '\0');
    in.read(content.data(), static_cast<std::streamsize>(limit));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

bool IsWordOf(std::string_view commandLine, std::string_view word)
{
    std::size_t start = 0;
    while (start < commandLine.size()) {
        const std::size_t end = std::min(commandLine.find_first_of(" \t\n", start), commandLine.size());
        if (commandLine.substr(start, end - start) == word) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

std::optional<int> ParseOsVersionCode(std::string_view text)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '7') {
        return std::nullopt;
    }
    return text[0] - '0';
}

OSVERSIONINFO VersionRecordForCode(int code)
{
    // Major, minor, build and platform of the Windows release each code stands for.
    switch (code) {
    case 0:
        return {3, 10, 0, VER_PLATFORM_WIN32s};
    case 1:
        return {4, 0, 950, VER_PLATFORM_WIN32_WINDOWS};
    case 2:
        return {4, 10, 1998, VER_PLATFORM_WIN32_WINDOWS};
    case 3:
        return {4, 90, 3000, VER_PLATFORM_WIN32_WINDOWS};
    case 4:
        return {4, 0, 1381, VER_PLATFORM_WIN32_NT};
    case 6:
        return {5, 1, 2600, VER_PLATFORM_WIN32_NT};
    case 7:
        return {5, 2, 3790, VER_PLATFORM_WIN32_NT};
    default:
        return {5, 0, 2195, VER_PLATFORM_WIN32_NT};
    }
}

void GetVersionEx(OSVERSIONINFO& info)
{
    const std::optional<std::string> text = EnvironmentSetting("WARDEN_OS_VERSION");
    const std::optional<int> code = text ? ParseOsVersionCode(*text) : std::nullopt;
    info = VersionRecordForCode(code.value_or(kDefaultOsVersionCode));
}

std::string HostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) {
        return {};
    }
    return std::string(name);
}

std::string ComputerNameFromHostName(std::string_view hostName)
{
    const std::string_view label = hostName.substr(0, hostName.find('.'));
    return UpperAscii(label.substr(0, kMaxComputerNameLength));
}

bool GetComputerName(std::string& name)
{
    name = ComputerNameFromHostName(HostName());
    return !name.empty();
}

std::string FirstIPv4Address(const std::string& hostName)
{
    if (hostName.empty()) {
        return {};
    }
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return {};
    }
    std::string text;
    char buffer[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    if (found->ai_family == AF_INET && inet_ntop(AF_INET, &address->sin_addr, buffer, sizeof(buffer)) != nullptr) {
        text = buffer;
    }
    freeaddrinfo(found);
    return text;
}

std::optional<std::array<std::uint8_t, 6>> ChooseAdapterAddress(std::vector<NetworkInterface> interfaces)
{
    std::sort(interfaces.begin(), interfaces.end(),
        [](const NetworkInterface& a, const NetworkInterface& b) { return a.name < b.name; });
    for (const NetworkInterface& candidate : interfaces) {
        const auto& address = candidate.hardwareAddress;
        const bool allZero = std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; });
        if (candidate.loopback || address.size() != 6 || allZero) {
            continue;
        }
        std::array<std::uint8_t, 6> chosen {};
        std::copy(address.begin(), address.end(), chosen.begin());
        return chosen;
    }
    return std::nullopt;
}

std::vector<NetworkInterface> ListNetworkInterfaces()
{
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return interfaces;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET || entry->ifa_name == nullptr) {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof(link->sll_addr));
        NetworkInterface item;
        item.name = entry->ifa_name;
        item.hardwareAddress.assign(link->sll_addr, link->sll_addr + length);
        item.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        interfaces.push_back(std::move(item));
    }
    freeifaddrs(list);
    return interfaces;
}

std::string AdapterAddressText()
{
    const std::optional<std::array<std::uint8_t, 6>> address = ChooseAdapterAddress(ListNetworkInterfaces());
    if (!address) {
        return {};
    }
    char text[13] = {};
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X%02X%02X", (*address)[0], (*address)[1], (*address)[2],
        (*address)[3], (*address)[4], (*address)[5]);
    return text;
}

std::string ParseMachineId(std::string_view content)
{
    if (content.ends_with('\n')) {
        content.remove_suffix(1);
    }
    const bool wellFormed = content.size() == kMachineIdLength
        && std::all_of(
            content.begin(), content.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    return wellFormed ? std::string(content) : std::string();
}

std::string MachineIdText()
{
    return ParseMachineId(ReadSmallFile("/etc/machine-id", kMachineIdLength + 2));
}

int BootModeFromKernelCommandLine(std::string_view commandLine)
{
    for (const char* word :
        {"single", "S", "1", "emergency", "rescue", "systemd.unit=rescue.target", "systemd.unit=emergency.target"}) {
        if (IsWordOf(commandLine, word)) {
            return kBootFailSafe;
        }
    }
    return kBootNormal;
}

int GetBootMode()
{
    return BootModeFromKernelCommandLine(ReadSmallFile("/proc/cmdline", kMaxCommandLineRead));
}

int SystemReboot()
{
    const std::string command = EnvironmentSettingOrDefault("WARDEN_REBOOT_COMMAND");
    if (command.empty() || command.size() > kMaxRebootCommandLength) {
        return -1;
    }
    // posix_spawn rather than fork: the caller may be a multi-threaded GUI program.
    char shell[] = "/bin/sh";
    char option[] = "-c";
    std::string commandCopy = command;
    char* argv[] = {shell, option, commandCopy.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace platform
