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
                        const std::function<bool(std::FILE* file)>& write, unsigned long* error) {
    unsigned long failure = 0;
    // Notes the error of the first step that fails, before the clean-up calls overwrite it.
    const auto step = [&](bool ok) {
        if (!ok && failure == 0)
            failure = files.LastError();
        return ok;
    };
    std::FILE* out = files.Open(fresh, "wb");
    bool ok = step(out != nullptr);
    if (ok) {
        ok = step(write(out));
        ok = ok && step(files.Flush(out));
        ok = step(files.Close(out)) && ok;
        ok = ok && step(files.Replace(fresh, path));
        if (!ok)
            files.Remove(fresh);
    }
    if (error != nullptr)
        *error = ok ? 0 : failure;
    return ok;
}

FileSystem& RealFileSystem() {
    static FileSystem real;
    return real;
}

}  // namespace history
