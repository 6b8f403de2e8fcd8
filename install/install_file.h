#pragma once
// Puts one installed file in place without ever leaving a half-written or
// destroyed one: the content goes to a temporary file beside the final name,
// is dated there, and only then replaces the final name in one step.

#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

// Writes `content` to `path` with the last-write time of `dosDateTime`
// (packed DOS date in the upper 16 bits and time in the lower 16, taken as
// local time). On failure answers false with the system's reason in
// `reason`; any file already at `path` is then exactly as it was, and the
// temporary file is gone.
bool PlaceInstalledFile(const std::string& path, std::string_view content, int32_t dosDateTime,
                        std::string& reason);

// How a finished temporary file replaces the final name: by default the
// system's move (MoveFileExW, replacing). Windows refuses to move over a
// read-only file and Wine does not; tests put in a move that refuses as
// Windows does. Null restores the default.
using ReplacingMove = bool (*)(const wchar_t* from, const wchar_t* to);
void SetReplacingMoveForTesting(ReplacingMove move);

// Deletes the temporary files of `path` that an earlier run left behind (one
// that was killed while writing): exactly the names IsTemporaryFileOf
// accepts for its file name, nothing else.
void RemoveLeftoverTemporaries(const std::string& path);

}  // namespace pellion
