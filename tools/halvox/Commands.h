#pragma once

#include <string>
#include <vector>

namespace halvox::tool {

using Arguments = std::vector<std::string>;

// Each command takes the arguments after its name and returns the process exit status.
int RunEndpoint(const Arguments& args);
int RunFeatures(const Arguments& args);
int RunModelInfo(const Arguments& args);
int RunEnrol(const Arguments& args);
int RunVerify(const Arguments& args);
int RunEval(const Arguments& args);
int RunFingerprint(const Arguments& args);

} // namespace halvox::tool
