#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace deskwarden::files {

/** One row of the main window's file list. */
struct FileItem
{
    std::string name; // the last component of the path
    std::string fullPath;
    std::uint32_t size = 0; // bytes; 0 for folders
    std::time_t lastWrite = 0;
    bool isFolder = false;
    bool isValidBundle = false;
    bool marked = false;
    std::string remarks; // shown in the fourth column
    std::string spare1;
    std::string spare2;
};

} // namespace deskwarden::files
