#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The environment variables the suite reads, in one table, and the only functions that read them. A
// variable is added by adding its row to kEnvironmentVariables (and the same row to the README's
// "Environment variables" table; a test compares the two).
namespace platform {

/** One variable the suite reads: its name, what applies when it is unset, and what it does. */
struct EnvironmentVariable
{
    std::string_view name;
    std::string_view defaultValue;
    std::string_view meaning;
};

// Defaults are written as the README shows them: a literal value in backquotes, anything else in words
// (what the code derives or falls back to). Only a literal default is handed out by
// EnvironmentSettingOrDefault.
inline constexpr EnvironmentVariable kEnvironmentVariables[] = {
    {"WARDEN_ROOT", "`$XDG_DATA_HOME/deskwarden`",
        "The system root: the folder below which all machine-wide state lives. Must be an absolute path; a "
        "system-wide installation sets `/var/lib/deskwarden`."},
    {"XDG_DATA_HOME", "`$HOME/.local/share`",
        "Where the default system root is placed when `WARDEN_ROOT` is unset; ignored unless absolute."},
    {"HOME", "none", "The user's home folder, for the default system root when `XDG_DATA_HOME` is unset too."},
    {"WARDEN_OS_VERSION", "`5`",
        "The Windows version code that `GetVersionEx` reports (one digit 0-7: 1-3 the 9x family, 4-7 the NT "
        "family); tests set it to take the 9x paths. Any other text means the default."},
    {"WARDEN_REBOOT_COMMAND", "`systemctl reboot`",
        "The command that `SystemReboot` (the suite's restart of the machine) runs with `/bin/sh -c` and waits "
        "for; its exit status is the result. Meant for tests and demos, which set it to a command that only "
        "records the call. Set but empty, the restart fails and nothing runs."},
    {"WARDEN_AUDIO_INPUT", "the ALSA `default` capture device",
        "A WAV file (11025 Hz, mono, 16 bit) or a folder of them that stands in for the microphone; each "
        "reading takes the next file in name order, at real-time pace."},
    {"WARDEN_AUDIO_OUTPUT", "the ALSA `default` playback device", "`null` silences the prompt sounds."},
    {"WARDEN_AUDIO_MIXER", "the ALSA `default` mixer", "`none` leaves the mixer alone: no volume is read or set."},
    {"WARDEN_VOICE_AUTO", "unset",
        "`1` makes the lock screen's voice check press Record by itself whenever it waits for a reading, and "
        "answer its messages on standard error; for tests and demos with `WARDEN_AUDIO_INPUT`. It passes no "
        "check by itself: the reading must still be accepted."},
    {"DISPLAY", "unset",
        "An X display: with it (or `WAYLAND_DISPLAY` or `QT_QPA_PLATFORM`) set and not empty, the logon plug-in shows "
        "its window; with none of the three, or a display whose server does not answer within 3 s or refuses this "
        "process's credentials (`XAUTHORITY`), it asks on the terminal."},
    {"WAYLAND_DISPLAY", "unset", "A Wayland display; counts as a display for the logon plug-in, as `DISPLAY` does."},
    {"QT_QPA_PLATFORM", "unset",
        "Qt's window system plug-in (`offscreen` in tests); counts as a display for the logon plug-in, as `DISPLAY` "
        "does."},
    {"WARDEN_TRANSFER_PORT", "`8373`",
        "The TCP port on which the tray program and `wardenctl transfer receive` wait for users sent from "
        "another computer, and to which they send. Tests give each installation its own port."},
    {"WARDEN_TRANSFER_ADDRESS", "every address",
        "The address on which the tray program waits for transferred users, such as `127.0.0.1` for tests "
        "that run two installations on one machine."},
};

/**
 * Names one row of kEnvironmentVariables. Built at compile time from the variable's name, so that reading a
 * variable the table does not list does not compile.
 */
class EnvironmentKey
{
public:
    consteval EnvironmentKey(const char* name)
        : m_row(RowOf(name))
    {
    }

    /** The table row of this variable. */
    [[nodiscard]] const EnvironmentVariable& Variable() const noexcept { return kEnvironmentVariables[m_row]; }

private:
    static consteval std::size_t RowOf(std::string_view name)
    {
        for (std::size_t row = 0; row < std::size(kEnvironmentVariables); ++row) {
            if (kEnvironmentVariables[row].name == name) {
                return row;
            }
        }
        // Reached only in constant evaluation, where it stops the compilation: the name is not in the table.
        throw "an environment variable missing from kEnvironmentVariables";
    }

    std::size_t m_row;
};

/** Every variable the suite reads, in the order of the table. */
[[nodiscard]] std::span<const EnvironmentVariable> EnvironmentVariables() noexcept;

/** The variable's value as set, empty text included; nullopt when it is unset. */
[[nodiscard]] std::optional<std::string> EnvironmentSetting(EnvironmentKey key);

/** The variable's value when it is set and not empty; nullopt otherwise. */
[[nodiscard]] std::optional<std::string> EnvironmentText(EnvironmentKey key);

/** True when the variable is set to exactly `word`. */
[[nodiscard]] bool EnvironmentIs(EnvironmentKey key, std::string_view word);

/**
 * The variable's value as set (empty text included), or the table's default with its backquotes removed
 * when the variable is unset. Meant for variables whose default is a literal value.
 */
[[nodiscard]] std::string EnvironmentSettingOrDefault(EnvironmentKey key);

} // namespace platform
