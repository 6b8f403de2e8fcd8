#pragma once
// Scratch folders, byte-exact file access and shortcuts read back, for the
// tests of the helper module and of the DOSBox set-up.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <cstring>
#include <string>

#include "base/win/com.h"
#include "base/win/unique_handle.h"
#include "base/win/wide.h"
#include "install/ucargo_text.h"

namespace pellion::testing_util {

using win::Narrow;
using win::Widen;

inline DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str());
}
inline bool Exists(const std::string& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}
inline bool IsFolder(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::string ReadBytes(const std::string& path) {
    win::UniqueFile f(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!f) return "<unreadable>";
    std::string out(::GetFileSize(f.Get(), nullptr), '\0');
    DWORD got = 0;
    if (!out.empty()) ::ReadFile(f.Get(), out.data(), DWORD(out.size()), &got, nullptr);
    out.resize(got);
    return out;
}

inline void PutBytes(const std::string& path, const std::string& bytes) {
    win::UniqueFile f(
        ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(f) << path;
    DWORD put = 0;
    ::WriteFile(f.Get(), bytes.data(), DWORD(bytes.size()), &put, nullptr);
}

// Scratch folders go for good, not to the recycle bin.
inline void RemoveTree(const std::string& dir) {
    std::wstring list = Widen(dir) + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ::SHFileOperationW(&op);
}

// Each test works in a fresh folder under %TEMP%, given as "C:\...\ucargo-N"
// without a trailing backslash; the process's current folder is restored.
class ScratchFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        static int serial = 0;
        dir_ = StripTrailingBackslashes(Narrow(temp)) + "\\ucargo-" +
               std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
        ASSERT_TRUE(::CreateDirectoryW(Widen(dir_).c_str(), nullptr)) << dir_;
        wchar_t cwd[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, cwd);
        savedCwd_ = cwd;
    }
    void TearDown() override {
        ::SetCurrentDirectoryW(savedCwd_.c_str());
        RemoveTree(dir_);
    }
    std::string In(const std::string& name) const { return dir_ + "\\" + name; }

    std::string dir_;
    std::wstring savedCwd_;
};

struct LinkFields {
    std::string path, arguments, workingFolder, iconPath, description;
    int iconIndex = -99;
    WORD hotkey = 0xDEAD;
    DWORD showCmd = 0xDEADBEEF;
};

// Reads a saved shortcut back through a second link object. The show
// command comes from the file bytes: after Load, Wine's GetShowCmd always
// answers 1.
inline LinkFields LoadLink(const std::string& linkPath) {
    LinkFields f;
    win::ComPtr<IShellLinkW> link;
    win::ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(Widen(linkPath).c_str(), STGM_READ))) {
        ADD_FAILURE() << "cannot load " << linkPath;
        return f;
    }
    wchar_t buffer[1024];
    auto text = [&](auto get) {
        wmemset(buffer, L'?', 1024);
        buffer[1023] = 0;
        get();
        return Narrow(buffer);
    };
    f.path = text([&] { link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH); });
    f.arguments = text([&] { link->GetArguments(buffer, 1024); });
    f.workingFolder = text([&] { link->GetWorkingDirectory(buffer, 1024); });
    f.iconPath = text([&] { link->GetIconLocation(buffer, 1024, &f.iconIndex); });
    f.description = text([&] { link->GetDescription(buffer, 1024); });
    link->GetHotkey(&f.hotkey);
    std::string bytes = ReadBytes(linkPath);
    if (bytes.size() >= 0x40) std::memcpy(&f.showCmd, bytes.data() + 0x3C, 4);
    return f;
}

}  // namespace pellion::testing_util
