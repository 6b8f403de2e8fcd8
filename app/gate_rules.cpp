#include "app/gate_rules.h"

#include "base/text.h"
#include "install/ucargo_text.h"

namespace pellion {

bool CommandLineForcesNotice(std::string_view commandLine) {
    return AsciiLowerCase(commandLine).find("/t") != std::string::npos;
}

bool IsDosBoxEntry(std::string_view entryName) {
    return AsciiLowerCase(entryName).find("dosbox") != std::string::npos;
}

std::string DosBoxExePath(std::string_view lowerRoot, std::string_view entryName) {
    std::string folder(lowerRoot);
    folder += AsciiLowerCase(entryName);
    return NormalizeFolder(folder) + "dosbox.exe";
}

}  // namespace pellion
