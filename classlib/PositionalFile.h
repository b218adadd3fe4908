#pragma once

#include <cstdint>
#include <string>

namespace talk {

/**
 * An open file read and written at explicit offsets (pread/pwrite), closed by the destructor.
 * Every operation reports failure through its result and a readable reason; nothing throws.
 */
class PositionalFile
{
public:
    enum class Mode
    {
        Read, // existing file, reading only
        ReadWrite, // existing file, no truncation
        CreateTruncate // created when missing, emptied when present
    };

    PositionalFile(const std::string& path, Mode mode) noexcept;
    ~PositionalFile();
    PositionalFile(const PositionalFile&) = delete;
    PositionalFile& operator=(const PositionalFile&) = delete;

    bool IsOpen() const noexcept { return m_fd >= 0; }
    const std::string& ErrorText() const noexcept { return m_error; }

    /** Current length in bytes; 0 with an error text when it cannot be had. */
    std::uint64_t Size() noexcept;

    /** Reads exactly `size` bytes at `offset`; false when fewer are there or reading fails. */
    [[nodiscard]] bool ReadAt(std::uint64_t offset, void* data, std::size_t size) noexcept;

    /** Writes all `size` bytes at `offset`. */
    [[nodiscard]] bool WriteAt(std::uint64_t offset, const void* data, std::size_t size) noexcept;

    /** Sets the length; new bytes read as zeros. */
    [[nodiscard]] bool Resize(std::uint64_t length) noexcept;

private:
    bool Fail(const char* what) noexcept;

    int m_fd = -1;
    std::string m_path;
    std::string m_error;
};

} // namespace talk
