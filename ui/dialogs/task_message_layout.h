#pragma once
// The arithmetic of the program's own dialog window, which needs no window:
// layout units from the dialog font, its buttons and their order, default
// and cancel buttons, and where everything goes.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialogs/task_dialog_description.h"
#include "base/dpi_scale.h"

namespace pellion {

struct LayoutUnits {
    int hMargin;
    int vMargin;
    int hSpacing;
    int vSpacing;
    int buttonGap;
    int buttonHeight;
};
// From the drawn size of the 52 letters A-Z a-z on one line in the dialog
// font: w = width / 52, h = height.
LayoutUnits ComputeLayoutUnits(int sampleWidth, int sampleHeight);

struct OwnButton {
    std::string caption;
    int number;  // modal result and control id
};
// Custom buttons first, then OK, Yes, No, Cancel, Retry, Abort (the Close
// bit); a lone OK when nothing is requested.
std::vector<OwnButton> OwnWindowButtons(const TaskDialogDescription& d);

// Number of the window's default button (Enter, first in the tab order,
// initial focus), 0 when there is none.
int OwnWindowDefaultButton(const TaskDialogDescription& d, const std::vector<OwnButton>& buttons);

// Number of the button Escape presses when AllowCancel is set: Cancel, else
// No, else OK; 0 when none of them is shown.
int OwnWindowCancelButton(const std::vector<OwnButton>& buttons);

// A button is as wide as its caption plus 16 pixels, at least 60.
int ButtonWidth(int captionWidth);

// Button widths by caption, measured once per process.
class ButtonWidthCache {
  public:
    int Width(const std::string& caption, const std::function<int(const std::string&)>& measure);

  private:
    std::map<std::string, int> widths_;
};

struct LayoutSize {
    int cx = 0;
    int cy = 0;
};
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// What the own window's layout is computed from.
struct OwnWindowMetrics {
    LayoutUnits units{};
    int captionWidth = 0;           // drawn width of the window caption
    bool hasIcon = false;           // an icon other than none
    int iconSize = 32;              // the icon's square: 32 at 96 dpi
    LayoutSize instruction;         // wrapped size of the instruction, 0 when absent
    LayoutSize content;             // wrapped size of the content, 0 when absent
    std::vector<int> buttonWidths;  // in row order
    LayoutSize verification;        // size of the check box, 0 when absent
    int minimumWidth = 350;
    int maxClientWidth = 0;  // screen width less twice the edge height
};

struct OwnWindowLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    LayoutRect icon;  // the icon's square (32 at 96 dpi), reserved even without an icon
    LayoutRect instruction;
    LayoutRect content;
    std::vector<LayoutRect> buttons;  // in row order
    LayoutRect verification;
    LayoutRect band;      // button band, filled with BandColor
    LayoutRect bandLine;  // its top line, in BandLineColor
};

OwnWindowLayout LayoutOwnWindow(const OwnWindowMetrics& m);

// Caption of the own window: the title, or else the executable's file name
// without folder and extension.
std::string OwnWindowCaption(const std::string& title, std::string_view exePath);

// The text Ctrl+C puts on the clipboard: title, instruction and content on
// three CR LF separated lines.
std::string ClipboardText(const TaskDialogDescription& d);

}  // namespace pellion
