// The version resources of the three deliverables, read as Windows reads them for a file's
// properties: version 1.2, and the same texts in German and in English.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A file of this build, given relative to the build folder (the parent of this program's folder).
std::wstring BuildFile(const std::wstring& relative) {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    for (int parts = 0; parts < 2; ++parts)
        path.erase(path.find_last_of(L"\\/"));
    return path + L"\\" + relative;
}

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& file) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        if (size == 0)
            return;
        data_.resize(size);
        if (!GetFileVersionInfoW(file.c_str(), 0, size, data_.data()))
            data_.clear();
    }
    bool ok() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        void* value = nullptr;
        UINT size = 0;
        if (!ok() || !VerQueryValueW(data_.data(), L"\\", &value, &size) || size < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }
    std::vector<WORD> Translations() const {
        void* value = nullptr;
        UINT size = 0;
        if (!ok() || !VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &size))
            return {};
        const auto* words = static_cast<const WORD*>(value);
        return std::vector<WORD>(words, words + size / sizeof(WORD));
    }
    // A text of the block for a language and code page, such as "040704e4"; "(none)" when absent.
    std::wstring Text(const std::wstring& block, const std::wstring& name) const {
        void* value = nullptr;
        UINT size = 0;
        const std::wstring path = L"\\StringFileInfo\\" + block + L"\\" + name;
        if (!ok() || !VerQueryValueW(data_.data(), path.c_str(), &value, &size) || size == 0)
            return L"(none)";
        return static_cast<const wchar_t*>(value);
    }

private:
    std::vector<BYTE> data_;
};

struct Deliverable {
    const wchar_t* file;
    DWORD type;
    const wchar_t* internalName;
    const wchar_t* fileName;
    const wchar_t* germanDescription;
    const wchar_t* englishDescription;
};

const Deliverable kDeliverables[] = {
    {L"viewer\\histview.exe", VFT_APP, L"histview", L"histview.exe", L"Lumetra Pro Verlaufsdaten-Anzeige",
     L"Lumetra Pro Historical Data Viewer"},
    {L"linkwait\\linkwait.exe", VFT_APP, L"linkwait", L"linkwait.exe", L"Lumetra Pro Verbindungs\u00fcberwachung",
     L"Lumetra Pro Connection Watcher"},
    {L"rtprobe\\rtprobe.dll", VFT_DLL, L"rtprobe", L"rtprobe.dll", L"Lumetra Pro SNMP-Routerabfrage",
     L"Lumetra Pro SNMP Router Query"},
};

TEST(VersionResources, EachDeliverableIsVersion12InGermanAndEnglish) {
    for (const Deliverable& d : kDeliverables) {
        SCOPED_TRACE(testing::Message() << std::string(d.fileName, d.fileName + wcslen(d.fileName)));
        const VersionInfo info(BuildFile(d.file));
        ASSERT_TRUE(info.ok());

        const VS_FIXEDFILEINFO* fixed = info.Fixed();
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileType, d.type);
        EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flags";

        EXPECT_EQ(info.Translations(), (std::vector<WORD>{0x407, 1252, 0x409, 1252}));

        const struct {
            const wchar_t* block;
            const wchar_t* description;
        } languages[] = {{L"040704e4", d.germanDescription}, {L"040904e4", d.englishDescription}};
        for (const auto& language : languages) {
            const std::wstring block = language.block;
            EXPECT_EQ(info.Text(block, L"FileDescription"), language.description);
            EXPECT_EQ(info.Text(block, L"FileVersion"), L"1.2");
            EXPECT_EQ(info.Text(block, L"ProductVersion"), L"1.2");
            EXPECT_EQ(info.Text(block, L"ProductName"), L"Lumetra Pro");
            EXPECT_EQ(info.Text(block, L"CompanyName"), L"Verdanix");
            EXPECT_EQ(info.Text(block, L"LegalCopyright"), L"Copyright \u00a9 Verdanix");
            EXPECT_EQ(info.Text(block, L"InternalName"), d.internalName);
            EXPECT_EQ(info.Text(block, L"OriginalFilename"), d.fileName);
        }
    }
}

}  // namespace
