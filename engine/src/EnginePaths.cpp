#include "EnginePaths.h"

namespace halvox {

namespace {

std::string WordFolder(const std::string& folder, int codebookSize)
{
    return folder + "word" + std::to_string(codebookSize) + "/";
}

} // namespace

std::string BackgroundModelPath(const std::string& folder, int codebookSize, const std::string& code, bool male)
{
    return WordFolder(folder, codebookSize) + code + (male ? "_m.bin" : "_f.bin");
}

std::string BackgroundModelPathForSex(const std::string& folder, int codebookSize, const std::string& code, int sex)
{
    if (sex == 0 || sex == 1)
        return BackgroundModelPath(folder, codebookSize, code, sex == 0);
    return WordFolder(folder, codebookSize) + code + ".bin";
}

std::string RecordingModelPath(const std::string& folder, int codebookSize, const std::string& code, bool male)
{
    return WordFolder(folder, codebookSize) + code + (male ? "_mcopy.bin" : "_fcopy.bin");
}

std::string VocabularyModelPath(const std::string& folder, bool male)
{
    return folder + "iwrec/" + (male ? "miwr.bin" : "fiwr.bin");
}

std::string UserModelPath(
    const std::string& folder, bool perUserFolders, const std::string& userId, const std::string& code)
{
    if (perUserFolders)
        return folder + "user/" + userId + "/" + code + ".bin";
    return folder + "work/" + code + ".bin";
}

} // namespace halvox
