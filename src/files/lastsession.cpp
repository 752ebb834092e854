#include "files/lastsession.h"

namespace tally {

namespace {
bool absolute(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

std::string withoutTrailingSlash(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path == "/" ? "" : path);
}
} // namespace

std::string stateFolder(std::string_view xdgStateHome, std::string_view home) {
    if (absolute(xdgStateHome))
        return withoutTrailingSlash(xdgStateHome) + "/tallyroll";
    if (absolute(home))
        return withoutTrailingSlash(home) + "/.local/state/tallyroll";
    return {};
}

} // namespace tally
