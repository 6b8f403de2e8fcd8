#pragma once
// The helper module shared by the start-up gate, the install run, the DOSBox
// launch set-up and the main window: folder creation, whole-file writing,
// deletion through the shell, special folders, shortcuts, the 64-bit test and
// the centring of a control, on top of the portable half (ucargo_text.h).
// Every operation is a stateless free function that shows nothing to the
// user: failures come back as a Boolean or an empty text, or are ignored,
// except where a function says it raises.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "install/inst_item.h"
#include "install/ucargo_text.h"

namespace pellion {

// CSIDL values the callers pass to SpecialFolderPath.
constexpr int kCsidlDesktop = 0x00;
constexpr int kCsidlWindows = 0x24;
constexpr int kCsidlProgramFiles = 0x26;

// Whether an ordinary file (not a folder) exists at `path`.
bool FileExists(const std::string& path);

// Size in bytes of the file at `path`; 0 when there is none.
uint64_t FileSize(const std::string& path);

// Whether a folder exists at `path` (a trailing backslash is allowed).
bool DirectoryExists(const std::string& path);

// Makes `path` absolute (AbsoluteFolder against the process's current
// folder) and creates that folder with every missing parent. True when the
// folder exists afterwards; then `path` is replaced by the absolute path
// (a relative one without its trailing backslashes). On false, and for an
// empty path (false at once), `path` is left unchanged and the thread's last
// error is that of the call that failed (ERROR_ALREADY_EXISTS for a file
// standing where a folder must go).
bool EnsureFolder(std::string& path);

// Replaces the file at `path` with `content` (any bytes), opened without
// sharing. Empty content deletes the file instead (no recycle bin) and
// creates none. A file that cannot be opened is left as it was. A write
// that fails part-way removes the truncated file rather than leave a
// damaged copy. Answers whether the file now holds the content (for empty
// content: whether no file is left); callers may ignore it.
bool WriteWholeFile(const std::string& path, std::string_view content);

// Sends every file and folder matching the wildcard `mask` (for example
// "C:\dir\*.conf") to the recycle bin, without confirmation, progress or
// error display. True when the shell reports success. An empty mask, or one
// holding a NUL (which would smuggle a second entry into the shell's
// NUL-separated list), is refused with false.
bool DeleteByMask(const std::string& mask);

// File-system path of a shell special folder, normally without a trailing
// backslash; "" when the shell has none for it (a virtual folder).
std::string SpecialFolderPath(int csidl);

// The system's Windows folder, the one the shell names CSIDL_WINDOWS, asked
// of kernel32 so that the shell need not load for it; "" when unknown.
std::string WindowsFolderPath();

// Saves a shortcut file at `linkPath` (the caller supplies the ".lnk"). The
// working folder is the target's folder; the show command is normal; a
// hotkey (virtual key low byte, HOTKEYF_ flags high byte) is set only when
// not 0. Needs COM on the calling thread. Raises EOSError when the shell
// link object cannot be created ("<system text>, ClassID: {...}") or lacks
// one of its interfaces; failing property calls and a failing save are
// ignored.
void CreateShortcut(const std::string& linkPath, const std::string& target,
                    const std::string& arguments, const std::string& description,
                    const std::string& iconPath, int iconIndex, uint16_t hotkey);

// True on 64-bit Windows: for this 32-bit program, when it runs under WOW64
// (a 64-bit build always answers true); false where IsWow64Process does not
// exist. Raises EOSError "Bad process handle"
// when the call fails.
bool Is64BitWindows();

// Moves a child control horizontally so that it is centred in its parent's
// outer width (CenteredLeft); its top and size stay. A window without a
// parent is left alone.
void CenterInParent(HWND control);

}  // namespace pellion
