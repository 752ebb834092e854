#include "files/diskfile.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tally {
namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

// A kept file must be the user's own regular file: not a link, a pipe, a device or another's.
bool ownRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

} // namespace

std::string sizeText(std::size_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " bytes";
}

Result<std::string> readWholeFile(const std::string& path, std::size_t limit, Links links) {
    const std::string notAFile = "it is not a file but a folder or a device";
    const std::string tooLarge = "it is larger than " + sizeText(limit);
    struct stat info {};
    // Looked at before opening: opening a pipe or a device may wait or have effects of its own.
    const bool follow = links == Links::Follow;
    if ((follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        return Failure{systemReason(errno)};
    if (!S_ISREG(info.st_mode) || (!follow && !ownRegularFile(info)))
        return Failure{notAFile};
    if (static_cast<std::uintmax_t>(info.st_size) > limit)
        return Failure{tooLarge};
    // O_NONBLOCK: should the name have become a pipe since, open() still returns at once.
    Descriptor in{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW))};
    if (in.fd < 0 || ::fstat(in.fd, &info) != 0)
        return Failure{systemReason(errno)};
    if (!S_ISREG(info.st_mode) || (!follow && !ownRegularFile(info)))
        return Failure{notAFile};
    // The file may grow while it is read: one byte past the limit is enough to know.
    std::string bytes(limit + 1, '\0');
    std::size_t got = 0;
    while (got < limit + 1) {
        const ssize_t n = ::read(in.fd, bytes.data() + got, limit + 1 - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure{systemReason(errno)};
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got > limit)
        return Failure{tooLarge};
    bytes.resize(got);
    return bytes;
}

Result<> replaceFile(const std::string& path, std::string_view bytes, Links links) {
    namespace fs = std::filesystem;
    // A link is followed, so the file it names is replaced and the link stays; a link to no file
    // yet makes that file.
    std::error_code ec;
    fs::path target(path);
    struct stat own {};
    // rename() itself never writes through a link: this refusal keeps a planted link in place.
    if (links == Links::Refuse && ::lstat(path.c_str(), &own) == 0 && !ownRegularFile(own))
        return Failure{"it is not a regular file of this user (a link, a pipe or another user's file)"};
    for (int hops = 0; links == Links::Follow && hops < 40 && fs::is_symlink(target, ec); ++hops) {
        const fs::path to = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = to.is_absolute() ? to : target.parent_path() / to;
    }
    if (target.filename().empty())
        return Failure{systemReason(EISDIR)};
    // Only a file the user may write is replaced: renaming over a read-only file, a device or a
    // pipe would put a regular file in its place and report success.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return Failure{"It is not a file but a folder, a device or a pipe, so nothing was written to it."};
    if (exists && ((old.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
        return Failure{"The file is read-only."};
    // Beside the target, so the rename stays on one file system and cannot fail half way.
    std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    Descriptor out{::mkstemp(temp.data())};
    if (out.fd < 0)
        return Failure{systemReason(errno)};
    auto fail = [&](int error) -> Result<> {
        ::close(out.release());
        ::unlink(temp.c_str());
        return Failure{systemReason(error)};
    };
    // The new file gets the old one's permissions, or what a newly created file would get.
    mode_t mode = 0;
    if (links == Links::Refuse) {
        mode = 0600;
    } else if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(out.fd, mode) != 0)
        return fail(errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(out.fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        written += static_cast<std::size_t>(n);
    }
    // A full disk or a lost network share may only show when the data goes to disk.
    if (::fsync(out.fd) != 0)
        return fail(errno);
    if (::close(out.release()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Failure{systemReason(error)};
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Failure{systemReason(error)};
    }
    // The new name outlasts a power cut only once the folder holding it is on disk too. The file is
    // already in place, so a folder that cannot be flushed (some file systems refuse) is no failure.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const Descriptor flushed{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (flushed.fd >= 0)
        (void)::fsync(flushed.fd);
    return Done{};
}

} // namespace tally
