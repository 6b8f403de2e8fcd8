#!/usr/bin/env python3
"""`python3 -m unittest -v ARGS`, run from the current folder, which also
prints one line for every test and subtest saying whether it ran:

  ##test ran test_gate.Win32.test_notice
  ##test skipped test_main_window.Install.test_x (arch='win32')

The test run's last step (tests/skip_check.py) reads these lines from every
ctest entry and fails when a test was skipped in every entry that has it.
Plain unittest prints nothing for a subtest that passed, so without them a
subtest skipped in one place could not be told from one that ran nowhere.
"""

import os
import sys
import unittest


class Result(unittest.TextTestResult):
    def _mark(self, test, status):
        self.stream.writeln(f"##test {status} {test.id()}")
        self.stream.flush()

    def addSuccess(self, test):
        super().addSuccess(test)
        self._mark(test, "ran")

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._mark(test, "ran")

    def addError(self, test, err):
        super().addError(test, err)
        self._mark(test, "ran")

    def addSkip(self, test, reason):
        super().addSkip(test, reason)
        self._mark(test, "skipped")

    def addExpectedFailure(self, test, err):
        super().addExpectedFailure(test, err)
        self._mark(test, "ran")

    def addUnexpectedSuccess(self, test):
        super().addUnexpectedSuccess(test)
        self._mark(test, "ran")

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        self._mark(subtest, "ran")


if __name__ == "__main__":
    sys.path.insert(0, os.getcwd())
    runner = unittest.TextTestRunner(resultclass=Result, verbosity=2)
    unittest.main(module=None, argv=[sys.argv[0], "-v", *sys.argv[1:]], testRunner=runner)
