#pragma once

#include "WinTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the suite asks of the system about itself: the Windows version it pretends to run on, names and
// addresses of the machine, the boot mode, and the restart.
namespace platform {

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

/** The Windows version record. */
struct OSVERSIONINFO
{
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
};

/** The version code used unless WARDEN_OS_VERSION names another (5: Windows 2000). */
inline constexpr int kDefaultOsVersionCode = 5;

/**
 * The version code named by a WARDEN_OS_VERSION text: a single decimal digit 0 to 7. Anything else (empty,
 * signs, blanks, other numbers) is not a code.
 */
[[nodiscard]] std::optional<int> ParseOsVersionCode(std::string_view text);

/** The version record Windows gives for a version code (0 Win32s ... 7 a later NT); platform id 1 for 1-3. */
[[nodiscard]] OSVERSIONINFO VersionRecordForCode(int code);

/** Fills the version record from WARDEN_OS_VERSION, or for code 5 when it is unset or not a valid code. */
void GetVersionEx(OSVERSIONINFO& info);

/** The host name as gethostname gives it; empty when it cannot be read. */
[[nodiscard]] std::string HostName();

/** The NetBIOS form of a host name: the first label, ASCII upper case, at most 15 bytes. */
[[nodiscard]] std::string ComputerNameFromHostName(std::string_view hostName);

/** This machine's computer name (the NetBIOS form of HostName()); false and empty when there is none. */
[[nodiscard]] bool GetComputerName(std::string& name);

/** The dotted first IPv4 address of `hostName` (getaddrinfo); empty when it has none. */
[[nodiscard]] std::string FirstIPv4Address(const std::string& hostName);

/** One network interface as the adapter choice sees it. */
struct NetworkInterface
{
    std::string name;
    std::vector<std::uint8_t> hardwareAddress;
    bool loopback = false;
};

/**
 * The adapter whose address identifies this machine: the first non-loopback interface in name order that has
 * a six-byte, not all-zero hardware address. Empty when there is none.
 */
[[nodiscard]] std::optional<std::array<std::uint8_t, 6>> ChooseAdapterAddress(std::vector<NetworkInterface> interfaces);

/** The interfaces of this machine (getifaddrs); empty when they cannot be listed. */
[[nodiscard]] std::vector<NetworkInterface> ListNetworkInterfaces();

/** Twelve upper-case hex digits of this machine's adapter address, or "" when there is none. */
[[nodiscard]] std::string AdapterAddressText();

/** The content of a machine-id file when it is one: 32 lower-case hex digits and an optional line break. */
[[nodiscard]] std::string ParseMachineId(std::string_view content);

/** The installation-specific text of /etc/machine-id, or "" when it is missing or malformed. */
[[nodiscard]] std::string MachineIdText();

/** Boot modes, as the clean-boot metric numbers them. */
inline constexpr int kBootNormal = 0;
inline constexpr int kBootFailSafe = 1;
inline constexpr int kBootFailSafeWithNetwork = 2;

/** The boot mode a kernel command line asks for: rescue, emergency or single-user mode are fail-safe. */
[[nodiscard]] int BootModeFromKernelCommandLine(std::string_view commandLine);

/** The boot mode of this machine (/proc/cmdline); normal when it cannot be read. */
[[nodiscard]] int GetBootMode();

/**
 * Runs WARDEN_REBOOT_COMMAND (default "systemctl reboot") through /bin/sh and waits for it.
 * A set but empty or over-long (4096 bytes) command is refused and nothing runs.
 * @return the command's exit status; -1 when nothing ran or it did not exit normally.
 */
int SystemReboot();

} // namespace platform
