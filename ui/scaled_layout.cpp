#include "ui/scaled_layout.h"

namespace pellion {

void ScaledLayout::Apply(const Entry& e) const {
    if (!e.placed) return;
    ScaledRect r = scale_(e.designed);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (e.designed.width == 0 && e.designed.height == 0) flags |= SWP_NOSIZE;
    ::SetWindowPos(e.hwnd, nullptr, r.left, r.top, r.width, r.height, flags);
}

void ScaledLayout::Keep(HWND hwnd, const ScaledRect& designed) {
    entries_.push_back({hwnd, nullptr, designed, true});
}

void ScaledLayout::Keep(win::StyledControl& control, const ScaledRect& designed) {
    control.SetScale(scale_);
    entries_.push_back({control.Handle(), &control, designed, true});
}

void ScaledLayout::Follow(win::StyledControl& control) {
    control.SetScale(scale_);
    entries_.push_back({control.Handle(), &control, {}, false});
}

void ScaledLayout::Then(std::function<void(const DpiScale&)> step) {
    step(scale_);
    steps_.push_back(std::move(step));
}

void ScaledLayout::Rescale(int dpi) {
    DpiScale next(dpi);
    if (next.Dpi() == scale_.Dpi()) return;
    scale_ = next;
    for (const Entry& e : entries_)
        if (e.control) e.control->SetScale(scale_);
    for (const Entry& e : entries_) Apply(e);
    for (const auto& step : steps_) step(scale_);
}

}  // namespace pellion
