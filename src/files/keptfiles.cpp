#include "files/keptfiles.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "files/diskfile.h"

namespace tally {
namespace {

Failure systemFailure(int error) {
    return {std::generic_category().message(error)};
}

std::string pathOf(const std::string& folder, const std::string& stem, std::string_view suffix) {
    return folder + '/' + stem + std::string(suffix);
}

LocalTime localTime(std::time_t when) {
    std::tm t{};
    ::localtime_r(&when, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

// Whether the program of a session still runs: it holds its lock file locked until it ends, and
// the system lets go of the lock however it ends. A lock that can be taken is an ended session's.
bool lockHeld(const std::string& folder, const std::string& stem) {
    const int fd = ::open(pathOf(folder, stem, kLockSuffix).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// Removes a file only when it is the user's own regular file, never what a link points at.
void removeOwn(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
        ::unlink(path.c_str());
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

} // namespace

Result<> prepareStateFolder(const std::string& folder) {
    if (folder.empty())
        return Failure{"there is no home folder to keep it in"};
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return systemFailure(errno);
    // Opened, not looked up by name, so the checks and the change of mode meet the same folder.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOTDIR ? Failure{"it is a file, not a folder"} : systemFailure(errno);
    struct stat info {};
    Result<> result = Done{};
    if (::fstat(fd, &info) != 0)
        result = systemFailure(errno);
    else if (info.st_uid != ::geteuid())
        result = Failure{"the folder belongs to another user"};
    else if ((info.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        result = systemFailure(errno);
    ::close(fd);
    return result;
}

KeptSession::KeptSession(std::string folder) : folder_(std::move(folder)) {}

KeptSession::~KeptSession() {
    end();
}

Result<> KeptSession::start() {
    if (Result<> ready = prepareStateFolder(folder_); !ready)
        return ready;
    const LocalTime now = localTime(std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string stem = sessionStem(now, ::getpid(), attempt);
        struct stat info {};
        if (::lstat(pathOf(folder_, stem, kTapeSuffix).c_str(), &info) == 0)
            continue;
        const int fd = ::open(pathOf(folder_, stem, kLockSuffix).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return systemFailure(errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::unlink(pathOf(folder_, stem, kLockSuffix).c_str());
            ::close(fd);
            return systemFailure(error);
        }
        lock_ = fd;
        stem_ = stem;
        return Done{};
    }
    return systemFailure(EEXIST);
}

Result<> KeptSession::keep(std::string_view bytes) {
    if (lock_ < 0)
        if (Result<> started = start(); !started)
            return started;
    Result<> kept = bytes.size() > kLargestTapeFile
                        ? Failure{"the tape would make a file of " + std::to_string(bytes.size() / 1024) +
                                  " KiB, and a tape file holds at most " + sizeText(kLargestTapeFile)}
                        : replaceFile(pathOf(folder_, stem_, kTapeSuffix), bytes, Links::Refuse);
    if (!kept)
        forget();
    return kept;
}

void KeptSession::forget() {
    if (lock_ >= 0)
        removeOwn(pathOf(folder_, stem_, kTapeSuffix));
}

void KeptSession::end() {
    if (lock_ < 0)
        return;
    ::unlink(pathOf(folder_, stem_, kLockSuffix).c_str());
    ::close(lock_);
    lock_ = -1;
}

std::vector<KeptTape> readKeptTapes(const std::string& folder) {
    std::vector<KeptTape> tapes;
    struct stat info {};
    // Another user's folder is nobody's keeping place: nothing in it is read.
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return tapes;
    for (const std::string& name : namesIn(folder)) {
        const KeptName kept = keptName(name);
        const std::string path = folder + '/' + name;
        if (kept.kind != KeptName::Tape || ::lstat(path.c_str(), &info) != 0)
            continue;
        const Result<std::string> file = readWholeFile(path, kLargestTapeFile, Links::Refuse);
        const Result<std::vector<TapeLine>> tape = file ? decodeTape(*file) : Failure{file.reason()};
        if (!tape)
            continue;
        KeptTape t{kept.stem,
                   std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                   localTime(info.st_mtim.tv_sec),
                   int(tape->size()),
                   tape->empty() ? std::string() : tape->back().subtotal,
                   lockHeld(folder, kept.stem)};
        tapes.push_back(std::move(t));
    }
    return tapes;
}

Result<std::vector<TapeLine>> readKeptTape(const std::string& folder, const std::string& stem) {
    const Result<std::string> file = readWholeFile(pathOf(folder, stem, kTapeSuffix), kLargestTapeFile, Links::Refuse);
    if (!file)
        return Failure{file.reason()};
    return decodeTape(*file);
}

void pruneKeptTapes(const std::string& folder) {
    for (const std::string& stem : chooseKept(readKeptTapes(folder)).removed) {
        removeOwn(pathOf(folder, stem, kTapeSuffix));
        removeOwn(pathOf(folder, stem, kLockSuffix));
    }
    // The locks of sessions that ended before they kept anything, or without their lock's removal.
    struct stat info {};
    for (const std::string& name : namesIn(folder)) {
        const KeptName kept = keptName(name);
        if (kept.kind == KeptName::Lock && !lockHeld(folder, kept.stem) &&
            ::lstat(pathOf(folder, kept.stem, kTapeSuffix).c_str(), &info) != 0)
            removeOwn(folder + '/' + name);
    }
}

} // namespace tally
