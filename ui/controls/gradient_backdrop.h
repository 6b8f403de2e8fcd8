#pragma once
// TGradientBackdrop: a full-area colour gradient behind a window's page. It
// keeps its picture in a bitmap of its own size and redraws that bitmap only
// when its size or a property changes; every paint is then one copy. The
// page's controls may be its children: it passes their notifications on to
// its parent.

#include <windows.h>

#include "ui/controls/gradient_backdrop_look.h"
#include "ui/controls/styled_control.h"
#include "base/win/unique_handle.h"

namespace pellion {

class TGradientBackdrop : public win::StyledControl {
  public:
    // Fills the parent's client area (the backdrop is aligned to the client).
    explicit TGradientBackdrop(HWND parent);

    GradientStyle Style() const { return props_.style; }
    TColor StartColor() const { return props_.startColor; }
    TColor EndColor() const { return props_.endColor; }
    uint16_t Steps() const { return props_.steps; }
    void SetStyle(GradientStyle v) { Reset(props_.style, v); }
    void SetStartColor(TColor v) { Reset(props_.startColor, v); }
    void SetEndColor(TColor v) { Reset(props_.endColor, v); }
    void SetSteps(uint16_t v) { Reset(props_.steps, v); }

    // Follows the parent's client size again.
    void FillParent();
    // Copies the picture to dc at (0, 0), redrawing the bitmap first when the
    // control's size differs from the one it was drawn for.
    void PaintTo(HDC dc) override;

  private:
    template <typename T>
    void Reset(T& field, const T& value) {
        bitmapWidth_ = 0;  // the next paint redraws the bitmap
        Set(field, value);
    }
    void Redraw(int width, int height);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    BackdropProps props_;
    win::UniqueBitmap bitmap_;
    int bitmapWidth_ = 0, bitmapHeight_ = 0;
    bool destroying_ = false;
};

}  // namespace pellion
