#include "ui/dialogs/message_rules.h"

#include "base/text.h"

namespace pellion {

namespace {

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
    switch (flags & mb::kIconMask) {
        case mb::kIconHand:
            return TaskDialogIcon::Error;
        case mb::kIconQuestion:
            return TaskDialogIcon::Question;
        case mb::kIconExclamation:
            return TaskDialogIcon::Warning;
        case mb::kIconAsterisk:
            return TaskDialogIcon::Information;
        default:
            return TaskDialogIcon::None;
    }
}

void MessageBoxButtons(unsigned style, TaskDialogDescription& d) {
    switch (style) {
        case mb::kOK:
            d.CommonButtons = cbOK;
            break;
        case mb::kOKCancel:
            d.CommonButtons = cbOK | cbCancel;
            break;
        case mb::kAbortRetryIgnore:
            d.CustomButtons = {"Abort", "&Retry", "&Ignore"};
            break;
        case mb::kYesNoCancel:
            d.CommonButtons = cbYes | cbNo | cbCancel;
            break;
        case mb::kYesNo:
            d.CommonButtons = cbYes | cbNo;
            break;
        case mb::kRetryCancel:
            d.CustomButtons = {"&Retry", "Cancel"};
            break;
        case mb::kCancelTryContinue:
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

}  // namespace

void DescribeMessageBox(uint32_t flags, TaskDialogDescription& d) {
    d.Icon = MessageBoxIcon(flags);
    MessageBoxButtons(flags & mb::kButtonsMask, d);
    if (flags & mb::kHelp) d.CustomButtons.push_back("&Help");
    d.DefaultButton =
        NthMessageBoxButton(d, int((flags & mb::kDefButtonMask) >> mb::kDefButtonShift) + 1);
    if (d.CommonButtons & cbCancel) d.Options |= tdoAllowCancel;
}

int MessageBoxResult(uint32_t flags, int buttonNumber) {
    if (buttonNumber >= kButtonOK && buttonNumber <= kButtonNo) return buttonNumber;
    int custom = buttonNumber - kFirstCustomButton;
    switch (flags & mb::kButtonsMask) {
        case mb::kAbortRetryIgnore:
            if (custom >= 0 && custom < 3) return kButtonAbort + custom;
            break;
        case mb::kRetryCancel:
            if (custom == 0) return kButtonRetry;
            if (custom == 1) return kButtonCancel;
            break;
        case mb::kCancelTryContinue:
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

}  // namespace pellion
