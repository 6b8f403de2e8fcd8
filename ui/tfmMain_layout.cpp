// The main window's controls: every position, size, colour, font and text
// of the banner and the two pages. Positions, sizes and font heights are for
// 96 dots per inch; the layout scales them to the window's DPI.
#include <windows.h>

#include "base/text.h"
#include "base/win/system_api.h"
#include "base/win/wide.h"
#include "install/product_names.h"
#include "install/ucargo.h"
#include "ui/controls/gradient_backdrop.h"
#include "ui/controls/gradient_button.h"
#include "ui/controls/gradient_panel.h"
#include "ui/controls/styled_gdi.h"
#include "ui/controls/styled_label.h"
#include "ui/tfmMain.h"

namespace pellion {

namespace {

constexpr int kBannerWidth = 185, kFormHeight = 400;
constexpr int kPageControlWidth = 500;
// The pages inside the page control: its tabs are hidden, so only its
// frame's room is left around them.
constexpr int kPageLeft = 4, kPageTop = 6, kPageWidth = 492, kPageHeight = 390;
constexpr int kButtonWidth = 73, kButtonHeight = 22;
constexpr TColor kBannerTop = 0x00004DFF;  // RGB(255,77,0)
constexpr TColor kButtonDown = 0x00D8D3D2;
// Not IDOK or IDCANCEL: those come from Enter and Escape.
constexpr int kEditId = 100;

FontSpec Tahoma(int height, bool bold, TColor color) {
    FontSpec f;
    f.face = "Tahoma";
    f.height = height;
    f.bold = bold;
    f.color = color;
    return f;
}

// Labels on the pages are children of the page in the form's layout: under
// the classic style they fill with the page's colour, the system's button
// face.
constexpr TColor kPageColor = clBtnFace;

}  // namespace

std::unique_ptr<TStyledLabel> tMainForm::AddLabel(HWND parent, int x, int y,
                                                  const std::string& text, const FontSpec& font,
                                                  TColor parentColor) {
    ScaledRect at = layout_.At({x, y, 0, 0});
    auto label = std::make_unique<TStyledLabel>(parent, at.left, at.top, text, font);
    label->SetColor(parentColor);
    layout_.Keep(*label, {x, y, 0, 0});
    return label;
}

void tMainForm::ForceLabelPresentation(bool filled) {
    PrepareSetupPage();
    for (auto* label : {&Label14, &Label15, &lbP1Progname, &lbP1ProgVer, &lbIns1, &lbIns2,
                        &lbDetails, &Label13, &Label10})
        (*label)->SetBackground(filled ? TStyledLabel::Background::kFilled
                                       : TStyledLabel::Background::kTransparent);
}

std::unique_ptr<TGradientButton> tMainForm::AddButton(HWND parent, int x, int y,
                                                      const char* caption,
                                                      void (tMainForm::*click)()) {
    const ScaledRect designed{x, y, kButtonWidth, kButtonHeight};
    ScaledRect r = layout_.At(designed);
    auto b = std::make_unique<TGradientButton>(parent, r.left, r.top, r.width, r.height, caption);
    layout_.Keep(*b, designed);
    b->SetColor(clRed);
    b->SetColorTo(clMaroon);
    b->SetColorHot(clMaroon);
    b->SetColorHotTo(clBlack);
    b->SetColorDown(kButtonDown);
    b->SetColorDownTo(clNone);
    b->SetRounded(false);
    b->SetFont(Tahoma(-15, true, clWhite));
    b->SetOnClick([this, click](TGradientButton&) { (this->*click)(); });
    return b;
}

void tMainForm::CreateBanner() {
    const ScaledRect banner{0, 0, kBannerWidth, kFormHeight};
    ScaledRect r = layout_.At(banner);
    GradientPanel1 = std::make_unique<TGradientPanel>(Handle(), r.left, r.top, r.width, r.height);
    layout_.Keep(*GradientPanel1, banner);
    GradientPanel1->SetBevelOuter(PanelBevel::bvNone);
    GradientPanel1->SetBevelInner(PanelBevel::bvNone);
    GradientPanel1->SetColor(kBannerTop);
    GradientPanel1->SetColorTo(clMaroon);
    GradientPanel1->SetFont(Tahoma(-16, true, clWhite));
    HWND panel = GradientPanel1->Handle();
    Image1 = std::make_unique<ImageControl>(panel, 0, 0, 0, 0);
    // A new bitmap at every DPI, with the logo drawn at that DPI.
    layout_.Then([this](const DpiScale& s) {
        Image1->SetBounds(s(ScaledRect{38, 19, 105, 105}));
        Image1->Draw([&s](HDC dc, int w, int h) { DrawLogo(dc, w, h, s); });
    });
    const FontSpec& font = GradientPanel1->Font();
    Label14 = AddLabel(panel, 42, 165, "INSTALLING", Tahoma(-16, true, clWhite), kBannerTop);
    Label15 = AddLabel(panel, 40, 205, "Tovarin\xC2\xAE", font, kBannerTop);
    lbP1Progname = AddLabel(panel, 0, 253, kProductName, font, kBannerTop);
    lbP1ProgVer = AddLabel(panel, 0, 293, kProductVersionText, font, kBannerTop);
}

void tMainForm::CreatePages() {
    const ScaledRect control{kBannerWidth, 0, kPageControlWidth, kFormHeight};
    ScaledRect r = layout_.At(control);
    PageControl1 = std::make_unique<ContainerWindow>(Handle(), L"TPageControl", r.left, r.top,
                                                     r.width, r.height);
    layout_.Keep(PageControl1->Handle(), control);
    const ScaledRect page{kPageLeft, kPageTop, kPageWidth, kPageHeight};
    r = layout_.At(page);
    TabSheet1 = std::make_unique<ContainerWindow>(PageControl1->Handle(), L"TTabSheet", r.left,
                                                  r.top, r.width, r.height);
    layout_.Keep(TabSheet1->Handle(), page);
    CreateWelcomePage();
    layout_.Then([this](const DpiScale&) { Backdrop1->FillParent(); });
}

void tMainForm::CreateWelcomePage() {
    Backdrop1 = std::make_unique<TGradientBackdrop>(TabSheet1->Handle());
    layout_.Follow(*Backdrop1);
    Backdrop1->SetStyle(GradientStyle::grPyramid);
    Backdrop1->SetStartColor(clMaroon);
    Backdrop1->SetEndColor(clRed);
    // The page's controls sit on the backdrop, so labels show its gradient.
    HWND page = Backdrop1->Handle();
    const FontSpec yellow = Tahoma(-15, true, clYellow);
    lbIns1 = AddLabel(page, 0, 13, Format("This will install Tovarin %s", kProductName), yellow,
                      kPageColor);
    lbIns2 = AddLabel(page, 0, 34, kReleaseLine, yellow, kPageColor);
    lbDetails = AddLabel(page, 51, 252, "Click SETUP to install this program, CANCEL to close",
                         yellow, kPageColor);
    Label13 = AddLabel(page, 51, 272, "without installing.", yellow, kPageColor);
    btnSetup = AddButton(page, 102, 332, "Setup", &tMainForm::btnSetupClick);
    btnSetup->SetDefaultButton(true);  // Enter on this page
    btnCancel = AddButton(page, 321, 332, "Cancel", &tMainForm::btnCancelClick);
}

void tMainForm::CreateSetupPage() {
    const ScaledRect sheet{kPageLeft, kPageTop, kPageWidth, kPageHeight};
    ScaledRect at = layout_.At(sheet);
    // Hidden until SetActivePage shows it: the welcome page may be on screen.
    TabSheet2 = std::make_unique<ContainerWindow>(PageControl1->Handle(), L"TTabSheet", at.left,
                                                  at.top, at.width, at.height, false);
    layout_.Keep(TabSheet2->Handle(), sheet);
    Backdrop2 = std::make_unique<TGradientBackdrop>(TabSheet2->Handle());
    layout_.Follow(*Backdrop2);
    layout_.Then([this](const DpiScale&) { Backdrop2->FillParent(); });
    Backdrop2->SetStyle(GradientStyle::grVertical);
    Backdrop2->SetStartColor(clMaroon);
    Backdrop2->SetEndColor(clRed);
    HWND page = Backdrop2->Handle();
    Label10 = AddLabel(page, 63, 13, "Install Folder:", Tahoma(-15, false, clSilver), kPageColor);
    // Lower-case character case: whatever is typed or set becomes lower case.
    // The edit is the page's one control of the common controls.
    win::lazy::UseCommonControls();
    const ScaledRect edit{64, 35, 287, 26};
    ScaledRect r = layout_.At(edit);
    edInstallDir = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"c:\\kx",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LOWERCASE, r.left, r.top, r.width,
        r.height, page, reinterpret_cast<HMENU>(INT_PTR(kEditId)), ::GetModuleHandleW(nullptr),
        nullptr);
    layout_.Keep(edInstallDir, edit);
    layout_.Then([this](const DpiScale& s) {
        // The old font goes only once the edit holds the new one.
        win::UniqueFont font = win::CreateFontFrom(Tahoma(-15, false, clBlack), s);
        ::SendMessageW(edInstallDir, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
        editFont_ = std::move(font);
    });
    win::lazy::SetWindowSubclass(edInstallDir, &tMainForm::EditProc, 1,
                                 reinterpret_cast<DWORD_PTR>(this));
    btnBrowse = AddButton(page, 354, 37, "Browse", &tMainForm::btnBrowseClick);
    btnBrowse->SetKeyboardShortcut("Alt+B");  // see HandleMessage's WM_SYSCHAR
    btnInstall = AddButton(page, 209, 341, "Install", &tMainForm::btnInstallClick);
    btnInstall->SetDefaultButton(true);  // Enter on this page
    BtnCancel2 = AddButton(page, 343, 341, "Cancel", &tMainForm::btnCancelClick);
}

}  // namespace pellion
