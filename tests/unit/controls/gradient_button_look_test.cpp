// The gradient button: face, caption position, colours by state, and the
// mouse state machine.
#include "ui/controls/gradient_button_look.h"

#include <gtest/gtest.h>

namespace pellion {
namespace {

ColorRef FakeSystem(int index) {
    return 0x010101u * ColorRef(index);
}

// The two windows' button settings.
ButtonProps MainWindowButton() {
    ButtonProps p;
    p.color = clRed;
    p.colorTo = clMaroon;
    p.colorHot = clMaroon;
    p.colorHotTo = clBlack;
    p.colorDown = 14210002;
    return p;
}

ButtonProps ProgressWindowButton() {
    ButtonProps p;
    p.color = clRed;
    p.colorTo = clBlack;
    p.colorHot = clRed;
    p.colorHotTo = 101609;
    p.colorDown = 101609;
    p.colorDownTo = clRed;
    p.rounded = true;
    return p;
}

TEST(ButtonLook, Face) {
    ButtonProps bordered = MainWindowButton();
    bordered.borderDownColor = clBlack;
    ButtonProps roundedBordered = ProgressWindowButton();
    roundedBordered.borderDownColor = clBlack;
    EXPECT_EQ(ButtonFace(MainWindowButton(), 73, 22), (Rect{1, 1, 72, 21}));
    EXPECT_EQ(ButtonFace(ProgressWindowButton(), 114, 26), (Rect{1, 1, 113, 25}));
    EXPECT_EQ(ButtonFace(bordered, 73, 22), (Rect{0, 0, 73, 22}));  // a down border keeps the ring
    EXPECT_EQ(ButtonFace(roundedBordered, 73, 22), (Rect{1, 1, 72, 21}));  // rounded always shrinks
}

TEST(ButtonLook, CaptionOrigin) {
    struct Row {
        Rect face;
        TextSize text;
        int x, y;
    };
    const Row rows[] = {
        {{1, 1, 72, 21}, {40, 18}, 17, 2},   // inside (2,2)-(71,20): (69-40+1)/2 = 15
        {{1, 1, 72, 21}, {41, 15}, 16, 4},   // (69-41+1)/2 = 14, (18-15+1)/2 = 2
        {{1, 1, 72, 21}, {80, 20}, -3, 2},   // wider: -10/2 = -5; -1/2 truncates to 0
        {{1, 1, 113, 25}, {50, 16}, 32, 5},  // a progress-window button
    };
    for (const Row& r : rows) {
        Point at = CaptionOrigin(r.face, r.text);
        EXPECT_EQ(at.x, r.x) << r.text.width << "x" << r.text.height;
        EXPECT_EQ(at.y, r.y) << r.text.width << "x" << r.text.height;
    }
}

ButtonLookInput Input(ButtonState state, bool hot, int w = 73, int h = 22) {
    ButtonLookInput in;
    in.state = state;
    in.hot = hot;
    in.width = w;
    in.height = h;
    in.caption = "Setup";
    in.captionSize = {40, 18};
    in.fontColor = clWhite;
    return in;
}

TEST(ButtonLook, FaceColoursByState) {
    struct Row {
        bool rounded;
        ButtonState state;
        bool hot;
        size_t fills;
        ColorRef first, last;
    };
    const ColorRef red = MakeRgb(255, 0, 0), grey = MakeRgb(210, 211, 216);
    const ColorRef orange = MakeRgb(233, 140, 1);
    const Row rows[] = {
        {false, ButtonState::Up, false, 16, red, MakeRgb(136, 0, 0)},              // red to maroon
        {false, ButtonState::Up, true, 16, MakeRgb(128, 0, 0), MakeRgb(8, 0, 0)},  // maroon..black
        {false, ButtonState::Down, true, 1, grey, grey},                    // solid when pressed
        {false, ButtonState::Down, false, 16, red, MakeRgb(136, 0, 0)},     // pressed, pointer away
        {false, ButtonState::Disabled, true, 16, red, MakeRgb(136, 0, 0)},  // disabled: rest
        {true, ButtonState::Up, false, 16, red, MakeRgb(16, 0, 0)},         // red to black
        {true, ButtonState::Up, true, 16, red, MakeRgb(234, 131, 1)},       // red to orange
        {true, ButtonState::Down, true, 16, orange, MakeRgb(254, 9, 0)},    // orange to red
    };
    for (const Row& r : rows) {
        ButtonProps p = r.rounded ? ProgressWindowButton() : MainWindowButton();
        int w = r.rounded ? 114 : 73, h = r.rounded ? 26 : 22;
        DrawList list = ButtonLook(p, Input(r.state, r.hot, w, h), FakeSystem);
        size_t fills = 0;
        for (const DrawOp& op : list.ops) {
            if (op.kind != DrawOp::Kind::Fill) continue;
            ++fills;
            // Nothing lands on the outer ring.
            EXPECT_GE(op.rect.left, 1);
            EXPECT_GE(op.rect.top, 1);
            EXPECT_LE(op.rect.right, w - 1);
            EXPECT_LE(op.rect.bottom, h - 1);
        }
        ASSERT_EQ(fills, r.fills) << int(r.state) << " hot " << r.hot;
        EXPECT_EQ(list.ops.front().fill, r.first) << int(r.state) << " hot " << r.hot;
        EXPECT_EQ(list.ops[fills - 1].fill, r.last) << int(r.state) << " hot " << r.hot;
        // No outline in any state: every border colour is clNone.
        for (const DrawOp& op : list.ops) EXPECT_NE(op.kind, DrawOp::Kind::RoundRect);
        for (const DrawOp& op : list.ops) EXPECT_NE(op.kind, DrawOp::Kind::Frame);
    }
}

TEST(ButtonLook, CaptionPlainAndEmbossed) {
    DrawList up = ButtonLook(MainWindowButton(), Input(ButtonState::Down, true), FakeSystem);
    ASSERT_EQ(up.ops.back().kind, DrawOp::Kind::Text);
    EXPECT_EQ(up.text, "Setup");
    EXPECT_EQ(up.ops.back().rect.left, 17);  // the caption does not move when pressed
    EXPECT_EQ(up.ops.back().rect.top, 2);
    EXPECT_EQ(up.ops.back().pen, 0xFFFFFFu);

    DrawList off = ButtonLook(MainWindowButton(), Input(ButtonState::Disabled, false), FakeSystem);
    size_t n = off.ops.size();
    ASSERT_GE(n, 2u);
    EXPECT_EQ(off.ops[n - 2].kind, DrawOp::Kind::Text);
    EXPECT_EQ(off.ops[n - 2].rect.left, 18);  // highlight one pixel right and down
    EXPECT_EQ(off.ops[n - 2].rect.top, 3);
    EXPECT_EQ(off.ops[n - 2].pen, FakeSystem(20));
    EXPECT_EQ(off.ops[n - 1].rect.left, 17);  // then the shadow in place
    EXPECT_EQ(off.ops[n - 1].pen, FakeSystem(16));

    ButtonProps hidden = MainWindowButton();
    hidden.showCaption = false;
    for (const DrawOp& op : ButtonLook(hidden, Input(ButtonState::Up, false), FakeSystem).ops)
        EXPECT_NE(op.kind, DrawOp::Kind::Text);
}

TEST(ButtonLook, OutlinesOnlyInBorderColoursThatAreSet) {
    struct Row {
        bool rounded;
        TColor border, hotBorder;
        bool hot;
        DrawOp::Kind kind;  // Fill means: no outline
        Rect rect;
    };
    const Row rows[] = {
        {false, clBlack, clNone, false, DrawOp::Kind::Frame, {1, 1, 72, 21}},     // over the face
        {true, clBlack, clNone, false, DrawOp::Kind::RoundRect, {0, 0, 73, 22}},  // whole control
        {true, clNone, clBlack, true, DrawOp::Kind::RoundRect, {0, 0, 73, 22}},   // hot, rounded
        {false, clNone, clBlack, true, DrawOp::Kind::Fill, {}},  // hot, square: none
        {true, clBlack, clNone, true, DrawOp::Kind::Fill, {}},   // hot border clNone: none
    };
    for (const Row& r : rows) {
        ButtonProps p = MainWindowButton();
        p.rounded = r.rounded;
        p.borderColor = r.border;
        p.borderHotColor = r.hotBorder;
        DrawList list = ButtonLook(p, Input(ButtonState::Up, r.hot), FakeSystem);
        const DrawOp* outline = nullptr;
        for (const DrawOp& op : list.ops)
            if (op.kind == DrawOp::Kind::Frame || op.kind == DrawOp::Kind::RoundRect) outline = &op;
        if (r.kind == DrawOp::Kind::Fill) {
            EXPECT_EQ(outline, nullptr) << "rounded " << r.rounded << " hot " << r.hot;
            continue;
        }
        ASSERT_NE(outline, nullptr) << "rounded " << r.rounded << " hot " << r.hot;
        EXPECT_EQ(outline->kind, r.kind);
        EXPECT_EQ(outline->rect, r.rect);
        EXPECT_EQ(outline->pen, 0u);
        EXPECT_FALSE(outline->hasFill);
    }
}

TEST(ButtonInput, InsideCountsTheBottomEdge) {
    EXPECT_TRUE(InsideButton(0, 0, 73, 22));
    EXPECT_TRUE(InsideButton(72, 22, 73, 22));  // bottom edge inclusive
    EXPECT_FALSE(InsideButton(73, 10, 73, 22));
    EXPECT_FALSE(InsideButton(10, 23, 73, 22));
    EXPECT_FALSE(InsideButton(-1, 10, 73, 22));
    EXPECT_FALSE(InsideButton(10, -1, 73, 22));
}

// Event scripts: one letter per event, then the state expected after it.
//   e/o  move inside/outside    x  move inside with a capture elsewhere
//   l  mouse leaves   d  left down   u/v  left up inside/outside (then Recheck)
//   c  capture lost   D/E  disable/enable
struct Script {
    const char* events;
    const char* states;  // U up, D down, X disabled; lower case when not hot
    int clicks;
};

int Feed(ButtonInput& b, char event) {
    ButtonInput::Effect e;
    switch (event) {
        case 'e':
            e = b.MouseMove(true, false);
            break;
        case 'o':
            e = b.MouseMove(false, false);
            break;
        case 'x':
            e = b.MouseMove(true, true);
            break;
        case 'l':
            e = b.MouseLeave();
            break;
        case 'd':
            e = b.LeftDown();
            break;
        case 'u':
        case 'v': {
            e = b.LeftUp(event == 'u');
            b.Recheck(event == 'u');
            break;
        }
        case 'c':
            e = b.CaptureLost();
            break;
        case 'D':
            e = b.SetEnabled(false);
            break;
        case 'E':
            e = b.SetEnabled(true);
            break;
    }
    return e.click ? 1 : 0;
}

char Code(const ButtonInput& b) {
    char c = b.State() == ButtonState::Down ? 'D' : b.State() == ButtonState::Disabled ? 'X' : 'U';
    return b.Hot() ? c : char(c - 'A' + 'a');
}

TEST(ButtonInput, Scripts) {
    const Script scripts[] = {
        {"el", "Uu", 0},          // enter sets hot, leave clears it
        {"x", "u", 0},            // no hot while another window holds the mouse
        {"edu", "UDU", 1},        // click: released inside, hot again after it
        {"edov", "UDUu", 0},      // pressed, dragged out: up; released outside: no click
        {"edoeu", "UDUDU", 1},    // dragged out and back in: down again, then a click
        {"edolv", "UDUuu", 0},    // the leave clears hot while dragged out
        {"du", "DU", 1},          // a press without a move first still makes it hot
        {"edc", "UDU", 0},        // capture taken away: up, no click
        {"edcu", "UDUU", 0},      // a release after that is not a click
        {"eDedlu", "Uxxxxx", 0},  // disabled: all mouse events ignored
        {"edDE", "UDxu", 0},      // disabling while pressed stops tracking
        {"edduu", "UDDUU", 1},    // a second release is not a second click
        {"ev", "Uu", 0},          // release without a press does nothing
    };
    for (const Script& s : scripts) {
        ButtonInput b;
        int clicks = 0;
        std::string got;
        for (const char* e = s.events; *e; ++e) {
            clicks += Feed(b, *e);
            got += Code(b);
        }
        EXPECT_EQ(got, s.states) << "events " << s.events;
        EXPECT_EQ(clicks, s.clicks) << "events " << s.events;
    }
}

TEST(ButtonInput, EffectsForTheWindow) {
    ButtonInput b;
    ButtonInput::Effect e = b.MouseMove(true, false);
    EXPECT_TRUE(e.repaint && e.watchLeave);
    e = b.MouseMove(true, false);
    EXPECT_FALSE(e.repaint);  // nothing changed
    e = b.LeftDown();
    EXPECT_TRUE(e.capture && e.repaint);
    e = b.MouseMove(false, false);
    EXPECT_TRUE(e.repaint);
    e = b.LeftUp(false);
    EXPECT_TRUE(e.release && e.repaint);
    EXPECT_FALSE(e.click);
}

}  // namespace
}  // namespace pellion
