#include "ArgumentParser.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace tools {

namespace {

bool IsOptionWord(const std::string& word)
{
    return word.size() > 2 && word.compare(0, 2, "--") == 0;
}

bool ReadInteger(const std::string& text, long& value)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && errno == 0;
}

bool ReadNumber(const std::string& text, double& value)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

} // namespace

ArgumentParser& ArgumentParser::Declare(std::string name, bool takesValue, decltype(Option::store) store)
{
    m_options.push_back({"--" + std::move(name), takesValue, std::move(store)});
    return *this;
}

ArgumentParser& ArgumentParser::Switch(std::string name, bool* target, bool value)
{
    return Declare(std::move(name), false, [target, value](const std::string&, std::string&) {
        *target = value;
        return true;
    });
}

ArgumentParser& ArgumentParser::Text(std::string name, std::string* target)
{
    return Declare(std::move(name), true, [target](const std::string& text, std::string&) {
        *target = text;
        return true;
    });
}

ArgumentParser& ArgumentParser::Integer(std::string name, int low, int high, int* target)
{
    const std::string option = "--" + name;
    return Declare(std::move(name), true, [option, low, high, target](const std::string& text, std::string& error) {
        long value = 0;
        if (!ReadInteger(text, value) || value < low || value > high) {
            error = option + " wants a whole number from " + std::to_string(low) + " to " + std::to_string(high)
                + ", not \"" + text + "\"";
            return false;
        }
        *target = static_cast<int>(value);
        return true;
    });
}

ArgumentParser& ArgumentParser::Number(std::string name, float* target)
{
    const std::string option = "--" + name;
    return Declare(std::move(name), true, [option, target](const std::string& text, std::string& error) {
        double value = 0;
        if (!ReadNumber(text, value)) {
            error = option + " wants a number, not \"" + text + "\"";
            return false;
        }
        *target = static_cast<float>(value);
        return true;
    });
}

ArgumentParser& ArgumentParser::Operands(std::vector<std::string>* target)
{
    m_operands = target;
    return *this;
}

ArgumentParser& ArgumentParser::OtherOptions(std::map<std::string, std::string>* target)
{
    m_otherOptions = target;
    return *this;
}

const ArgumentParser::Option* ArgumentParser::Find(const std::string& name) const
{
    for (const Option& option : m_options) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

bool ArgumentParser::Parse(const std::vector<std::string>& words, std::string& error) const
{
    std::set<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !IsOptionWord(word)) {
            if (m_operands == nullptr) {
                error = "unexpected argument \"" + word + "\"";
                return false;
            }
            m_operands->push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const Option* option = Find(name);
        if (option == nullptr && m_otherOptions == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        if (!seen.insert(name).second) {
            error = "option " + name + " given twice";
            return false;
        }
        const bool takesValue = option == nullptr || option->takesValue;
        std::string value;
        if (equals != std::string::npos) {
            if (!takesValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            value = word.substr(equals + 1);
        } else if (takesValue) {
            if (i + 1 >= words.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = words[++i];
        }
        if (option == nullptr) {
            (*m_otherOptions)[name.substr(2)] = value;
        } else if (!option->store(value, error)) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> CommandLineWords(int argc, char** argv)
{
    if (argc < 2 || argv == nullptr) {
        return {};
    }
    return std::vector<std::string>(argv + 1, argv + argc);
}

int ReportUsageError(std::string_view program, std::string_view message)
{
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(program.size()), program.data(),
        static_cast<int>(message.size()), message.data());
    return kExitUsage;
}

} // namespace tools
