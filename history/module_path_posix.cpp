#include <unistd.h>

#include <vector>

#include "module_path.h"

namespace history {

std::string RunningProgramPath() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return std::string();
    return std::string(path.data(), static_cast<std::size_t>(length));
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace history
