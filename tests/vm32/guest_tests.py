#!/usr/bin/env python3
"""Runs inside the test machine: the plan's tests one after another.

  guest_tests.py PLAN RESULTS

PLAN (JSON) holds "env" (set for every test) and "tests", each with "name",
"command" (argv), "cwd", "timeout" and optionally its own "env". Every
test's output goes to RESULTS/<name>.log, then "<status> <seconds>" to
RESULTS/<name>.rc, which the host's ctest entries report.
"""

import json
import os
import subprocess
import sys
import time
from pathlib import Path


def main(plan_path, results):
    plan = json.loads(Path(plan_path).read_text())
    results = Path(results)
    common = dict(os.environ, **plan.get("env", {}))
    for test in plan["tests"]:
        name = test["name"]
        start = time.monotonic()
        with open(results / f"{name}.log", "wb") as log:
            try:
                rc = subprocess.run(test["command"], cwd=test.get("cwd"),
                                    env=dict(common, **test.get("env", {})),
                                    stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT,
                                    timeout=test.get("timeout", 900)).returncode
            except subprocess.TimeoutExpired:
                rc = 124
                log.write(f"\nvm32: {name} did not end within {test.get('timeout', 900)} s\n"
                          .encode())
        seconds = time.monotonic() - start
        (results / f"{name}.rc").write_text(f"{rc} {seconds:.1f}\n")
        print(f"vm32: {name}: status {rc} after {seconds:.0f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
