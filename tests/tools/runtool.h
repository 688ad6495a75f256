// Runs quillet-conv as a child process and collects what it says.
#pragma once

#include <string>
#include <vector>

struct TToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

TToolRun RunTool(const std::vector<std::string>& args);
