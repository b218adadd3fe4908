#pragma once

#include "bundle/BundleHeader.h"

#include <cstdint>
#include <functional>
#include <string>

namespace deskwarden::bundle {

/** One folder or file record of a bundle, without its stored bytes. */
struct RecordInfo
{
    bool isFolder = false;
    std::string name; // as stored: '/' then the path inside the bundle; not yet checked (see EntryName.h)
    std::uint32_t plainSize = 0;
    std::uint32_t storedSize = 0;
    std::uint64_t dataOffset = 0; // where the stored bytes of a file begin
};

/** Turns the encrypted header text into the plain one. @return false when it does not decrypt. */
using HeaderDecryptor = std::function<bool(const std::string& encrypted, std::string& plain)>;

/**
 * Reads a bundle from front to back: the header first, then the folder records, then the file records, as
 * many of each as the counters say. Every length is checked against the size of the file before anything is
 * allocated or skipped, so a damaged bundle can neither make it read past its end nor allocate without
 * bound; bytes after the last record count as damage. Not for use from two threads at once.
 */
class BundleReader
{
public:
    BundleReader() = default;
    ~BundleReader();
    BundleReader(const BundleReader&) = delete;
    BundleReader& operator=(const BundleReader&) = delete;

    /** Opens `path` and reads its header under the process key. @return false with `error` set. */
    [[nodiscard]] bool Open(const std::string& path, std::string& error) noexcept;
    /** The same over an open descriptor (kept open, not closed) and another header decryption. */
    [[nodiscard]] bool Attach(int fd, const HeaderDecryptor& decrypt, std::string& error) noexcept;

    const BundleHeader& Header() const noexcept { return m_header; }

    /**
     * The next record; a file record's stored bytes are skipped unless CopyStored reads them first.
     * @return false at the end (`error` left empty) or on damage (`error` set; reading ends there).
     */
    [[nodiscard]] bool Next(RecordInfo& record, std::string& error) noexcept;

    /**
     * Hands the stored bytes of the file record last returned by Next to `sink` in blocks of at most 4096
     * bytes. `sink` returns false to stop. @return false with `error` set on a read error or when `sink`
     * stopped; the reader is then no longer usable.
     */
    [[nodiscard]] bool CopyStored(
        const std::function<bool(const char* data, std::size_t size)>& sink, std::string& error) noexcept;

private:
    bool ReadAt(std::uint64_t offset, void* data, std::size_t size, std::string& error) const;
    bool ReadRecord(RecordInfo& record, std::string& error);

    int m_fd = -1;
    bool m_ownsFd = false;
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0; // the next record
    std::uint32_t m_foldersLeft = 0;
    std::uint32_t m_filesLeft = 0;
    bool m_broken = false;
    RecordInfo m_current;
    BundleHeader m_header;
};

} // namespace deskwarden::bundle
