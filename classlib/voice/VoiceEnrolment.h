#pragma once

#include <string>

class CAppUserDic;
class CAppUserVoiceDic;

namespace talk::voice {

/**
 * Keeps a word that the voice dialog has just enrolled (and the model test confirmed) for a user who is
 * already in the user dictionary: adds `nick` to his voice list (unless it is there), gives him a slot in
 * the voice dictionary when he has none, copies the trained model from the work folder into his section
 * and deletes the work-folder model file. The main program, the logon set-up and the tools all call this,
 * so a word is never in the list without its model.
 *
 * @return true; false with the reason in `error` when a step fails (the work-folder file is kept then,
 *         so that the caller may retry). Never throws.
 */
bool StoreEnrolledVoice(CAppUserDic& users, CAppUserVoiceDic& voices, const std::string& id, const std::string& nick,
    std::string& error) noexcept;

} // namespace talk::voice
