#include "install/uninstall_text.h"

#include "base/command_line.h"
#include "base/text.h"
#include "install/install_text.h"
#include "install/product_names.h"
#include "install/ucargo_text.h"

namespace pellion {

namespace {

constexpr std::string_view kCleanupSwitch = "/CLEANUP=";

// A decimal number of 1 to 19 digits from the front of `text`, removed
// from it; 19 digits cannot overflow 64 bits.
bool TakeNumber(std::string_view& text, uint64_t& value) {
    size_t digits = 0;
    value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (digits == 19) return false;
        value = value * 10 + uint64_t(text[digits] - '0');
        ++digits;
    }
    text.remove_prefix(digits);
    return digits > 0;
}

}  // namespace

std::string ConfirmRemovalText(const std::string& folder) {
    return Format(
        "Remove Tovarin %s %s from %s and the shortcuts it made?\n\n"
        "Files of your own in that folder are kept.",
        kProductName, kVersionText, folder.c_str());
}

std::string RefusalText(const std::string& reason) {
    return Format(
        "Nothing was removed: %s\n\n"
        "The uninstaller never removes files from such a folder. Delete Tovarin Pellion's "
        "files there yourself if you are sure which they are.",
        reason.c_str());
}

std::string LeftoverText(const std::vector<Leftover>& leftovers) {
    std::string text = "Tovarin Pellion could not be removed completely. Still there:\n";
    for (const Leftover& item : leftovers)
        text += Format("\n%s\n    %s", item.path.c_str(), item.reason.c_str());
    text +=
        "\n\nClose Tovarin Pellion and any program using these files, then run the "
        "uninstaller again.";
    return text;
}

std::string CleanupArguments(uint64_t processHandle, const std::string& folder) {
    return Format("%s%llu /D=%s", std::string(kCleanupSwitch).c_str(),
                  static_cast<unsigned long long>(processHandle), folder.c_str());
}

bool ParseCleanupArguments(std::string_view arguments, CleanupRequest& request) {
    if (arguments.size() < kCleanupSwitch.size() ||
        AsciiLowerCase(arguments.substr(0, kCleanupSwitch.size())) !=
            AsciiLowerCase(kCleanupSwitch))
        return false;
    std::string_view rest = arguments.substr(kCleanupSwitch.size());
    uint64_t handle = 0;
    if (!TakeNumber(rest, handle) || handle == 0 || rest.empty() || rest.front() != ' ')
        return false;
    const Switches s = ParseSwitches(rest);
    if (!s.hasFolder || !s.unknown.empty() || s.silent || s.usage || !s.log.empty() ||
        !IsAbsolutePath(s.folder))
        return false;
    request.processHandle = handle;
    request.folder = s.folder;
    return true;
}

}  // namespace pellion
