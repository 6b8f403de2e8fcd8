// The progress window's fixed layout: the window itself, its two gradient
// panels, their labels, bar and buttons, with the values the window is
// designed with (sizes and font heights for 96 dots per inch).
#include "ui/fmiProgress.h"

#include "base/win/application.h"
#include "base/win/dpi.h"
#include "ui/progress_rules.h"

namespace pellion {

namespace {

constexpr wchar_t kClassName[] = L"TInstProgressForm";
constexpr int kClientWidth = 447;
constexpr int kClientHeight = 170;
constexpr int kButtonBarHeight = 41;
// The standard sizeable border with system menu, minimize and maximize boxes.
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// No owner, so the window carries its own taskbar button while the main
// window is hidden during a run.
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

constexpr TColor kOrange = 0x00018CE9;  // RGB(233, 140, 1)

FontSpec Font(const char* face, int height, bool bold, TColor color) {
    FontSpec f;
    f.face = face;
    f.height = height;
    f.bold = bold;
    f.color = color;
    return f;
}

const FontSpec kPanelFont = Font("Tahoma", -13, true, clWhite);

// Placed by LayOutPanels, which follows the window's client area.
std::unique_ptr<TGradientPanel> Panel(HWND parent, ScaledLayout& layout) {
    auto panel = std::make_unique<TGradientPanel>(parent, 0, 0, 0, 0);
    layout.Follow(*panel);
    panel->SetColor(clRed);
    panel->SetColorTo(clMaroon);
    panel->SetFont(kPanelFont);
    return panel;
}

std::unique_ptr<TGradientButton> Button(const TGradientPanel& panel, ScaledLayout& layout, int x,
                                        const char* caption) {
    const ScaledRect designed{x, 6, 114, 26};
    ScaledRect r = layout.At(designed);
    auto b = std::make_unique<TGradientButton>(panel.Handle(), r.left, r.top, r.width, r.height,
                                               caption);
    layout.Keep(*b, designed);
    b->SetColor(clRed);
    b->SetColorTo(clBlack);
    b->SetColorDown(kOrange);
    b->SetColorDownTo(clRed);
    b->SetColorHot(clRed);
    b->SetColorHotTo(kOrange);
    b->SetRounded(true);
    // The panel's font, with its white.
    b->SetFont(panel.Font());
    return b;
}

std::unique_ptr<TStyledLabel> Label(const TGradientPanel& panel, ScaledLayout& layout, int x, int y,
                                    const char* text, const FontSpec& font = kPanelFont,
                                    TColor color = clRed) {
    ScaledRect at = layout.At({x, y, 0, 0});
    auto label = std::make_unique<TStyledLabel>(panel.Handle(), at.left, at.top, text, font);
    label->SetColor(color);
    layout.Keep(*label, {x, y, 0, 0});
    return label;
}

std::unique_ptr<TLevelProgressBar> Bar(const TGradientPanel& panel, ScaledLayout& layout) {
    const ScaledRect designed{8, 92, 433, 18};
    ScaledRect r = layout.At(designed);
    auto bar = std::make_unique<TLevelProgressBar>(panel.Handle(), r.left, r.top, r.width, r.height);
    layout.Keep(*bar, designed);
    bar->SetFont(Font("Verdana", -13, false, clWindowText));
    bar->SetMin(0);
    bar->SetPosition(50);
    bar->SetShowBorder(true);
    bar->SetLevel1Perc(70);
    bar->SetLevel2Perc(90);
    bar->SetLevelColors(0, 0x0000FF00, 0x00E1FFE1);
    bar->SetLevelColors(1, 0x0000FFFF, 0x00CAFFFF);
    bar->SetLevelColors(2, 0x0053A9FF, 0x00A8D3FF);
    bar->SetLevelColors(3, 0x000000FF, 0x00CACAFF);
    return bar;
}

}  // namespace

TInstProgressForm::TInstProgressForm(int64_t redrawInterval) : redrawInterval_(redrawInterval) {
    static HBRUSH maroon = ::CreateSolidBrush(RGB(128, 0, 0));  // lives as long as the class
    RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, maroon);
    Create(kExStyle, kClassName, "Installation Progress", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
           0, nullptr);
    // Sized at the DPI of the monitor it was created on.
    layout_ = ScaledLayout(win::WindowDpi(Handle()));
    const DpiScale& s = layout_.Scale();
    SIZE size = win::OuterSizeForClient(s(kClientWidth), s(kClientHeight), kStyle, kExStyle,
                                        s.Dpi());
    ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CreateControls();
    FormCreate();
}

TInstProgressForm::~TInstProgressForm() {
    if (ownsDialogs_) win::Application::Instance().SetDialogOwner(previousDialogOwner_);
}

void TInstProgressForm::CreateControls() {
    ScaledLayout& l = layout_;
    c_.GradientPanel2 = Panel(Handle(), l);
    c_.btnPause = Button(*c_.GradientPanel2, l, 54, "Pause");
    c_.btnCancel = Button(*c_.GradientPanel2, l, 267, "Cancel");
    c_.btnPause->SetOnClick([this](TGradientButton& b) { btnPauseClick(b); });
    c_.btnCancel->SetOnClick([this](TGradientButton& b) { btnCancelClick(b); });

    c_.GradientPanel1 = Panel(Handle(), l);
    c_.GradientPanel1->SetColorMirrorTo(clMaroon);
    // The panels first: the labels below are centred in the information area.
    l.Then([this](const DpiScale&) { LayOutPanels(); });
    const TGradientPanel& info = *c_.GradientPanel1;
    c_.lbStage = Label(info, l, 8, 10, "Initializing . . .");
    c_.lbProgramName = Label(info, l, 0, 41, "Installing ProgramName",
                             Font("Tahoma", -15, true, clWhite), clRed);
    c_.lbFileName = Label(info, l, 10, 75, "c:\\tovarin\\vesk.exe");
    c_.lbFiles = Label(info, l, 0, 73, "Files:  0");
    c_.pbar = Bar(info, l);
    c_.lbStatus = Label(info, l, 0, 113, "0 of 123,456 bytes");
    l.Then([this](const DpiScale&) {
        CentreInPanel1(*c_.lbProgramName);
        RightAlignFiles();
        CentreInPanel1(*c_.lbStatus);
    });
}

// The button bar keeps its height at the bottom; the information area
// takes the rest. The controls inside keep their places.
void TInstProgressForm::LayOutPanels() {
    if (!c_.GradientPanel1 || !c_.GradientPanel2) return;
    RECT rc{};
    ::GetClientRect(Handle(), &rc);
    int barHeight = layout_.Scale()(kButtonBarHeight);
    int barTop = rc.bottom - barHeight;
    c_.GradientPanel2->SetBounds(0, barTop, rc.right, barHeight);
    c_.GradientPanel1->SetBounds(0, 0, rc.right, barTop > 0 ? barTop : 0);
}

void TInstProgressForm::CentreOnScreen() {
    RECT r{};
    ::GetWindowRect(Handle(), &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    ::SetWindowPos(Handle(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pellion
