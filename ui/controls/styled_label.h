#pragma once
// TStyledLabel: a line of text that sizes itself to the text. While the
// system's visual styles are active it draws transparently, so the gradient
// of the panel behind it shows around the glyphs (the styled panels clip
// their children, so a plain static control would paint over it); under the
// classic style it fills its rectangle with its colour first. Clicks pass
// through to the window underneath. The text is the window text, so other
// processes read it with WM_GETTEXT.

#include <windows.h>

#include <string>

#include "base/win/unique_handle.h"
#include "ui/controls/gradient_paint.h"
#include "ui/controls/styled_control.h"

namespace pellion {

class TStyledLabel : public win::StyledControl {
  public:
    // How the label's background is decided: by the visual styles at the
    // moment of painting, or fixed either way.
    enum class Background { kAuto, kTransparent, kFilled };

    // Created with its font: the label is measured once.
    TStyledLabel(HWND parent, int x, int y, const std::string& text = std::string(),
                 const FontSpec& font = FontSpec());

    std::string Text() const;
    void SetText(const std::string& text);

    // Face, height, weight and the text's colour.
    const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);
    // The fill colour under the classic style; clNone fills nothing.
    TColor Color() const { return color_; }
    void SetColor(TColor color) { Set(color_, color); }
    void SetBackground(Background b) { Set(background_, b); }
    // True when the next paint leaves the parent's pixels around the text.
    bool DrawsTransparent() const;

    // Position in the parent's client coordinates.
    int Left() const;
    int Top() const;
    void SetLeft(int left);
    void SetPosition(int left, int top);

    // On by default: the size follows the text and the font.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // Width of `text` in the label's font (for gaps measured in characters).
    int TextWidth(const std::string& text) const;

    void PaintTo(HDC dc) override;

  private:
    void FitToText();
    TextSize FittedSize(const std::string& text) const;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ScaleChanged() override;

    FontSpec font_;
    win::UniqueFont fontHandle_;
    TColor color_ = clNone;
    Background background_ = Background::kAuto;
    bool autoSize_ = true;
};

// Whether the system draws this program with visual styles right now.
bool VisualStylesActive();

}  // namespace pellion
