#pragma once

// Diagnostic lines the engine leaves in the label text; callers show and compare them as they are.
namespace halvox::texts {

constexpr const char* kCannotOpenFile = "[HALVOX] Cannot open file! [%s]";
constexpr const char* kFileFormatError = "[HALVOX] File format error! [%s]";
constexpr const char* kCannotCreateFile = "[HALVOX] Cannot create file! [%s]";
constexpr const char* kDifferentPassword = "[SR] Different password!";
constexpr const char* kDifferentFromFirst = "[SR] Different from 1'st word! - %lf";
// The work memory, or the reading held in it, cannot serve the operation: none made yet, made for other
// parameters, a slot without frames, a reading that gives no frame or cannot be scored. The operation stops
// with this line rather than run past buffers sized for other parameters; the bracket names what was wrong.
constexpr const char* kWorkMemoryError = "[HALVOX] Work memory error! [%s]";
// Training or a model update could not make a user model from the readings, typically readings so uniform
// (every frame alike) that they give no codebook. The bracket names the step that failed; the stored model
// stays as it was rather than be replaced by one that could not be scored.
constexpr const char* kTrainingError = "[HALVOX] Training error! [%s]";

} // namespace halvox::texts
