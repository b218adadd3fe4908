#pragma once

#include <string>
#include <vector>

namespace deskwarden::bundle {

/**
 * The folder a bundle unpacks into, held open, and every path below it reached one component at a time
 * without following a link, so that no name and no link planted in the folder can lead a write outside it.
 */
class SafeOutput
{
public:
    SafeOutput() = default;
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    /** Opens the existing folder `path`. @return false with `error` set. */
    [[nodiscard]] bool Open(const std::string& path, std::string& error);

    /** Creates the folders `components` (as many as exist may) and returns the last one open, or -1. */
    int MakeFolders(const std::vector<std::string>& components, std::string& error) const;

    /** Whether `leaf` exists in the open folder `dirFd` (a link counts as itself). */
    static bool Exists(int dirFd, const std::string& leaf);

    /**
     * Creates an empty hidden file beside where `leaf` goes, for a writer that takes a path.
     * @return its name in `dirFd`, and in `path` a path that reaches it through the open folder; false on error.
     */
    static bool MakeHiddenFile(int dirFd, std::string& name, std::string& path, std::string& error);

    /** Renames `from` to `to` within `dirFd`, replacing what `to` names (a link is replaced, not followed). */
    static bool Replace(int dirFd, const std::string& from, const std::string& to, std::string& error);

    static void Remove(int dirFd, const std::string& name);

private:
    int m_fd = -1;
};

} // namespace deskwarden::bundle
