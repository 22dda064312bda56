#include "record/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace gm {

namespace {

constexpr std::size_t buffer_limit = 1 << 16;

std::string reason(int error) { return std::strerror(error); }

std::string temporary_template(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return folder + "." + base + ".XXXXXX";
}

// mkstemp makes the temporary readable by its owner only; the finished file
// gets the permissions any new file of this user would have.
void give_usual_permissions(int fd)
{
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}

} // namespace

AtomicFile::AtomicFile(std::string name) : name_(std::move(name)), path_(name_)
{
    // Renaming over a link would replace the link itself with a plain file.
    struct stat link = {};
    char resolved[PATH_MAX];
    if (lstat(name_.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && realpath(name_.c_str(), resolved))
        path_ = resolved;
    struct stat existing = {};
    if (stat(path_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        if (S_ISDIR(existing.st_mode)) throw std::runtime_error("cannot write " + name_ + ": " + reason(EISDIR));
        fd_ = open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0) throw std::runtime_error("cannot write " + name_ + ": " + reason(errno));
        return;
    }
    std::string pattern = temporary_template(path_);
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    fd_ = mkostemp(path.data(), O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("cannot create " + name_ + ": " + reason(errno));
    temporary_ = path.data();
    give_usual_permissions(fd_);
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::write(const void* data, std::size_t size)
{
    buffer_.append(static_cast<const char*>(data), size);
    if (buffer_.size() >= buffer_limit) flush();
}

void AtomicFile::flush()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (written < 0 && errno == EINTR) continue; // a stop signal: the caller looks at it between frames
        if (written <= 0) fail(reason(written < 0 ? errno : EIO));
        done += static_cast<std::size_t>(written);
    }
    buffer_.clear();
}

void AtomicFile::fail(const std::string& what)
{
    discard();
    throw std::runtime_error("cannot write " + name_ + ": " + what);
}

void AtomicFile::commit()
{
    flush();
    // The data must be on disk before the name points at it, or a crash
    // right after the rename could leave an empty file under the final name.
    if (!temporary_.empty() && fsync(fd_) != 0) fail(reason(errno));
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) fail(reason(errno));
    if (!temporary_.empty() && rename(temporary_.c_str(), path_.c_str()) != 0) fail(reason(errno));
    temporary_.clear();
}

void AtomicFile::discard()
{
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
    buffer_.clear();
}

} // namespace gm
