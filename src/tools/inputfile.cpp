// SPDX-License-Identifier: GPL-3.0-or-later
// Regular-file input for quillet-conv.
#include "inputfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

} // namespace

TInputFile::TInputFile(const std::string& path) : path_(path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        throw std::runtime_error("cannot read " + Quoted(path) + ": " + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw std::runtime_error(Quoted(path) + " is a folder, not a file");
    // A FIFO or a device could block or never end; only files are read.
    if (!S_ISREG(st.st_mode))
        throw std::runtime_error(Quoted(path) + " is not a regular file (a pipe, device or socket)");
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        throw std::runtime_error("cannot read " + Quoted(path) + ": " + std::strerror(errno));
}

TInputFile::~TInputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t TInputFile::Read(std::uint8_t* buf, std::size_t n)
{
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd_, buf + got, n - got);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("cannot read " + Quoted(path_) + ": " + std::strerror(errno));
        }
        if (r == 0)
            break;
        got += std::size_t(r);
    }
    return got;
}

TDetectResult DetectFile(const std::string& path)
{
    TInputFile file(path);
    // Read, not sized: a file whose size reads as 0 may hold data (/proc, /sys).
    std::vector<std::uint8_t> sample(DetectSampleSize);
    sample.resize(file.Read(sample.data(), sample.size()));
    return DetectEncoding(std::span<const std::uint8_t>(sample));
}
