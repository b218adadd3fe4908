#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ArgumentParser.h"
#include "Commands.h"

namespace halvox::tool {

// Exit statuses shared by the commands, those of every tool (ArgumentParser.h).
constexpr int kExitOk = tools::kExitOk;
constexpr int kExitDenied = tools::kExitFailed;
constexpr int kExitError = tools::kExitUsage;

// Reads a recording in the engine's input format; prints a clear error and returns false otherwise.
bool LoadRecording(const std::string& path, std::vector<int16_t>* samples);

// Prints "halvox: message" on stderr and returns kExitError (the tool's status for usage and other errors).
int UsageError(const std::string& message);

} // namespace halvox::tool
