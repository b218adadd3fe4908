#pragma once

#include "bundle/BundleHeader.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// What the committed golden bundles hold: the generator packs exactly this, and the test expects it back.
namespace deskwarden::test::golden {

struct GoldenFile
{
    std::string path; // below the packed folder
    std::string content;
};

inline std::string Pattern(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

/** The packed folder "tree": a text, a Japanese text, an empty file and a binary one two folders down. */
inline std::vector<GoldenFile> TreeFiles()
{
    return {{"tree/a.txt", "alpha\n"}, {"tree/docs/notes.txt", "暗号化ファイルの見本です。\n"}, {"tree/docs/empty", ""},
        {"tree/docs/deep/blob.bin", Pattern(10000, 7)}};
}

inline std::vector<std::string> TreeRecordNames()
{
    return {"/tree", "/tree/docs", "/tree/docs/deep", "/tree/a.txt", "/tree/docs/deep/blob.bin", "/tree/docs/empty",
        "/tree/docs/notes.txt"};
}

inline bundle::HeaderValues TreeHeader()
{
    return {
        "", {"golden-owner", "02:00:00:00:00:01golden-owner"}, {{"golden-reader", "02:00:00:00:00:01golden-reader"}}};
}

inline const GoldenFile& LoneFile()
{
    static const GoldenFile file {"lone.txt", "only with the password\n"};
    return file;
}

inline bundle::HeaderValues LoneHeader()
{
    return {"sesame", {"golden-owner", "02:00:00:00:00:01golden-owner"}, {}};
}

inline void WriteFiles(const std::filesystem::path& folder, const std::vector<GoldenFile>& files)
{
    for (const auto& file : files) {
        std::filesystem::create_directories((folder / file.path).parent_path());
        std::ofstream(folder / file.path, std::ios::binary) << file.content;
    }
}

} // namespace deskwarden::test::golden
