// The dialog side of the framework layer, run against the real dialog manager: modal
// results, data exchange, message-map routing, centring and the wait cursor.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"
#include "tests/ui/DialogDriver.h"

using namespace dialog_driver;

namespace {

// A dialog over the program's English template that records its data exchanges and ends
// with its own code when Remove is pressed.
class RecordingDialog : public CDialog {
public:
    RecordingDialog() : CDialog(IDD_UNINSTALL) {}

    std::vector<BOOL> exchanges;
    CListBox list;
    HWND listAtFirstExchange = nullptr;
    HWND listAtLastExchange = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        exchanges.push_back(pDX->m_bSaveAndValidate);
        // Later exchanges name another control: a bound member must stay as it is.
        DDX_Control(pDX, exchanges.size() == 1 ? IDC_APP_LIST : IDC_REMOVE, list);
        if (exchanges.size() == 1)
            listAtFirstExchange = list.m_hWnd;
        listAtLastExchange = list.m_hWnd;
    }
    void OnRemoveClicked() { EndDialog(42); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
    ON_BN_CLICKED(IDC_REMOVE, OnRemoveClicked)
END_MESSAGE_MAP()

// Two levels of maps over CDialog's: the derived one takes Remove itself, leaves the list's
// notification to its base, and overrides the virtual OnOK that CDialog's map calls.
class BaseDialog : public CDialog {
public:
    BaseDialog() : CDialog(IDD_UNINSTALL) {}

protected:
    void OnRemoveClicked() { EndDialog(10); }
    void OnListChanged() { EndDialog(11); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseDialog, CDialog)
    ON_BN_CLICKED(IDC_REMOVE, OnRemoveClicked)
    ON_LBN_SELCHANGE(IDC_APP_LIST, OnListChanged)
END_MESSAGE_MAP()

class DerivedDialog : public BaseDialog {
protected:
    void OnRemoveFirst() { EndDialog(20); }
    void OnOK() override { EndDialog(55); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDialog, BaseDialog)
    ON_BN_CLICKED(IDC_REMOVE, OnRemoveFirst)
END_MESSAGE_MAP()

TEST(DialogFramework, DoModalReturnsTheEndDialogCode)
{
    struct Case {
        const char* name;
        int command;
        INT_PTR result;
    } const cases[] = {
        {"own handler's EndDialog(42)", IDC_REMOVE, 42},
        {"IDOK: the base OnOK", IDOK, IDOK},
        {"IDCANCEL: the base OnCancel", IDCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog;
        EXPECT_EQ(c.result, RunModal(dialog, [&](HWND window) { PostCommand(window, c.command); }));
        EXPECT_EQ(nullptr, dialog.m_hWnd) << "the object lets go of the destroyed window";
    }
}

TEST(DialogFramework, DoModalWithoutTemplateReturnsMinusOne)
{
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
}

TEST(DialogFramework, FirstExchangeLoadsAndCloseSaves)
{
    RecordingDialog dialog;
    std::vector<BOOL> whileOpen;
    EXPECT_EQ(IDOK, RunModal(dialog, [&](HWND window) {
        whileOpen = dialog.exchanges;
        PostCommand(window, IDOK);
    }));
    EXPECT_EQ((std::vector<BOOL>{FALSE}), whileOpen) << "OnInitDialog: UpdateData(FALSE)";
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), dialog.exchanges) << "OnOK: UpdateData(TRUE)";
}

TEST(DialogFramework, DdxControlBindsOnceUntilTheWindowGoes)
{
    RecordingDialog dialog;
    HWND listWindow = nullptr;
    EXPECT_EQ(IDOK, RunModal(dialog, [&](HWND window) {
        listWindow = ::GetDlgItem(window, IDC_APP_LIST);
        PostCommand(window, IDOK);
    }));
    ASSERT_NE(nullptr, listWindow);
    EXPECT_EQ(listWindow, dialog.listAtFirstExchange);
    EXPECT_EQ(listWindow, dialog.listAtLastExchange) << "the second exchange must not rebind";
    EXPECT_EQ(nullptr, dialog.list.m_hWnd) << "bound controls are let go with the dialog window";
}

TEST(DialogFramework, MessageMapsAreSearchedDerivedFirst)
{
    struct Case {
        const char* name;
        bool derived;
        int command;
        int code;
        INT_PTR result;
    } const cases[] = {
        {"base alone takes Remove", false, IDC_REMOVE, BN_CLICKED, 10},
        {"derived map wins over the base", true, IDC_REMOVE, BN_CLICKED, 20},
        {"base map serves what derived lacks", true, IDC_APP_LIST, LBN_SELCHANGE, 11},
        {"CDialog's IDOK calls the virtual OnOK", true, IDOK, BN_CLICKED, 55},
        {"CDialog's IDCANCEL calls OnCancel", true, IDCANCEL, BN_CLICKED, IDCANCEL},
        {"base IDOK without override", false, IDOK, BN_CLICKED, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BaseDialog base;
        DerivedDialog derived;
        CDialog& dialog = c.derived ? static_cast<CDialog&>(derived) : base;
        EXPECT_EQ(c.result, RunModal(dialog, [&](HWND window) { PostCommand(window, c.command, c.code); }));
    }
}

TEST(DialogFramework, UnmappedNotificationIsNotRouted)
{
    // A notification code that no map names for the control leaves the dialog open.
    DerivedDialog dialog;
    bool stillOpen = false;
    EXPECT_EQ(55, RunModal(dialog, [&](HWND window) {
        // Sent: handled (or not) by the time each call returns.
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_REMOVE, BN_DOUBLECLICKED), 0);
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_APP_LIST, LBN_DBLCLK), 0);
        stillOpen = ::IsWindowVisible(window) != FALSE;
        PostCommand(window, IDOK);
    }));
    EXPECT_TRUE(stillOpen);
}

TEST(DialogFramework, DialogAtOriginIsCentredOnTheWorkArea)
{
    RecordingDialog dialog;
    RECT window = {};
    RECT area = {};
    RunModal(dialog, [&](HWND dialogWindow) {
        ::GetWindowRect(dialogWindow, &window);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoA(::MonitorFromWindow(dialogWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
        PostCommand(dialogWindow, IDOK);
    });
    ASSERT_GT(window.right - window.left, 0);
    EXPECT_NEAR((area.left + area.right) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (window.top + window.bottom) / 2, 1);
}

TEST(DialogFramework, WaitCursorNestsAndRestoresThePreviousCursor)
{
    const HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    CWnd window;
    window.BeginWaitCursor();
    EXPECT_EQ(wait, ::GetCursor());
    EXPECT_TRUE(AfxIsWaitCursorShown());
    window.BeginWaitCursor();
    window.EndWaitCursor();
    EXPECT_EQ(wait, ::GetCursor()) << "the inner end keeps the outer wait";
    window.EndWaitCursor();
    EXPECT_EQ(arrow, ::GetCursor());
    EXPECT_FALSE(AfxIsWaitCursorShown());
    window.EndWaitCursor();
    EXPECT_EQ(arrow, ::GetCursor()) << "an unmatched end changes nothing";
}

}  // namespace
