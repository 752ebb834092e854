#pragma once
// Where the program and the help viewer find a data file named without a directory (factor
// tables, sounds, the manual, the icon). No Qt here: a test calls it with directories of its own.
#include <filesystem>
#include <string>
#include <vector>

namespace tally {

struct DataLookup {
    std::filesystem::path found;              // empty when no candidate is a regular file
    std::vector<std::filesystem::path> tried; // every place looked at, in order
};

// A data file is named without a directory and is looked up, in this order:
//   1. the current directory;
//   2. <exeDir>/data/ (the build tree, where the data files are copied beside the program);
//   3. <exeDir>/../share/tallyroll/ (installed under a prefix).
// A name that carries a directory part (or is empty, "." or "..") is taken only as given,
// relative to the current directory: it never reaches into the program's data directories.
DataLookup findDataFile(const std::string& name, const std::filesystem::path& currentDir,
                        const std::filesystem::path& exeDir);

// The text of a failed lookup, for a message box and standard error:
// which file was wanted and every place it was looked for.
std::string notFoundText(const std::string& name, const DataLookup& lookup);

} // namespace tally
