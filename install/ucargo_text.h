#pragma once
// Portable half of the helper module: folder-path forms, name and text
// operations, and the pure decisions behind the Win32 helpers (ucargo.h).
// Paths use the backslash as their separator; case changes touch the ASCII
// letters only, so the bytes of multi-byte characters pass through unchanged.
// Texts are UTF-8, where a backslash byte is always a backslash. The two
// functions that also see folders in ANSI bytes (the form DOSBox reads) take
// that code page, so that the second byte of a double-byte character is
// never taken for a separator.

#include <string>
#include <string_view>
#include <vector>

#include "base/ansi_code_page.h"
#include "install/inst_item.h"

namespace pellion {

// Normal form of a folder path: ends in exactly one backslash; "" stays "".
// "C:" -> "C:\", "C:\dir\\\" -> "C:\dir\", "\\\" -> "\". Under code page 932
// "C:\表" (43 3A 5C 95 5C) counts as ending in 表, not in a backslash.
std::string NormalizeFolder(std::string_view path, const AnsiCodePage& codePage = {});

// Drops every trailing backslash, the one after a drive letter included:
// "C:\" -> "C:", "\" -> "". A backslash byte that ends a double-byte
// character of `codePage` stays.
std::string StripTrailingBackslashes(std::string_view path, const AnsiCodePage& codePage = {});

// Folder part of a path: everything up to and including its last backslash
// or colon; "" when it has neither. "C:\dir\x.exe" -> "C:\dir\", "C:x" -> "C:".
std::string FolderPart(std::string_view path);

// File-name part of a path: everything after its last backslash or colon.
std::string FileNamePart(std::string_view path);

// The file-name part, lower-cased, cut before its first dot:
// "C:\A.B\c.d" -> "c", "Archive.Tar.GZ" -> "archive", ".hidden" -> "".
std::string FileBaseName(std::string_view path);

// Lower-cases the text, then upper-cases its first character and every
// character that follows a non-word character. Word characters are the
// hyphen, the digits 1 to 9 (not 0) and the ASCII letters: "o'neil" ->
// "O'Neil", "abc0def" -> "Abc0Def", "x-ray" -> "X-ray".
std::string TitleCase(std::string_view text);

// Cuts the first token off `list`. Every character of `delimiters` is a
// delimiter on its own (none when it is empty). `token` receives the text
// before the first delimiter, or all of `list` when there is none; `list`
// keeps what follows that one delimiter character. "a,b" -> token "a",
// list "b"; "abc" -> token "abc", list "".
void SplitFirstToken(std::string& list, std::string_view delimiters, std::string& token);

// A path counts as absolute when it starts with a backslash or its second
// character is a colon ("C:\x", "\x", "\\server\share", and also "C:x").
bool IsAbsolutePath(std::string_view path);

// The folder that EnsureFolder works on: an absolute path unchanged, a
// relative one as NormalizeFolder(currentFolder) followed by the path
// without its trailing backslashes. "sub\" in "C:\work" -> "C:\work\sub".
std::string AbsoluteFolder(std::string_view path, std::string_view currentFolder);

// The folders to create, outermost first, so that `folder` exists
// afterwards. The root of the path ("C:\", "C:", "\", "\\server\share\") is
// never in the list; empty steps (doubled separators) are skipped. The
// forward slash separates steps too, as it does for Windows.
// "D:\new\deep\" -> {"D:\new", "D:\new\deep"}.
std::vector<std::string> FolderCreationSteps(std::string_view folder);

// Left edge that centres a control horizontally in its parent:
// (parentWidth - controlWidth) / 2, truncating toward zero (also when the
// control is the wider one).
int CenteredLeft(int parentWidth, int controlWidth);

}  // namespace pellion
