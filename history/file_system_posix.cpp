#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "file_system.h"

namespace history {

std::int64_t FileSystem::Size(std::FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    return ftello(file);
}

bool FileSystem::SeekTo(std::FILE* file, std::int64_t offset) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool FileSystem::Flush(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool FileSystem::Replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::Exists(const std::string& path) {
    struct stat info {};
    // Only a path that is plainly not there counts as missing; anything else may be a file we may not see.
    return stat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

std::int64_t FileSystem::ExclusiveSize(const std::string& path) {
    // POSIX has no share modes: a file that another process holds open is measured all the same.
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return 0;
    struct stat info {};
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return ok ? static_cast<std::int64_t>(info.st_size) : 0;
}

bool FileSystem::Copy(const std::string& from, const std::string& to) {
    // Into a new file beside the target, then in its place: a failed copy leaves the target alone.
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (in == nullptr)
        return false;
    const std::string temporary = to + ".copying";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        return false;
    }
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    std::size_t count = 0;
    while (ok && (count = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        ok = std::fwrite(buffer.data(), 1, count, out) == count;
    }
    ok = ok && !std::ferror(in);
    ok = FileSystem::Flush(out) && ok;
    ok = std::fclose(out) == 0 && ok;
    std::fclose(in);
    ok = ok && std::rename(temporary.c_str(), to.c_str()) == 0;
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}

// As the platform's read-only attribute: nobody may write, whatever the caller's own rights (a
// process of the superuser may write anything).
bool FileSystem::IsReadOnly(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

unsigned long FileSystem::LastError() {
    return static_cast<unsigned long>(errno);
}

}  // namespace history
