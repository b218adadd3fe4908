#pragma once

#include <string>

namespace modelbuild {

/**
 * Copies the shipped engine data (a folder holding word<K>/ and iwrec/, such as data/engine) into an engine
 * folder, overwriting older copies of those files, and creates the folder's user/ and work/ subfolders,
 * which the engine itself never creates. User models already in the folder are left alone.
 *
 * @return false with a message when the source lacks the model folders or a copy fails.
 */
bool InstallEngineData(const std::string& sourceFolder, const std::string& engineFolder, std::string& error);

} // namespace modelbuild
