#pragma once
// A window's children placed from their rectangles at 96 dpi, scaled to the
// window's DPI when they are created and again whenever the DPI changes
// (the window moved to a monitor of another scale). The window keeps one
// layout; its own rules that follow from measured sizes (centring a label,
// a font of a plain control) run as steps after the placements.

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/controls/styled_control.h"
#include "base/dpi_scale.h"

namespace pellion {

class ScaledLayout {
  public:
    explicit ScaledLayout(int dpi = kDesignDpi) : scale_(dpi) {}
    const DpiScale& Scale() const { return scale_; }

    // Where a window laid out at `designed` goes at the present DPI: the
    // child is created there, then kept there by Keep.
    ScaledRect At(const ScaledRect& designed) const { return scale_(designed); }
    // Puts `hwnd`, created at At(designed), at `designed` scaled again after
    // every DPI change. A width and height of 0 keep the window's own size
    // (a label sizes itself to its text).
    void Keep(HWND hwnd, const ScaledRect& designed);
    // The same for a styled control, which also draws at the layout's DPI.
    void Keep(win::StyledControl& control, const ScaledRect& designed);
    // A styled control placed by the window's own rules: only its drawing
    // follows the DPI.
    void Follow(win::StyledControl& control);
    // Runs `step` now and after the placements at every DPI change.
    void Then(std::function<void(const DpiScale&)> step);

    // The window now shows at `dpi`: the controls' drawing first (fonts,
    // sizes to the text), then the placements, then the steps.
    void Rescale(int dpi);

  private:
    struct Entry {
        HWND hwnd;
        win::StyledControl* control;
        ScaledRect designed;
        bool placed;
    };
    void Apply(const Entry& e) const;

    DpiScale scale_;
    std::vector<Entry> entries_;
    std::vector<std::function<void(const DpiScale&)>> steps_;
};

}  // namespace pellion
