// quillet-conv's subcommands; each takes the arguments after its name and answers
// the exit status: 0 done, 1 a file could not be handled, 2 a wrong command line.
#pragma once

#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

int RunDetect(const TArgs& args);
int RunConvert(const TArgs& args);
int RunTables(const TArgs& args);
int RunText(const TArgs& args);

// Writes "quillet-conv: message" to stderr.
void Complain(const std::string& message);
// A usage error: the complaint and where to find help; answers 2.
int UsageError(const std::string& message, const char* command);
