#pragma once
// Whole files in and out, for tape files, factor files and the manual alike. Reading takes only
// regular files and never more than a limit; writing replaces a file only once the new one is
// complete. Failures carry the system's own reason ("No space left on device").
#include <cstddef>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tally {

// How a name that is a link is taken. The files a user names follow their links; the program's own
// kept files never do: there a link, a file of another user or anything but a regular file is
// refused, never read through nor written over.
enum class Links {
    Follow,
    Refuse
};

// The whole file, if it is a regular file of at most `limit` bytes. Anything else (a folder, a
// named pipe, a device such as /dev/zero) is refused before a byte is read, and opening never
// waits on a pipe; at most limit + 1 bytes are ever read. Its bytes, or why not.
Result<std::string> readWholeFile(const std::string& path, std::size_t limit, Links links = Links::Follow);

// "1 MiB", "64 KiB", "100 bytes": a limit as the user is told it.
std::string sizeText(std::size_t bytes);

// Writes `bytes` into a new file beside `path` and renames it over `path` once every byte is on
// disk, then syncs the folder. A link is followed to the file it names. The new file keeps the old
// one's permissions, or takes those a new file gets (0666 less the umask). A target that is not a
// regular file (a folder, a device, a pipe) or that the user may not write (read-only) is refused
// untouched. On failure nothing is left behind, any old file is unchanged, and the reason is
// returned. With Links::Refuse a new file is readable by the user alone.
Result<> replaceFile(const std::string& path, std::string_view bytes, Links links = Links::Follow);

} // namespace tally
