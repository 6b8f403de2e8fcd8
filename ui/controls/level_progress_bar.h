#pragma once
// TLevelProgressBar: a progress bar drawn as gradient blocks whose colour
// depends on the percentage reached, with the percentage written in the
// middle. It redraws fully on every paint, through a bitmap; with rounded
// corners the bitmap's transparency-key pixels let the parent show through.
// Assistive technology sees a progress bar whose value is the percentage.

#include <windows.h>

#include "ui/controls/accessible_control.h"
#include "ui/controls/level_progress_bar_look.h"
#include "ui/controls/styled_control.h"
#include "base/win/unique_handle.h"

namespace pellion {

class TLevelProgressBar : public win::StyledControl, private win::AccessibleFacts {
  public:
    TLevelProgressBar(HWND parent, int x, int y, int width, int height);

    const ProgressBarProps& Props() const { return props_; }
    int Min() const { return props_.min; }
    int Max() const { return props_.max; }
    int Position() const { return props_.position; }
    void SetMin(int v) { SetAndNotify(props_.min, v); }
    void SetMax(int v) { SetAndNotify(props_.max, v); }
    void SetPosition(int v) { SetAndNotify(props_.position, v); }
    // Level 0 to 3.
    void SetLevelColors(int level, TColor color, TColor colorTo);
    void SetLevel1Perc(int v) { Set(props_.level1Perc, v); }
    void SetLevel2Perc(int v) { Set(props_.level2Perc, v); }
    void SetBorderColor(TColor v) { Set(props_.borderColor, v); }
    void SetBackgroundColor(TColor v) { Set(props_.backgroundColor, v); }
    void SetShowBorder(bool v) { Set(props_.showBorder, v); }
    void SetRounded(bool v) { Set(props_.rounded, v); }
    void SetShowGradient(bool v) { Set(props_.showGradient, v); }
    void SetSteps(int v) { Set(props_.steps, v); }
    void SetShowPosition(bool v) { Set(props_.showPosition, v); }
    void SetShowPercentage(bool v) { Set(props_.showPercentage, v); }

    const FontSpec& Font() const { return font_; }
    void SetFont(const FontSpec& font);

    // Draws the bar onto dc; with Rounded the corner pixels of dc stay as
    // they are.
    void PaintTo(HDC dc) override;

  private:
    // Sets a bound or the position; listeners hear of a new percentage.
    void SetAndNotify(int& field, int value);
    long AccessibleRole() const override;
    std::string AccessibleValue() const override;
    long AccessibleState() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ScaleChanged() override;

    ProgressBarProps props_;
    FontSpec font_;
    win::UniqueFont fontHandle_;
    // Last: cut off from the bar before anything it reports goes.
    win::AccessibleHost accessible_{*this};
};

}  // namespace pellion
