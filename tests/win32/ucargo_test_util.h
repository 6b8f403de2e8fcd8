#pragma once
// Scratch folders and byte-exact file access for the helper module's tests.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>

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

}  // namespace pellion::testing_util
