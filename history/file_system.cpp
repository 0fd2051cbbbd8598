#include "file_system.h"

namespace history {

std::FILE* FileSystem::Open(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool FileSystem::Close(std::FILE* file) {
    return std::fclose(file) == 0;
}

std::size_t FileSystem::Read(std::FILE* file, void* data, std::size_t size) {
    return std::fread(data, 1, size, file);
}

bool FileSystem::Write(std::FILE* file, const void* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

bool FileSystem::Remove(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool ReplaceWithNewFile(FileSystem& files, const std::string& path, const std::string& fresh,
                        const std::function<bool(std::FILE* file)>& write) {
    std::FILE* out = files.Open(fresh, "wb");
    if (out == nullptr)
        return false;
    bool ok = write(out);
    ok = ok && files.Flush(out);
    ok = files.Close(out) && ok;
    ok = ok && files.Replace(fresh, path);
    if (!ok)
        files.Remove(fresh);
    return ok;
}

FileSystem& RealFileSystem() {
    static FileSystem real;
    return real;
}

}  // namespace history
