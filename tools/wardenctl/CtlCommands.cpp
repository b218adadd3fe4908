#include "CtlCommands.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "AtomicFile.h"
#include "BundleCommand.h"
#include "DictionaryCheck.h"
#include "FileLock.h"
#include "Installation.h"
#include "Setup/SetupFile.h"
#include "Setup/SetupSecure.h"
#include "ShippedDataLocation.h"
#include "StoreSafety.h"
#include "SystemInfo.h"
#include "SystemUser.h"
#include "UserTransferCommand.h"
#include "settings/BackupSet.h"
#include "settings/RestoreJob.h"

#include <platform/SystemRoot.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace wardenctl {
namespace {

constexpr const char* kUserDicName = "/halvoxuid.dat";
constexpr const char* kVoiceDicName = "/halvoxuvd.dat";

/** Everything one command needs: where the installation is and where to report. */
struct Context
{
    const Arguments& args;
    std::ostream& out;
    std::ostream& err;
    std::string appPath;

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
    const std::string& Word(std::size_t i) const { return args.words.at(i); }
};

bool OpenUsers(const Context& c, CAppUserDic& users)
{
    if (!users.SetUserDicFilePath(c.appPath + kUserDicName)) {
        c.Fail("cannot open the user dictionary: " + users.GetLastErrorText());
        return false;
    }
    if (!users.IsLoadComplete()) {
        c.err << "wardenctl: warning: " << users.GetLastErrorText() << "\n";
    }
    return true;
}

bool ParseDigit(const std::string& text, int& value)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') {
        return false;
    }
    value = text[0] - '0';
    return true;
}

bool ParseRights(const std::string& text, std::array<int, 3>& rights)
{
    if (text.size() != 3) {
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (text[i] != '0' && text[i] != '1') {
            return false;
        }
        rights[i] = text[i] - '0';
    }
    return true;
}

int ShowUser(const Context& c, CAppUserDic& users, const std::string& id)
{
    CAppUserDic::USER_INFORMATION info;
    if (!users.GetUser(id, info)) {
        return c.Fail("no user \"" + id + "\"");
    }
    c.out << "id: " << info.id << "\nname: " << info.name
          << "\ngroup: " << (info.isGeneralUser ? "1 (general user)" : "0 (administrator)")
          << "\ncertificate key: " << info.certiKey << "\nrights (logon, encrypt, decrypt): " << info.logonRight
          << info.encryptRight << info.decryptRight << "\nvoices:";
    for (const std::string& nick : info.nicks) {
        c.out << " " << (nick.empty() ? "\"\"" : nick);
    }
    c.out << "\n";
    return kExitOk;
}

int CreateUser(const Context& c, CAppUserDic& users, const std::string& id)
{
    const auto name = c.args.Option("name");
    const auto password = c.args.Option("password");
    if (!name || !password) {
        return c.Usage("user create needs --name and --password");
    }
    int group = 1;
    std::array<int, 3> rights {1, 1, 1};
    if (const auto g = c.args.Option("group"); g && (!ParseDigit(*g, group) || group > 1)) {
        return c.Usage("--group is 0 (administrator) or 1 (general user)");
    }
    if (const auto r = c.args.Option("rights"); r && !ParseRights(*r, rights)) {
        return c.Usage("--rights is three digits 0 or 1, such as 110");
    }
    if (users.VerifyUserInfo(id) >= 0) {
        return c.Fail("user \"" + id + "\" exists already");
    }
    if (!users.CreateUser(
            *name, id, c.args.Option("certkey").value_or(""), *password, group, rights[0], rights[1], rights[2], "")) {
        return c.Fail("cannot create user \"" + id + "\": " + users.GetLastErrorText());
    }
    CAppUserVoiceDic voices;
    if (!voices.SetVoiceDicPath(c.appPath) || !voices.AddUser(id, users.GetCertiKey(id))) {
        users.DelUserWholeInfo(id);
        return c.Fail("cannot give user \"" + id + "\" a voice slot: " + voices.GetLastErrorText());
    }
    c.out << "created user " << id << "\n";
    return kExitOk;
}

int ChangeUser(const Context& c, CAppUserDic& users, const std::string& id)
{
    CAppUserDic::USER_DICTIONARY stored;
    if (!users.GetUserInfo(id, stored)) {
        return c.Fail("no user \"" + id + "\"");
    }
    int group = stored.group;
    std::array<int, 3> rights {};
    for (std::size_t i = 0; i < 3; ++i) {
        rights[i] = i < stored.authority.size() && stored.authority[i] == '1' ? 1 : 0;
    }
    if (const auto g = c.args.Option("group"); g && (!ParseDigit(*g, group) || group > 1)) {
        return c.Usage("--group is 0 (administrator) or 1 (general user)");
    }
    if (const auto r = c.args.Option("rights"); r && !ParseRights(*r, rights)) {
        return c.Usage("--rights is three digits 0 or 1, such as 110");
    }
    if (!users.SetUser(c.args.Option("name").value_or(stored.name), stored.id,
            c.args.Option("password").value_or(stored.password), group, rights[0], rights[1], rights[2])) {
        return c.Fail("cannot change user \"" + id + "\": " + users.GetLastErrorText());
    }
    c.out << "changed user " << stored.id << "\n";
    return kExitOk;
}

int DeleteUser(const Context& c, CAppUserDic& users, const std::string& id)
{
    const std::string certiKey = users.GetCertiKey(id);
    if (users.VerifyUserInfo(id) < 0) {
        return c.Fail("no user \"" + id + "\"");
    }
    CAppUserVoiceDic voices;
    if (voices.SetVoiceDicPath(c.appPath) && !voices.DelUser(id, certiKey)) {
        c.err << "wardenctl: warning: no voice slot freed: " << voices.GetLastErrorText() << "\n";
    }
    if (!users.DelUserWholeInfo(id)) {
        return c.Fail("cannot delete user \"" + id + "\": " + users.GetLastErrorText());
    }
    c.out << "deleted user " << id << "\n";
    return kExitOk;
}

int UserCommand(const Context& c)
{
    if (c.args.words.size() != 3) {
        return c.Usage("user needs an action and an ID");
    }
    CAppUserDic users;
    if (!OpenUsers(c, users)) {
        return kExitFailed;
    }
    const std::string& action = c.Word(1);
    const std::string& id = c.Word(2);
    if (action == "show") {
        return ShowUser(c, users, id);
    }
    if (action == "create") {
        return CreateUser(c, users, id);
    }
    if (action == "set") {
        return ChangeUser(c, users, id);
    }
    if (action == "delete") {
        return DeleteUser(c, users, id);
    }
    return c.Usage("unknown user action \"" + action + "\"");
}

int UsersCommand(const Context& c)
{
    CAppUserDic users;
    if (!OpenUsers(c, users)) {
        return kExitFailed;
    }
    std::vector<std::string> ids;
    users.GetUserIDList(ids);
    for (const std::string& id : ids) {
        c.out << id << "\n";
    }
    return kExitOk;
}

int VoicesCommand(const Context& c)
{
    const bool list = c.args.words.size() == 3 && c.Word(1) == "list";
    const bool remove = c.args.words.size() == 4 && c.Word(1) == "remove";
    if (!list && !remove) {
        return c.Usage("voices list ID | voices remove ID NAME");
    }
    CAppUserDic users;
    if (!OpenUsers(c, users)) {
        return kExitFailed;
    }
    const std::string& id = c.Word(2);
    std::vector<std::string> nicks;
    if (!users.GetNickList(id, nicks)) {
        return c.Fail("no user \"" + id + "\"");
    }
    if (list) {
        for (const std::string& nick : nicks) {
            if (!nick.empty()) {
                c.out << nick << "\n";
            }
        }
        return kExitOk;
    }
    const std::string& name = c.Word(3);
    if (users.VerifyNick(id, name) < 0) {
        return c.Fail("user \"" + id + "\" has no voice \"" + name + "\"");
    }
    CAppUserVoiceDic voices;
    if (!voices.SetVoiceDicPath(c.appPath) || !voices.DelUserVoice(id, users.GetCertiKey(id), name)) {
        c.err << "wardenctl: warning: no model removed: " << voices.GetLastErrorText() << "\n";
    }
    // DelNick refuses to empty a list; an empty list is what removing the last voice means here.
    const bool removed = users.DelNick(id, name) || users.SetVoiceList(id, "");
    if (!removed) {
        return c.Fail("cannot update user \"" + id + "\": " + users.GetLastErrorText());
    }
    c.out << "removed voice " << name << " of " << id << "\n";
    return kExitOk;
}

using SettingField = int CSetupSecure::tagSecureSettings::*;
const std::array<std::pair<const char*, SettingField>, 6> kSecureFields = {{
    {"logonVoiceEnabled", &CSetupSecure::tagSecureSettings::logonVoiceEnabled},
    {"deleteSourceAfterEncrypt", &CSetupSecure::tagSecureSettings::deleteSourceAfterEncrypt},
    {"deleteBundleAfterDecrypt", &CSetupSecure::tagSecureSettings::deleteBundleAfterDecrypt},
    {"logonAuthMode", &CSetupSecure::tagSecureSettings::logonAuthMode},
    {"fileAuthMode", &CSetupSecure::tagSecureSettings::fileAuthMode},
    {"firstRun", &CSetupSecure::tagSecureSettings::firstRun},
}};

int SecureCommand(const Context& c)
{
    CSetupSecure secure;
    if (!secure.SetSetupSecureFilePath(c.appPath + CSetupFile::kSecureFileName)) {
        return c.Fail("cannot open the secure settings: " + secure.GetLastErrorText());
    }
    CSetupSecure::tagSecureSettings settings;
    const bool readable = secure.GetAppSettings(settings) != 0;
    if (c.args.words.size() == 2 && c.Word(1) == "show") {
        if (!readable) {
            c.err << "wardenctl: warning: the settings entry is damaged; zeros shown\n";
        }
        for (const auto& [name, field] : kSecureFields) {
            c.out << name << "=" << settings.*field << "\n";
        }
        return kExitOk;
    }
    if (c.args.words.size() < 3 || c.Word(1) != "set") {
        return c.Usage("secure show | secure set FIELD=DIGIT ...");
    }
    for (std::size_t i = 2; i < c.args.words.size(); ++i) {
        const std::string& assignment = c.Word(i);
        const auto equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        int value = 0;
        const auto field = std::find_if(
            kSecureFields.begin(), kSecureFields.end(), [&](const auto& entry) { return name == entry.first; });
        if (equals == std::string::npos || field == kSecureFields.end()
            || !ParseDigit(assignment.substr(equals + 1), value)) {
            return c.Usage("\"" + assignment + "\" is not FIELD=DIGIT with a known field");
        }
        settings.*(field->second) = value;
    }
    if (!secure.SetAppSettings(settings)) {
        return c.Fail("cannot write the secure settings: " + secure.GetLastErrorText());
    }
    return kExitOk;
}

int BypassCommand(const Context& c)
{
    if (c.args.words.size() != 2 || c.Word(1) != "make") {
        return c.Usage("bypass make [--out FILE]");
    }
    CSetupSecure secure;
    if (!secure.SetSetupSecureFilePath(c.appPath + CSetupFile::kSecureFileName)) {
        return c.Fail("cannot open the secure settings: " + secure.GetLastErrorText());
    }
    const std::string key = secure.CreateBackupBypassKey();
    if (key.empty()) {
        return c.Fail("cannot make a by-pass key");
    }
    std::string error;
    const auto outFile = c.args.Option("out");
    // The key file is written first: a stored key without its file would lock the user out of it.
    if (outFile && !talk::ReplaceFileAtomically(*outFile, key, error)) {
        return c.Fail(error);
    }
    if (!secure.SetBackupBypassKey(key)) {
        return c.Fail("cannot store the by-pass key: " + secure.GetLastErrorText());
    }
    if (!outFile) {
        c.out << key << "\n";
    }
    return kExitOk;
}

int TransferCommand(const Context& c, bool exporting)
{
    if (c.args.words.size() != 3 || (c.Word(1) != "users" && c.Word(1) != "voices")) {
        return c.Usage(std::string(exporting ? "export" : "import") + " users|voices FILE");
    }
    const bool users = c.Word(1) == "users";
    const std::string dictionary = c.appPath + (users ? kUserDicName : kVoiceDicName);
    const std::string& from = exporting ? dictionary : c.Word(2);
    const std::string& to = exporting ? c.Word(2) : dictionary;
    // The copy must not catch the voice dictionary in the middle of a change, nor an import undo one.
    const talk::FileLock lock(dictionary, exporting ? talk::FileLock::Kind::Shared : talk::FileLock::Kind::Exclusive);
    if (!lock.IsHeld()) {
        return c.Fail(lock.ErrorText());
    }
    std::string bytes;
    std::string error;
    if (!talk::ReadWholeFile(from, bytes, error)) {
        return c.Fail(error);
    }
    std::string problem;
    if (!exporting && !(users ? IsSoundUserDictionary(bytes, problem) : IsSoundVoiceDictionary(bytes, problem))) {
        return c.Fail(from + " is no sound " + (users ? "user" : "voice") + " dictionary: " + problem);
    }
    if (!talk::ReplaceFileAtomically(to, bytes, error)) {
        return c.Fail(error);
    }
    return kExitOk;
}

std::string CountText(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// What each store holds, as far as it can be read; a store that cannot be read says why.
void ReportStoreRecords(const Context& c)
{
    CAppUserDic users;
    std::vector<std::string> ids;
    if (users.SetUserDicFilePath(c.appPath + kUserDicName) && users.GetUserIDList(ids)) {
        c.out << "user dictionary: " << CountText(ids.size(), "user", "users")
              << (users.IsLoadComplete() ? "" : " (damaged: " + users.GetLastErrorText() + ")") << "\n";
    } else {
        c.out << "user dictionary: unreadable (" << users.GetLastErrorText() << ")\n";
    }
    CAppUserVoiceDic voices;
    std::size_t withSlot = 0;
    if (voices.SetVoiceDicPath(c.appPath)) {
        for (const std::string& id : ids) {
            withSlot += voices.FindIDPos(id, users.GetCertiKey(id), voices.GetVoiceDicPath()) >= 0 ? 1 : 0;
        }
        c.out << "voice dictionary: " << CountText(withSlot, "user", "users") << " with a voice slot\n";
    } else {
        c.out << "voice dictionary: unreadable (" << voices.GetLastErrorText() << ")\n";
    }
    CSetupSecure secure;
    CSetupSecure::tagSecureSettings settings;
    const bool secureRead
        = secure.SetSetupSecureFilePath(c.appPath + CSetupFile::kSecureFileName) && secure.GetAppSettings(settings);
    c.out << "secure settings: " << (secureRead ? "1 settings record" : "unreadable") << ", "
          << (secure.GetBackupBypassKey().empty() ? "no by-pass key" : "a by-pass key") << "\n";
}

int CheckCommand(const Context& c)
{
    if (c.args.words.size() != 1) {
        return c.Usage("check takes no arguments");
    }
    const std::filesystem::path root = platform::SystemRoot();
    struct stat info = {};
    const uid_t owner = ::stat(root.c_str(), &info) == 0 ? info.st_uid : ::geteuid();
    const std::vector<talk::store_safety::Finding> findings
        = talk::store_safety::CheckInstallation(root.string(), c.appPath, owner);
    c.out << "system root: " << root.string() << "\ninstallation: " << c.appPath << "\n";
    for (const talk::store_safety::Finding& finding : findings) {
        c.out << "unsafe: " << talk::store_safety::FindingText(finding) << "\n";
    }
    ReportStoreRecords(c);
    if (!findings.empty()) {
        return c.Fail(CountText(findings.size(), "finding", "findings")
            + ": privileged programs will refuse this installation until they are fixed");
    }
    c.out << "no unsafe modes or owners\n";
    return kExitOk;
}

int InitCommand(const Context& c)
{
    if (c.args.words.size() != 2) {
        return c.Usage("init DIR [--data DATA]");
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(c.Word(1), ec).lexically_normal();
    if (ec || c.Word(1).empty()) {
        return c.Fail("cannot make \"" + c.Word(1) + "\" an absolute path");
    }
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    namespace location = shipped_data_location;
    const std::optional<std::string> named = c.args.Option("data");
    const ShippedData data = named
        ? ShippedDataIn(*named)
        : location::DefaultShippedData(location::OwnExecutable(), WARDEN_SHIPPED_DATA_DIR, WARDEN_SHIPPED_IMAGES_DIR);
    InstallOutcome outcome;
    std::string error;
    if (!Install(folder, data, outcome, error)) {
        return c.Fail(error);
    }
    c.out << "installation folder: " << folder.string() << " (registered)\n"
          << "shipped data: " << data.engine.parent_path().string() << " (engine models, skin default, "
          << outcome.soundCount << " prompt sounds, " << outcome.imageCount << " slides)\n"
          << "stores: " << (outcome.storesKept ? "kept, " : "created, ")
          << CountText(outcome.userCount, "user", "users") << "; " << outcome.settingsAdded << " settings added\n";
    return kExitOk;
}

int AppPathCommand(const Context& c)
{
    CSetupFile setup;
    if (c.args.words.size() == 1) {
        const std::string path = setup.GetAppPath();
        if (path.empty()) {
            return c.Fail("no installation folder is registered");
        }
        c.out << path << "\n";
        return kExitOk;
    }
    if (c.args.words.size() != 2) {
        return c.Usage("app-path [DIR]");
    }
    if (!setup.SetAppPath(c.Word(1))) {
        return c.Fail("cannot register \"" + c.Word(1) + "\" (empty, or longer than 199 bytes, or registry failure)");
    }
    return kExitOk;
}

int BackupCommand(const Context& c)
{
    if (c.args.words.size() != 2) {
        return c.Usage("backup DIR");
    }
    std::string error;
    if (!deskwarden::settings::backup::CopyToFolder(c.appPath, c.Word(1), error)) {
        return c.Fail("backup failed: " + error);
    }
    c.out << "backed up the user and voice dictionaries to " << c.Word(1) << "\n";
    return kExitOk;
}

/** Prints the restore's log as it comes and answers the overwrite question as the command line said. */
class CommandLineRestore final : public deskwarden::settings::RestoreListener
{
public:
    CommandLineRestore(std::ostream& out, bool overwrite)
        : m_out(out)
        , m_overwrite(overwrite)
    {
    }
    void Log(const std::string& line) override { m_out << line << "\n"; }
    bool ConfirmOverwrite(const std::string& id) override
    {
        m_out << deskwarden::settings::OverwriteQuestion(id) << (m_overwrite ? " yes" : " no") << "\n";
        return m_overwrite;
    }
    void Progress(int) override { }

private:
    std::ostream& m_out;
    bool m_overwrite;
};

int RestoreCommand(const Context& c)
{
    namespace settings = deskwarden::settings;
    const std::string overwrite = c.args.Option("overwrite").value_or("none");
    if (c.args.words.size() != 2 || (overwrite != "all" && overwrite != "none")) {
        return c.Usage("restore DIR [--overwrite all|none]");
    }
    const auto files = settings::backup::FindBackup(c.Word(1));
    if (!files) {
        return c.Fail(c.Word(1) + " holds no backup: both halvoxuid.dat and halvoxuvd.dat are needed");
    }
    CAppUserDic users;
    CAppUserVoiceDic voices;
    if (!OpenUsers(c, users) || !voices.SetVoiceDicPath(c.appPath)) {
        return c.Fail("cannot open the installation's dictionaries");
    }
    CSystemUser accounts;
    CSystemInfo system;
    CommandLineRestore listener(c.out, overwrite == "all");
    const settings::RestoreReport report
        = settings::RunRestore(*files, {users, voices, accounts, system.IsOSNT() == 1}, listener);
    if (!report.readable) {
        return c.Fail(c.Word(1) + " is no sound backup; nothing was restored");
    }
    for (const std::string& id : report.failed) {
        c.err << "wardenctl: not restored: " << id << "\n";
    }
    return report.failed.empty() ? kExitOk : kExitFailed;
}

} // namespace

int RunCommand(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    Context c {arguments, out, err, {}};
    if (arguments.words.empty() || arguments.words[0] == "help") {
        (arguments.words.empty() ? err : out) << UsageText();
        return arguments.words.empty() ? kExitUsage : kExitOk;
    }
    const std::string& command = arguments.words[0];
    if (command == "app-path") {
        return AppPathCommand(c);
    }
    if (command == "init") {
        return InitCommand(c);
    }
    c.appPath = arguments.Option("app-path").value_or(CSetupFile().GetAppPath());
    if (c.appPath.empty()) {
        return c.Fail("no installation folder: register one with \"wardenctl app-path DIR\" or give --app-path");
    }
    if (!CSetupFile::IsFileExist(c.appPath, 1)) {
        return c.Fail("the installation folder " + c.appPath + " does not exist");
    }
    static const std::map<std::string, std::function<int(const Context&)>> kCommands = {
        {"users", UsersCommand},
        {"user", UserCommand},
        {"voices", VoicesCommand},
        {"secure", SecureCommand},
        {"bypass", BypassCommand},
        {"check", CheckCommand},
        {"backup", BackupCommand},
        {"restore", RestoreCommand},
        {"export", [](const Context& ctx) { return TransferCommand(ctx, true); }},
        {"import", [](const Context& ctx) { return TransferCommand(ctx, false); }},
        {"bundle", [](const Context& ctx) { return BundleCommand(ctx.args, ctx.appPath, ctx.out, ctx.err); }},
        {"transfer", [](const Context& ctx) { return UserTransferCommand(ctx.args, ctx.appPath, ctx.out, ctx.err); }},
    };
    const auto found = kCommands.find(command);
    if (found == kCommands.end()) {
        return c.Usage("unknown command \"" + command + "\"");
    }
    return found->second(c);
}

} // namespace wardenctl
