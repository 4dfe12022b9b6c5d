#!/usr/bin/python3
"""The sound under load, through PulseAudio: runs tests/e2e/e2e_pulse.py's
15-card reading `--runs` times under each load, and its Start trials quiet
and beside two busy loops, and prints one table. A benchmark, not a test:
nothing is checked, and the figures depend on the machine; the machine's
load average is printed with every run, as other work skews them.

  bench/load.py --app build/bench/bin/QtUtakaze [--runs 3] [--loads quiet,busy2,...]
"""

import argparse
import os
import re
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
E2E = os.path.join(HERE, "..", "tests", "e2e", "e2e_pulse.py")

LOADS = {
    "quiet": [],
    "busy2": ["--load", "2"],
    "busy4": ["--load", "4"],
    "compile": ["--load-compile"],
    "memdisk": ["--load", "2", "--load-memory-disk", "--verse-seconds", "3"],
}


def loadavg():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def run(app, args):
    before = loadavg()
    out = subprocess.run(["/usr/bin/python3", E2E, "--app", app, "--no-check"] + args,
                         capture_output=True, text=True).stdout
    return out, before, loadavg()


def number(pattern, text, default=float("nan")):
    m = re.search(pattern, text)
    return float(m.group(1)) if m else default


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--loads", default=",".join(LOADS))
    parser.add_argument("--trials", type=int, default=5)
    args = parser.parse_args()
    app = os.path.abspath(args.app)
    rows = []
    for name in args.loads.split(","):
        for i in range(args.runs):
            out, before, after = run(app, ["--scenario", "reading"] + LOADS[name])
            drops = sum(int(n) for n in re.findall(r"^  .* (\d+) drop-outs$", out, re.M))
            broken = re.search(r"verses broken: (\d+) of (\d+)", out)
            rows.append((name, i + 1, broken.group(0)[15:] if broken else "no result", drops,
                         number(r"pause error: worst ([\d.]+) ms", out),
                         number(r"Start to first sound: (\d+) ms", out),
                         number(r"exit after Ctrl\+Q: ([\d.]+) s", out),
                         "%s / %s" % (before, after)))
            print("%-8s run %d: broken %s, drop-outs %d, worst pause error %.1f ms, click %.0f ms,"
                  " quit %.2f s (loadavg %s)" % rows[-1][:8], flush=True)
    print("\n| load | run | verses broken | drop-outs | worst pause error (ms) | click to sound (ms)"
          " | Ctrl+Q (s) | machine loadavg before / after |\n|---|---|---|---|---|---|---|---|")
    for r in rows:
        print("| %s | %d | %s | %d | %.1f | %.0f | %.2f | %s |" % r)
    print("\n| Start trials | click median (ms) | Home median (ms) | Ctrl+Q in a verse (s)"
          " | idle CPU (% of a core) | machine loadavg |\n|---|---|---|---|---|---|")
    for name in ("quiet", "busy2"):
        if name not in args.loads.split(","):
            continue
        out, before, after = run(app, ["--scenario", "start", "--trials", str(args.trials)]
                                 + LOADS[name])
        print("| %s | %.0f | %.0f | %.3f | %.2f | %s / %s |" % (
            name, number(r"Start \(click\) to first sound, ms: median (\d+)", out),
            number(r"Start \(Home\) to first sound, ms: median (\d+)", out),
            number(r"exit after Ctrl\+Q during a verse: ([\d.]+) s", out),
            number(r"idle CPU over \d+ s: ([\d.]+) %", out), before, after), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
