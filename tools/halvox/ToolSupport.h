#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Commands.h"

namespace halvox::tool {

// Exit statuses shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitDenied = 1;
constexpr int kExitError = 2;

// Reads a recording in the engine's input format; prints a clear error and returns false otherwise.
bool LoadRecording(const std::string& path, std::vector<int16_t>* samples);

// Splits arguments into --flags and plain operands; unknown flags are an error.
struct ParsedArguments
{
    std::vector<std::string> operands;
    std::vector<std::string> flags;
    bool Has(const std::string& flag) const;
};
bool ParseArguments(const Arguments& args, const std::vector<std::string>& knownFlags, ParsedArguments* parsed);

int UsageError(const std::string& message);

} // namespace halvox::tool
