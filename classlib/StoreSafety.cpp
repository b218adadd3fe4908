#include "StoreSafety.h"

#include <filesystem>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace talk::store_safety {
namespace {

// An installation is a few hundred files; a walk far beyond that is a mistake in the paths given.
constexpr std::size_t kMaxEntries = 20000;

std::string UserName(uid_t uid)
{
    passwd entry {};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(uid);
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string WithoutJournalSuffix(std::string name)
{
    for (const char* suffix : {"-wal", "-shm", "-journal", ".lock"}) {
        if (EndsWith(name, suffix)) {
            return name.substr(0, name.size() - std::string(suffix).size());
        }
    }
    return name;
}

bool Inspect(const std::string& path, Facts& facts)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) != 0) {
        return false;
    }
    facts.path = path;
    facts.isFolder = S_ISDIR(info.st_mode);
    facts.isLink = S_ISLNK(info.st_mode);
    facts.owner = info.st_uid;
    facts.mode = info.st_mode & 07777;
    return true;
}

class Walk
{
public:
    explicit Walk(uid_t owner)
        : m_owner(owner)
    {
    }

    /** False when the path cannot be examined (which is a finding of its own). */
    bool Check(const std::string& path, Role role)
    {
        if (!m_seen.insert(path).second) {
            return true;
        }
        Facts facts;
        if (!Inspect(path, facts)) {
            m_findings.push_back({path, "does not exist or cannot be examined", "set up the installation first"});
            return false;
        }
        for (Finding& finding : Judge(facts, role, m_owner)) {
            m_findings.push_back(std::move(finding));
        }
        return true;
    }

    void CheckAncestors(const fs::path& folder)
    {
        for (fs::path parent = folder.parent_path(); !parent.empty(); parent = parent.parent_path()) {
            Check(parent.string(), Role::Ancestor);
            if (parent == parent.root_path()) {
                break;
            }
        }
    }

    void CheckTree(const fs::path& top, const fs::path& skipped)
    {
        if (!Check(top.string(), Role::Folder)) {
            return;
        }
        std::error_code ec;
        fs::recursive_directory_iterator it(top, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (++m_entries > kMaxEntries) {
                m_findings.push_back(
                    {top.string(), "holds too many entries to check", "remove what is not the suite's"});
                return;
            }
            const fs::path& path = it->path();
            if (!skipped.empty() && path == skipped) {
                it.disable_recursion_pending();
                continue;
            }
            const bool folder = it->is_directory(ec) && !it->is_symlink(ec);
            Check(path.string(), folder ? Role::Folder : (IsSecretStore(path.string()) ? Role::Secret : Role::File));
        }
        if (ec) {
            m_findings.push_back(
                {top.string(), "cannot be read completely (" + ec.message() + ")", "check its permissions"});
        }
    }

    std::vector<Finding> Findings() && { return std::move(m_findings); }

private:
    uid_t m_owner;
    std::size_t m_entries = 0;
    std::set<std::string> m_seen;
    std::vector<Finding> m_findings;
};

} // namespace

std::string FindingText(const Finding& finding)
{
    return finding.path + ": " + finding.problem + "; to fix: " + finding.fix;
}

bool IsSecretStore(const std::string& path)
{
    const fs::path p(path);
    const std::string name = WithoutJournalSuffix(p.filename().string());
    const std::string folder = p.parent_path().filename().string();
    static const std::set<std::string> kSecretNames
        = {"halvoxuid.dat", "halvoxuvd.dat", "halvoxurh.dat", "halvox.dat", "accounts.db"};
    return kSecretNames.count(name) != 0 || folder == "registry" || folder == "work";
}

std::vector<Finding> Judge(const Facts& facts, Role role, uid_t installOwner)
{
    std::vector<Finding> findings;
    const std::string& path = facts.path;
    if (facts.isLink) {
        // A link's own mode means nothing; what matters is that a store is where it seems to be.
        if (role == Role::Secret) {
            findings.push_back(
                {path, "is a symbolic link, not the store itself", "replace the link by the file it points to"});
        }
        return findings;
    }
    if (facts.owner != 0 && facts.owner != installOwner) {
        findings.push_back({path,
            "is owned by " + UserName(facts.owner) + ", not by root or the installation's owner "
                + UserName(installOwner),
            "chown " + UserName(installOwner) + " " + path});
    }
    const bool sharedButSticky = role == Role::Ancestor && (facts.mode & S_ISVTX) != 0;
    if ((facts.mode & (S_IWGRP | S_IWOTH)) != 0 && !sharedButSticky) {
        findings.push_back({path, "is writable by group or others", "chmod go-w " + path});
    }
    if (role == Role::Secret && (facts.mode & (S_IRGRP | S_IROTH)) != 0) {
        findings.push_back({path, "holds secrets and is readable by group or others", "chmod 600 " + path});
    }
    return findings;
}

std::vector<Finding> CheckInstallation(
    const std::string& systemRoot, const std::string& installFolder, uid_t installOwner)
{
    Walk walk(installOwner);
    const fs::path root = fs::path(systemRoot).lexically_normal();
    walk.CheckAncestors(root);
    // Each folder below media/ stands for a removable drive: anyone's, and never trusted anyway.
    walk.CheckTree(root, root / "media");
    if (!installFolder.empty()) {
        const fs::path install = fs::path(installFolder).lexically_normal();
        walk.CheckAncestors(install);
        walk.CheckTree(install, {});
    }
    return std::move(walk).Findings();
}

} // namespace talk::store_safety
