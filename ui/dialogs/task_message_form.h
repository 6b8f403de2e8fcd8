#pragma once
// The program's own dialog window for a task-dialog description: icon,
// instruction, content and a row of buttons on a painted band, laid out in
// units of the system's message font. Built afresh for each run and
// destroyed afterwards; modal through a local message loop.

#include <windows.h>

#include <string>
#include <vector>

#include "base/win/unique_handle.h"
#include "base/win/window.h"
#include "ui/dialogs/task_dialog.h"
#include "ui/dialogs/task_message_layout.h"
#include "base/dpi_scale.h"

namespace pellion {

class TTaskMessageForm : public win::Window {
  public:
    static constexpr wchar_t kClassName[] = L"TTaskMessageForm";
    // Ids of the controls that are not buttons (buttons carry their numbers).
    static constexpr int kIconId = 0xF001;
    static constexpr int kInstructionId = 0xF002;
    static constexpr int kContentId = 0xF003;
    static constexpr int kVerificationId = 0xF004;
    static constexpr COLORREF kInstructionColor = RGB(0, 83, 196);

    explicit TTaskMessageForm(TCustomTaskDialog& dialog);
    ~TTaskMessageForm() override;

    // Builds, shows and runs the window until a button, Escape or the close
    // box ends it; answers the modal result (0 when a quit request ended it,
    // which is posted again). Stores VerificationChecked in the dialog.
    int ShowModal();

    void ShowText(TaskDialogElement element, const std::string& text);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Build();
    std::string LayOut();
    OwnWindowMetrics Measure(HDC dc);
    void CreateControls(const OwnWindowLayout& layout);
    HWND CreateChild(const wchar_t* cls, const std::string& text, DWORD style, const LayoutRect& r,
                     int id, HFONT font);
    void CreateButtons(const OwnWindowLayout& layout);
    void RunLoop();
    bool PreTranslate(const MSG& msg);
    void OnKeyDown(WPARAM key, bool& handled);
    void End(int result);
    void CopyToClipboard();
    void Paint(HDC dc);
    LRESULT OnCtlColor(HDC dc, HWND control);
    bool IsOwnButton(HWND h) const;
    HWND EnterTarget() const;
    void MarkDefault();
    void OnActivate(bool active);

    TCustomTaskDialog& dialog_;
    std::vector<OwnButton> buttons_;
    std::vector<HWND> buttonWindows_;  // in row order
    int defaultButton_ = 0;
    int cancelButton_ = 0;
    OwnWindowLayout layout_;
    win::UniqueFont font_;             // the message font
    win::UniqueFont instructionFont_;  // 11 points, bold
    win::UniqueBrush bandBrush_;
    win::UniqueBrush bandLineBrush_;
    HWND icon_ = nullptr;
    // The icon drawn at a size other than the system's shared 32 pixels.
    win::UniqueIcon scaledIcon_;
    HWND instruction_ = nullptr;
    HWND content_ = nullptr;
    HWND verification_ = nullptr;
    HWND focus_ = nullptr;  // the control with the focus, kept while inactive
    bool done_ = false;
    int result_ = 0;
};

}  // namespace pellion
