// The file operations of the history store, behind one seam so that tests can make any step fail.
// The default members are the real operations of the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace history {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::FILE* Open(const std::string& path, const char* mode);  // C stdio modes
    virtual bool Close(std::FILE* file);
    // The stream's size in bytes (seeks to the end), or -1.
    virtual std::int64_t Size(std::FILE* file);
    virtual bool SeekTo(std::FILE* file, std::int64_t offset);
    // Reads up to `size` bytes; gives how many were read.
    virtual std::size_t Read(std::FILE* file, void* data, std::size_t size);
    virtual bool Write(std::FILE* file, const void* data, std::size_t size);
    // Flushes the stream and asks the system to put its content on the disk.
    virtual bool Flush(std::FILE* file);
    // Puts `from` in the place of `to` in one step, replacing an existing `to`.
    virtual bool Replace(const std::string& from, const std::string& to);
    virtual bool Remove(const std::string& path);
    // Whether anything (a file or a folder) stands at the path.
    virtual bool Exists(const std::string& path);
    // Size of an existing file opened for reading with no sharing; 0 when it cannot be opened
    // (missing, or held open by another process where the platform can tell).
    virtual std::int64_t ExclusiveSize(const std::string& path);
    // Copies `from` over `to`, overwriting it.
    virtual bool Copy(const std::string& from, const std::string& to);
    // Whether the file at the path carries the read-only attribute (no write permission at all).
    virtual bool IsReadOnly(const std::string& path);
    // The system's error code of the call that failed last on this thread (GetLastError, errno);
    // read it right after the failure, before anything else is called.
    virtual unsigned long LastError();
};

// The platform's own file operations.
FileSystem& RealFileSystem();

// Gives `path` new content without ever leaving it half written: `write` fills the new file
// `fresh` (opened "wb" beside `path`), which is flushed, closed and put in the place of `path` in
// one step. On any failure `fresh` is removed, `path` keeps what it held, and the result is false;
// `error` (where given) is then the failing call's system error code, 0 when it is not known.
bool ReplaceWithNewFile(FileSystem& files, const std::string& path, const std::string& fresh,
                        const std::function<bool(std::FILE* file)>& write, unsigned long* error = nullptr);

}  // namespace history
