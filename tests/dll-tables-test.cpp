// kickmark.dll's own tables, read from the image the Windows loader mapped: the names a host
// finds in it, and the DLLs a player's machine must have for it to load at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Host.h"

using testing::AnyOf;
using testing::Contains;
using testing::Each;
using testing::HasSubstr;
using testing::IsSupersetOf;
using testing::StartsWith;
using testing::StrEq;

namespace {

class DllTables : public testing::Test {
protected:
    HMODULE module = LoadLibraryW(pluginsdk::moduleBesideExecutable("kickmark").c_str());

    void SetUp() override { ASSERT_NE(module, nullptr) << "error " << GetLastError(); }
    void TearDown() override {
        if (module)
            FreeLibrary(module);
    }

    template <typename T> const T* at(DWORD rva) const {
        return reinterpret_cast<const T*>(reinterpret_cast<const char*>(module) + rva);
    }

    const IMAGE_DATA_DIRECTORY& directory(int entry) const {
        const auto* nt = at<IMAGE_NT_HEADERS64>(at<IMAGE_DOS_HEADER>(0)->e_lfanew);
        return nt->OptionalHeader.DataDirectory[entry];
    }

    std::vector<std::string> exportedNames() const {
        const auto& entry = directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (entry.Size == 0)
            return {};
        const auto* table = at<IMAGE_EXPORT_DIRECTORY>(entry.VirtualAddress);
        const auto* names = at<DWORD>(table->AddressOfNames);
        std::vector<std::string> result;
        for (DWORD i = 0; i < table->NumberOfNames; ++i)
            result.emplace_back(at<char>(names[i]));
        return result;
    }

    // Lower case: the loader ignores case, and linkers write "KERNEL32.dll".
    std::vector<std::string> importedLibraries() const {
        std::vector<std::string> result;
        const auto& entry = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (entry.Size == 0)
            return result;
        for (auto* import = at<IMAGE_IMPORT_DESCRIPTOR>(entry.VirtualAddress); import->Name;
             ++import) {
            std::string name = at<char>(import->Name);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            result.push_back(name);
        }
        return result;
    }
};

TEST_F(DllTables, export_the_hosts_names_undecorated_and_otherwise_only_the_base_class) {
    const auto names = exportedNames();
    EXPECT_THAT(names, IsSupersetOf({"exports", "getPlugin", "deleteMe"}));
    // Its vtable, typeinfo and members; a runtime or a helper leaking into the table would
    // clash with another module's in the host.
    EXPECT_THAT(names, Each(AnyOf(StrEq("exports"), StrEq("getPlugin"), StrEq("deleteMe"),
                                  HasSubstr("9BakkesMod6Plugin15BakkesModPlugin"))));
}

TEST_F(DllTables, import_only_windows_system_dlls_and_the_hosts_sdk) {
    const auto libraries = importedLibraries();
    EXPECT_THAT(libraries, Contains("pluginsdk.dll"));
    // No MinGW runtime (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll): a player's
    // machine has none of them.
    EXPECT_THAT(libraries, Each(AnyOf(StrEq("pluginsdk.dll"), StrEq("kernel32.dll"),
                                      StrEq("msvcrt.dll"), StrEq("ntdll.dll"), StrEq("user32.dll"),
                                      StrEq("advapi32.dll"), StartsWith("api-ms-win-"))));
    EXPECT_EQ(directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).Size, 0u) << "delay-loaded imports";
}

} // namespace
