#pragma once

#include "bundle/BundleFormat.h"

#include <cstdint>
#include <functional>
#include <string>

namespace deskwarden::bundle {

/**
 * Writes one bundle in its order: preamble with the encrypted header and zero counters, folder records,
 * file records, then the counters again. Every write that fails leaves the writer failed; Close tells.
 */
class BundleWriter
{
public:
    BundleWriter() = default;
    ~BundleWriter();
    BundleWriter(const BundleWriter&) = delete;
    BundleWriter& operator=(const BundleWriter&) = delete;

    /** Creates (or truncates) `path`, owner only. */
    [[nodiscard]] bool Create(const std::string& path, std::string& error);
    [[nodiscard]] bool WritePreamble(const std::string& encryptedHeader, std::string& error);
    [[nodiscard]] bool WriteFolder(const std::string& name, const std::string& statusRecord, std::string& error);
    [[nodiscard]] bool WriteFileHead(const std::string& name, const std::string& statusRecord, std::uint32_t plainSize,
        std::uint32_t storedSize, std::string& error);
    /**
     * Appends the file at `path` in 4096-byte blocks, calling `afterBlock(copied)` after each; it returns
     * false to stop. @return false on an error (`error` set) or when stopped (`error` empty).
     */
    [[nodiscard]] bool AppendFile(
        const std::string& path, const std::function<bool(std::uint64_t)>& afterBlock, std::string& error);
    /** Writes the counters where the preamble left room and closes. */
    [[nodiscard]] bool Finish(const format::Counters& counters, std::string& error);

private:
    bool Write(const void* data, std::size_t size, std::string& error);

    int m_fd = -1;
    std::uint64_t m_countersAt = 0;
};

} // namespace deskwarden::bundle
