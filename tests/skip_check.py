#!/usr/bin/env python3
"""The test run's last check: no test may be skipped in every ctest entry
that has it. A test that applies to one prefix or one kind of machine may
skip in some entries, as long as some entry of the same run runs it.

  skip_check.py LASTTEST_LOG

Reads ctest's log of the run (Testing/Temporary/LastTest.log, which keeps
every entry's whole output): GoogleTest's per-test lines and the "##test"
lines of tests/harness/unittest_run.py. Prints one line when all is well;
otherwise the tests skipped everywhere, with the entries that skipped them,
and exits 1.
"""

import re
import sys
from collections import defaultdict

ENTRY = re.compile(r"^\d+/\d+ Test: (\S+)$")
GTEST = re.compile(r"^\[\s+(OK|FAILED|SKIPPED)\s+\] ([A-Za-z_][\w/]*\.[\w/]+)(?=[ ,]|$)")
# Anywhere in a line: unittest's verbose line of a test ("name ... ") may
# still be open when the first subtest's mark is written.
PYTEST = re.compile(r"##test (ran|skipped) (.+)$")


def results(log_text):
    """{test: {entry: skipped?}}: a test counts as run in an entry when it ran
    there at least once (GoogleTest lists a skipped test twice)."""
    seen = defaultdict(dict)
    entry = None
    for line in log_text.splitlines():
        m = ENTRY.match(line)
        if m:
            entry = m.group(1)
            continue
        if entry is None:
            continue
        m = GTEST.match(line)
        if m:
            test, skipped = m.group(2), m.group(1) == "SKIPPED"
        else:
            m = PYTEST.search(line)
            if not m:
                continue
            test, skipped = m.group(2).strip(), m.group(1) == "skipped"
        seen[test][entry] = seen[test].get(entry, True) and skipped
    return seen


def skipped_everywhere(seen):
    return {t: sorted(e) for t, e in seen.items() if all(e.values())}


def main(argv):
    if len(argv) != 1:
        print(__doc__)
        return 2
    try:
        text = open(argv[0], errors="replace").read()
    except OSError as e:
        print(f"skip check: cannot read ctest's log {argv[0]}: {e.strerror}")
        return 1
    seen = results(text)
    bad = skipped_everywhere(seen)
    entries = {e for by_entry in seen.values() for e in by_entry}
    if not bad:
        print(f"skip check: {len(seen)} tests in {len(entries)} entries; "
              f"none was skipped in every entry that has it")
        return 0
    print(f"skip check: {len(bad)} of {len(seen)} tests were skipped in every entry that has them:")
    for test, where in sorted(bad.items()):
        print(f"  {test}  (skipped in {', '.join(where)})")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
