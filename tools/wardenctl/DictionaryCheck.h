#pragma once

#include <string>

namespace wardenctl {

/** Whether `bytes` form a whole user dictionary whose every record deciphers; `problem` says where not. */
[[nodiscard]] bool IsSoundUserDictionary(const std::string& bytes, std::string& problem);

/** Whether `bytes` form whole voice slots whose in-use headers and section lengths fit their fields. */
[[nodiscard]] bool IsSoundVoiceDictionary(const std::string& bytes, std::string& problem);

} // namespace wardenctl
