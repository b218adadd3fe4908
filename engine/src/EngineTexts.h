#pragma once

// Diagnostic lines the engine leaves in the label text; callers show and compare them as they are.
namespace halvox::texts {

constexpr const char* kCannotOpenFile = "[HALVOX] Cannot open file! [%s]";
constexpr const char* kFileFormatError = "[HALVOX] File format error! [%s]";
constexpr const char* kCannotCreateFile = "[HALVOX] Cannot create file! [%s]";
constexpr const char* kDifferentPassword = "[SR] Different password!";
constexpr const char* kDifferentFromFirst = "[SR] Different from 1'st word! - %lf";
// Not a line of the classic engine: reported when the work memory cannot be made or no longer fits
// the parameters, instead of running over its buffers.
constexpr const char* kWorkMemoryError = "[HALVOX] Work memory error! [%s]";
// Not a line of the classic engine either: readings too uniform to give a user model (every frame alike).
constexpr const char* kTrainingError = "[HALVOX] Training error! [%s]";

} // namespace halvox::texts
