// The full path of the running program, as the system gives it.
#pragma once

#include <string>

namespace history {

// Empty when the system cannot tell. On Windows at most MAX_PATH (260) characters.
std::string RunningProgramPath();

// The folder part of a path, up to and including its last separator ('\\', or '/' off Windows).
std::string FolderOfPath(const std::string& path);

}  // namespace history
