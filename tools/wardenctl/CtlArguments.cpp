#include "CtlArguments.h"

namespace wardenctl {

std::optional<std::string> Arguments::Option(const std::string& name) const
{
    const auto found = options.find(name);
    if (found == options.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool ParseArguments(const std::vector<std::string>& argv, Arguments& parsed, std::string& error)
{
    parsed = {};
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& word = argv[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            parsed.words.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < argv.size()) {
            value = argv[++i];
        } else {
            error = "option --" + name + " needs a value";
            return false;
        }
        if (!parsed.options.emplace(name, value).second) {
            error = "option --" + name + " given twice";
            return false;
        }
    }
    return true;
}

const char* UsageText()
{
    return "usage: wardenctl [--app-path DIR] COMMAND\n"
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
           "  export users|voices FILE       copy a dictionary to FILE\n"
           "  import users|voices FILE       check FILE and put it in place of a dictionary\n";
}

} // namespace wardenctl
