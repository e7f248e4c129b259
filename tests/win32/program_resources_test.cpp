// The manifest and the version resource of the built Zembra.exe, read back as Windows reads them:
// the activation context that the loader makes from the manifest, and the version information
// that the file's property sheet shows.
#include <windows.h>
// After windows.h, which the lean build leaves without COM.
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "release_info.h"
#include "tests/win32/program_file.h"
#include "version.h"

namespace {

using zembra::testing::ProgramFile;

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// The activation context of the program's own manifest (resource 1), made by the system.
class ProgramManifest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring file = ProgramFile();
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = file.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        m_context = CreateActCtxW(&request);
        ASSERT_NE(m_context, INVALID_HANDLE_VALUE)
            << "the system refused the manifest of " << ZEMBRA_PROGRAM_FILE << ", error " << GetLastError();
    }
    void TearDown() override {
        if (m_context != INVALID_HANDLE_VALUE) ReleaseActCtx(m_context);
    }

    // One class of information about the context, in a buffer of the size the system asks for.
    std::vector<BYTE> Query(ULONG infoClass, DWORD index = 0) const {
        DWORD* subInstance = index ? &index : nullptr;
        SIZE_T needed = 0;
        QueryActCtxW(0, m_context, subInstance, infoClass, nullptr, 0, &needed);
        std::vector<BYTE> buffer(std::max<SIZE_T>(needed, 1));
        EXPECT_TRUE(QueryActCtxW(0, m_context, subInstance, infoClass, buffer.data(), buffer.size(), &needed))
            << "information class " << infoClass << ", error " << GetLastError();
        return buffer;
    }

    HANDLE m_context = INVALID_HANDLE_VALUE;
};

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

// One entry of the compatibility information as Windows 10 and Wine lay it out, with the highest
// version tested; the MinGW headers still describe the older, shorter entry.
struct CompatibilityElement {
    GUID Id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
    ULONGLONG MaxVersionTested;
};

TEST_F(ProgramManifest, DeclaresWindows7To11) {
    const std::vector<BYTE> buffer = Query(CompatibilityInformationInActivationContext);
    // The number of entries, then the entries at their own alignment.
    const DWORD count = *reinterpret_cast<const DWORD*>(buffer.data());
    const std::size_t first = alignof(CompatibilityElement);
    ASSERT_EQ(buffer.size(), first + count * sizeof(CompatibilityElement)) << "an unknown layout";
    const auto* elements = reinterpret_cast<const CompatibilityElement*>(buffer.data() + first);
    std::vector<std::wstring> systems;
    for (DWORD i = 0; i < count; ++i) {
        if (elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) systems.push_back(GuidText(elements[i].Id));
    }
    const std::vector<std::wstring> expected{
        L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",  // Windows 7
        L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",  // Windows 8
        L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",  // Windows 8.1
        L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}",  // Windows 10 and 11
    };
    EXPECT_EQ(systems, expected);
}

// Without a requested level the program runs as whoever starts it, and its writes to the Windows
// folder (the progress file) are virtualised for a standard user; any requested level, even
// asInvoker, would turn that off.
TEST_F(ProgramManifest, RequestsNoExecutionLevel) {
    const std::vector<BYTE> buffer = Query(RunlevelInformationInActivationContext);
    const auto& info = *reinterpret_cast<const ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION*>(buffer.data());
    EXPECT_EQ(info.RunLevel, ACTCTX_RUN_LEVEL_UNSPECIFIED);
    EXPECT_FALSE(info.UiAccess);
}

// The screen scale: per-monitor awareness of the second version where Windows knows it, else the
// whole session's scale (Windows 10 1607 reads the list, older systems dpiAware).
TEST_F(ProgramManifest, DeclaresPerMonitorAwarenessWithTheSessionsScaleAsTheFallback) {
    const auto setting = [this](const wchar_t* space, const wchar_t* name) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, m_context, space, name, value, std::size(value), &written))
            << "no setting " << ::testing::PrintToString(std::wstring(name)) << ", error " << GetLastError();
        return std::wstring(value);
    };
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, System");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
}

// The program's own assembly carries the project's version; the second one is the common
// controls of version 6, which give the dialog the system's current look.
TEST_F(ProgramManifest, NamesTheProgramAtTheProjectVersionAndTheCommonControls) {
    const std::vector<BYTE> context = Query(ActivationContextDetailedInformation);
    EXPECT_EQ(reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(context.data())->ulAssemblyCount, 2u);

    const auto identityOf = [this](DWORD index) {
        const std::vector<BYTE> buffer = Query(AssemblyDetailedInformationInActivationContext, index);
        const auto& info = *reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
        return std::wstring(info.lpAssemblyEncodedAssemblyIdentity ? info.lpAssemblyEncodedAssemblyIdentity : L"");
    };
    const std::wstring program = identityOf(1);
    EXPECT_EQ(program.rfind(L"Zembra,", 0), 0u) << program;
    EXPECT_NE(program.find(L"version=\"" ZEMBRA_VERSION_STRING L".0\""), std::wstring::npos) << program;
    const std::wstring controls = identityOf(2);
    EXPECT_EQ(controls.rfind(L"Microsoft.Windows.Common-Controls,", 0), 0u) << controls;
    EXPECT_NE(controls.find(L"version=\"6."), std::wstring::npos) << controls;
}

// The version information block of the program, as GetFileVersionInfo gives it.
class ProgramVersion : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring file = ProgramFile();
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
        ASSERT_GT(size, 0u) << "no version information, error " << GetLastError();
        m_block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, m_block.data()));
    }

    template <typename T>
    const T* Value(const std::wstring& path, UINT* length = nullptr) const {
        void* value = nullptr;
        UINT size = 0;
        if (!VerQueryValueW(m_block.data(), path.c_str(), &value, &size)) return nullptr;
        if (length) *length = size;
        return static_cast<const T*>(value);
    }

    std::vector<BYTE> m_block;
};

TEST_F(ProgramVersion, FixedPartIsTheProjectVersionOfAnApplication) {
    const auto* fixed = Value<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = (ZEMBRA_VERSION_MAJOR << 16) | ZEMBRA_VERSION_MINOR;
    const DWORD low = ZEMBRA_VERSION_PATCH << 16;
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a debug, pre-release or patched build";
}

TEST_F(ProgramVersion, TextsInSimplifiedChineseUnicode) {
    UINT length = 0;
    const auto* translation = Value<WORD>(L"\\VarFileInfo\\Translation", &length);
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one translation";
    EXPECT_EQ(translation[0], 0x0804);  // Chinese (Simplified, PRC)
    EXPECT_EQ(translation[1], 1200);    // UTF-16

    struct Text {
        const wchar_t* name;
        std::wstring expected;
    };
    const Text texts[] = {
        {L"CompanyName", L"" ZEMBRA_COMPANY_NAME},
        {L"LegalCopyright", L"" ZEMBRA_LEGAL_COPYRIGHT},
        {L"ProductName", L"Zembra"},
        {L"FileDescription", L"Zembra—小学英语词汇大全"},
        {L"InternalName", L"Zembra"},
        // The name the program was built under, so a renamed output cannot go unnoticed.
        {L"OriginalFilename", FileNameOf(ProgramFile())},
        {L"FileVersion", L"" ZEMBRA_VERSION_STRING},
        {L"ProductVersion", L"" ZEMBRA_VERSION_STRING},
    };
    for (const Text& text : texts) {
        const auto* value = Value<wchar_t>(std::wstring(L"\\StringFileInfo\\080404b0\\") + text.name);
        ASSERT_NE(value, nullptr) << "no " << testing::PrintToString(std::wstring(text.name));
        EXPECT_EQ(std::wstring(value), text.expected) << testing::PrintToString(std::wstring(text.name));
    }
}

// The functions the program imports, by DLL, from its import table.
std::vector<std::string> ImportsFrom(const std::wstring& file, const char* dll) {
    HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) return {};
    // The handle of a module loaded as a resource has its low bits set.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> names;
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        const DWORD table = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        for (const auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + table); thunk->u1.AddressOfData != 0;
             ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
            names.emplace_back(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name);
        }
    }
    FreeLibrary(image);
    return names;
}

// The program is made for Windows 7 and later: the functions of the screen scale that came with
// Windows 10 are looked up at run time, never imported, or Windows 7 would refuse to start it.
TEST(ProgramImports, NoFunctionOfTheScreenScaleThatWindows7Lacks) {
    const std::vector<std::string> user32 = ImportsFrom(ProgramFile(), "user32.dll");
    ASSERT_FALSE(user32.empty()) << "no import table read";
    EXPECT_NE(std::find(user32.begin(), user32.end(), "CreateDialogParamW"), user32.end());
    for (const char* later :
         {"GetDpiForWindow", "GetDpiForSystem", "GetSystemMetricsForDpi", "SetThreadDpiAwarenessContext",
          "GetThreadDpiAwarenessContext", "AreDpiAwarenessContextsEqual", "AdjustWindowRectExForDpi",
          "SetDialogControlDpiChangeBehavior", "SetDialogDpiChangeBehavior"}) {
        EXPECT_EQ(std::find(user32.begin(), user32.end(), later), user32.end()) << later;
    }
}

}  // namespace
