#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The command-line grammar every tool of the suite shares, so that a user learns it once:
//   --name value  or  --name=value   an option that takes a value
//   --name                           a switch
//   --                               ends the options; every later word is an operand
//   anything else                    an operand (a lone "-" too)
// An unknown option, an option given twice, a missing or malformed value, and an operand where the tool
// takes none are usage errors: the tool prints one line "tool: reason" on stderr and exits kExitUsage.
namespace tools {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/** Declares a tool's options, then reads a command line into the variables they name. */
class ArgumentParser
{
public:
    /** `--name` stores `value` in `target` (true unless told otherwise, for `--no-...` switches). */
    ArgumentParser& Switch(std::string name, bool* target, bool value = true);

    /** `--name TEXT` stores TEXT in `target`. */
    ArgumentParser& Text(std::string name, std::string* target);

    /** `--name N` stores the whole decimal number N, which must lie in [low, high]. */
    ArgumentParser& Integer(std::string name, int low, int high, int* target);

    /** `--name X` stores the decimal number X (as strtod reads it, the whole word). */
    ArgumentParser& Number(std::string name, float* target);

    /** Operands are appended to `target`; without this call an operand is a usage error. */
    ArgumentParser& Operands(std::vector<std::string>* target);

    /**
     * Options not declared take a value and are stored by name (without the dashes) in `target`, for tools
     * whose subcommands decide which options they accept; without this call they are usage errors.
     */
    ArgumentParser& OtherOptions(std::map<std::string, std::string>* target);

    /**
     * Reads `words` (the command line without the program name) into the declared targets, left to right.
     * @return false with a one-line reason in `error` on a usage error; targets may then be partly set.
     */
    [[nodiscard]] bool Parse(const std::vector<std::string>& words, std::string& error) const;

private:
    struct Option
    {
        std::string name;
        bool takesValue = false;
        // Stores the value; false with a reason when the value is malformed.
        std::function<bool(const std::string& value, std::string& error)> store;
    };

    ArgumentParser& Declare(std::string name, bool takesValue, decltype(Option::store) store);
    const Option* Find(const std::string& name) const;

    std::vector<Option> m_options;
    std::vector<std::string>* m_operands = nullptr;
    std::map<std::string, std::string>* m_otherOptions = nullptr;
};

/** The words of a command line after the program name. */
[[nodiscard]] std::vector<std::string> CommandLineWords(int argc, char** argv);

/** Prints "program: message" as one line on stderr. @return kExitUsage, for `return ReportUsageError(...)`. */
int ReportUsageError(std::string_view program, std::string_view message);

} // namespace tools
