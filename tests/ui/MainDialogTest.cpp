// The main dialog against a test catalogue: its listing, the language's template, the icon
// and tab stop set up at opening, the Remove button following the selection, and the icon
// button's picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/UniqueHandle.h"
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

constexpr int kIconSize = 48;

// The pixels of a bitmap that no device context holds, as 0x00RRGGBB, top row first; empty
// when they cannot be read. The byte above red means nothing on the screen and is cleared.
std::vector<DWORD> BitmapPixels(HDC like, HBITMAP bitmap, int size)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(size) * size);
    if (::GetDIBits(like, bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS) != size)
        return {};
    for (DWORD& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

// A bitmap compatible with a device context, selected into a memory context for drawing.
class Canvas {
public:
    Canvas(HDC like, int size)
        : m_like(like), m_size(size), m_memory(::CreateCompatibleDC(like)),
          m_bitmap(::CreateCompatibleBitmap(like, size, size)), m_previous(::SelectObject(m_memory, m_bitmap))
    {
    }
    ~Canvas()
    {
        ::SelectObject(m_memory, m_previous);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_memory);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_memory; }
    // What has been drawn so far.
    std::vector<DWORD> Pixels() const
    {
        ::SelectObject(m_memory, m_previous);
        std::vector<DWORD> pixels = BitmapPixels(m_like, m_bitmap, m_size);
        ::SelectObject(m_memory, m_bitmap);
        return pixels;
    }

private:
    HDC m_like;
    int m_size;
    HDC m_memory;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// The 48x48 pixels at the top-left of a device context.
std::vector<DWORD> ScreenPixels(HDC source)
{
    Canvas copy(source, kIconSize);
    ::BitBlt(copy.Dc(), 0, 0, kIconSize, kIconSize, source, 0, 0, SRCCOPY);
    return copy.Pixels();
}

// The screen's device context, for bitmaps like the ones the windows draw into.
class ScreenDc {
public:
    ScreenDc() : m_dc(::GetDC(nullptr)) {}
    ~ScreenDc() { ::ReleaseDC(nullptr, m_dc); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

IconHandle LoadProductIcon(int size)
{
    return IconHandle(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_UNINSTALL),
                                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// The icon's colour image as the icon holds it, read from its bitmap rather than drawn, so
// that it does not depend on how DrawIconEx treats the mask.
std::vector<DWORD> ColourImage(HDC like, HICON icon, int size)
{
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info))
        return {};
    std::vector<DWORD> pixels = info.hbmColor ? BitmapPixels(like, info.hbmColor, size) : std::vector<DWORD>{};
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return pixels;
}

// How many pixels differ, and where the first one is, for a readable failure.
testing::AssertionResult SamePixels(const std::vector<DWORD>& expected, const std::vector<DWORD>& actual, int size)
{
    if (expected.size() != actual.size())
        return testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.size();
    size_t differing = 0, first = 0;
    for (size_t i = expected.size(); i-- > 0;)
        if (expected[i] != actual[i]) {
            ++differing;
            first = i;
        }
    if (differing == 0)
        return testing::AssertionSuccess();
    char colours[40];
    std::snprintf(colours, sizeof colours, "%06lX instead of %06lX", static_cast<unsigned long>(actual[first]),
                  static_cast<unsigned long>(expected[first]));
    return testing::AssertionFailure() << differing << " of " << expected.size() << " pixels differ, the first at ("
                                       << first % size << ", " << first / size << "): " << colours;
}

TEST(MainDialog, IconButtonShowsTheIconsColourImageToItsCorners)
{
    ScopedTestKey product;
    CUninstallDlg dialog(product.Path().c_str());
    std::vector<DWORD> shown, colour;
    RunModal(dialog, [&](HWND window) {
        const HWND button = ::GetDlgItem(window, IDC_PRODUCT_ICON);
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const HDC dc = ::GetDC(button);
        shown = ScreenPixels(dc);
        colour = ColourImage(dc, LoadProductIcon(kIconSize).Get(), kIconSize);
        ::ReleaseDC(button, dc);
        PostCommand(window, IDOK);
    });
    ASSERT_EQ(static_cast<size_t>(kIconSize * kIconSize), colour.size()) << "the icon's colour image";
    ASSERT_NE(std::count(colour.begin(), colour.end(), colour[0]), static_cast<long>(colour.size()))
        << "the icon must not be one flat colour, or drawing nothing could pass";
    ASSERT_EQ(colour.size(), shown.size());

    const size_t last = kIconSize - 1;
    for (const size_t corner : {size_t{0}, last, last * kIconSize, last * kIconSize + last}) {
        SCOPED_TRACE(corner);
        EXPECT_NE(0u, shown[corner]) << "a black corner is a transparent pixel drawn without its mask";
        EXPECT_EQ(colour[corner], shown[corner]);
    }
    EXPECT_TRUE(SamePixels(colour, shown, kIconSize));
}

// The caption and the taskbar draw the icon with its mask, the button without: they show the
// same picture only when no pixel is transparent, whatever lies behind the icon.
TEST(ProductIcon, IsOpaqueAtEverySize)
{
    const ScreenDc screenDc;
    const HDC screen = screenDc.Get();
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const IconHandle icon = LoadProductIcon(size);
        ASSERT_TRUE(icon.IsValid());
        const std::vector<DWORD> colour = ColourImage(screen, icon.Get(), size);
        ASSERT_EQ(static_cast<size_t>(size * size), colour.size());
        for (const int background : {WHITE_BRUSH, BLACK_BRUSH}) {
            SCOPED_TRACE(background == WHITE_BRUSH ? "over white" : "over black");
            Canvas canvas(screen, size);
            const RECT all = {0, 0, size, size};
            ::FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(background)));
            ::DrawIconEx(canvas.Dc(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
            EXPECT_TRUE(SamePixels(colour, canvas.Pixels(), size));
        }
    }
}

}  // namespace
