#pragma once

#include <string>

namespace halvox {

// Where the engine's files live below the engine folder (which always ends in '/').
std::string BackgroundModelPath(const std::string& folder, int codebookSize, const std::string& code, bool male);
// The background model for a gender decision's value: 0 male, 1 female; any other value gives the
// name without a suffix, which no shipped file has.
std::string BackgroundModelPathForSex(const std::string& folder, int codebookSize, const std::string& code, int sex);
std::string RecordingModelPath(const std::string& folder, int codebookSize, const std::string& code, bool male);
std::string VocabularyModelPath(const std::string& folder, bool male);
std::string UserModelPath(
    const std::string& folder, bool perUserFolders, const std::string& userId, const std::string& code);

} // namespace halvox
