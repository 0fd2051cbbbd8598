// Temporary folders and files for tests; removed with their contents at the end of the scope.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif
#include <sys/stat.h>

#include "day_record.h"

namespace history {

class TempDir {
public:
    TempDir() {
        static int serial = 0;
        const char* base = std::getenv("TMPDIR");
#ifdef _WIN32
        if (base == nullptr)
            base = std::getenv("TEMP");
        path_ =
            std::string(base ? base : ".") + "\\histtest" + std::to_string(_getpid()) + "_" + std::to_string(serial++);
        _mkdir(path_.c_str());
#else
        path_ =
            std::string(base ? base : "/tmp") + "/histtest" + std::to_string(getpid()) + "_" + std::to_string(serial++);
        mkdir(path_.c_str(), 0755);
#endif
    }
    ~TempDir() {
        for (const std::string& file : files_)
            std::remove(file.c_str());
#ifdef _WIN32
        _rmdir(path_.c_str());
#else
        rmdir(path_.c_str());
#endif
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) {
#ifdef _WIN32
        const std::string path = path_ + "\\" + name;
#else
        const std::string path = path_ + "/" + name;
#endif
        files_.push_back(path);
        return path;
    }
    const std::string& path() const {
        return path_;
    }

    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

private:
    std::string path_;
    std::vector<std::string> files_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

inline std::string RecordBytes(const std::vector<DayRecord>& records) {
    std::string bytes(records.size() * kDayRecordSize, '\0');
    for (std::size_t i = 0; i < records.size(); ++i) {
        EncodeDayRecord(records[i], reinterpret_cast<unsigned char*>(&bytes[i * kDayRecordSize]));
    }
    return bytes;
}

inline DayRecord Day(int year, int month, int day, double download = 1000, double upload = 100, int seconds = 60) {
    DayRecord r;
    r.year = year;
    r.month = month;
    r.day = day;
    r.onlineSeconds = seconds;
    r.downloadBytes = download;
    r.uploadBytes = upload;
    return r;
}

}  // namespace history
