// Waits until an uninstaller dialog with the given caption shows its rows, optionally selects
// some rows as a user would, and prints the dialog's frame as "X Y WIDTH HEIGHT" in screen
// coordinates, so that a script can take a picture of it.
//
// Usage: dialog_probe CAPTION [ROW...]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/UninstallerDriver.h"

using namespace testing_support;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_probe CAPTION [ROW...]\n");
        return 2;
    }
    const UninstallerDialog dialog = WaitForDialog(0, argv[1], 60000);
    if (!dialog || !WaitUntil([&] { return dialog.RowCount() > 0; })) {
        std::fprintf(stderr, "dialog_probe: no dialog \"%s\" with rows\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i)
        dialog.SelectRow(std::atoi(argv[i]));
    if (argc > 2 && !WaitUntil([&] { return dialog.IsRemoveEnabled(); })) {
        std::fprintf(stderr, "dialog_probe: the selection did not reach the dialog\n");
        return 1;
    }
    // Let the dialog paint what the selection changed before anyone looks at it.
    ::RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT frame;
    ::GetWindowRect(dialog.Handle(), &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    return 0;
}
