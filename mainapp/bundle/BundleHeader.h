#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace deskwarden::bundle {

/** A user allowed to open a bundle: his ID and his certificate key. */
struct AccessEntry
{
    std::string id;
    std::string key;

    bool operator==(const AccessEntry&) const = default;
};

/** Who may open a bundle, as the encrypted header holds it. */
struct HeaderValues
{
    std::string password; // empty: no file password
    AccessEntry owner;
    std::vector<AccessEntry> permitted;

    bool operator==(const HeaderValues&) const = default;
};

/** What the front of a bundle says: the magic, the version, the decrypted header and the four counters. */
struct BundleHeader
{
    std::string version; // "0100" as written; not compared
    HeaderValues values;
    std::uint32_t fileCount = 0;
    std::uint32_t folderCount = 0;
    std::uint32_t totalPlainBytes = 0;
    std::uint32_t totalStoredBytes = 0;
    std::uint64_t firstRecordOffset = 0; // where the folder records begin
};

/**
 * Reads the header of the bundle at `path` under the process key.
 * @return false with `error` set when the file cannot be read, its first 10 bytes are not the magic, a
 *         length runs past the end of the file, or the header does not decrypt or split into its parts.
 */
[[nodiscard]] bool ReadHeader(const std::string& path, BundleHeader& header, std::string& error) noexcept;

/**
 * Whether the user `id` with certificate key `key`, having entered `password`, may open the bundle: a set
 * file password must match exactly; then the user must be a permitted user or the owner, the ID compared
 * without regard to ASCII case and the key exactly. Fails closed: an empty ID or key is never allowed.
 */
bool CheckAccess(
    const BundleHeader& header, const std::string& id, const std::string& key, const std::string& password) noexcept;

} // namespace deskwarden::bundle
