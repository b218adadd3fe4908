#pragma once

#include <filesystem>
#include <string>

// The system root: the one folder below which all machine-wide state of the suite lives, so that a test
// or a demo never touches the real system. WARDEN_ROOT names it; unset, it is
// $XDG_DATA_HOME/deskwarden, or ~/.local/share/deskwarden when XDG_DATA_HOME is unset too.
namespace platform {

/**
 * Resolves the system root from the environment, without touching the file system.
 * @param root receives the absolute root folder on success, is cleared on failure.
 * @param error receives a readable reason on failure (relative or over-long WARDEN_ROOT, no home folder).
 * @return true on success.
 */
[[nodiscard]] bool ResolveSystemRoot(std::filesystem::path& root, std::string& error);

/** The resolved system root, or an empty path when the environment does not name a usable one. */
[[nodiscard]] std::filesystem::path SystemRoot();

/** `<root>/registry`: one database file per registry hive. Empty when there is no root. */
[[nodiscard]] std::filesystem::path RegistryFolder();

/** `<root>/accounts.db`: the local account database. Empty when there is no root. */
[[nodiscard]] std::filesystem::path AccountsDatabasePath();

/** `<root>/system`: what Windows calls the system folder. Empty when there is no root. */
[[nodiscard]] std::filesystem::path SystemFolder();

/** `<root>/windows`: what Windows calls the Windows folder. Empty when there is no root. */
[[nodiscard]] std::filesystem::path WindowsFolder();

/** `<root>/media`: each folder below it counts as one removable drive in tests. Empty when there is no root. */
[[nodiscard]] std::filesystem::path MediaFolder();

/** `<root>/program`: the installation folder that the embedded default names. Empty when there is no root. */
[[nodiscard]] std::filesystem::path DefaultProgramFolder();

/** Mode of the folders that hold the suite's stores: their owner's alone. */
inline constexpr unsigned kPrivateFolderMode = 0700;

/**
 * Creates `folder` and its parents with kPrivateFolderMode, whatever the umask, when missing, and
 * tightens `folder` itself to that mode when this process owns it and it is open to group or others.
 * @return true when the folder exists afterwards; false (with a reason in `error`) otherwise, also for an
 *         empty path or a path that names a file.
 */
[[nodiscard]] bool EnsureFolder(const std::filesystem::path& folder, std::string& error);

} // namespace platform
