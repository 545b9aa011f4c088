// A second program that holds a file open the way another player's tool would, until told to
// let go: hold-open read|deny-write FILE SIGNALS. It says it holds the file by creating
// SIGNALS/held and lets go once SIGNALS/release exists.
#include <share.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    const std::wstring mode = argv[1];
    // "read" is the C runtime's ordinary sharing: others may read and write, but not delete
    // the file or rename another over it. "deny-write" bars writing too.
    std::FILE* held = _wfsopen(argv[2], L"r", mode == L"read" ? _SH_DENYNO : _SH_DENYWR);
    if (!held)
        return 1;
    const fs::path signals = argv[3];
    std::FILE* marker = _wfopen((signals / "held").c_str(), L"w");
    if (!marker)
        return 1;
    std::fclose(marker);
    for (int waited = 0; !fs::exists(signals / "release") && waited < 3000; ++waited)
        Sleep(10);
    std::fclose(held);
    return 0;
}
