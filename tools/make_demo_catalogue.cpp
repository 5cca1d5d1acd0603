// Installs three demo applications the way the product's installers do: files (one shared by
// two of them), shortcuts on the desktop and in the start menu, a copy of the uninstaller in
// each application's folder, and the catalogue in the registry. Prints the uninstaller to start.
//
// Usage: make_demo_catalogue UNINSTALLER_EXE [English|Deutsch] [BASE_FOLDER]
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "tests/support/Installer.h"

using namespace testing_support;

namespace {

std::string FolderPath(int folder)
{
    char path[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(nullptr, folder | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return "";
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_demo_catalogue UNINSTALLER_EXE [English|Deutsch] [BASE_FOLDER]\n");
        return 2;
    }
    const std::string uninstaller = argv[1];
    const std::string language = argc > 2 ? argv[2] : "English";
    const std::string base = argc > 3 ? argv[3] : "C:\\Program Files\\Korvane";
    const std::string desktop = FolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    const std::string menu = FolderPath(CSIDL_COMMON_PROGRAMS) + "\\Korvane";
    const std::string shared = base + "\\Shared\\korvane.dll";

    Application writer;
    writer.index = 1;
    writer.name = "Korvane Writer";
    writer.directory = base + "\\Writer";
    writer.files = {writer.directory + "\\writer.exe", writer.directory + "\\Dictionaries\\words.dat", shared,
                    writer.Uninstaller()};
    writer.shortcuts = {{desktop + "\\Korvane Writer.lnk", writer.directory + "\\writer.exe"},
                        {menu + "\\Korvane Writer.lnk", writer.directory + "\\writer.exe"}};

    Application sheets;
    sheets.index = 2;
    sheets.name = "Korvane Sheets";
    sheets.directory = base + "\\Sheets";
    sheets.files = {sheets.directory + "\\sheets.exe", shared, sheets.Uninstaller()};
    sheets.shortcuts = {{menu + "\\Korvane Sheets.lnk", sheets.directory + "\\sheets.exe"}};

    Application draw;
    draw.index = 3;
    draw.name = "Korvane Draw";
    draw.directory = base + "\\Draw";
    draw.files = {draw.directory + "\\draw.exe", draw.directory + "\\Clipart\\shapes.dat", draw.Uninstaller()};
    draw.shortcuts = {{desktop + "\\Korvane Draw.lnk", draw.directory + "\\draw.exe"},
                      {menu + "\\Korvane Draw.lnk", draw.directory + "\\draw.exe"}};

    RemoveProductKey();
    std::string error = InstallProduct(language);
    for (const Application* application : {&draw, &sheets, &writer}) {
        if (error.empty())
            error = InstallApplication(*application, uninstaller);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "make_demo_catalogue: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", writer.Uninstaller().c_str());
    return 0;
}
