#include "history_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "backup_pair.h"
#include "test_files.h"

namespace history {
namespace {

class HistoryStoreTest : public ::testing::Test {
protected:
    TempDir dir_;
    std::string live_ = dir_.Path("volume.hst");
    std::string backup_ = dir_.Path("volume.hst_backup");
    std::string fresh_ = dir_.Path("volume.hst.new");
    std::string backupFresh_ = dir_.Path("volume.hst_backup.new");
};

std::vector<DayRecord> LoadAll(const std::string& path) {
    HistoryStore store(path);
    EXPECT_TRUE(store.Load());
    return store.records;
}

TEST_F(HistoryStoreTest, LoadsWholeRecordsAndIgnoresATrailingFragment) {
    const std::vector<DayRecord> written = {Day(2004, 5, 7, 1.5e9, 2.5e8, 3600), Day(2003, 13, 2, -1, 0.25, 90000)};
    dir_.Write("volume.hst", RecordBytes(written) + "abcdef");  // 70 bytes
    const std::vector<DayRecord> read = LoadAll(live_);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].year, 2004);
    EXPECT_EQ(read[0].month, 5);
    EXPECT_EQ(read[0].day, 7);
    EXPECT_EQ(read[0].onlineSeconds, 3600);
    EXPECT_EQ(read[0].downloadBytes, 1.5e9);
    EXPECT_EQ(read[0].uploadBytes, 2.5e8);
    EXPECT_EQ(read[1].month, 13);
    EXPECT_EQ(read[1].onlineSeconds, 90000);
    EXPECT_EQ(read[1].downloadBytes, -1);
}

TEST_F(HistoryStoreTest, ReadsTheLittleEndianLayout) {
    std::string bytes(32, '\0');
    bytes[0] = '\xd4';  // 2004
    bytes[1] = '\x07';
    bytes[4] = 5;
    bytes[8] = 7;
    bytes[12] = '\xff';  // -1
    bytes[13] = '\xff';
    bytes[14] = '\xff';
    bytes[15] = '\xff';
    bytes[23] = '\x3f';  // 1.0: 3ff0000000000000
    bytes[22] = '\xf0';
    dir_.Write("volume.hst", bytes);
    const std::vector<DayRecord> read = LoadAll(live_);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].year, 2004);
    EXPECT_EQ(read[0].onlineSeconds, -1);
    EXPECT_EQ(read[0].downloadBytes, 1.0);
    EXPECT_EQ(read[0].uploadBytes, 0.0);
}

TEST_F(HistoryStoreTest, MissingFileIsCreatedEmptyAndNothingIsBackedUp) {
    HistoryStore store(live_);
    EXPECT_FALSE(FileExists(backup_));
    EXPECT_TRUE(store.Load());
    EXPECT_TRUE(store.records.empty());
    EXPECT_TRUE(FileExists(live_));
    EXPECT_EQ(ReadBytes(live_).size(), 0u);
}

TEST_F(HistoryStoreTest, FileThatCanBeNeitherOpenedNorCreatedLeavesTheStoreEmpty) {
    HistoryStore store(dir_.path() + "/no-such-folder/volume.hst");
    store.records.push_back(Day(2004, 1, 1));
    EXPECT_FALSE(store.Load());
    EXPECT_EQ(store.records.size(), 1u);  // unchanged
}

TEST_F(HistoryStoreTest, PathLongerThanItsSlotIsRefusedNotCut) {
    const std::string longPath = dir_.path() + "/" + std::string(300, 'v');
    HistoryStore store(longPath);
    EXPECT_FALSE(store.OpenFile());
    EXPECT_FALSE(store.Load());
    store.records.push_back(Day(2004, 1, 1));
    EXPECT_FALSE(store.Save());
}

TEST_F(HistoryStoreTest, BackupKeepsTheLargestStateSeen) {
    const std::string big = RecordBytes(std::vector<DayRecord>(20, Day(2004, 1, 1)));    // 640 bytes
    const std::string small = RecordBytes(std::vector<DayRecord>(10, Day(2005, 2, 2)));  // 320 bytes
    // Live larger: the backup becomes a copy once the live file has been read.
    dir_.Write("volume.hst", big);
    dir_.Write("volume.hst_backup", small);
    {
        HistoryStore store(live_);
        EXPECT_EQ(ReadBytes(backup_), small);
        ASSERT_TRUE(store.Load());
    }
    EXPECT_EQ(ReadBytes(backup_), big);
    // Live smaller: the backup is left alone.
    dir_.Write("volume.hst", small);
    LoadAll(live_);
    EXPECT_EQ(ReadBytes(backup_), big);
    // Equal sizes: left alone.
    const std::string other = RecordBytes(std::vector<DayRecord>(20, Day(2006, 3, 3)));
    dir_.Write("volume.hst", other);
    LoadAll(live_);
    EXPECT_EQ(ReadBytes(backup_), big);
    // No backup yet and a live file that is not empty: it is created, also by a read-only load.
    std::remove(backup_.c_str());
    HistoryStore reader(live_);
    EXPECT_EQ(reader.LoadForReading(), HistoryStore::ReadResult::kLoaded);
    EXPECT_EQ(ReadBytes(backup_), other);

    // A copy that fails half-way leaves the old backup whole.
    class FailingCopy : public FileSystem {
        bool Copy(const std::string& from, const std::string& to) override {
            std::FILE* half = std::fopen(to.c_str(), "wb");
            std::fputs("cut", half);
            std::fclose(half);
            (void)from;
            return false;
        }
    } failingCopy;
    dir_.Write("volume.hst", big + big);
    HistoryStore failing(live_, failingCopy);
    EXPECT_TRUE(failing.Load());
    EXPECT_EQ(ReadBytes(backup_), other);
    EXPECT_FALSE(FileExists(backupFresh_));
}

TEST_F(HistoryStoreTest, BackupPairRefusesEmptyPathsAndRestores) {
    EXPECT_FALSE(BackupPair("", backup_).UpdateBackup());
    EXPECT_FALSE(BackupPair(live_, "").UpdateBackup());
    BackupPair pair(live_, backup_);
    EXPECT_FALSE(pair.RestoreFromBackup());  // no backup to copy
    dir_.Write("volume.hst_backup", "backup content..");
    dir_.Write("volume.hst", "x");
    EXPECT_TRUE(pair.RestoreFromBackup());
    EXPECT_EQ(ReadBytes(live_), "backup content..");
}

TEST_F(HistoryStoreTest, DeletesCompareStoredFieldsAndKeepOrder) {
    const std::vector<DayRecord> records = {Day(2003, 13, 2), Day(2004, 5, 1), Day(2004, 1, 3),
                                            Day(2004, 5, 2),  Day(2005, 5, 1), Day(2004, 5, 1, 7)};
    {
        HistoryStore store(live_);
        store.records = records;
        ASSERT_TRUE(store.DeleteByMonth(2004, 5));
    }
    EXPECT_EQ(ReadBytes(live_), RecordBytes({records[0], records[2], records[4]}));
    {
        HistoryStore store(live_);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.DeleteByMonth(2004, 1));  // the stored month 13 of 2003 stays
    }
    EXPECT_EQ(ReadBytes(live_), RecordBytes({records[0], records[4]}));
    {
        HistoryStore store(live_);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.DeleteByDay(2003, 13, 2));
    }
    EXPECT_EQ(ReadBytes(live_), RecordBytes({records[4]}));
    {
        HistoryStore store(live_);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.DeleteByYear(2004));  // nothing matches: saved all the same
        EXPECT_EQ(store.records.size(), 1u);
        ASSERT_TRUE(store.DeleteByYear(2005));
    }
    EXPECT_EQ(ReadBytes(live_), "");
}

TEST_F(HistoryStoreTest, SaveDropsTheTrailingFragment) {
    dir_.Write("volume.hst", RecordBytes({Day(2004, 5, 1)}) + "xyz");
    HistoryStore store(live_);
    ASSERT_TRUE(store.Load());
    ASSERT_TRUE(store.DeleteByYear(1999));
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2004, 5, 1)}));
    EXPECT_FALSE(FileExists(fresh_));
}

TEST_F(HistoryStoreTest, SetDayVolumesChangesEveryRecordOfTheDate) {
    dir_.Write("volume.hst", RecordBytes({Day(2004, 5, 3, 1, 2, 100), Day(2004, 5, 4), Day(2004, 5, 3, 5, 6, 200)}));
    {
        HistoryStore store(live_);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(store.SetDayVolumes(2004, 5, 3, 3145728, 1048576));
    }
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2004, 5, 3, 3145728, 1048576, 100), Day(2004, 5, 4),
                                             Day(2004, 5, 3, 3145728, 1048576, 200)}));
    HistoryStore store(live_);
    ASSERT_TRUE(store.Load());
    DayTotals totals;
    ASSERT_TRUE(store.SumDay(CalendarDate(3, 5, 2004), totals));
    EXPECT_EQ(totals.downloadBytes, 2 * 3145728.0);
    EXPECT_EQ(totals.uploadBytes, 2 * 1048576.0);
    EXPECT_EQ(totals.onlineSeconds, 300);
}

TEST_F(HistoryStoreTest, SumDayNormalisesMonthsAndCountsOnlyWhatADayCanHold) {
    HistoryStore store(live_);
    const double nan = std::nan("");
    store.records = {Day(2003, 13, 2, 10, 1, 86400), Day(2004, 1, 2, 20, 2, -5),
                     Day(2004, 1, 2, 40, 4, 86399),  Day(2004, 1, 3, 80, 8, 10),
                     Day(2004, 1, 2, nan, -1, 1),    Day(2004, 1, 2, 1e300, 1e-310, 90000)};
    DayTotals totals;
    ASSERT_TRUE(store.SumDay(CalendarDate(2, 1, 2004), totals));
    EXPECT_EQ(totals.downloadBytes, 70);
    EXPECT_EQ(totals.uploadBytes, 7 + 1e-310);
    EXPECT_EQ(totals.onlineSeconds, 86400 + 86399 + 1);  // a full day online counts
    EXPECT_FALSE(store.SumDay(CalendarDate(4, 1, 2004), totals));
    EXPECT_EQ(totals.downloadBytes, 0);
}

TEST_F(HistoryStoreTest, CommandsActOnTheRecordsAtTheirPositions) {
    const std::vector<DayRecord> records = {Day(2003, 13, 2, 1, 1, 10), Day(2003, 12, 2), Day(2004, 1, 2, 2, 2, 20),
                                            Day(2005, 0, 31),           Day(2004, 1, 3),  Day(2003, 13, 2, 3, 3, 30)};
    const double seven = 7, eight = 8;
    struct Case {
        const char* what;
        std::function<bool(HistoryStore&)> command;
        std::vector<DayRecord> kept;
    } cases[] = {
        {"delete 0, 2, 5",
         [](HistoryStore& s) {
             return s.DeleteRecordsAt({0, 2, 5});
         },
         {records[1], records[3], records[4]}},
        {"delete none", [](HistoryStore& s) { return s.DeleteRecordsAt({}); }, records},
        {"delete past the end",
         [](HistoryStore& s) {
             return s.DeleteRecordsAt({5, 9});
         },
         {records[0], records[1], records[2], records[3], records[4]}},
        // The typed totals: the first record gets them, the others none.
        {"totals of 0, 2, 5",
         [&](HistoryStore& s) {
             return s.SetTotalsAt({0, 2, 5}, &seven, &eight);
         },
         {Day(2003, 13, 2, 7, 8, 10), records[1], Day(2004, 1, 2, 0, 0, 20), records[3], records[4],
          Day(2003, 13, 2, 0, 0, 30)}},
        // A column without a new total keeps its stored values.
        {"upload of 2, 5",
         [&](HistoryStore& s) {
             return s.SetTotalsAt({2, 5}, nullptr, &eight);
         },
         {records[0], records[1], Day(2004, 1, 2, 2, 8, 20), records[3], records[4], Day(2003, 13, 2, 3, 0, 30)}},
    };
    for (const Case& c : cases) {
        HistoryStore store(live_);
        store.records = records;
        ASSERT_TRUE(c.command(store)) << c.what;
        EXPECT_EQ(ReadBytes(live_), RecordBytes(c.kept)) << c.what;
    }
}

TEST_F(HistoryStoreTest, ReadingWithoutWriteAccess) {
    // A missing file is created empty, as OpenFile would; one that cannot be made leaves no records.
    HistoryStore missing(live_);
    missing.records.push_back(Day(2004, 1, 1));
    EXPECT_EQ(missing.LoadForReading(), HistoryStore::ReadResult::kLoaded);
    EXPECT_TRUE(missing.records.empty());
    EXPECT_TRUE(FileExists(live_));
    HistoryStore nowhere(dir_.path() + "/no-such-folder/volume.hst");
    EXPECT_EQ(nowhere.LoadForReading(), HistoryStore::ReadResult::kNotCreated);

    // Something that is there but cannot be read is told apart from a missing file, and kept.
    HistoryStore folder(dir_.path());
    folder.records.push_back(Day(2004, 1, 1));
    EXPECT_EQ(folder.LoadForReading(), HistoryStore::ReadResult::kUnreadable);
    EXPECT_EQ(folder.records.size(), 1u);
}

TEST_F(HistoryStoreTest, AFileThatShrinksWhileReadKeepsOnlyTheRecordsRead) {
    // The size says three blocks and a half; the reads end after one block and a half record.
    class ShrinkingFiles : public FileSystem {
    public:
        std::size_t Read(std::FILE* file, void* data, std::size_t size) override {
            const std::size_t allowed = reads_++ == 0 ? size : kDayRecordSize / 2;
            return FileSystem::Read(file, data, std::min(size, allowed));
        }

    private:
        int reads_ = 0;
    } files;
    std::vector<DayRecord> written;
    for (int i = 0; i < 7000; ++i)
        written.push_back(Day(2004, 1 + i % 12, 1 + i % 28));
    dir_.Write("volume.hst", RecordBytes(written));
    HistoryStore store(live_, files);
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(store.records.size(), 2048u);
    EXPECT_EQ(store.records.back().day, written[2047].day);
    for (const DayRecord& r : store.records)
        ASSERT_NE(r.year, 0) << "no zero-filled record is kept";
}

TEST_F(HistoryStoreTest, LeftoversOfAnInterruptedSaveOrRestoreAreReplaced) {
    dir_.Write("volume.hst", RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)}));
    dir_.Write("volume.hst.new", "half a record");
    HistoryStore store(live_);
    ASSERT_TRUE(store.Load());
    ASSERT_TRUE(store.DeleteByDay(2004, 5, 1));
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2004, 5, 2)}));
    EXPECT_FALSE(FileExists(fresh_));

    // A restore that cannot copy leaves the history as it was.
    class FailingCopy : public FileSystem {
        bool Copy(const std::string& from, const std::string& to) override {
            FileSystem::Copy(from, to);
            std::FILE* half = std::fopen(to.c_str(), "wb");
            std::fputs("cut", half);
            std::fclose(half);
            return false;
        }
    } failingCopy;
    dir_.Write("volume.hst_backup", RecordBytes({Day(2003, 1, 1)}));
    EXPECT_FALSE(BackupPair(live_, backup_, failingCopy).RestoreFromBackup());
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2004, 5, 2)}));
    EXPECT_FALSE(FileExists(fresh_));
    EXPECT_TRUE(BackupPair(live_, backup_).RestoreFromBackup());
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2003, 1, 1)}));
}

// A file system whose n-th call of one kind fails.
class FaultyFiles : public FileSystem {
public:
    enum Step { kOpenNew, kWrite, kFlush, kClose, kReplace };
    FaultyFiles(Step step, int failingCall) : step_(step), failing_(failingCall) {}

    std::FILE* Open(const std::string& path, const char* mode) override {
        if (std::string(mode) == "wb" && Fails(kOpenNew))
            return nullptr;
        return FileSystem::Open(path, mode);
    }
    bool Write(std::FILE* file, const void* data, std::size_t size) override {
        if (Fails(kWrite)) {
            FileSystem::Write(file, data, size / 2);  // a short write leaves half a block behind
            return false;
        }
        return FileSystem::Write(file, data, size);
    }
    bool Flush(std::FILE* file) override { return !Fails(kFlush) && FileSystem::Flush(file); }
    bool Close(std::FILE* file) override {
        const bool closed = FileSystem::Close(file);
        return !Fails(kClose) && closed;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return !Fails(kReplace) && FileSystem::Replace(from, to);
    }
    int calls(Step step) const { return counts_[step]; }

private:
    bool Fails(Step step) { return step == step_ && ++counts_[step] == failing_; }
    Step step_;
    int failing_;
    int counts_[5] = {};
};

TEST_F(HistoryStoreTest, FailedSaveKeepsTheOldFileAndTheRecords) {
    std::vector<DayRecord> old;
    for (int i = 0; i < 5000; ++i)
        old.push_back(Day(2000 + i / 365, 1 + i % 12, 1 + i % 28, i, i * 2.0, i));
    const std::string oldBytes = RecordBytes(old);
    struct Fault {
        FaultyFiles::Step step;
        int call;
    };
    // 5000 records go out in three blocks: each of the three writes fails in turn. The first
    // close is the one after loading; the second is the new file's.
    const Fault faults[] = {{FaultyFiles::kOpenNew, 1}, {FaultyFiles::kWrite, 1}, {FaultyFiles::kWrite, 2},
                            {FaultyFiles::kWrite, 3},   {FaultyFiles::kFlush, 1}, {FaultyFiles::kClose, 2},
                            {FaultyFiles::kReplace, 1}};
    for (const Fault& fault : faults) {
        dir_.Write("volume.hst", oldBytes);
        FaultyFiles files(fault.step, fault.call);
        HistoryStore store(live_, files);
        ASSERT_TRUE(store.Load());
        ASSERT_EQ(store.records.size(), old.size());
        EXPECT_FALSE(store.DeleteByYear(2001)) << fault.step << "/" << fault.call;
        EXPECT_EQ(files.calls(fault.step), fault.call) << "the fault was not reached";
        EXPECT_EQ(store.records.size(), old.size() - 365);  // kept in memory
        EXPECT_EQ(ReadBytes(live_), oldBytes) << fault.step << "/" << fault.call;
        EXPECT_FALSE(FileExists(fresh_));
        // The same store saves once the fault has passed.
        EXPECT_TRUE(store.Save());
        EXPECT_EQ(ReadBytes(live_).size(), (old.size() - 365) * kDayRecordSize);
    }
}

#ifndef _WIN32
TEST_F(HistoryStoreTest, FileTooLargeToBeAHistoryIsRefused) {
    // A sparse file one record past the limit: nothing is allocated for it, nothing is changed,
    // and the good, smaller backup is not overwritten by it.
    const off_t size = static_cast<off_t>((HistoryStore::kMaxRecords + 1) * kDayRecordSize);
    dir_.Write("volume.hst", "");
    const std::string good = RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)});
    dir_.Write("volume.hst_backup", good);
    ASSERT_EQ(truncate(live_.c_str(), size), 0);
    HistoryStore store(live_);
    store.records.push_back(Day(2004, 1, 1));
    EXPECT_FALSE(store.Load());
    EXPECT_EQ(store.records.size(), 1u);
    EXPECT_EQ(store.LoadForReading(), HistoryStore::ReadResult::kUnreadable);
    EXPECT_EQ(ReadBytes(backup_), good);
    std::vector<DayRecord> records;
    EXPECT_FALSE(ReadHistoryFile(live_, records));
    EXPECT_TRUE(records.empty());
}

TEST_F(HistoryStoreTest, NewFileThatCannotBeCreatedKeepsTheOldFile) {
    // Something that is no file stands where the new content would go.
    dir_.Write("volume.hst", RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)}));
    ASSERT_EQ(mkdir(fresh_.c_str(), 0755), 0);
    HistoryStore store(live_);
    ASSERT_TRUE(store.Load());
    EXPECT_FALSE(store.DeleteByDay(2004, 5, 1));
    EXPECT_EQ(store.lastError(), static_cast<unsigned long>(EISDIR));  // the cause, for the user
    EXPECT_EQ(store.records.size(), 1u);
    EXPECT_EQ(ReadBytes(live_), RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)}));
}

TEST_F(HistoryStoreTest, AWriteProtectedHistoryIsNeverReplaced) {
    // Also for a process that the system would let write it anyway.
    const std::string bytes = RecordBytes({Day(2004, 5, 1), Day(2004, 5, 2)});
    dir_.Write("volume.hst", bytes);
    dir_.Write("volume.hst_backup", RecordBytes({Day(2003, 1, 1)}));
    ASSERT_EQ(chmod(live_.c_str(), 0444), 0);
    HistoryStore store(live_);
    ASSERT_TRUE(store.Load());
    EXPECT_FALSE(store.DeleteByDay(2004, 5, 1));
    EXPECT_FALSE(BackupPair(live_, backup_).RestoreFromBackup());
    EXPECT_EQ(ReadBytes(live_), bytes);
    struct stat info {};
    ASSERT_EQ(stat(live_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    chmod(live_.c_str(), 0644);
}
#endif

TEST_F(HistoryStoreTest, ReadHistoryFileCreatesNothing) {
    std::vector<DayRecord> records = {Day(1, 1, 1)};
    EXPECT_FALSE(ReadHistoryFile(live_, records));
    EXPECT_EQ(records.size(), 1u);
    EXPECT_FALSE(FileExists(live_));
    EXPECT_FALSE(FileExists(backup_));
    dir_.Write("volume.hst", RecordBytes({Day(2004, 5, 1)}) + "12345");
    ASSERT_TRUE(ReadHistoryFile(live_, records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].day, 1);
    EXPECT_FALSE(FileExists(backup_));
    EXPECT_FALSE(ReadHistoryFile(dir_.path(), records)) << "a folder is no history";
}

}  // namespace
}  // namespace history
