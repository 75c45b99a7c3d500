#!/usr/bin/env python3
"""Sums up a start-up trace (tools/bench.sh --trace): the medians, in ms
from CreateProcess, of each timing mark of each kind of start, with the
step from the mark before. Reads Wine's output with +timestamp,+debugstr.

    trace-summary.py LOG
"""
import re
import statistics
import sys

LINE = re.compile(r'^(\d+\.\d+):.*OutputDebugString\w*\s+"(.*)"\s*$')


def starts(lines):
    """Yields (kind, [(mark, ms from start)]) for each start in the log."""
    kind, zero, marks = None, 0.0, []
    for line in lines:
        found = LINE.match(line)
        if not found:
            continue
        stamp, text = float(found.group(1)) * 1000, found.group(2).replace('\\n', '')
        if text.startswith('bench: start '):
            if kind:
                yield kind, marks
            kind, zero, marks = text[len('bench: start '):], stamp, []
        elif kind and text.startswith(('startup: ', 'bench: ')):
            marks.append((text.split(': ', 1)[1], stamp - zero))
    if kind:
        yield kind, marks


def main():
    with open(sys.argv[1], errors='replace') as log:
        runs = {}
        for kind, marks in starts(log):
            runs.setdefault(kind, []).append(marks)
    for kind, all_marks in runs.items():
        # Round 0 warms the caches; the runner does not count it either.
        counted = all_marks[1:] or all_marks
        order, times = [], {}
        for marks in counted:
            seen = {}
            for name, ms in marks:
                # A mark made more than once in a start is told apart by
                # its number.
                seen[name] = seen.get(name, 0) + 1
                if seen[name] > 1:
                    name = f'{name} ({seen[name]})'
                if name not in times:
                    order.append(name)
                times.setdefault(name, []).append(ms)
        print(f'{kind}: {len(counted)} starts, median ms from CreateProcess')
        before = 0.0
        for name in order:
            at = statistics.median(times[name])
            print(f'  {at:7.1f}  {at - before:+7.1f}  {name}')
            before = at
    return 0


if __name__ == '__main__':
    sys.exit(main())
