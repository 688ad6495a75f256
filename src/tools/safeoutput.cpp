// Temporary file, flush and rename for quillet-conv's output.
#include "safeoutput.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t FlushStep = 8 << 20;

std::runtime_error Failure(const std::string& what, const std::string& path, int err)
{
    return std::runtime_error(what + " \"" + path + "\": " + std::strerror(err));
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TSafeOutput::TSafeOutput(const std::string& target) : target_(target)
{
    mode_t mode = NewFileMode();
    struct stat st;
    bool exists = false;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            throw std::runtime_error("\"" + target + "\" exists and is not a regular file; it is left alone");
        exists = true;
        mode = st.st_mode & 07777;
        // Through a link the file it points at is replaced, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target.c_str(), resolved))
            target_ = resolved;
    }
    const std::size_t slash = target_.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = (slash == std::string::npos ? std::string() : dir) + "." + base + ".quillet-XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        throw Failure("cannot write beside", target, errno);
    temp_ = pattern;
    ::fchmod(fd_, mode);
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Keeps the owner where we may; an ordinary user cannot and keeps the file.
        [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);
    }
}

TSafeOutput::~TSafeOutput()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !temp_.empty())
        ::unlink(temp_.c_str());
}

void TSafeOutput::Write(std::span<const std::uint8_t> bytes)
{
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(fd_, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            throw Failure("cannot write", target_, errno);
        }
        p += w;
        left -= std::size_t(w);
        written_ += std::uint64_t(w);
    }
    // Starting the write-back of what is complete while the rest is still being made
    // leaves little for the final flush to wait for.
    if (written_ - flushStarted_ >= FlushStep) {
        ::sync_file_range(fd_, off64_t(flushStarted_), off64_t(written_ - flushStarted_), SYNC_FILE_RANGE_WRITE);
        flushStarted_ = written_;
    }
}

void TSafeOutput::Commit()
{
    if (::fsync(fd_) != 0)
        throw Failure("cannot write", target_, errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw Failure("cannot write", target_, errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        throw Failure("cannot replace", target_, errno);
    committed_ = true;
}
