#include <windows.h>

#include "module_path.h"

namespace history {

std::string RunningProgramPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();  // failed, or cut short
    return std::string(path, length);
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace history
