#include "UserModelOutput.h"

#include "EnginePaths.h"
#include "EngineTexts.h"

namespace halvox {

UserModel UserModelHeaderFromContext(const EngineContext& context, bool male)
{
    UserModel model;
    model.userId = context.userId;
    model.wordText = context.wordText;
    model.code = std::string(context.wordCode).substr(0, kWordCodeLength);
    model.flags = UserModelFlags(male, context.noiseMode);
    model.dim = context.featureDim;
    model.states = context.hmmStates;
    return model;
}

bool WriteContextUserModel(EngineContext& context, const std::string& path, const UserModel& model)
{
    if (WriteUserModel(path, model) != ModelFileError::None) {
        SetLabel(context, texts::kCannotCreateFile, path);
        return false;
    }
    context.headerOut.versionMajor = kModelVersionMajor;
    context.headerOut.versionMinor = kModelVersionMinor;
    context.headerOut.headerLength = UserModelHeaderLength(model);
    context.headerOut.bodyLength = UserModelBodyLength(model.dim, model.codebookSize, model.states);
    return true;
}

std::string ContextUserModelPath(const EngineContext& context)
{
    return UserModelPath(context.folder, context.perUserFolders == 1, context.userId, context.wordCode);
}

} // namespace halvox
