#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace warden::test {

// A temporary folder of this test process alone, made on first use and removed when the process
// ends. ctest runs every test in a process of its own, several at once: a fixed folder in the build
// tree would be shared, and one test's set-up would remove another's files.
inline const std::filesystem::path& ProcessScratchFolder()
{
    struct Folder
    {
        Folder()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "warden-test-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr)
                path = pattern;
        }
        ~Folder()
        {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(path, ignored);
        }
        std::filesystem::path path;
    };
    static const Folder folder;
    return folder.path;
}

} // namespace warden::test
