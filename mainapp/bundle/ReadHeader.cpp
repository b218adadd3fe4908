#include "bundle/BundleHeader.h"
#include "bundle/BundleReader.h"

#include <platform/BoundaryGuard.h>

namespace deskwarden::bundle {

bool ReadHeader(const std::string& path, BundleHeader& header, std::string& error) noexcept
{
    return platform::Guarded(false, error, [&] {
        BundleReader reader;
        if (!reader.Open(path, error)) {
            return false;
        }
        header = reader.Header();
        return true;
    });
}

} // namespace deskwarden::bundle
