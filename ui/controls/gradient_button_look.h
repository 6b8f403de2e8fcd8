#pragma once
// What a flat gradient button draws, and how it reacts to the mouse
// (portable). The Win32 half (ui/gradient_button.h) feeds mouse messages in
// and carries out the effects.

#include <string>

#include "ui/controls/gradient_paint.h"

namespace pellion {

enum class ButtonState { Up, Disabled, Down };

struct ButtonProps {
    TColor color = clBtnFace;
    TColor colorTo = clNone;
    TColor colorHot = 13289415;
    TColor colorHotTo = clNone;
    TColor colorDown = 14210002;
    TColor colorDownTo = clNone;
    TColor borderColor = clNone;
    TColor borderHotColor = clNone;
    TColor borderDownColor = clNone;
    bool rounded = false;
    bool showCaption = true;
};

constexpr int kButtonCorner = 8;

// The face: the control's rectangle, shrunk by one pixel on every side when
// BorderDownColor is clNone or the button is rounded. Nothing outside the
// face is painted except an outline in a border colour that is set.
Rect ButtonFace(const ButtonProps& props, int width, int height);

// Top-left corner of the caption: centred in the face shrunk by one more
// pixel, at ((W - w + 1) div 2, (H - h + 1) div 2) inside it.
struct Point {
    int x = 0, y = 0;
};
Point CaptionOrigin(const Rect& face, TextSize text);

// Face colours by state: at rest (or disabled) Color..ColorTo, hot
// ColorHot..ColorHotTo, hot and down ColorDown..ColorDownTo; a second colour
// of clNone fills solid, else 16 bands. Outlines are drawn only in border
// colours that are not clNone. A disabled caption is drawn embossed:
// clBtnHighlight one pixel right and down, then clBtnShadow in place.
struct ButtonLookInput {
    ButtonState state = ButtonState::Up;
    bool hot = false;
    int width = 0, height = 0;
    std::string caption;
    TextSize captionSize;
    TColor fontColor = clWindowText;
    // The rounded outline's corner, at the button's DPI.
    int corner = kButtonCorner;
};
DrawList ButtonLook(const ButtonProps& props, const ButtonLookInput& in, SystemColorSource system);

// Inside the client area for tracking and clicks: the bottom edge counts.
bool InsideButton(int x, int y, int width, int height);

// The mouse state machine of a flat button. Each event answers what the
// window must do; a click is reported after the state has settled, and the
// caller then passes the pointer position to Recheck.
class ButtonInput {
  public:
    struct Effect {
        bool repaint = false;
        bool click = false;
        bool capture = false;     // start tracking: capture the mouse
        bool release = false;     // stop tracking: release the capture
        bool watchLeave = false;  // hot just set: ask to hear when the mouse leaves
    };

    ButtonState State() const { return state_; }
    bool Hot() const { return hot_; }
    bool Tracking() const { return tracking_; }

    // Any move; captureElsewhere when another window holds the mouse.
    Effect MouseMove(bool inside, bool captureElsewhere);
    Effect MouseLeave();
    Effect LeftDown();
    Effect LeftUp(bool inside);
    // After the click (if any): the hot flag follows the pointer again.
    Effect Recheck(bool inside);
    // The capture went to someone else: stop tracking without a click.
    Effect CaptureLost();
    Effect SetEnabled(bool enabled);

  private:
    Effect SetHot(bool hot);
    ButtonState state_ = ButtonState::Up;
    bool hot_ = false;
    bool tracking_ = false;
};

}  // namespace pellion
