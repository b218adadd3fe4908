// The README's "Environment variables" table and the table in platform/Environment.h must say the same,
// and no other source of the suite may read the environment.
#include "TestRoot.h"

#include <platform/Environment.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct DocumentedRow
{
    std::string name;
    std::string defaultValue;
    std::string meaning;
};

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Cells(const std::string& row)
{
    std::vector<std::string> cells;
    std::stringstream in(row.substr(1, row.size() - 2));
    for (std::string cell; std::getline(in, cell, '|');) {
        cells.push_back(Trimmed(cell));
    }
    return cells;
}

std::string WithoutBackquotes(std::string text)
{
    if (text.size() >= 2 && text.front() == '`' && text.back() == '`') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// The rows of the table below the heading "## Environment variables", header and rule left out.
std::vector<DocumentedRow> ReadmeRows(const std::string& readme)
{
    std::vector<DocumentedRow> rows;
    const std::string heading = "\n## Environment variables\n";
    const std::size_t section = readme.find(heading);
    if (section == std::string::npos) {
        return rows;
    }
    std::stringstream in(readme.substr(section + heading.size()));
    std::string line;
    bool inTable = false;
    int skipped = 0;
    while (std::getline(in, line) && line.rfind("## ", 0) != 0) {
        if (line.size() < 2 || line.front() != '|' || line.back() != '|') {
            if (inTable) {
                break;
            }
            continue;
        }
        inTable = true;
        if (skipped++ < 2) {
            continue;
        }
        const std::vector<std::string> cells = Cells(line);
        rows.push_back({WithoutBackquotes(cells.size() > 0 ? cells[0] : ""), cells.size() > 1 ? cells[1] : "",
            cells.size() > 2 ? cells[2] : ""});
        EXPECT_EQ(cells.size(), 3U) << line;
    }
    return rows;
}

TEST(EnvironmentDocumentationTest, TheReadmeTableListsEveryVariableAsTheCodeDoes)
{
    const std::string readme = platform_test::ReadFile(std::filesystem::path(WARDEN_SOURCE_DIR) / "README.md");
    ASSERT_FALSE(readme.empty()) << "README.md not found below " << WARDEN_SOURCE_DIR;
    const std::vector<DocumentedRow> documented = ReadmeRows(readme);
    const auto variables = EnvironmentVariables();

    ASSERT_EQ(documented.size(), variables.size()) << "the README lists another number of variables";
    for (std::size_t i = 0; i < variables.size(); ++i) {
        SCOPED_TRACE(std::string(variables[i].name));
        EXPECT_EQ(documented[i].name, variables[i].name);
        EXPECT_EQ(documented[i].defaultValue, variables[i].defaultValue);
        EXPECT_EQ(documented[i].meaning, variables[i].meaning);
    }
}

/** True when `code` calls getenv; the PAM environment's pam_getenv is the login stack's, not the process's. */
bool ReadsProcessEnvironment(std::string code)
{
    for (std::size_t at = code.find("pam_getenv"); at != std::string::npos; at = code.find("pam_getenv", at))
        code.erase(at, std::string("pam_getenv").size());
    return code.find("getenv") != std::string::npos;
}

TEST(EnvironmentDocumentationTest, OnlyTheEnvironmentModuleReadsTheEnvironment)
{
    namespace fs = std::filesystem;
    const fs::path source(WARDEN_SOURCE_DIR);
    const fs::path reader = source / "platform" / "Environment.cpp";
    std::vector<std::string> readers;
    for (const char* folder :
        {"engine", "cipher", "platform", "classlib", "mainapp", "logonplugin", "screensaver", "tools"}) {
        if (!fs::is_directory(source / folder)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source / folder)) {
            const fs::path& path = entry.path();
            const bool code = path.extension() == ".cpp" || path.extension() == ".h";
            if (code && path != reader && ReadsProcessEnvironment(platform_test::ReadFile(path))) {
                readers.push_back(fs::relative(path, source).string());
            }
        }
    }
    EXPECT_TRUE(readers.empty()) << "read the environment through platform/Environment.h instead: "
                                 << ::testing::PrintToString(readers);
}

} // namespace
