#pragma once
// Portable decisions of the main window: the product's texts, the logo's
// geometry, the default install folder, the version a copy in a folder
// records, and the question asked when one is already there. The window
// (ui/tfmMain.h) measures, paints and asks; nothing here includes
// <windows.h>.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "install/product_names.h"

namespace pellion {

constexpr char kProductVersionText[] = "3.14";
constexpr int kProductVersion = 314;
constexpr char kReleaseLine[] = "Version 3.14 05/11/04";
// The program of a copy that records its version (ReadInstalledVersion).
constexpr char kVersionedProgram[] = "veskpnx.exe";

// The logo: a red square with a yellow frame on its outer edges and a bold
// white "V" in the middle.
struct LogoLayout {
    int penWidth = 10;
    // Positive: the character cell height in pixels.
    int fontHeight = 0;
};
// Font height for an image of height h: h - (penWidth * 9) div 2 - 1 (59 for
// the 105-pixel image). The pen is 10 pixels at 96 dpi; a larger DPI gives
// a wider one.
LogoLayout LogoLayoutFor(int height, int penWidth = 10);
struct LogoTextOrigin {
    int x = 0, y = 0;
};
// Where "V" of the measured size (tw x th) goes in a w x h image:
// ((w - tw + 1) div 2, (h - th) div 2), truncating toward zero.
LogoTextOrigin LogoTextOriginFor(int width, int height, int textWidth, int textHeight);

// The default install folder from the Windows folder `windowsFolder`: its
// root (up to and including the first backslash; "" when there is none)
// followed by "tovarin\kx" when `folderExists` says that folder exists, else
// by "kx". "C:\WINDOWS" -> "C:\kx" or "C:\tovarin\kx"; "" -> "kx".
std::string DefaultInstallFolder(std::string_view windowsFolder,
                                 const std::function<bool(const std::string&)>& folderExists);

// The version a copy's program records: the first "Pellion Version M.mm" in
// its bytes (one to three digits, a dot, exactly two digits not followed by
// a third), as M * 100 + mm; nothing when the text is not there.
std::optional<int> FindRecordedVersion(std::string_view bytes);

// What ReadInstalledVersion gives: whether a copy is present, and its
// version (0 when none, or when the copy records none).
struct InstalledVersion {
    bool present = false;
    int version = 0;
};

// The question asked at start when the same or a newer version is already in
// the default folder; "" when nothing is to be asked.
std::string InstalledVersionQuestion(const InstalledVersion& installed);

}  // namespace pellion
