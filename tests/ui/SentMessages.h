// Messages that the dialog's thread sends to its windows, seen through a window-procedure
// hook of that thread: what the program asked of its controls, in order.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace dialog_driver {

class SentMessages {
public:
    // onSent, when given, runs on the dialog's thread as each message is sent, before the
    // window procedure sees it.
    explicit SentMessages(std::function<void(const CWPSTRUCT&)> onSent = nullptr)
        : m_onSent(std::move(onSent)), m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, &Record, nullptr, ::GetCurrentThreadId()))
    {
        s_current = this;
    }
    ~SentMessages()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    struct Sent {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::vector<int> tabStops;  // LB_SETTABSTOPS only
    };
    std::vector<Sent> Of(UINT message) const
    {
        std::vector<Sent> found;
        std::copy_if(m_sent.begin(), m_sent.end(), std::back_inserter(found),
                     [&](const Sent& s) { return s.message == message; });
        return found;
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && s_current) {
            Sent sent = {call->hwnd, call->message, call->wParam, call->lParam, {}};
            if (call->message == LB_SETTABSTOPS && call->lParam) {
                const int* stops = reinterpret_cast<const int*>(call->lParam);
                sent.tabStops.assign(stops, stops + call->wParam);
            }
            s_current->m_sent.push_back(sent);
            if (s_current->m_onSent)
                s_current->m_onSent(*call);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static SentMessages* s_current;
    std::function<void(const CWPSTRUCT&)> m_onSent;
    HHOOK m_hook;
    std::vector<Sent> m_sent;
};
inline SentMessages* SentMessages::s_current = nullptr;

}  // namespace dialog_driver
