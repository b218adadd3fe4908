#pragma once

#include <string>

#include "EngineContext.h"
#include "ModelFiles.h"

namespace halvox {

/** A user model whose header carries the context's user ID, word text, word code and flags; body empty. */
UserModel UserModelHeaderFromContext(const EngineContext& context, bool male);

/**
 * Writes the user model and records its header in the context's output header. On failure returns false
 * with "[HALVOX] Cannot create file! [path]" in labelText; the file then stays as it was.
 */
bool WriteContextUserModel(EngineContext& context, const std::string& path, const UserModel& model);

/** The user model's path for the context's folder mode, user ID and word code. */
std::string ContextUserModelPath(const EngineContext& context);

} // namespace halvox
