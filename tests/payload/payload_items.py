"""The installer's payload items as (resource, file) pairs in install order,
read from payload/payload_list.h, the one place they are written."""

import re
from pathlib import Path

HEADER = Path(__file__).resolve().parents[2] / "payload" / "payload_list.h"
_PAIR = re.compile(r'^ *\{"([A-Za-z0-9_]+)", "([^"]+)"\},', re.MULTILINE)


def payload_items(header=HEADER):
    items = _PAIR.findall(Path(header).read_text())
    if not items:
        raise RuntimeError(f"no payload items found in {header}")
    return items


def payload_files(header=HEADER):
    return [file for _, file in payload_items(header)]
