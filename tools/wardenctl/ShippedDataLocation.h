#pragma once

#include "Installation.h"

#include <filesystem>

// Where `wardenctl init` takes the shipped data from when no --data names it: an installed wardenctl finds
// them beside itself, one built in the tree takes the source tree's data and the slides the build drew.
namespace wardenctl::shipped_data_location {

/** The data folder of an installed suite: `<executable's folder>/../share/deskwarden`. */
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executable);

/**
 * The shipped data for the program at `executable`: the installed data folder when it exists, otherwise
 * `sourceData` with the slides from `builtSlides`.
 */
ShippedData DefaultShippedData(const std::filesystem::path& executable, const std::filesystem::path& sourceData,
    const std::filesystem::path& builtSlides);

/** The running program's own path (/proc/self/exe); empty when it cannot be read. */
std::filesystem::path OwnExecutable();

} // namespace wardenctl::shipped_data_location
