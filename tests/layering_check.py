#!/usr/bin/env python3
"""Checks the direction of the includes between the source folders, and that
portable code never includes Windows headers.

  layering_check.py SOURCE_ROOT CORE_SOURCES_FILE

CORE_SOURCES_FILE lists the sources of the portable library (pellion_core),
one a line, as the build has them. Prints every offending include as
FILE:LINE and exits 1 when there is one.
"""

import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Headers of the Windows SDK that portable code must not see.
WINDOWS_HEADERS = re.compile(
    r"^(windows|winbase|winuser|windef|wingdi|commctrl|commdlg|shellapi|shlobj|shobjidl|"
    r"objbase|ole2|psapi|tlhelp32)\.h$", re.IGNORECASE)

# What each folder may include from the tree besides its own folder, from
# the windows down to the portable code; nothing points back up.
ALLOWED = {
    "app": ("base/", "payload/", "install/", "ui/"),
    "ui": ("base/", "payload/", "install/", "ui/"),  # the forms at ui/'s root
    "install": ("base/", "payload/"),
    "ui/dialogs": ("base/",),
    "ui/controls": ("base/",),
    "payload": ("base/",),
    "base/win": ("base/",),
    "base": (),  # the portable base: its own files only, not base/win/
}


def group_of(rel):
    """The folder group of a path relative to the root, or None."""
    parts = rel.split("/")
    if parts[0] in ("ui", "base") and len(parts) > 2:
        return f"{parts[0]}/{parts[1]}"
    return parts[0] if parts[0] in ALLOWED else None


def may_include(group, name):
    target = group_of(name)
    return target is None or target == group or name.startswith(ALLOWED[group])


def includes(path):
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        m = INCLUDE.match(line)
        if m:
            yield number, m.group(1) == '"', m.group(2)


def direction_problems(root):
    tops = sorted({group.split("/")[0] for group in ALLOWED})
    for path in sorted(p for top in tops for p in (root / top).rglob("*")):
        rel = path.relative_to(root).as_posix()
        group = group_of(rel)
        if path.suffix not in (".h", ".cpp") or group is None:
            continue
        for number, quoted, name in includes(path):
            if quoted and not may_include(group, name):
                yield f"{rel}:{number}: {group}/ must not include {name}"


def portable_closure(root, sources):
    """The core's sources and every project header they reach."""
    seen, todo = set(), [Path(s) for s in sources]
    while todo:
        path = todo.pop()
        if path in seen or not path.exists():
            continue
        seen.add(path)
        header = path.with_suffix(".h")
        if path.suffix == ".cpp" and header.exists():
            todo.append(header)
        for _, quoted, name in includes(path):
            if quoted and (root / name).exists():
                todo.append(root / name)
    return sorted(seen)


def portable_problems(root, sources):
    for path in portable_closure(root, sources):
        for number, _, name in includes(path):
            if WINDOWS_HEADERS.match(Path(name).name):
                rel = path.relative_to(root).as_posix()
                yield f"{rel}:{number}: portable code must not include <{name}>"


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    root = Path(argv[0]).resolve()
    sources = [Path(line).resolve() for line in Path(argv[1]).read_text().splitlines() if line]
    problems = list(direction_problems(root)) + list(portable_problems(root, sources))
    for p in problems:
        print(p)
    print(f"layering: {len(problems)} problem(s) in {len(sources)} portable sources and the "
          f"includes of {', '.join(ALLOWED)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
