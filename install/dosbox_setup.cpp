#include "install/dosbox_setup.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "base/win/code_page.h"
#include "base/win/com.h"
#include "base/win/run_log.h"
#include "base/win/wide.h"
#include "install/dosbox_conf.h"
#include "install/dosbox_path.h"
#include "install/ucargo.h"
#include "payload/payload_reader.h"

namespace pellion {

namespace {

// Removes an old shortcut (plain deletion, not to the recycle bin). Answers
// whether the name is free afterwards: a shortcut that cannot be removed
// cannot be replaced either, and must not pass for a new one.
bool ClearOldLink(const std::string& linkPath) {
    if (FileExists(linkPath)) ::DeleteFileW(win::Widen(linkPath).c_str());
    return !FileExists(linkPath);
}

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// `text` in the bytes of `codePage`; false when a character has no place
// there (a best-fit look-alike would name another folder).
bool ToAnsi(const std::wstring& text, UINT codePage, std::string& bytes) {
    // A system whose code page is UTF-8 reads UTF-8 (and refuses the flags).
    const bool utf8 = codePage == CP_UTF8;
    BOOL usedDefault = FALSE;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* check = utf8 ? nullptr : &usedDefault;
    int n = ::WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                  nullptr, check);
    if (n <= 0 || usedDefault) return false;
    bytes.assign(size_t(n), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), bytes.data(), n, nullptr,
                          check);
    return !usedDefault;
}

std::wstring ShortPath(const std::wstring& path) {
    DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::vector<wchar_t> buffer(size);
    DWORD n = ::GetShortPathNameW(path.c_str(), buffer.data(), size);
    return n > 0 && n < size ? std::wstring(buffer.data(), n) : std::wstring();
}

void WriteConfFor(const std::string& folder, const DosBoxFolder& form, bool& written) {
    std::string templateText = ReadRawResource(kConfResource);
    // Any earlier configuration goes to the recycle bin; a failure here shows
    // up as a configuration that cannot be written just below.
    DeleteByMask(folder + kConfMask);
    written = WriteWholeFile(folder + kConfFile,
                             DosBoxConfText(templateText, form.conf, kProductExe, form.codePage));
}

}  // namespace

DosBoxFolder FolderForDosBox(const std::string& folder, unsigned codePage) {
    DosBoxFolder form;
    if (IsAscii(folder)) {
        form.conf = form.argument = folder;
        form.usable = true;
        return form;
    }
    const UINT ansi = codePage ? codePage : ::GetACP();
    form.codePage = win::LeadBytesOf(ansi);
    const std::wstring wide = win::Widen(folder);
    if (ToAnsi(wide, ansi, form.conf)) {
        if (DosBoxMountsWhole(form.conf, form.codePage)) {
            form.argument = folder;
            form.usable = true;
            return form;
        }
        form.misread = true;
    }
    const std::wstring shortened = ShortPath(wide);
    if (!shortened.empty() && ToAnsi(shortened, ansi, form.conf) &&
        DosBoxMountsWhole(form.conf, form.codePage)) {
        form.conf = NormalizeFolder(form.conf, form.codePage);
        form.argument = NormalizeFolder(win::Narrow(shortened));
        form.usable = true;
        form.misread = false;
        return form;
    }
    form.conf.clear();
    return form;
}

bool WriteDosBoxConf(const std::string& productExe) {
    const std::string folder = FolderPart(productExe);
    const DosBoxFolder form = FolderForDosBox(folder);
    bool written = false;
    if (form.usable) WriteConfFor(folder, form, written);
    return written;
}

bool CreateDosBoxShortcuts(const std::string& installFolder, const std::string& desktopFolder,
                           InstallMessages& messages, InstallRecord* record) {
    // The sibling product sets up its own way of starting.
    if (FileExists(installFolder + kSiblingProgram)) return true;

    const DosBoxFolder form = FolderForDosBox(installFolder);
    if (!form.usable) {
        messages.Tell(form.misread ? DosBoxMisreadFolderMessage(installFolder)
                                   : DosBoxUnusableFolderMessage(installFolder));
        return false;
    }
    DosBoxSetupResult result;
    result.confPath = installFolder + kConfFile;
    WriteConfFor(installFolder, form, result.confWritten);
    if (result.confWritten) {
        const uint64_t size = FileSize(result.confPath);
        win::LogFormat("wrote %s, %u bytes", kConfFile, unsigned(size));
        if (record) record->AddFile(kConfFile, size);
    }
    const std::string arguments = DosBoxShortcutArguments(form.argument);
    if (desktopFolder.empty()) {
        // Shortcuts without a folder would land in the current folder.
        result.noDesktop = true;
        result.dosboxCommand = QuoteIfBlank(DosBoxPath) + " " + arguments;
        messages.Tell(DosBoxClosingMessage(result));
        return false;
    }

    std::string title = DosBoxShortcutTitle();
    std::string iconPath = installFolder + kShortcutIcon;
    result.dosboxLinkPath = desktopFolder + title + ".lnk";
    result.printLinkPath = desktopFolder + kPrintLinkFile;
    bool dosboxLinkFree = ClearOldLink(result.dosboxLinkPath);
    bool printLinkFree = ClearOldLink(result.printLinkPath);
    {
        // One more reference on the thread's apartment, given back also when
        // CreateShortcut raises (the error then goes on to the caller).
        win::ComApartment com;
        CreateShortcut(result.dosboxLinkPath, DosBoxPath, arguments, kProductName, iconPath, 0, 0);
        CreateShortcut(result.printLinkPath, installFolder + kPrintProgram, kPrintArguments,
                       kPrintDescription, iconPath, 0, kPrintHotkey);
    }
    // CreateShortcut ignores a failed save; the file on disk tells.
    result.dosboxLinkMade = dosboxLinkFree && FileExists(result.dosboxLinkPath);
    result.printLinkMade = printLinkFree && FileExists(result.printLinkPath);
    for (const auto& [made, path] : {std::pair{result.dosboxLinkMade, &result.dosboxLinkPath},
                                     std::pair{result.printLinkMade, &result.printLinkPath}}) {
        win::LogFormat("%s shortcut %s", made ? "made" : "could not make", path->c_str());
        if (made && record) record->shortcuts.push_back(*path);
    }

    messages.Tell(DosBoxClosingMessage(result));
    return result.AllMade();
}

}  // namespace pellion
