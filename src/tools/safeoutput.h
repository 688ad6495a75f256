// Writes a file so that it appears whole or not at all: into a temporary file
// beside the target, flushed, then renamed over it with the old file's permissions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class TSafeOutput {
public:
    // Throws std::runtime_error with a message for people when the target is no
    // regular file or the temporary file cannot be made.
    explicit TSafeOutput(const std::string& target);
    ~TSafeOutput();
    TSafeOutput(const TSafeOutput&) = delete;
    TSafeOutput& operator=(const TSafeOutput&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    // Flushes and puts the file in place; until then the target is untouched.
    void Commit();

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t flushStarted_ = 0;
};
