#pragma once
// TGradientButton: a flat push button painted with colour gradients that
// change under the mouse and while pressed. It never takes the keyboard
// focus. Its caption is its window text; BM_CLICK clicks it as it would a
// standard button. Assistive technology sees a push button named by the
// caption, which it can press.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/controls/accessible_control.h"
#include "ui/controls/gradient_button_look.h"
#include "ui/controls/styled_control.h"
#include "base/win/unique_handle.h"

namespace pellion {

class TGradientButton : public win::StyledControl, private win::AccessibleFacts {
  public:
    using ClickHandler = std::function<void(TGradientButton& sender)>;

    TGradientButton(HWND parent, int x, int y, int width, int height,
                    const std::string& caption = std::string(), int id = 0);
    ~TGradientButton() override;

    const ButtonProps& Props() const { return props_; }
    void SetColor(TColor v) { Set(props_.color, v); }
    void SetColorTo(TColor v) { Set(props_.colorTo, v); }
    void SetColorHot(TColor v) { Set(props_.colorHot, v); }
    void SetColorHotTo(TColor v) { Set(props_.colorHotTo, v); }
    void SetColorDown(TColor v) { Set(props_.colorDown, v); }
    void SetColorDownTo(TColor v) { Set(props_.colorDownTo, v); }
    void SetBorderColor(TColor v) { Set(props_.borderColor, v); }
    void SetBorderHotColor(TColor v) { Set(props_.borderHotColor, v); }
    void SetBorderDownColor(TColor v) { Set(props_.borderDownColor, v); }
    void SetRounded(bool v) { Set(props_.rounded, v); }
    void SetShowCaption(bool v) { Set(props_.showCaption, v); }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // Without a font of its own the button writes in its parent's font, in
    // the window text colour.
    void SetFont(const FontSpec& font);
    void SetEnabled(bool enabled);
    // The key that presses the button through its window ("Alt+B"), for
    // assistive technology; none by default. The caption draws an ampersand
    // as it is, so it never names a key itself.
    void SetKeyboardShortcut(const std::string& keys) { shortcut_ = keys; }
    // Reported as the default button: the one Enter presses.
    void SetDefaultButton(bool isDefault) { default_ = isDefault; }

    // The handler may be replaced, even by itself while it runs.
    void SetOnClick(ClickHandler handler) { onClick_ = std::move(handler); }
    void Click();

    ButtonState State() const { return input_.State(); }
    bool Hot() const { return input_.Hot(); }

    // Draws the face and caption onto dc; pixels outside the face are left
    // as they are (they show what lies behind the button).
    void PaintTo(HDC dc) override;

  private:
    long AccessibleRole() const override;
    std::string AccessibleName() const override;
    std::string AccessibleShortcut() const override;
    std::string AccessibleAction() const override;
    long AccessibleState() const override;
    void DoAccessibleAction() override;

    void Apply(const ButtonInput::Effect& e);
    bool Inside(LPARAM lp) const;
    void LeftUp(LPARAM lp);
    // Mouse messages, fed to the state machine; false for any other message.
    bool HandleMouse(UINT msg, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ScaleChanged() override;

    ButtonProps props_;
    ButtonInput input_;
    ClickHandler onClick_;
    std::optional<FontSpec> font_;
    win::UniqueFont fontHandle_;
    // Cleared by the destructor: a click handler may destroy the button.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::string shortcut_;
    bool default_ = false;
    // Last: cut off from the button before anything it reports goes.
    win::AccessibleHost accessible_{*this};
};

}  // namespace pellion
