#include "payload/payload_reader.h"

#include <windows.h>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/wide.h"
#include "payload/payload_item.h"
#include "payload/payload_key.h"

namespace pellion {
namespace {

struct ResourceBytes {
    const uint8_t* data;
    size_t size;
};

// The resource's bytes where the loader mapped them. The installer is linked
// with a 4096-byte file alignment, so they are paged in from the file as
// they are read instead of all being copied at start. Resource handles of a
// loaded module need no release: FreeResource does nothing on Win32.
ResourceBytes FindOwnResource(const std::string& name) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    // FindResourceW matches string names without regard to case.
    HRSRC info = ::FindResourceW(module, win::Widen(name).c_str(), RT_RCDATA);
    if (!info) throw EResNotFound(Format("Resource %s not found", name.c_str()));
    DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data && size) throw EReadError("Stream read error");
    return {static_cast<const uint8_t*>(data), size};
}

}  // namespace

void ReadPayloadItem(const std::string& resourceName, std::string& fileName, int32_t& dateTime,
                     std::string& content) {
    fileName.clear();
    std::string key;
    BuildPayloadKey(key);
    ResourceBytes stored = FindOwnResource(resourceName);
    DecodePayloadItem(stored.data, stored.size, key, fileName, dateTime, content);
}

std::string ReadRawResource(const std::string& name) {
    ResourceBytes bytes = FindOwnResource(name);
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

}  // namespace pellion
