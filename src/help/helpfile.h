#pragma once
// Where the help viewer finds the manual it is asked to show. No Qt here: a test calls it with
// directories of its own making.
#include <filesystem>
#include <string>
#include <vector>

namespace tally {

struct HelpLookup {
    std::filesystem::path found;              // empty when no candidate is a regular file
    std::vector<std::filesystem::path> tried; // every place looked at, in order
};

// The manual is named without a directory and is looked up, in this order:
//   1. the current directory;
//   2. <exeDir>/data/ (the build tree, where the data files are copied beside the program);
//   3. <exeDir>/../share/tallyroll/ (installed under a prefix).
// A name that carries a directory part (or is empty, "." or "..") is taken only as given,
// relative to the current directory: it never reaches into the program's data directories.
HelpLookup findHelpFile(const std::string& name, const std::filesystem::path& currentDir,
                        const std::filesystem::path& exeDir);

// The text of a failed lookup, for the message box and standard error:
// which file was wanted and every place it was looked for.
std::string helpNotFoundText(const std::string& name, const HelpLookup& lookup);

} // namespace tally
