#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The strict check that programs running with privileges make before they trust an installation: a store
// that someone other than its owner can change could hold a voice model or a password of that someone's
// choosing. Like a careful login daemon, the check refuses rather than repairs; each finding names the
// path and the command that fixes it.
namespace talk::store_safety {

/** What a path is to the check, which decides what counts as too open. */
enum class Role
{
    Ancestor, // a folder above the system root or the installation: may be shared if sticky
    Folder, // a folder of the suite
    File, // a file of the suite (pictures, sounds, engine models)
    Secret // a store holding passwords, keys or voice models: its owner's alone
};

/** What lstat tells of one path. */
struct Facts
{
    std::string path;
    bool isFolder = false;
    bool isLink = false;
    uid_t owner = 0;
    mode_t mode = 0;
};

struct Finding
{
    std::string path;
    std::string problem;
    std::string fix;
};

/** "PATH: PROBLEM; to fix: FIX". */
std::string FindingText(const Finding& finding);

/** True for the files whose contents must stay private: dictionaries, secure settings, databases, work models. */
bool IsSecretStore(const std::string& path);

/** The findings for one path in `role` when `installOwner` owns the installation (root is always accepted). */
std::vector<Finding> Judge(const Facts& facts, Role role, uid_t installOwner);

/**
 * Checks the system root, the folders above it, everything below it (removable-drive stand-ins excepted)
 * and the installation folder with its contents, when that lies elsewhere. An empty `installFolder`
 * checks the system root alone.
 * @return every finding; none means the installation may be trusted.
 */
std::vector<Finding> CheckInstallation(
    const std::string& systemRoot, const std::string& installFolder, uid_t installOwner);

} // namespace talk::store_safety
