#pragma once
// TGradientPanel: a container with a vertical colour gradient and an
// optional 3-D frame. Its font is the one its children ask for
// (WM_GETFONT); their notifications go on to the panel's parent.

#include <windows.h>

#include "ui/controls/gradient_panel_look.h"
#include "ui/controls/styled_control.h"
#include "base/win/unique_handle.h"

namespace pellion {

class TGradientPanel : public win::StyledControl {
  public:
    TGradientPanel(HWND parent, int x, int y, int width, int height);

    const PanelProps& Props() const { return props_; }
    void SetColor(TColor v) { Set(props_.color, v); }
    void SetColorTo(TColor v) { Set(props_.colorTo, v); }
    void SetColorMirror(TColor v) { Set(props_.colorMirror, v); }
    void SetColorMirrorTo(TColor v) { Set(props_.colorMirrorTo, v); }
    void SetGradientDirection(GradientDirection v) { Set(props_.gradientDirection, v); }
    void SetBevelOuter(PanelBevel v) { Set(props_.bevelOuter, v); }
    void SetBevelInner(PanelBevel v) { Set(props_.bevelInner, v); }
    void SetBevelWidth(int v) { Set(props_.bevelWidth, v); }
    void SetBorderColor(TColor v) { Set(props_.borderColor, v); }
    void SetBorderWidth(int v) { Set(props_.borderWidth, v); }

    const FontSpec& Font() const { return font_; }
    HFONT FontHandle() const { return fontHandle_.Get(); }
    void SetFont(const FontSpec& font);

    // Draws the panel's own pixels (not its children) onto dc.
    void PaintTo(HDC dc) override;

  private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ScaleChanged() override;

    PanelProps props_;
    FontSpec font_;
    win::UniqueFont fontHandle_;
};

}  // namespace pellion
