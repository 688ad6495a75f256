// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-conv's subcommands; each takes the arguments after its name and answers
// the exit status: 0 done, 1 a file could not be handled, 2 a wrong command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

int RunDetect(const TArgs& args);
int RunConvert(const TArgs& args);
int RunTables(const TArgs& args);
int RunText(const TArgs& args);
int RunRecover(const TArgs& args);

// Writes "quillet-conv: message" to stderr.
void Complain(const std::string& message);
// Says how many byte sequences of a UTF-8 file were not UTF-8, when any were.
void ComplainInvalidUtf8(const std::string& fileName, std::uint64_t count);
// A usage error: the complaint and where to find help; answers 2.
int UsageError(const std::string& message, const char* command);
