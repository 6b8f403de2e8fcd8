// The message operations in both presentations: what the dialogs show, what
// keys, buttons and the close box answer, ownership and quit requests.
#include "ui/dialogs/dialogs.h"

#include <gtest/gtest.h>

#include "base/win/application.h"
#include "tests/win32/dialogs/dialogs_script.h"

namespace pellion {
namespace {

using namespace test;

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class Presentations : public ::testing::TestWithParam<DialogPresentation> {
  protected:
    void SetUp() override { SetDialogPresentation(GetParam()); }
    void TearDown() override { SetDialogPresentation(DialogPresentation::Automatic); }
    bool Own() const { return GetParam() == DialogPresentation::OwnWindow; }
};

INSTANTIATE_TEST_SUITE_P(Both, Presentations,
                         ::testing::Values(DialogPresentation::OwnWindow,
                                           DialogPresentation::SystemTaskDialog),
                         [](const auto& info) {
                             return info.param == DialogPresentation::OwnWindow ? "OwnWindow"
                                                                                : "System";
                         });

using Operation = std::function<int()>;

// Runs the operation while `act` works the dialog it shows.
int RunDialog(const Operation& op, const std::function<void(HWND)>& act, Snapshot* seen = nullptr) {
    DialogScript script([&](HWND d) {
        if (seen) *seen = Take(d);
        act(d);
    });
    int result = op();
    EXPECT_TRUE(script.Acted()) << "no dialog was shown";
    return result;
}

Operation Box(uint32_t flags) {
    return [flags] { return MessageBoxDialog(nullptr, "Text", "Caption", flags); };
}
Operation Ask(TMsgDlgButtons buttons) {
    return [buttons] { return MessageDialog("Text", mtWarning, buttons, 0); };
}
Operation Message(const std::string& text = "Text") {
    return [text] { return int(ShowMessage(text)); };
}
// ShowMessage's dialog, answering the button number instead of false.
int InformationDialog(const std::string& text) {
    TCustomTaskDialog d;
    d.Instruction = text;
    d.Icon = TaskDialogIcon::Information;
    return d.Execute();
}

enum Step : int { kEnter = -1, kEscape = -2, kClose = -3, kAltF4 = -4, kTab = -5 };
void Play(HWND d, const std::vector<int>& steps) {
    for (int s : steps) {
        switch (s) {
            case kEnter:
                PostKey(d, VK_RETURN);
                break;
            case kEscape:
                PostKey(d, VK_ESCAPE);
                break;
            case kClose:
                PostCloseBox(d);
                break;
            case kAltF4:
                PostAltF4(d);
                break;
            case kTab:
                PostKey(d, VK_TAB);
                break;
            default:
                PostPress(d, s);
                break;
        }
    }
}

constexpr int kAny = -100;   // the system dialog's own business
constexpr int kSame = -101;  // Wine answers as Windows does

TEST_P(Presentations, KeysButtonsAndCloseBox) {
    struct Row {
        const char* why;
        Operation op;
        std::vector<int> steps;
        int own, system, wine;
    } rows[] = {
        {"flags 49, Enter: OK", Box(49), {kEnter}, 1, 1, kSame},
        {"flags 49, Escape: Cancel", Box(49), {kEscape}, 2, 2, kSame},
        {"flags 49, close box", Box(49), {kClose}, 2, 2, kSame},
        {"flags 49, Cancel button", Box(49), {2}, 2, 2, kSame},
        {"flags 49, Tab then Enter presses Cancel", Box(49), {kTab, kEnter}, 2, 2, kSame},
        {"Alt+F4 never closes the own window", Box(49), {kAltF4, 1}, 1, kAny, kAny},
        // Wine's task dialog ignores Escape unless a Cancel button exists.
        {"Yes/No, Escape: No (own), Cancel (system)",
         Ask(Buttons({mbYes, mbNo})),
         {kEscape, 6},
         7,
         2,
         6},
        {"Yes/No, close box: neither Yes nor No",
         Ask(Buttons({mbYes, mbNo})),
         {kClose},
         2,
         2,
         kSame},
        {"Yes/Cancel, Enter: Yes", Ask(Buttons({mbYes, mbCancel})), {kEnter}, 6, 6, kSame},
        {"Yes/Cancel, close box", Ask(Buttons({mbYes, mbCancel})), {kClose}, 2, 2, kSame},
        {"MB_RETRYCANCEL, &Retry", Box(5), {100}, 4, 4, kSame},
        {"MB_RETRYCANCEL, Cancel", Box(5), {101}, 2, 2, kSame},
        {"MB_RETRYCANCEL ignores Escape", Box(5), {kEscape, 100}, 4, 4, kSame},
        {"MB_ABORTRETRYIGNORE, &Ignore", Box(2), {102}, 5, 5, kSame},
        {"MB_CANCELTRYCONTINUE, continue", Box(6), {102}, 11, 11, kSame},
        {"MB_YESNO|MB_DEFBUTTON2, Enter: No", Box(0x104), {kEnter}, 7, 7, kSame},
        {"message: Escape, close box and Alt+F4 do nothing",
         [] { return InformationDialog("Text"); },
         {kEscape, kClose, kAltF4, kEnter},
         1,
         1,
         kSame},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        int expected = Own() ? r.own : (UnderWine() && r.wine != kSame ? r.wine : r.system);
        int result = RunDialog(r.op, [&](HWND d) { Play(d, r.steps); });
        if (expected != kAny) {
            EXPECT_EQ(result, expected);
        }
    }
}

TEST_P(Presentations, ShowsTitleIconButtonsAndDefault) {
    struct Row {
        const char* why;
        Operation op;
        std::string title, systemTitle;
        std::vector<int> ids;  // left to right
        int defaultId;
        const wchar_t* icon;
        bool closeBox;  // own window
    } rows[] = {
        {"start-up notice", Box(49), "Caption", "Caption", {1, 2}, 1, IDI_WARNING, true},
        // The system names an untitled dialog after the exe file, extension included.
        {"ShowMessage",
         Message(),
         "win32_tests",
         "win32_tests.exe",
         {1},
         1,
         IDI_INFORMATION,
         false},
        {"installed-version question",
         Ask(Buttons({mbYes, mbCancel})),
         "Warning",
         "Warning",
         {6, 2},
         6,
         IDI_WARNING,
         true},
        {"question icon", Box(0x24), "Caption", "Caption", {6, 7}, 6, IDI_QUESTION, false},
        {"error icon", Box(0x10), "Caption", "Caption", {1}, 1, IDI_ERROR, false},
        {"custom buttons, second default",
         Box(0x102),
         "Caption",
         "Caption",
         {100, 101, 102},
         101,
         nullptr,
         false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        Snapshot s;
        RunDialog(
            r.op, [](HWND d) { PostKey(d, VK_RETURN); }, &s);
        EXPECT_EQ(s.title, Own() ? r.title : r.systemTitle);
        std::vector<int> ids;
        for (const Control* c : s.Buttons()) ids.push_back(c->id);
        EXPECT_EQ(ids, r.ids);
        EXPECT_EQ(s.DefaultIds(), std::vector<int>{r.defaultId});
        EXPECT_EQ(s.focusId, r.defaultId);
        EXPECT_EQ(s.icon, r.icon ? ::LoadIconW(nullptr, r.icon) : nullptr);
        EXPECT_NE(s.Static("Text"), nullptr);
        if (Own()) {
            EXPECT_EQ((s.style & WS_SYSMENU) != 0, r.closeBox);
        }
    }
}

TEST_P(Presentations, LineBreaksAndBackslashN) {
    struct Row {
        std::string text, own, system;
        int lines;
    } rows[] = {
        {"first\nsecond", "first\nsecond", "first\nsecond", 2},
        {"C:\\new", "C:\\new", "C:\new", 0},  // own: one line; system: two
        {"a\\\\nb", "a\\\\nb", "a\\nb", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Snapshot s;
        HFONT font = nullptr;
        RunDialog(Message(r.text), [&](HWND d) {
            s = Take(d);
            if (const Control* c = s.Static(Own() ? r.own : r.system))
                font = reinterpret_cast<HFONT>(::SendMessageW(c->hwnd, WM_GETFONT, 0, 0));
            PostKey(d, VK_RETURN);
        });
        const Control* c = s.Static(Own() ? r.own : r.system);
        ASSERT_NE(c, nullptr);
        int lines = r.lines ? r.lines : (Own() ? 1 : 2);
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        int height = c->rect.bottom - c->rect.top;
        EXPECT_GE(height, lines * tm.tmHeight);
        EXPECT_LT(height, (lines + 1) * tm.tmHeight);
    }
}

TEST_P(Presentations, HelpButtonOpensTheApplicationsHelp) {
    static std::vector<int> contexts;
    contexts.clear();
    win::Application::Instance().SetHelpHandler([](int c) { contexts.push_back(c); });
    auto ask = [](int help) {
        return [help] {
            return MessageDialog("Text", mtInformation, Buttons({mbOK, mbHelp}), help);
        };
    };
    EXPECT_EQ(RunDialog(ask(33), [](HWND d) { PostPress(d, 100); }), 0);
    EXPECT_EQ(RunDialog(ask(0), [](HWND d) { PostPress(d, 100); }), 0);
    EXPECT_EQ(contexts, std::vector<int>{33});
    win::Application::Instance().SetHelpHandler(nullptr);
}

TEST_P(Presentations, F1OpensHelpOnlyWithAContext) {
    static std::vector<int> contexts;
    contexts.clear();
    win::Application::Instance().SetHelpHandler([](int c) { contexts.push_back(c); });
    for (int context : {42, 0}) {
        TCustomTaskDialog d;
        d.Instruction = "Text";
        d.CommonButtons = cbOK | cbCancel;
        d.HelpContext = context;
        size_t before = contexts.size();
        // Real input: the system dialog hears F1 only from the keyboard.
        DialogScript script([before](HWND h) {
            SendRealKey(h, VK_F1);
            PressWhen(h, 2, [before] { return contexts.size() != before; });
        });
        EXPECT_EQ(d.Execute(), 2);
    }
    EXPECT_EQ(contexts, std::vector<int>{42});
    win::Application::Instance().SetHelpHandler(nullptr);
}

TEST_P(Presentations, DisablesTheOwnerWhileShown) {
    HWND owner = ::CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    ::SetActiveWindow(owner);
    win::Application::Instance().SetMainWindow(owner);
    bool enabledWhileShown = true;
    Snapshot s;
    RunDialog(Box(49), [&](HWND d) {
        enabledWhileShown = ::IsWindowEnabled(owner) != FALSE;
        s = Take(d);
        PostKey(d, VK_RETURN);
    });
    EXPECT_FALSE(enabledWhileShown);
    EXPECT_EQ(s.owner, owner);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(::GetActiveWindow(), owner);
    win::Application::Instance().SetMainWindow(nullptr);
    ::DestroyWindow(owner);
}

// A pending quit request makes the system dialog answer 1 at once; no
// dialog may show, the answer is 0 and the request stays for the loop
// further out.
TEST_P(Presentations, QuitRequestBeforeTheDialog) {
    ::PostQuitMessage(17);
    DialogScript script([](HWND d) { PostKey(d, VK_RETURN); });
    EXPECT_EQ(MessageBoxDialog(nullptr, "Text", "Caption", 49), 0);
    EXPECT_FALSE(script.Acted());
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 17u);
}

TEST_P(Presentations, QuitRequestWhileShown) {
    int result = RunDialog(Box(49), [](HWND) { ::PostQuitMessage(23); });
    EXPECT_EQ(result, 0);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 23u);
}

// Under Wine the common controls report version 5.81 (Windows 6 or later
// with the manifest: 6.x), so Automatic takes the own window there.
TEST(DialogPresentationChoice, AutomaticFollowsTheVersions) {
    TCustomTaskDialog d;
    EXPECT_EQ(d.Presentation, DialogPresentation::Automatic);
    if (UnderWine()) {
        EXPECT_EQ(CommonControlsMajorVersion(), 5);
        EXPECT_TRUE(d.UsesOwnWindow());
    }
    EXPECT_GE(SystemMajorVersion(), 5);
    SetDialogPresentation(DialogPresentation::OwnWindow);
    EXPECT_EQ(TCustomTaskDialog().Presentation, DialogPresentation::OwnWindow);
    SetDialogPresentation(DialogPresentation::Automatic);
}

}  // namespace
}  // namespace pellion
