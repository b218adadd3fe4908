// wardengate-host: stands in for the logon host. Loads a logon plug-in, calls one of its entry points as the
// host would and prints what it returned.
//
//   wardengate-host PLUGIN about|required|change-password|hooks|logon
//   wardengate-host PLUGIN login NAME
//
// Exit status 0 when the call was made (whatever it returned), 2 when the plug-in or an entry point is
// missing or the command is not known.

#include "HostUserInfo.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
// Large enough for any account name and password the suite stores.
constexpr std::size_t kTextBuffer = 1024;

using TextEntry = const char* (*)();
using CountEntry = int (*)();
using HookEntry = int (*)(const char*, const char*);
using SettingsEntry = int (*)(void*);
using PasswordEntry = int (*)(const char*, const char*, const char*);
using LoginEntry = int (*)(const char*, const char*, void*);
using LogonEntry = int (*)(char*, char*);

template<typename Entry> Entry Find(void* plugin, const char* name)
{
    Entry entry = reinterpret_cast<Entry>(dlsym(plugin, name));
    if (entry == nullptr)
        std::fprintf(stderr, "wardengate-host: the plug-in has no entry point %s\n", name);
    return entry;
}

const char* Shown(const char* text)
{
    return text == nullptr ? "(none)" : text;
}

int Login(void* plugin, const char* name)
{
    const auto login = Find<LoginEntry>(plugin, "UserLogin");
    if (login == nullptr)
        return kExitUsage;
    wardengate::HostUserInfo info;
    std::memset(&info, 0, sizeof info);
    info.flag28 = -1;
    info.isAdministrator = -1;
    const int result = login(name, "", &info);
    std::printf("UserLogin %d\nfield 28 %d\nadministrator %d\ndescription %s\nfull name %s\nerror %s\n", result,
        info.flag28, info.isAdministrator, Shown(info.description), Shown(info.fullName), Shown(info.errorMessage));
    std::free(info.description);
    std::free(info.fullName);
    std::free(info.errorMessage);
    return kExitOk;
}

int Logon(void* plugin)
{
    const auto logon = Find<LogonEntry>(plugin, "CustomCtrlEntry");
    if (logon == nullptr)
        return kExitUsage;
    char user[kTextBuffer] = "unchanged";
    char password[kTextBuffer] = "unchanged";
    const int result = logon(user, password);
    std::printf("CustomCtrlEntry %d\nuser [%s]\npassword [%s]\n", result, user, password);
    return kExitOk;
}

int Hooks(void* plugin)
{
    const auto loginHook = Find<HookEntry>(plugin, "LoginHook");
    const auto logoutHook = Find<HookEntry>(plugin, "LogoutHook");
    const auto settings = Find<SettingsEntry>(plugin, "ChangePluginSettings");
    if (loginHook == nullptr || logoutHook == nullptr || settings == nullptr)
        return kExitUsage;
    std::printf("LoginHook %d\nLogoutHook %d\nChangePluginSettings %d\n", loginHook("reguser", "."),
        logoutHook("reguser", "."), settings(nullptr));
    return kExitOk;
}

int Call(void* plugin, const std::string& command, int argc, char** argv)
{
    if (command == "about") {
        const auto about = Find<TextEntry>(plugin, "AboutPlugin");
        if (about == nullptr)
            return kExitUsage;
        std::printf("AboutPlugin %s\n", Shown(about()));
        return kExitOk;
    }
    if (command == "required") {
        const auto required = Find<CountEntry>(plugin, "IsRequired");
        if (required == nullptr)
            return kExitUsage;
        std::printf("IsRequired %d\n", required());
        return kExitOk;
    }
    if (command == "change-password") {
        const auto change = Find<PasswordEntry>(plugin, "ChangeUserPassword");
        if (change == nullptr)
            return kExitUsage;
        std::printf("ChangeUserPassword %d\n", change("reguser", "old", "new"));
        return kExitOk;
    }
    if (command == "hooks")
        return Hooks(plugin);
    if (command == "logon")
        return Logon(plugin);
    if (command == "login" && argc == 4)
        return Login(plugin, argv[3]);
    std::fprintf(stderr, "wardengate-host: unknown command %s\n", command.c_str());
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: wardengate-host PLUGIN about|required|change-password|hooks|logon|login NAME\n");
        return kExitUsage;
    }
    void* plugin = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (plugin == nullptr) {
        std::fprintf(stderr, "wardengate-host: %s\n", dlerror());
        return kExitUsage;
    }
    const int status = Call(plugin, argv[2], argc, argv);
    std::fflush(stdout);
    dlclose(plugin);
    return status;
}
