// The main dialog against a test catalogue: its listing, the language's template, the icon
// and tab stop set up at opening, and the Remove button following the selection.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/CatalogueFixture.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/SentMessages.h"
#include "ui/UninstallDlg.h"

using namespace dialog_driver;
using namespace dialog_tests;
using testing_support::ScopedTestKey;

namespace {


bool RemoveEnabled(HWND dialogWindow)
{
    return ::IsWindowEnabled(::GetDlgItem(dialogWindow, IDC_REMOVE)) != FALSE;
}

TEST(MainDialog, ListsEntriesWithNameAndDirectorySortedByText)
{
    ScopedTestKey product;
    const std::string& key = product.Path();
    AddEntry(key, 0, "Zero", "C:\\Z");       // App0 is listed
    AddEntry(key, 2, "Beta", "C:\\B");
    AddEntry(key, 3, nullptr, "C:\\NoName");  // no AppName: not listed
    AddEntry(key, 4, "NoDirectory", nullptr); // no Directory: not listed
    AddEntry(key, 5, "Twin", "C:\\T");
    AddEntry(key, 6, "Twin", "C:\\T");
    AddEntry(key, 7, "Alpha", "C:\\A");
    AddEntry(key, 49, "Last", "C:\\L");
    AddEntry(key, 50, "Fifty", "C:\\F");      // beyond the listed range

    CUninstallDlg dialog(key.c_str());
    std::vector<ListRow> rows;
    bool removeEnabled = true;
    RunModal(dialog, [&](HWND window) {
        rows = ListRows(::GetDlgItem(window, IDC_APP_LIST));
        removeEnabled = RemoveEnabled(window);
        PostCommand(window, IDOK);
    });

    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ((ListRow{"Alpha\tC:\\A", 7}), rows[0]) << "the sorted first row carries its own index";
    EXPECT_EQ((ListRow{"Beta\tC:\\B", 2}), rows[1]);
    EXPECT_EQ((ListRow{"Last\tC:\\L", 49}), rows[2]);
    EXPECT_EQ("Twin\tC:\\T", rows[3].text);
    EXPECT_EQ("Twin\tC:\\T", rows[4].text);
    EXPECT_EQ(11, rows[3].data + rows[4].data) << "identical rows keep their own indices 5 and 6";
    EXPECT_NE(rows[3].data, rows[4].data);
    EXPECT_EQ((ListRow{"Zero\tC:\\Z", 0}), rows[5]);
    EXPECT_FALSE(removeEnabled) << "nothing is selected at first";
}

TEST(MainDialog, EmptyCatalogueShowsNoRowsAndNoRemove)
{
    ScopedTestKey product;
    CUninstallDlg dialog(product.Path().c_str());
    std::vector<ListRow> rows{{"sentinel", 0}};
    bool removeEnabled = true;
    RunModal(dialog, [&](HWND window) {
        rows = ListRows(::GetDlgItem(window, IDC_APP_LIST));
        removeEnabled = RemoveEnabled(window);
        PostCommand(window, IDOK);
    });
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(removeEnabled);
}

TEST(MainDialog, LanguageFlagChoosesTheTemplate)
{
    struct Case {
        int language;
        const char* caption;
        const char* close;
    } const cases[] = {
        {0, "Korvane Uninstall", "&Close"},
        {1, "Korvane Entfernen", "&Schlie\xDF" "en"},
        {2, "Korvane Uninstall", "&Close"},
        {-1, "Korvane Uninstall", "&Close"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ScopedTestKey product;
        CUninstallDlg dialog(product.Path().c_str(), c.language);
        std::string caption, close;
        RunModal(dialog, [&](HWND window) {
            caption = WindowText(window);
            close = WindowText(::GetDlgItem(window, IDOK));
            PostCommand(window, IDOK);
        });
        EXPECT_EQ(c.caption, caption);
        EXPECT_EQ(c.close, close);
    }
}

TEST(MainDialog, OpeningSetsIconsIconSizeAndOneTabStop)
{
    ScopedTestKey product;
    AddEntry(product.Path(), 1, "One", "C:\\One");
    CUninstallDlg dialog(product.Path().c_str());
    SentMessages sent;
    RECT iconButton = {};
    RECT templatePlace = {7, 7, 0, 0};
    RunModal(dialog, [&](HWND window) {
        const HWND button = ::GetDlgItem(window, IDC_PRODUCT_ICON);
        ::GetWindowRect(button, &iconButton);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&iconButton), 2);
        ::MapDialogRect(window, &templatePlace);
        PostCommand(window, IDOK);
    });

    EXPECT_EQ(48, iconButton.right - iconButton.left);
    EXPECT_EQ(48, iconButton.bottom - iconButton.top);
    EXPECT_EQ(templatePlace.left, iconButton.left) << "the button keeps its template position";
    EXPECT_EQ(templatePlace.top, iconButton.top);

    const auto icons = sent.Of(WM_SETICON);
    ASSERT_EQ(2u, icons.size());
    EXPECT_EQ(static_cast<WPARAM>(ICON_BIG), icons[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(ICON_SMALL), icons[1].wParam);
    EXPECT_EQ(icons[0].lParam, icons[1].lParam) << "one 48x48 handle serves both";
    EXPECT_EQ(reinterpret_cast<LPARAM>(dialog.m_hIcon.Get()), icons[0].lParam);

    const auto tabStops = sent.Of(LB_SETTABSTOPS);
    ASSERT_EQ(1u, tabStops.size());
    EXPECT_EQ(std::vector<int>{160}, tabStops[0].tabStops);
    EXPECT_EQ(1u, sent.Of(LB_ADDSTRING).size());
}

TEST(MainDialog, RemoveIsEnabledExactlyWhileARowIsSelected)
{
    ScopedTestKey product;
    AddEntry(product.Path(), 1, "A", "C:\\A");
    AddEntry(product.Path(), 2, "B", "C:\\B");
    AddEntry(product.Path(), 3, "C", "C:\\C");
    struct Step {
        std::vector<int> selection;
        bool enabled;
    } const steps[] = {
        {{1}, true}, {{0, 2}, true}, {{}, false}, {{2}, true}, {{}, false},
    };
    CUninstallDlg dialog(product.Path().c_str());
    std::vector<bool> seen;
    RunModal(dialog, [&](HWND window) {
        for (const Step& step : steps) {
            SelectRows(window, IDC_APP_LIST, step.selection);
            seen.push_back(RemoveEnabled(window));
        }
        PostCommand(window, IDOK);
    });
    ASSERT_EQ(std::size(steps), seen.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(steps[i].enabled, seen[i]) << "step " << i;
}

}  // namespace

namespace {

// The 48x48 pixels at the top-left of a device context, as 32-bit colours.
std::vector<DWORD> Pixels48(HDC source)
{
    const HDC memory = ::CreateCompatibleDC(source);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(source, 48, 48);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, 48, 48, source, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 48;
    info.bmiHeader.biHeight = -48;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(48 * 48);
    ::GetDIBits(memory, bitmap, 0, 48, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

// What DrawIconEx with DI_IMAGE puts down for the product icon at 48x48.
std::vector<DWORD> ExpectedIconPixels(HDC like)
{
    const HICON icon = static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_UNINSTALL), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
    const HDC memory = ::CreateCompatibleDC(like);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(like, 48, 48);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::DrawIconEx(memory, 0, 0, icon, 48, 48, 0, nullptr, DI_IMAGE);
    std::vector<DWORD> pixels = Pixels48(memory);
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::DestroyIcon(icon);
    return pixels;
}

TEST(MainDialog, IconButtonShowsTheProductIcon)
{
    ScopedTestKey product;
    CUninstallDlg dialog(product.Path().c_str());
    std::vector<DWORD> shown, expected;
    RunModal(dialog, [&](HWND window) {
        const HWND button = ::GetDlgItem(window, IDC_PRODUCT_ICON);
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const HDC dc = ::GetDC(button);
        shown = Pixels48(dc);
        expected = ExpectedIconPixels(dc);
        ::ReleaseDC(button, dc);
        PostCommand(window, IDOK);
    });
    ASSERT_EQ(48u * 48u, expected.size());
    ASSERT_NE(std::count(expected.begin(), expected.end(), expected[0]), static_cast<long>(expected.size()))
        << "the icon must not be one flat colour, or drawing nothing could pass";
    EXPECT_EQ(expected, shown);
}

}  // namespace
