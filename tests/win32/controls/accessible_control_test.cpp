// The drawn controls' client objects as a screen reader meets them: the
// progress bar's value and the events that announce it, a disabled button,
// and an object a client holds after the button is gone.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <type_traits>

#include "accessible_test_util.h"
#include "styled_test_util.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/level_progress_bar.h"

namespace pellion {
namespace {

using namespace testing_util;

int valueEvents = 0;
void CALLBACK CountValueEvent(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) ++valueEvents;
}

TEST(Accessible, ProgressBarValueAndItsEvents) {
    Host host(460, 120);
    TLevelProgressBar bar(host.Get(), 8, 92, 433, 18);
    bar.SetMax(200);  // position 50: 25%
    win::ComPtr<IAccessible> acc = ClientObject(bar.Handle());
    EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accRole), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accName), Said(S_FALSE, "<null>"));
    // The host window is never shown, so neither is the bar.
    EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accState),
              STATE_SYSTEM_READONLY | STATE_SYSTEM_INVISIBLE);

    std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, decltype(&::UnhookWinEvent)> hook(
        ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                          &CountValueEvent, ::GetCurrentProcessId(), ::GetCurrentThreadId(),
                          WINEVENT_OUTOFCONTEXT),
        &::UnhookWinEvent);
    struct Row {
        int position;
        bool showPosition;
        const char* value;
        int events;
    } rows[] = {
        {84, true, "42%", 1},
        {85, true, "42%", 0},   // 42.5 rounds to even: no new percentage, no event
        {86, false, "43%", 1},  // the percentage, though the bar writes none
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.position);
        valueEvents = 0;
        bar.SetShowPosition(r.showPosition);
        bar.SetPosition(r.position);
        Pump();
        EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accValue), Said(S_OK, r.value));
        EXPECT_EQ(valueEvents, r.events);
    }
}

TEST(Accessible, DisabledButtonAndObjectsHeldPastTheButton) {
    Host host(200, 60);
    for (bool deleteControl : {true, false}) {
        SCOPED_TRACE(deleteControl ? "control deleted" : "window destroyed under the control");
        auto button = std::make_unique<TGradientButton>(host.Get(), 10, 10, 73, 22, "Pause");
        button->SetEnabled(false);
        win::ComPtr<IAccessible> acc = ClientObject(button->Handle());
        ASSERT_TRUE(acc);
        EXPECT_EQ(acc.Get(), ClientObject(button->Handle()).Get())
            << "one object, handed out again";
        EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accState),
                  STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);

        if (deleteControl)
            button.reset();
        else
            ::DestroyWindow(button->Handle());
        EXPECT_EQ(AskText(acc.Get(), &IAccessible::get_accName),
                  Said(RPC_E_DISCONNECTED, "<null>"));
        EXPECT_EQ(acc->accDoDefaultAction(Self()), RPC_E_DISCONNECTED);
    }
}

// A modal dialog disables its owner, not the owner's children: a press must
// still do nothing, and the button must say it is unavailable.
TEST(Accessible, PressWhileTheTopLevelWindowIsDisabledDoesNothing) {
    Host host(200, 60);
    TGradientButton button(host.Get(), 10, 10, 73, 22, "Install");
    int clicks = 0;
    button.SetOnClick([&](TGradientButton&) { ++clicks; });
    win::ComPtr<IAccessible> acc = ClientObject(button.Handle());
    ASSERT_TRUE(acc);
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled ? "window enabled" : "window disabled");
        ::EnableWindow(host.Get(), enabled);
        EXPECT_EQ(AskNumber(acc.Get(), &IAccessible::get_accState) & STATE_SYSTEM_UNAVAILABLE,
                  enabled ? 0 : STATE_SYSTEM_UNAVAILABLE);
        EXPECT_EQ(acc->accDoDefaultAction(Self()), S_OK);
        Pump();
        EXPECT_EQ(clicks, enabled ? 1 : 0);
    }
}

}  // namespace
}  // namespace pellion
