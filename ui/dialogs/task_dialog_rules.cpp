#include "ui/dialogs/task_dialog_rules.h"

#include <algorithm>
#include <cstdlib>

#include "base/text.h"

namespace pellion {

namespace {

// Message-box button styles (flags AND $F) with buttons of their own.
constexpr unsigned kStyleAbortRetryIgnore = 2;
constexpr unsigned kStyleRetryCancel = 5;
constexpr unsigned kStyleCancelTryContinue = 6;
constexpr uint32_t kMbHelp = 0x4000;

struct CommonButtonInfo {
    TaskDialogCommonButton bit;
    int number;
};
// The order in which message boxes count their buttons for MB_DEFBUTTONn.
constexpr CommonButtonInfo kCommonOrder[] = {
    {cbOK, kButtonOK},         {cbYes, kButtonYes},     {cbNo, kButtonNo},
    {cbCancel, kButtonCancel}, {cbRetry, kButtonRetry}, {cbClose, kButtonClose},
};

TaskDialogIcon MessageBoxIcon(uint32_t flags) {
    switch (flags & 0xF0) {
        case 0x10:
            return TaskDialogIcon::Error;  // MB_ICONHAND
        case 0x20:
            return TaskDialogIcon::Question;  // MB_ICONQUESTION
        case 0x30:
            return TaskDialogIcon::Warning;  // MB_ICONEXCLAMATION
        case 0x40:
            return TaskDialogIcon::Information;  // MB_ICONASTERISK
        default:
            return TaskDialogIcon::None;
    }
}

void MessageBoxButtons(unsigned style, TaskDialogDescription& d) {
    switch (style) {
        case 0:
            d.CommonButtons = cbOK;
            break;
        case 1:
            d.CommonButtons = cbOK | cbCancel;
            break;
        case kStyleAbortRetryIgnore:
            d.CustomButtons = {"Abort", "&Retry", "&Ignore"};
            break;
        case 3:
            d.CommonButtons = cbYes | cbNo | cbCancel;
            break;
        case 4:
            d.CommonButtons = cbYes | cbNo;
            break;
        case kStyleRetryCancel:
            d.CustomButtons = {"&Retry", "Cancel"};
            break;
        case kStyleCancelTryContinue:
            d.CustomButtons = {"Cancel", "&Retry", "continue"};
            break;
        default:
            break;
    }
}

// The n-th button (from 1) as a message box counts them: its common buttons
// in their order, then the custom ones. 0 when there are fewer than n.
int NthMessageBoxButton(const TaskDialogDescription& d, int n) {
    int count = 0;
    for (const CommonButtonInfo& info : kCommonOrder) {
        if (!(d.CommonButtons & info.bit)) continue;
        if (++count == n) return info.number;
    }
    int custom = n - count - 1;
    if (custom < int(d.CustomButtons.size())) return kFirstCustomButton + custom;
    return 0;
}

struct MessageDialogCustom {
    TMsgDlgBtn member;
    const char* caption;
    int result;
};
constexpr MessageDialogCustom kMessageDialogCustoms[] = {
    {mbIgnore, "&Ignore", kButtonIgnore}, {mbAll, "&All", 8},   {mbNoToAll, "N&o to All", 9},
    {mbYesToAll, "Yes to &All", 10},      {mbHelp, "&Help", 0},
};

struct MessageDialogCommon {
    TMsgDlgBtn member;
    TaskDialogCommonButton bit;
};
// Abort has no common button of its own: it takes the sixth (Close).
constexpr MessageDialogCommon kMessageDialogCommons[] = {
    {mbYes, cbYes},       {mbNo, cbNo},       {mbOK, cbOK},
    {mbCancel, cbCancel}, {mbRetry, cbRetry}, {mbAbort, cbClose},
};

bool Has(TMsgDlgButtons set, TMsgDlgBtn member) {
    return (set >> unsigned(member)) & 1u;
}

void MessageDialogLook(TMsgDlgType type, TaskDialogDescription& d) {
    switch (type) {
        case mtWarning:
            d.Icon = TaskDialogIcon::Warning, d.Title = "Warning";
            break;
        case mtError:
            d.Icon = TaskDialogIcon::Error, d.Title = "Error";
            break;
        case mtInformation:
            d.Icon = TaskDialogIcon::Information, d.Title = "Information";
            break;
        case mtConfirmation:
            d.Icon = TaskDialogIcon::Question, d.Title = "Confirm";
            break;
        default:
            d.Icon = TaskDialogIcon::None, d.Title.clear();
            break;
    }
}

int MessageDialogDefault(TMsgDlgBtn member) {
    switch (member) {
        case mbYes:
            return kButtonYes;
        case mbNo:
            return kButtonNo;
        case mbOK:
            return kButtonOK;
        case mbCancel:
            return kButtonCancel;
        case mbAbort:
            return kButtonAbort;
        case mbRetry:
            return kButtonRetry;
        case mbIgnore:
            return kButtonIgnore;
        default:
            return 0;
    }
}

bool HasNumber(const std::vector<OwnButton>& buttons, int number) {
    return std::any_of(buttons.begin(), buttons.end(),
                       [number](const OwnButton& b) { return b.number == number; });
}

int FirstPresent(const std::vector<OwnButton>& buttons, std::initializer_list<int> candidates) {
    for (int n : candidates)
        if (HasNumber(buttons, n)) return n;
    return 0;
}

}  // namespace

void DescribeMessageBox(uint32_t flags, TaskDialogDescription& d) {
    d.Icon = MessageBoxIcon(flags);
    MessageBoxButtons(flags & 0xF, d);
    if (flags & kMbHelp) d.CustomButtons.push_back("&Help");
    // MB_DEFBUTTON2/3/4 are $100/$200/$300.
    d.DefaultButton = NthMessageBoxButton(d, int((flags >> 8) & 3) + 1);
    if (d.CommonButtons & cbCancel) d.Options |= tdoAllowCancel;
}

int MessageBoxResult(uint32_t flags, int buttonNumber) {
    if (buttonNumber >= kButtonOK && buttonNumber <= kButtonNo) return buttonNumber;
    int custom = buttonNumber - kFirstCustomButton;
    switch (flags & 0xF) {
        case kStyleAbortRetryIgnore:
            if (custom >= 0 && custom < 3) return kButtonAbort + custom;
            break;
        case kStyleRetryCancel:
            if (custom == 0) return kButtonRetry;
            if (custom == 1) return kButtonCancel;
            break;
        case kStyleCancelTryContinue:
            if (custom == 0) return kButtonCancel;
            if (custom == 1) return kButtonTryAgain;
            if (custom == 2) return kButtonContinue;
            break;
        default:
            break;
    }
    return 0;
}

std::vector<int> DescribeMessageDialog(TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                                       TMsgDlgBtn defaultMember, TaskDialogDescription& d) {
    MessageDialogLook(type, d);
    for (const MessageDialogCommon& c : kMessageDialogCommons)
        if (Has(buttons, c.member)) d.CommonButtons |= c.bit;
    // Every requested extra member gets its button and its result: a fixed
    // table of four would drop (or overrun with) a fifth.
    std::vector<int> results;
    for (const MessageDialogCustom& c : kMessageDialogCustoms) {
        if (!Has(buttons, c.member)) continue;
        d.CustomButtons.push_back(c.caption);
        results.push_back(c.result);
    }
    d.DefaultButton = MessageDialogDefault(defaultMember);
    d.HelpContext = helpContext;
    d.Options |= tdoAllowCancel;
    return results;
}

MessageDialogOutcome MessageDialogResult(const std::vector<int>& customResults, int helpContext,
                                         int buttonNumber) {
    switch (buttonNumber) {
        case kButtonOK:
        case kButtonCancel:
        case kButtonAbort:
        case kButtonRetry:
        case kButtonYes:
        case kButtonNo:
            return {buttonNumber, false};
        // The system task dialog shows Abort as its Close button.
        case kButtonClose:
            return {kButtonAbort, false};
        default:
            break;
    }
    int custom = buttonNumber - kFirstCustomButton;
    if (custom < 0 || custom >= int(customResults.size())) return {0, false};
    int result = customResults[size_t(custom)];
    return {result, result == 0 && helpContext > 0};
}

std::string SystemDialogText(std::string_view text) {
    if (text.find("\\\\n") != std::string_view::npos) return ReplaceAll(text, "\\\\n", "\\n");
    return ReplaceAll(text, "\\n", "\n");
}

int MulDivRound(int a, int b, int c) {
    if (c == 0) return 0;
    long long product = (long long)a * b;
    long long q = (std::llabs(product) + std::llabs((long long)c) / 2) / std::llabs((long long)c);
    return int(((product < 0) != (c < 0)) ? -q : q);
}

LayoutUnits ComputeLayoutUnits(int sampleWidth, int sampleHeight) {
    int w = sampleWidth / 52;
    int h = sampleHeight;
    return {MulDivRound(8, w, 4),  MulDivRound(8, h, 8), MulDivRound(10, w, 4),
            MulDivRound(10, h, 8), MulDivRound(4, w, 4), MulDivRound(14, h, 8)};
}

std::vector<OwnButton> OwnWindowButtons(const TaskDialogDescription& d) {
    std::vector<OwnButton> buttons;
    for (size_t i = 0; i < d.CustomButtons.size(); ++i)
        buttons.push_back({d.CustomButtons[i], kFirstCustomButton + int(i)});
    static const struct {
        TaskDialogCommonButton bit;
        const char* caption;
        int number;
    } kCommons[] = {
        {cbOK, "OK", kButtonOK},           {cbYes, "&Yes", kButtonYes},
        {cbNo, "&No", kButtonNo},          {cbCancel, "Cancel", kButtonCancel},
        {cbRetry, "&Retry", kButtonRetry}, {cbClose, "&Abort", kButtonAbort},
    };
    for (const auto& c : kCommons)
        if (d.CommonButtons & c.bit) buttons.push_back({c.caption, c.number});
    if (buttons.empty()) buttons.push_back({"OK", kButtonOK});
    return buttons;
}

int OwnWindowDefaultButton(const TaskDialogDescription& d, const std::vector<OwnButton>& buttons) {
    if (d.DefaultButton == -1) return 0;
    // A custom default is the window's default too, as in the system dialog.
    if (d.DefaultButton >= kFirstCustomButton && HasNumber(buttons, d.DefaultButton))
        return d.DefaultButton;
    // The OK added when nothing was requested is always the default.
    if (d.CommonButtons == 0 && d.CustomButtons.empty()) return kButtonOK;
    switch (d.DefaultButton) {
        case 0:
            return FirstPresent(buttons, {kButtonOK, kButtonYes, kButtonRetry});
        case kButtonOK:
            return FirstPresent(buttons, {kButtonOK, kButtonYes});
        case kButtonCancel:
            return FirstPresent(buttons, {kButtonCancel, kButtonNo});
        case kButtonYes:
            return FirstPresent(buttons, {kButtonYes, kButtonOK});
        case kButtonNo:
            return FirstPresent(buttons, {kButtonNo, kButtonOK});
        default:
            return FirstPresent(buttons, {kButtonOK});
    }
}

int OwnWindowCancelButton(const std::vector<OwnButton>& buttons) {
    return FirstPresent(buttons, {kButtonCancel, kButtonNo, kButtonOK});
}

int ButtonWidth(int captionWidth) {
    return std::max(captionWidth + 16, 60);
}

int ButtonWidthCache::Width(const std::string& caption,
                            const std::function<int(const std::string&)>& measure) {
    auto it = widths_.find(caption);
    if (it != widths_.end()) return it->second;
    int width = ButtonWidth(measure(caption));
    widths_.emplace(caption, width);
    return width;
}

namespace {

bool Present(const LayoutSize& s) {
    return s.cx > 0 || s.cy > 0;
}

LayoutRect At(int left, int top, const LayoutSize& s) {
    return {left, top, left + s.cx, top + s.cy};
}

int ClientWidth(const OwnWindowMetrics& m) {
    const LayoutUnits& u = m.units;
    int row = 0;
    for (int w : m.buttonWidths) row += w + u.buttonGap;
    int text = 32 + u.hSpacing + std::max(m.instruction.cx, m.content.cx);
    int inner = std::max({text, row, m.verification.cx});
    int width = std::max({m.captionWidth + 50, 2 * u.hMargin + inner, m.minimumWidth});
    if (m.maxClientWidth > 0) width = std::min(width, m.maxClientWidth);
    return width;
}

// Lays the texts out right of the icon; answers the bottom of the body.
int LayoutBody(const OwnWindowMetrics& m, OwnWindowLayout& l) {
    const LayoutUnits& u = m.units;
    l.icon = {u.hMargin, u.vMargin, u.hMargin + 32, u.vMargin + 32};
    int left = m.hasIcon ? u.hMargin + 32 + u.hSpacing : u.hMargin;
    int top = u.vMargin;
    int bottom = l.icon.bottom;
    if (Present(m.instruction)) {
        l.instruction = At(left, top, m.instruction);
        top = l.instruction.bottom + u.vSpacing;
        bottom = std::max(bottom, l.instruction.bottom);
    }
    if (Present(m.content)) {
        l.content = At(left, top, m.content);
        bottom = std::max(bottom, l.content.bottom);
    }
    return bottom;
}

}  // namespace

OwnWindowLayout LayoutOwnWindow(const OwnWindowMetrics& m) {
    const LayoutUnits& u = m.units;
    OwnWindowLayout l;
    l.clientWidth = ClientWidth(m);
    int buttonTop = LayoutBody(m, l) + u.vSpacing + u.vSpacing / 2;
    int right = l.clientWidth - (u.hSpacing + 4);
    l.buttons.resize(m.buttonWidths.size());
    for (size_t i = m.buttonWidths.size(); i-- > 0;) {
        l.buttons[i] = {right - m.buttonWidths[i], buttonTop, right, buttonTop + u.buttonHeight};
        right = l.buttons[i].left - u.buttonGap;
    }
    int bottom = buttonTop + u.buttonHeight;
    if (Present(m.verification)) {
        l.verification = At(u.hMargin, bottom + u.vSpacing / 2, m.verification);
        bottom = l.verification.bottom;
    }
    l.clientHeight = bottom + u.vMargin;
    int bandTop = buttonTop - u.vSpacing / 2;
    l.band = {0, bandTop, l.clientWidth, l.clientHeight};
    l.bandLine = {0, bandTop, l.clientWidth, bandTop + 1};
    return l;
}

std::string OwnWindowCaption(const std::string& title, std::string_view exePath) {
    if (!title.empty()) return title;
    size_t slash = exePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string ClipboardText(const TaskDialogDescription& d) {
    return d.Title + "\r\n" + d.Instruction + "\r\n" + d.Content;
}

}  // namespace pellion
