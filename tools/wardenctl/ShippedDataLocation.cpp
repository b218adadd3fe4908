#include "ShippedDataLocation.h"

namespace wardenctl::shipped_data_location {

namespace fs = std::filesystem;

fs::path InstalledDataFolder(const fs::path& executable)
{
    return (executable.parent_path() / ".." / "share" / "deskwarden").lexically_normal();
}

ShippedData DefaultShippedData(const fs::path& executable, const fs::path& sourceData, const fs::path& builtSlides)
{
    std::error_code ec;
    const fs::path installed = InstalledDataFolder(executable);
    if (!executable.empty() && fs::is_directory(installed, ec)) {
        return ShippedDataIn(installed);
    }
    ShippedData data = ShippedDataIn(sourceData);
    data.images = builtSlides;
    return data;
}

fs::path OwnExecutable()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

} // namespace wardenctl::shipped_data_location
