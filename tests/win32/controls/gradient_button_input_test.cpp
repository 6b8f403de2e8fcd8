// The gradient button driven by posted mouse messages, as the windows'
// users drive it: press, drag, release, other buttons, disabled, and click
// handlers that swap themselves or run a nested message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "styled_test_util.h"
#include "ui/controls/gradient_button.h"

namespace pellion {
namespace {

using namespace testing_util;

struct Event {
    UINT msg;
    int x, y;
};

class ButtonMouse : public testing::Test {
  protected:
    void SetUp() override {
        button_ = std::make_unique<TGradientButton>(host_.Get(), 10, 10, 73, 22, "Setup");
        button_->SetColor(clRed);
        button_->SetColorTo(clMaroon);
        button_->SetColorHot(clMaroon);
        button_->SetColorHotTo(clBlack);
        button_->SetColorDown(14210002);
        button_->SetOnClick([this](TGradientButton&) { ++clicks_; });
    }
    void TearDown() override { ::ReleaseCapture(); }
    void Post(const Event& e) {
        WPARAM keys = e.msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
        ::PostMessageW(button_->Handle(), e.msg, keys, MAKELPARAM(e.x, e.y));
    }
    void Play(std::initializer_list<Event> events) {
        for (const Event& e : events) Post(e);
        Pump();
    }
    Rgb FaceTop() {
        Canvas canvas(73, 22);
        button_->PaintTo(canvas.Dc());
        return canvas.At(4, 1);
    }

    Host host_{300, 100};
    std::unique_ptr<TGradientButton> button_;
    int clicks_ = 0;
};

constexpr UINT kMove = WM_MOUSEMOVE, kDown = WM_LBUTTONDOWN, kUp = WM_LBUTTONUP;

TEST_F(ButtonMouse, Sequences) {
    struct Row {
        std::vector<Event> events;
        int clicks;
        bool hotAfter;
        const char* what;
    };
    const Row rows[] = {
        {{{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}}, 1, true, "click; hot again after it"},
        {{{kMove, 5, 5}, {kDown, 5, 5}, {kMove, 200, 5}, {kUp, 200, 5}},
         0,
         false,
         "dragged outside and released there"},
        {{{kMove, 5, 5}, {kDown, 5, 5}, {kMove, 200, 5}, {kMove, 5, 5}, {kUp, 5, 5}},
         1,
         true,
         "dragged out and back in"},
        {{{kMove, 5, 5}, {kDown, 5, 5}, {kMove, 10, 22}, {kUp, 10, 22}},
         1,
         true,
         "released on the bottom edge: still inside"},
        {{{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 73, 5}}, 0, false, "released on the right edge"},
        {{{kMove, 5, 5}, {WM_RBUTTONDOWN, 5, 5}, {WM_RBUTTONUP, 5, 5}}, 0, true, "right button"},
        {{{kMove, 5, 5}, {WM_MBUTTONDOWN, 5, 5}, {WM_MBUTTONUP, 5, 5}}, 0, true, "middle button"},
        {{{kDown, 5, 5}, {kUp, 5, 5}}, 1, true, "no move before the press"},
        {{{kMove, 5, 5}, {kUp, 5, 5}}, 0, true, "release without a press"},
        {{{kMove, 5, 5}, {kDown, 5, 5}, {WM_MOUSELEAVE, 0, 0}, {kMove, 200, 5}, {kUp, 200, 5}},
         0,
         false,
         "leave while dragged outside"},
    };
    for (const Row& r : rows) {
        SetUp();
        for (const Event& e : r.events) Post(e);
        Pump();
        EXPECT_EQ(clicks_, r.clicks) << r.what;
        EXPECT_EQ(button_->State(), ButtonState::Up) << r.what;
        EXPECT_EQ(button_->Hot(), r.hotAfter) << r.what;
        EXPECT_NE(::GetCapture(), button_->Handle()) << r.what;
        clicks_ = 0;
    }
}

TEST_F(ButtonMouse, PressedShowsDownAndDraggedOutsideShowsUp) {
    const Rgb grey{210, 211, 216};
    Play({{kMove, 5, 5}, {kDown, 5, 5}});
    EXPECT_EQ(button_->State(), ButtonState::Down);
    EXPECT_EQ(::GetCapture(), button_->Handle());
    EXPECT_EQ(FaceTop(), grey);
    Play({{kMove, 200, 5}});
    EXPECT_EQ(button_->State(), ButtonState::Up);
    // No WM_MOUSELEAVE comes for posted moves, so the button is still hot:
    // the face is the hot one (maroon at the top), not the pressed one.
    EXPECT_TRUE(button_->Hot());
    EXPECT_EQ(FaceTop(), (Rgb{128, 0, 0}));
    Play({{kMove, 5, 5}});
    EXPECT_EQ(FaceTop(), grey);
    Play({{kMove, 5, -1}});
    EXPECT_EQ(button_->State(), ButtonState::Up) << "above the top edge";
    Play({{kUp, 5, -1}});
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(FaceTop(), (Rgb{255, 0, 0})) << "at rest again";
}

TEST_F(ButtonMouse, DisabledIgnoresTheMouseAndBmClick) {
    button_->SetEnabled(false);
    EXPECT_EQ(button_->State(), ButtonState::Disabled);
    Play({{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}});
    ::SendMessageW(button_->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks_, 0);
    EXPECT_FALSE(button_->Hot());
    button_->SetEnabled(true);
    EXPECT_EQ(button_->State(), ButtonState::Up);
    ::SendMessageW(button_->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonMouse, DisablingWhilePressedReleasesTheMouse) {
    Play({{kMove, 5, 5}, {kDown, 5, 5}});
    button_->SetEnabled(false);
    EXPECT_NE(::GetCapture(), button_->Handle());
    Play({{kUp, 5, 5}});
    EXPECT_EQ(clicks_, 0);
}

TEST_F(ButtonMouse, HandlerSwappedDuringItsOwnNestedLoop) {
    // As with Pause/Resume: the first handler installs the second, then
    // pumps messages until the second one has run from a second click.
    int first = 0, second = 0, rounds = 0;
    TGradientButton::ClickHandler resume = [&](TGradientButton&) { ++second; };
    button_->SetOnClick([&](TGradientButton& sender) {
        ++first;
        sender.SetOnClick(resume);
        while (second == 0 && ++rounds < 1000) Pump();
    });
    Play({{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}});
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_LT(rounds, 1000);
    EXPECT_EQ(button_->State(), ButtonState::Up);
    EXPECT_EQ(::SetWindowTextW(button_->Handle(), L"Resume"), TRUE);
    EXPECT_EQ(button_->Caption(), "Resume");
}

TEST_F(ButtonMouse, HandlerMayDestroyTheButton) {
    button_->SetOnClick([this](TGradientButton&) { button_.reset(); });
    Play({{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}});
    EXPECT_EQ(button_, nullptr);
}

TEST_F(ButtonMouse, NeverTakesTheFocus) {
    ::ShowWindow(host_.Get(), SW_SHOWNOACTIVATE);
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 100, 50, 80, 20,
                                  host_.Get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetForegroundWindow(host_.Get());
    ::SetFocus(edit);
    HWND before = ::GetFocus();
    Play({{kMove, 5, 5}, {kDown, 5, 5}, {kUp, 5, 5}});
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(::GetFocus(), before);
    EXPECT_NE(::GetFocus(), button_->Handle());
    ::DestroyWindow(edit);
}

}  // namespace
}  // namespace pellion
