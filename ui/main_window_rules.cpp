#include "ui/main_window_rules.h"

namespace pellion {

LogoLayout LogoLayoutFor(int height, int penWidth) {
    LogoLayout layout;
    layout.penWidth = penWidth;
    layout.fontHeight = height - (layout.penWidth * 9) / 2 - 1;
    return layout;
}

LogoTextOrigin LogoTextOriginFor(int width, int height, int textWidth, int textHeight) {
    // C++ division truncates toward zero, as the rule asks, also for a text
    // wider than the image.
    return LogoTextOrigin{(width - textWidth + 1) / 2, (height - textHeight) / 2};
}

std::string DefaultInstallFolder(std::string_view windowsFolder,
                                 const std::function<bool(const std::string&)>& folderExists) {
    size_t slash = windowsFolder.find('\\');
    std::string root = slash == std::string_view::npos
                           ? std::string()
                           : std::string(windowsFolder.substr(0, slash + 1));
    std::string tovarin = root + "tovarin\\kx";
    if (folderExists(tovarin)) return tovarin;
    return root + "kx";
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The version at `at` (just after the marker), if the text there is M.mm.
std::optional<int> VersionAt(std::string_view bytes, size_t at) {
    size_t i = at;
    int major = 0;
    while (i < bytes.size() && IsDigit(bytes[i]) && i - at < 3)
        major = major * 10 + (bytes[i++] - '0');
    if (i == at || i >= bytes.size() || bytes[i] != '.') return std::nullopt;
    ++i;
    if (i + 2 > bytes.size() || !IsDigit(bytes[i]) || !IsDigit(bytes[i + 1])) return std::nullopt;
    if (i + 2 < bytes.size() && IsDigit(bytes[i + 2])) return std::nullopt;
    return major * 100 + (bytes[i] - '0') * 10 + (bytes[i + 1] - '0');
}

}  // namespace

std::optional<int> FindRecordedVersion(std::string_view bytes) {
    constexpr std::string_view kMarker = "Pellion Version ";
    for (size_t at = bytes.find(kMarker); at != std::string_view::npos;
         at = bytes.find(kMarker, at + 1)) {
        if (auto v = VersionAt(bytes, at + kMarker.size())) return v;
    }
    return std::nullopt;
}

std::string InstalledVersionQuestion(const InstalledVersion& installed) {
    std::string notice;
    if (installed.version > kProductVersion)
        notice = "A newer version of this program is already installed.";
    else if (installed.present && installed.version == kProductVersion)
        notice = "The same version of this program is already isntalled.";
    if (notice.empty()) return notice;
    return notice + "\n\nIf you want to install this version anyway, click YES.";
}

}  // namespace pellion
