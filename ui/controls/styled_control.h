#pragma once
// Common ground of the styled controls: each is a child window of its own
// class whose property setters store the value and ask for a repaint.

#include <windows.h>

#include <string>

#include "base/win/window.h"
#include "base/dpi_scale.h"

namespace pellion::win {

class StyledControl : public Window {
  public:
    int Width() const;
    int Height() const;
    void SetBounds(int x, int y, int width, int height);
    // Shown or hidden; showing never activates anything.
    bool Visible() const;
    void SetVisible(bool visible);
    // Paints now instead of at the next message pump.
    void Repaint();
    // Draws the whole control into `dc`: the screen, a memory bitmap or a
    // print of the parent.
    virtual void PaintTo(HDC dc) = 0;

    // The DPI the control draws for: its parent's when it was created, then
    // what the window that lays it out says after a DPI change. Font
    // heights, corners and the other drawn lengths follow it; position and
    // size are the layout's.
    const DpiScale& Scale() const { return scale_; }
    void SetScale(const DpiScale& scale);

  protected:
    enum class PaintMode {
        kDirect,              // straight onto the screen (the control keeps its own bitmap)
        kBuffered,            // through an off-screen bitmap, every pixel painted
        kBufferedOverParent,  // the same, over what lies behind the control
    };
    // Answers WM_PAINT, WM_PRINTCLIENT and WM_ERASEBKGND (never erased: the
    // paint covers every pixel). True, with `result` set, when `msg` was one.
    bool HandlePaint(UINT msg, WPARAM wp, PaintMode mode, LRESULT& result);

    // Registers `className` (no background brush: the controls paint every
    // pixel themselves) and creates the control as a visible child.
    void CreateChild(const wchar_t* className, HWND parent, int x, int y, int width, int height,
                     DWORD extraStyle = 0, DWORD exStyle = 0,
                     const std::string& text = std::string(), int id = 0);
    void Changed();
    // Remakes what depends on the DPI (fonts, sizes to the text); repaints.
    virtual void ScaleChanged() { Changed(); }
    template <typename T>
    void Set(T& field, const T& value) {
        field = value;
        Changed();
    }

  private:
    DpiScale scale_;
};

}  // namespace pellion::win
