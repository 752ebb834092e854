#include "core/datalookup.h"

#include <system_error>

namespace fs = std::filesystem;

namespace tally {

namespace {

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find('/') == std::string::npos;
}

bool isReadableCandidate(const fs::path& p) {
    std::error_code ec; // a path we may not stat is simply not a candidate
    return fs::is_regular_file(p, ec);
}

} // namespace

DataLookup findDataFile(const std::string& name, const fs::path& currentDir, const fs::path& exeDir) {
    DataLookup result;
    result.tried.push_back((currentDir / name).lexically_normal());
    if (isPlainFileName(name)) {
        result.tried.push_back((exeDir / "data" / name).lexically_normal());
        result.tried.push_back((exeDir / ".." / "share" / "tallyroll" / name).lexically_normal());
    }
    for (const fs::path& p : result.tried) {
        if (isReadableCandidate(p)) {
            result.found = p;
            break;
        }
    }
    return result;
}

std::string notFoundText(const std::string& name, const DataLookup& lookup) {
    std::string text = "The file \"" + name + "\" was not found.\nLooked for it as:";
    for (const fs::path& p : lookup.tried)
        text += "\n  " + p.string();
    return text;
}

} // namespace tally
