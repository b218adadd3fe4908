// libFuzzer target: the bundle reader over any bytes. The header is taken as plain text (a fuzzer cannot
// forge the check value of an encrypted one), so the fuzzer reaches the header's parts and every record.
// Besides the sanitizers' findings it stops on a broken promise of the reader: a record whose stored
// bytes are not all handed over, or a name that passes the check and still leads out of the folder.
#include "bundle/BundleReader.h"
#include "bundle/EntryName.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

namespace bundle = deskwarden::bundle;

bool PlainHeader(const std::string& encrypted, std::string& plain)
{
    plain = encrypted;
    return true;
}

void CheckName(const std::string& name)
{
    std::vector<std::string> components;
    if (!bundle::entry_name::Split(name, components)) {
        return;
    }
    for (const auto& component : components) {
        if (component.empty() || component == "." || component == ".." || component.find('/') != std::string::npos) {
            std::abort();
        }
    }
}

void ReadAll(int fd)
{
    bundle::BundleReader reader;
    std::string error;
    if (!reader.Attach(fd, PlainHeader, error)) {
        return;
    }
    bundle::RecordInfo record;
    while (reader.Next(record, error)) {
        CheckName(record.name);
        if (record.isFolder) {
            continue;
        }
        std::uint64_t handed = 0;
        const bool copied = reader.CopyStored(
            [&](const char*, std::size_t size) {
                handed += size;
                return true;
            },
            error);
        if (!copied || handed != record.storedSize) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::memfd_create("bundle", MFD_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    if (::write(fd, data, size) == static_cast<ssize_t>(size)) {
        ReadAll(fd);
    }
    ::close(fd);
    return 0;
}
