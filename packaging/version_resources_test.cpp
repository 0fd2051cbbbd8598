// The version resources of the three deliverables, read as Windows reads them for a file's
// properties: version 1.2, and the same texts in German and in English; and the manifests of the
// programs, as the loader reads them when it starts one.
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

// The program's manifest as the loader finds it: resource 1 of type RT_MANIFEST.
std::string ManifestOf(const std::wstring& file) {
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return "(not loadable)";
    std::string text = "(none)";
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */)) {
        HGLOBAL loaded = LoadResource(module, found);
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (bytes != nullptr)
            text.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

// Crisp at any scaling: each program's windows scale themselves by their monitor's DPI (and the
// system does not stretch them), on every system from Windows 7 on; none asks to run elevated,
// since the viewer must see the monitor's files where the monitor sees them.
TEST(ProgramManifests, DeclarePerMonitorDpiAwarenessAndTheSupportedSystems) {
    const struct {
        const wchar_t* file;
        bool commonControls6;
    } programs[] = {
        {L"viewer\\histview.exe", true}, {L"linkwait\\linkwait.exe", false}, {L"tools\\menudemo\\menudemo.exe", false}};
    const char* const supportedSystems[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const auto& program : programs) {
        SCOPED_TRACE(testing::Message() << std::string(program.file, program.file + wcslen(program.file)));
        const std::string manifest = ManifestOf(BuildFile(program.file));
        ASSERT_NE(manifest.find("<assembly"), std::string::npos) << manifest;
        EXPECT_NE(manifest.find("2016/WindowsSettings\">PerMonitorV2"), std::string::npos) << manifest;
        EXPECT_NE(manifest.find("2005/WindowsSettings\">true/pm</dpiAware>"), std::string::npos) << manifest;
        for (const char* system : supportedSystems)
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>"), std::string::npos) << system;
        EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
        const bool controls =
            manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") != std::string::npos;
        EXPECT_EQ(controls, program.commonControls6);
    }
}

}  // namespace
