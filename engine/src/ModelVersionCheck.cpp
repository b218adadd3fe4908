#include "ModelVersionCheck.h"

#include <cstring>

#include "EnginePaths.h"
#include "EngineTexts.h"
#include "ModelFiles.h"

namespace halvox {

int ModelVersionCheck(EngineContext& context, int* major, int* minor)
{
    const std::string path
        = UserModelPath(context.folder, context.perUserFolders != 0, context.userId, context.wordCode);
    UserModel model;
    switch (ReadUserModelHeader(path, &model)) {
    case ModelFileError::None:
        break;
    case ModelFileError::FormatError:
        SetLabel(context, texts::kFileFormatError, path);
        return 0;
    default:
        SetLabel(context, texts::kCannotOpenFile, path);
        return 0;
    }
    std::memcpy(context.headerIn.magic, "SLfmt ", 6);
    context.headerIn.headerLength = model.headerLength;
    context.headerIn.bodyLength = model.bodyLength;
    context.headerIn.versionMajor = model.versionMajor;
    context.headerIn.versionMinor = model.versionMinor;
    if (major != nullptr)
        *major = model.versionMajor;
    if (minor != nullptr)
        *minor = model.versionMinor;
    return 1;
}

} // namespace halvox
