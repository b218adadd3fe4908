#include "CtlArguments.h"

#include "ArgumentParser.h"

namespace wardenctl {

std::optional<std::string> Arguments::Option(const std::string& name) const
{
    const auto found = options.find(name);
    if (found == options.end()) {
        return std::nullopt;
    }
    return found->second;
}

namespace {

/**
 * "--permit A --permit B" as "--permit A,B": the shared grammar takes an option once, and naming each
 * permitted user with an option of his own is what scripts write.
 */
std::vector<std::string> JoinPermits(const std::vector<std::string>& argv)
{
    const std::string option = "--permit";
    std::vector<std::string> joined;
    std::string permits;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (argv[i] == "--") {
            joined.insert(joined.end(), argv.begin() + static_cast<std::ptrdiff_t>(i), argv.end());
            break;
        }
        if (argv[i] == option && i + 1 < argv.size()) {
            permits += (permits.empty() ? "" : ",") + argv[++i];
        } else if (argv[i].rfind(option + "=", 0) == 0) {
            permits += (permits.empty() ? "" : ",") + argv[i].substr(option.size() + 1);
        } else {
            joined.push_back(argv[i]);
        }
    }
    if (!permits.empty()) {
        joined.insert(joined.begin(), {option, permits});
    }
    return joined;
}

} // namespace

bool ParseArguments(const std::vector<std::string>& argv, Arguments& parsed, std::string& error)
{
    parsed = {};
    bool accept = false;
    const bool parsedWell = tools::ArgumentParser()
                                .Switch("accept", &accept)
                                .Operands(&parsed.words)
                                .OtherOptions(&parsed.options)
                                .Parse(JoinPermits(argv), error);
    if (accept) {
        parsed.options["accept"] = "";
    }
    return parsedWell;
}

const char* UsageText()
{
    return "usage: wardenctl [--app-path DIR] COMMAND\n"
           "  init DIR [--data DATA]         make DIR a working installation and register it; shipped data\n"
           "                                 from DATA (default: ../share/deskwarden beside wardenctl, else\n"
           "                                 the source tree's data/); stores kept\n"
           "  app-path [DIR]                 show, or register, the installation folder\n"
           "  users                          list the user IDs\n"
           "  user show ID                   show one user\n"
           "  user create ID --name N --password P [--group 0|1] [--rights LED] [--certkey K]\n"
           "                                 add a user (group 0 administrator, 1 general user;\n"
           "                                 rights: three 0/1 digits for logon, encrypt, decrypt)\n"
           "  user set ID [--name N] [--password P] [--group 0|1] [--rights LED]\n"
           "  user delete ID                 remove a user and free his voice slot\n"
           "  voices list ID                 list a user's voice names\n"
           "  voices remove ID NAME          forget one voice of a user\n"
           "  secure show                    show the secure settings\n"
           "  secure set FIELD=DIGIT ...     fields: logonVoiceEnabled deleteSourceAfterEncrypt\n"
           "                                 deleteBundleAfterDecrypt logonAuthMode fileAuthMode firstRun\n"
           "  bypass make [--out FILE]       make and store a new by-pass key; print it or write it to FILE\n"
           "  check                          look for unsafe modes and owners; count each store's records\n"
           "  export users|voices FILE       copy a dictionary to FILE\n"
           "  import users|voices FILE       check FILE and put it in place of a dictionary\n"
           "  backup DIR                     copy the user and voice dictionaries into DIR\n"
           "  restore DIR [--overwrite all|none]\n"
           "                                 restore every user of the backup in DIR with his voices and\n"
           "                                 account; existing users are kept unless all (default none)\n"
           "  bundle pack OUT --owner ID [--permit ID ...] PATH...\n"
           "                                 pack files and folders into an encrypted bundle for ID and the\n"
           "                                 permitted users\n"
           "  bundle list BUNDLE             show a bundle's owner, permitted users and entries\n"
           "  bundle unpack BUNDLE --out DIR [--user ID]\n"
           "                                 unpack a bundle for ID (default: the account's name); pack and\n"
           "                                 unpack ask the user's password on the terminal or read it from\n"
           "                                 --password-file FILE; --bundle-password-file FILE gives the\n"
           "                                 bundle's own password\n"
           "  transfer send ID --to HOST[:PORT]\n"
           "                                 send a user with his voice models to a tray program or a\n"
           "                                 receiving wardenctl (port: WARDEN_TRANSFER_PORT, else 8373)\n"
           "  transfer receive [--port P] [--accept]\n"
           "                                 wait for one transferred user, ask on the terminal unless\n"
           "                                 --accept, import him and end (--port 0: any free port, printed)\n";
}

} // namespace wardenctl
