#include "BundleCommand.h"

#include "CtlCommands.h"
#include "PasswordInput.h"

#include "AppUserDic.h"

#include "bundle/BundleJob.h"
#include "bundle/BundleReader.h"

#include <csignal>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace wardenctl {
namespace {

namespace bundle = deskwarden::bundle;

constexpr const char* kUserDicName = "/halvoxuid.dat";
constexpr const char* kTempFolderName = "/tmp";

/** One bundle command's words, options and where it reports. */
struct BundleContext
{
    const Arguments& args;
    const std::string& appPath;
    std::ostream& out;
    std::ostream& err;

    int Fail(const std::string& message) const
    {
        err << "wardenctl: " << message << "\n";
        return kExitFailed;
    }
    int Usage(const std::string& message) const
    {
        err << "wardenctl: " << message << " (\"wardenctl help\" lists the commands)\n";
        return kExitUsage;
    }
};

/** A job on the command line: no windows, the existing files kept, every stop honoured. */
class ConsoleObserver : public bundle::SilentObserver
{
public:
    bool AskOverwrite(const std::string&) override
    {
        ++keptFiles;
        return false;
    }
    int keptFiles = 0;
};

/** The running job's continue flag, for the signal handler: an interrupt asks the job to stop. */
std::atomic<int>* g_continueFlag = nullptr;

void AskToStop(int)
{
    if (g_continueFlag != nullptr) {
        g_continueFlag->store(0);
    }
}

/**
 * Runs `job` with Ctrl-C and termination turned into a stop request, so that an interrupted unpack still
 * removes the file it was deciphering instead of leaving unauthenticated plain text behind.
 */
int RunInterruptible(bundle::BundleJob& job, std::atomic<int>& continueFlag)
{
    static_assert(std::atomic<int>::is_always_lock_free);
    g_continueFlag = &continueFlag;
    struct sigaction action
    {
    };
    action.sa_handler = AskToStop;
    action.sa_flags = SA_RESTART;
    struct sigaction oldInterrupt
    {
    };
    struct sigaction oldTerminate
    {
    };
    ::sigaction(SIGINT, &action, &oldInterrupt);
    ::sigaction(SIGTERM, &action, &oldTerminate);
    const int ended = job.Run();
    ::sigaction(SIGINT, &oldInterrupt, nullptr);
    ::sigaction(SIGTERM, &oldTerminate, nullptr);
    g_continueFlag = nullptr;
    return ended;
}

std::string AccountName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry != nullptr ? entry->pw_name : "";
}

/** Whether `id` proved himself with his password and holds the right the command needs. */
bool Authenticate(
    const BundleContext& c, CAppUserDic& users, const std::string& id, bool encrypting, std::string& error)
{
    CAppUserDic::USER_INFORMATION info;
    if (!users.GetUser(id, info)) {
        error = "no user \"" + id + "\" in this installation";
        return false;
    }
    std::string password;
    const auto file = c.args.Option("password-file");
    const bool read = file ? ReadPasswordFile(*file, password, error)
                           : ReadPasswordFromTerminal("password of " + id + ": ", password, error);
    if (!read) {
        return false;
    }
    // VerifyPassWord gives the record's index, 0 for the first user, and -1 when the password differs.
    if (password.empty() || users.VerifyPassWord(id, password) < 0) {
        error = "wrong password for \"" + id + "\"";
        return false;
    }
    if ((encrypting ? info.encryptRight : info.decryptRight) == 0) {
        error = "\"" + id + "\" may not " + (encrypting ? "encrypt" : "decrypt") + " files";
        return false;
    }
    return true;
}

bool OpenUsers(const BundleContext& c, CAppUserDic& users, std::string& error)
{
    if (!users.SetUserDicFilePath(c.appPath + kUserDicName) || !users.IsLoadComplete()) {
        error = "cannot read the user dictionary: " + users.GetLastErrorText();
        return false;
    }
    return true;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    for (const char ch : text + ",") {
        if (ch != ',') {
            item += ch;
        } else if (!item.empty()) {
            items.push_back(item);
            item.clear();
        }
    }
    return items;
}

bool OptionalFileText(const BundleContext& c, const std::string& option, std::string& text, std::string& error)
{
    const auto file = c.args.Option(option);
    return !file || ReadPasswordFile(*file, text, error);
}

/** The bundle's own password when it has one: from --bundle-password-file, else asked on the terminal. */
bool BundlePassword(const BundleContext& c, const bundle::BundleHeader& header, std::string& text, std::string& error)
{
    if (header.values.password.empty() || c.args.Option("bundle-password-file")) {
        return OptionalFileText(c, "bundle-password-file", text, error);
    }
    return ReadPasswordFromTerminal("bundle password: ", text, error);
}

int ReportJob(const BundleContext& c, const bundle::BundleJob& job, int result, const ConsoleObserver& observer)
{
    if (observer.keptFiles > 0) {
        c.err << "wardenctl: kept " << observer.keptFiles << " existing file(s) instead of replacing them\n";
    }
    if (result == bundle::kJobSucceeded) {
        return kExitOk;
    }
    return c.Fail(result == bundle::kJobStopped ? "stopped" : job.ErrorText());
}

int Pack(const BundleContext& c)
{
    const auto& words = c.args.words;
    const auto owner = c.args.Option("owner");
    if (words.size() < 4 || !owner) {
        return c.Usage("bundle pack OUT --owner ID [--permit ID[,ID...]] PATH...");
    }
    CAppUserDic users;
    std::string error;
    bundle::EncryptRequest request;
    request.outputPath = words[2];
    request.markedPaths.assign(words.begin() + 3, words.end());
    request.tempFolder = c.appPath + kTempFolderName;
    if (!OpenUsers(c, users, error) || !Authenticate(c, users, *owner, true, error)
        || !OptionalFileText(c, "bundle-password-file", request.header.password, error)) {
        return c.Fail(error);
    }
    request.header.owner = {*owner, users.GetCertiKey(*owner)};
    for (const auto& id : SplitList(c.args.Option("permit").value_or(""))) {
        const std::string key = users.GetCertiKey(id);
        if (key.empty()) {
            return c.Fail("no user \"" + id + "\" to permit");
        }
        request.header.permitted.push_back({id, key});
    }
    for (const auto& path : request.markedPaths) {
        if (!std::filesystem::exists(path)) {
            return c.Fail("no such file or folder: " + path);
        }
    }
    ConsoleObserver observer;
    std::atomic<int> continueFlag {1};
    bundle::BundleJob job(std::move(request), observer, continueFlag);
    const int result = RunInterruptible(job, continueFlag);
    if (result == bundle::kJobSucceeded) {
        c.out << "packed " << words[2] << "\n";
    }
    return ReportJob(c, job, result, observer);
}

int List(const BundleContext& c)
{
    if (c.args.words.size() != 3) {
        return c.Usage("bundle list BUNDLE");
    }
    bundle::BundleReader reader;
    std::string error;
    if (!reader.Open(c.args.words[2], error)) {
        return c.Fail(error);
    }
    const bundle::BundleHeader& header = reader.Header();
    c.out << "owner: " << header.values.owner.id << "\npermitted:";
    for (const auto& entry : header.values.permitted) {
        c.out << " " << entry.id;
    }
    c.out << "\nfile password: " << (header.values.password.empty() ? "no" : "yes")
          << "\nfolders: " << header.folderCount << ", files: " << header.fileCount
          << ", bytes: " << header.totalPlainBytes << "\n";
    bundle::RecordInfo record;
    while (reader.Next(record, error)) {
        c.out << (record.isFolder ? "d " : "f ") << record.name;
        if (!record.isFolder) {
            c.out << " " << record.plainSize;
        }
        c.out << "\n";
    }
    return error.empty() ? kExitOk : c.Fail(error);
}

int Unpack(const BundleContext& c)
{
    const auto folder = c.args.Option("out");
    if (c.args.words.size() != 3 || !folder) {
        return c.Usage("bundle unpack BUNDLE --out DIR [--user ID]");
    }
    const std::string id = c.args.Option("user").value_or(AccountName());
    CAppUserDic users;
    bundle::BundleHeader header;
    std::string error;
    std::string bundlePassword;
    if (!bundle::ReadHeader(c.args.words[2], header, error) || !OpenUsers(c, users, error)
        || !Authenticate(c, users, id, false, error) || !BundlePassword(c, header, bundlePassword, error)) {
        return c.Fail(error);
    }
    if (!bundle::CheckAccess(header, id, users.GetCertiKey(id), bundlePassword)) {
        return c.Fail("\"" + id + "\" may not open this bundle");
    }
    std::error_code made;
    std::filesystem::create_directories(*folder, made);
    ConsoleObserver observer;
    std::atomic<int> continueFlag {1};
    bundle::BundleJob job(
        bundle::DecryptRequest {c.args.words[2], *folder, c.appPath + kTempFolderName}, observer, continueFlag);
    const int result = RunInterruptible(job, continueFlag);
    if (result == bundle::kJobSucceeded) {
        c.out << "unpacked into " << *folder << "\n";
    }
    return ReportJob(c, job, result, observer);
}

} // namespace

int BundleCommand(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err)
{
    const BundleContext c {arguments, appPath, out, err};
    const std::string action = arguments.words.size() > 1 ? arguments.words[1] : "";
    if (action == "pack") {
        return Pack(c);
    }
    if (action == "list") {
        return List(c);
    }
    if (action == "unpack") {
        return Unpack(c);
    }
    return c.Usage("bundle pack|list|unpack");
}

} // namespace wardenctl
