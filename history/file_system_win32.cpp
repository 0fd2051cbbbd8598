#include <windows.h>

#include <io.h>

#include <cstdio>

#include "file_system.h"

namespace history {

std::int64_t FileSystem::Size(std::FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    return _ftelli64(file);
}

bool FileSystem::SeekTo(std::FILE* file, std::int64_t offset) {
    return _fseeki64(file, offset, SEEK_SET) == 0;
}

bool FileSystem::Flush(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool FileSystem::Replace(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileSystem::Exists(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    // Only a path that is plainly not there counts as missing; anything else may be a file we may not see.
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

std::int64_t FileSystem::ExclusiveSize(const std::string& path) {
    // No sharing: a file that the monitor holds open cannot be opened and counts as empty.
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size{};
    const BOOL ok = GetFileSizeEx(file, &size);
    CloseHandle(file);
    return ok ? static_cast<std::int64_t>(size.QuadPart) : 0;
}

bool FileSystem::Copy(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool FileSystem::IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

unsigned long FileSystem::LastError() {
    return GetLastError();
}

}  // namespace history
