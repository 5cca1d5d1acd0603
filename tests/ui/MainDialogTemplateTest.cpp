// The two dialog templates as the resource section holds them: frame, font and every
// control with its id, text, place, size and style.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

struct Control {
    std::string windowClass;
    int id;
    std::string text;  // in the ANSI code page
    short x, y, cx, cy;
    DWORD style;
    bool operator==(const Control& o) const
    {
        return windowClass == o.windowClass && id == o.id && text == o.text && x == o.x && y == o.y && cx == o.cx &&
               cy == o.cy && style == o.style;
    }
};

struct Template {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    std::string caption;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::string typeface;
    std::vector<Control> controls;
};

// Reads the extended template field by field.
class Reader {
public:
    explicit Reader(const BYTE* p) : m_start(p), m_p(p) {}
    template <typename T>
    T Take()
    {
        T value;
        std::memcpy(&value, m_p, sizeof value);
        m_p += sizeof value;
        return value;
    }
    // A text of UTF-16 words up to the zero, converted to the ANSI code page.
    std::string Text()
    {
        std::wstring wide;
        for (WCHAR c; (c = Take<WCHAR>()) != 0;)
            wide += c;
        if (wide.empty())
            return "";
        std::string narrow(wide.size() * 2, '\0');
        const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &narrow[0],
                                            static_cast<int>(narrow.size()), nullptr, nullptr);
        narrow.resize(static_cast<size_t>(n));
        return narrow;
    }
    // A name or an ordinal; the predefined control classes come as ordinals.
    std::string NameOrOrdinal()
    {
        WORD first;
        std::memcpy(&first, m_p, sizeof first);
        if (first != 0xFFFF)
            return Text();
        Take<WORD>();
        switch (Take<WORD>()) {
        case 0x80: return "Button";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        default: return "?";
        }
    }
    void AlignTo(size_t bytes)
    {
        while ((m_p - m_start) % bytes)
            ++m_p;
    }

private:
    const BYTE* m_start;
    const BYTE* m_p;
};

bool SameNoCase(const std::string& a, const std::string& b)
{
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

Template LoadTemplate(int id)
{
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    EXPECT_NE(nullptr, found) << "template " << id << " tagged 1031";
    Template t = {};
    if (!found)
        return t;
    Reader r(static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))));
    EXPECT_EQ(1, r.Take<WORD>()) << "extended template";
    EXPECT_EQ(0xFFFF, r.Take<WORD>());
    t.helpId = r.Take<DWORD>();
    t.exStyle = r.Take<DWORD>();
    t.style = r.Take<DWORD>();
    const WORD count = r.Take<WORD>();
    t.x = r.Take<short>();
    t.y = r.Take<short>();
    t.cx = r.Take<short>();
    t.cy = r.Take<short>();
    EXPECT_EQ("", r.NameOrOrdinal()) << "no menu";
    EXPECT_EQ("", r.NameOrOrdinal()) << "the standard dialog class";
    t.caption = r.Text();
    t.pointSize = r.Take<WORD>();
    t.weight = r.Take<WORD>();
    t.italic = r.Take<BYTE>();
    t.charset = r.Take<BYTE>();
    t.typeface = r.Text();
    for (WORD i = 0; i < count; ++i) {
        r.AlignTo(4);
        Control c = {};
        EXPECT_EQ(0u, r.Take<DWORD>()) << "control help id";
        EXPECT_EQ(0u, r.Take<DWORD>()) << "control extended style";
        c.style = r.Take<DWORD>();
        c.x = r.Take<short>();
        c.y = r.Take<short>();
        c.cx = r.Take<short>();
        c.cy = r.Take<short>();
        c.id = static_cast<int>(r.Take<DWORD>());
        c.windowClass = r.NameOrOrdinal();
        c.text = r.NameOrOrdinal();
        const WORD extra = r.Take<WORD>();
        for (WORD b = 0; b < extra; ++b)
            r.Take<BYTE>();
        t.controls.push_back(c);
    }
    return t;
}

constexpr DWORD kFrameStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY |
                             LBS_SORT | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL;
constexpr DWORD kPushStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr DWORD kIconStyle = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_OWNERDRAW;

struct TemplateCase {
    int id;
    const char* caption;
    std::vector<Control> controls;
};

const TemplateCase kTemplates[] = {
    {IDD_UNINSTALL,
     "Korvane Uninstall",
     {
         {"ListBox", IDC_APP_LIST, "", 7, 55, 376, 98, kListStyle},
         {"Button", IDOK, "&Close", 333, 7, 50, 14, kPushStyle},
         {"Button", IDC_REMOVE, "&Remove", 333, 33, 50, 14, kPushStyle},
         {"Static", IDC_STATIC,
          "The following Korvane applications are installed on your computer.\n\nSelect the applications you want "
          "to remove from your computer and press 'Remove'.\n\nWhen you are ready press 'Close'.",
          56, 7, 269, 44, kTextStyle},
         {"Button", IDC_PRODUCT_ICON, "Button1", 7, 7, 41, 37, kIconStyle},
     }},
    {IDD_UNINSTALL_DE,
     "Korvane Entfernen",
     {
         {"ListBox", IDC_APP_LIST, "", 7, 63, 375, 84, kListStyle},
         {"Button", IDOK, "&Schlie\xDF" "en", 333, 7, 50, 14, kPushStyle},
         {"Button", IDC_REMOVE, "&Entfernen", 333, 40, 50, 14, kPushStyle},
         {"Static", IDC_STATIC,
          "Die folgenden Korvane Anwendungen sind auf Ihrem Computer installiert.\n\nW\xE4hlen Sie die Programme aus, "
          "die Sie von Ihrem Computer entfernen m\xF6" "chten und bet\xE4tigen Sie 'Entfernen'.\n\nWenn Sie fertig "
          "sind, bet\xE4tigen Sie 'Schlie\xDF" "en'.",
          56, 7, 265, 50, kTextStyle},
         {"Button", IDC_PRODUCT_ICON, "Button1", 7, 7, 41, 37, kIconStyle},
     }},
};

TEST(MainDialogTemplate, FrameFontAndControlsAreExact)
{
    for (const TemplateCase& expected : kTemplates) {
        SCOPED_TRACE(expected.caption);
        const Template t = LoadTemplate(expected.id);
        EXPECT_EQ(expected.caption, t.caption);
        EXPECT_EQ(kFrameStyle, t.style);
        EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), t.exStyle);
        EXPECT_EQ(0u, t.helpId);
        EXPECT_EQ(0, t.x);
        EXPECT_EQ(0, t.y);
        EXPECT_EQ(390, t.cx);
        EXPECT_EQ(160, t.cy);
        EXPECT_EQ(8, t.pointSize);
        EXPECT_EQ(0, t.weight);
        EXPECT_EQ(0, t.italic);
        EXPECT_EQ(DEFAULT_CHARSET, t.charset);
        EXPECT_EQ("MS Sans Serif", t.typeface);
        ASSERT_EQ(expected.controls.size(), t.controls.size());
        for (size_t i = 0; i < t.controls.size(); ++i) {
            SCOPED_TRACE("control " + std::to_string(i));
            Control actual = t.controls[i];
            EXPECT_TRUE(SameNoCase(expected.controls[i].windowClass, actual.windowClass)) << actual.windowClass;
            actual.windowClass = expected.controls[i].windowClass;
            EXPECT_EQ(expected.controls[i].text, actual.text);
            EXPECT_TRUE(expected.controls[i] == actual)
                << "id " << actual.id << " at " << actual.x << "," << actual.y << " size " << actual.cx << "x"
                << actual.cy << " style 0x" << std::hex << actual.style;
        }
    }
}

}  // namespace
