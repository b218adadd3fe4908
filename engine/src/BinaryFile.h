#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace halvox {

/**
 * Reads a whole regular file. False when it cannot be opened, is not a regular file, is larger than
 * maxBytes or cannot be read completely.
 */
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>* bytes);

/**
 * Replaces the file at `path` with `bytes`: written to a temporary file beside it, flushed, then renamed
 * over it, so a failure part-way leaves the previous file intact. Creates no folders. False on any failure.
 */
bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace halvox
