#include "files/DataFileIo.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor once, on every path.
class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    // False when the close reported an error (for a written file: data lost).
    bool Close()
    {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        // After EINTR the descriptor is gone on Linux; the data may not be.
        return result == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens a new, exclusive temporary file in the directory, hidden and named
// after the target so that a leftover is recognisable.
int CreateTemporary(const std::string& directory, const std::string& base, std::string& tempPath)
{
    // Room for the prefix and suffix within the 255 bytes of a file name.
    const std::string stem = base.substr(0, 200);
    std::random_device seed;
    std::mt19937_64 random(seed());
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int k = 0; k < 8; ++k)
            suffix += alphabet[random() % (sizeof alphabet - 1)];
        tempPath = directory + "/." + stem + "." + suffix + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

}  // namespace

bool WriteFileReplacing(const QString& path, const QByteArray& bytes)
{
    std::string target = QFile::encodeName(path).toStdString();
    if (target.empty() || target.back() == '/')
        return false;

    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // Replace the file the link names, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target.c_str(), resolved))
            target = resolved;
    }

    struct stat old {};
    bool exists = false;
    if (::stat(target.c_str(), &old) == 0) {
        exists = true;
        if (!S_ISREG(old.st_mode))
            return false;
        // A read-only file stays as it is, also for a user whom the system
        // would let write it anyway.
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return false;
    } else if (errno != ENOENT) {
        return false;
    }

    std::string tempPath;
    TFd fd(CreateTemporary(DirectoryOf(target), BaseNameOf(target), tempPath));
    if (fd.Get() < 0)
        return false;

    bool ok = true;
    if (exists) {
        ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
        // Keep the owner where permitted; a file of another user becomes ours otherwise.
        const int owned = ::fchown(fd.Get(), old.st_uid, old.st_gid);
        (void)owned;
    }
    ok = ok && WriteAll(fd.Get(), bytes.constData(), std::size_t(bytes.size()));
    ok = ok && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }

    // Make the new directory entry durable too; the file is in place already.
    TFd dir(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return true;
}

TReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    const std::string name = QFile::encodeName(path).toStdString();
    if (name.empty())
        return TReadOutcome::CannotOpen;
    // Non-blocking, so that a named pipe without writer does not hang the open.
    TFd fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0)
        return TReadOutcome::CannotOpen;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return TReadOutcome::CannotOpen;
    if (info.st_size > MaxDataFileSize)
        return TReadOutcome::ReadError;

    QByteArray data;
    data.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return TReadOutcome::ReadError;
        }
        if (got == 0)
            break;
        // The file may grow while it is read.
        if (data.size() + got > MaxDataFileSize)
            return TReadOutcome::ReadError;
        data.append(chunk, qsizetype(got));
    }
    bytes = std::move(data);
    return TReadOutcome::Ok;
}
