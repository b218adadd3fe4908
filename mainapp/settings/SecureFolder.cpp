#include "settings/SecureFolder.h"

#include <filesystem>

namespace deskwarden::settings::secure_folder {

bool IsAcceptable(const std::string& text)
{
    return !text.empty() && text.front() == '/';
}

bool IsUsableChoice(const std::string& chosen)
{
    return IsAcceptable(chosen) && chosen.find_first_not_of('/') != std::string::npos;
}

bool Create(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path level;
    for (const fs::path& part : fs::path(folder)) {
        level /= part;
        if (!fs::is_directory(level, ec))
            fs::create_directory(level, ec);
    }
    return fs::is_directory(folder, ec);
}

} // namespace deskwarden::settings::secure_folder
