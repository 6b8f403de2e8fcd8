#include "install/uninstall_entry.h"

#include <windows.h>

#include <utility>

#include "base/win/wide.h"

namespace pellion {

namespace {

class RegKey {
  public:
    RegKey() = default;
    ~RegKey() {
        if (key_) ::RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Put() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

bool SetBytes(HKEY key, const char* name, DWORD type, const void* data, size_t size) {
    return ::RegSetValueExW(key, win::Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                            DWORD(size)) == ERROR_SUCCESS;
}

bool SetText(HKEY key, const char* name, const std::string& text) {
    const std::wstring wide = win::Widen(text);
    return SetBytes(key, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

bool SetNumber(HKEY key, const char* name, DWORD value) {
    return SetBytes(key, name, REG_DWORD, &value, sizeof value);
}

bool SetList(HKEY key, const char* name, const std::vector<std::string>& items) {
    std::wstring block;
    for (const std::string& item : items) {
        if (item.empty()) continue;  // an empty string would end the list early
        block += win::Widen(item);
        block += L'\0';
    }
    block += L'\0';
    return SetBytes(key, name, REG_MULTI_SZ, block.c_str(), block.size() * sizeof(wchar_t));
}

// The raw UTF-16 data of a string value; empty when missing or of another kind.
std::wstring ReadRaw(HKEY key, const char* name, DWORD wantedType) {
    const std::wstring wideName = win::Widen(name);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != wantedType)
        return {};
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size / sizeof(wchar_t));
    return data;
}

std::string ReadText(HKEY key, const char* name) {
    std::wstring data = ReadRaw(key, name, REG_SZ);
    return win::Narrow(data.substr(0, data.find(L'\0')));
}

std::vector<std::string> ReadList(HKEY key, const char* name) {
    std::vector<std::string> items;
    const std::wstring data = ReadRaw(key, name, REG_MULTI_SZ);
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find(L'\0', start);
        if (end == std::wstring::npos) end = data.size();
        if (end == start) break;
        items.push_back(win::Narrow(data.substr(start, end - start)));
        start = end + 1;
    }
    return items;
}

}  // namespace

bool WriteUninstallEntry(const UninstallEntry& e) {
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, win::Widen(kUninstallKey).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    HKEY k = key.Get();
    bool ok = SetText(k, "DisplayName", e.displayName);
    ok &= SetText(k, "DisplayVersion", e.displayVersion);
    ok &= SetText(k, "Publisher", e.publisher);
    ok &= SetText(k, "InstallLocation", e.installLocation);
    ok &= SetText(k, "DisplayIcon", e.displayIcon);
    ok &= SetText(k, "UninstallString", e.uninstallString);
    ok &= SetText(k, "QuietUninstallString", e.quietUninstallString);
    ok &= SetText(k, "InstallDate", e.installDate);
    ok &= SetNumber(k, "EstimatedSize", e.estimatedSizeKiB);
    ok &= SetNumber(k, "NoModify", 1);
    ok &= SetNumber(k, "NoRepair", 1);
    ok &= SetList(k, kFilesValue, e.files);
    ok &= SetList(k, kShortcutsValue, e.shortcuts);
    return ok;
}

bool ReadUninstallEntry(UninstallEntry& e) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, win::Widen(kUninstallKey).c_str(), 0, KEY_QUERY_VALUE,
                        key.Put()) != ERROR_SUCCESS)
        return false;
    HKEY k = key.Get();
    e.displayName = ReadText(k, "DisplayName");
    e.displayVersion = ReadText(k, "DisplayVersion");
    e.publisher = ReadText(k, "Publisher");
    e.installLocation = ReadText(k, "InstallLocation");
    e.displayIcon = ReadText(k, "DisplayIcon");
    e.uninstallString = ReadText(k, "UninstallString");
    e.quietUninstallString = ReadText(k, "QuietUninstallString");
    e.installDate = ReadText(k, "InstallDate");
    e.files = ReadList(k, kFilesValue);
    e.shortcuts = ReadList(k, kShortcutsValue);
    return true;
}

bool DeleteUninstallEntry() {
    const LSTATUS status = ::RegDeleteKeyW(HKEY_CURRENT_USER, win::Widen(kUninstallKey).c_str());
    ::SetLastError(DWORD(status));  // the registry answers its code instead of setting it
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace pellion
