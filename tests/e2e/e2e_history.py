#!/usr/bin/python3
"""End-to-end test of the reading history and its review reading, heard
from the real program's output.

QtUtakaze runs in a fresh application folder with fixture verses for every
card (short sine tones whose pitch names card and half), five selected
cards, two dead cards, no preamble and 1 s pauses, under a private Xvfb
with SDL's disk audio driver:

  Home:    one reading; it must leave history/YYYYMMDD-HHMMSS.tsv with 7
           rows, 2 of them dead, the five cards among them, in the order heard;
  Ctrl+H:  the history window; Return on its focused button reads again: the
           same 7 cards must be heard in the same order, and a second history
           file must hold the same rows (cards, order, dead flags);
  Ctrl+Q:  exit code 0.

  e2e_history.py --app PATH [--keep DIR]
"""

import glob
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

SELECTED = [3, 17, 42, 77, 99]
DEAD = 2
VERSE = 0.3
INI_TEXT = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n\n'
            '[PRACTICE]\nDeadCards=%d\n' % (",".join(map(str, SELECTED)), DEAD))
HEADER = ["position", "card", "dead", "kimariji", "started"]
# 7 cards of 2 verses and 2 pauses each, with room for a loaded machine.
READING_TIMEOUT = 60


def log(*args):
    print(*args, flush=True)


def wait_history_file(folder, count, timeout):
    """Path of the count-th history file, once it exists (written when a reading ends)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        files = sorted(glob.glob(os.path.join(folder, "history", "*.tsv")))
        if len(files) >= count:
            return files[count - 1]
        time.sleep(0.2)
    raise d.Failure("no history file number %d within %d s" % (count, timeout))


def history_rows(path):
    """[(card, dead)] of a history file, checked for its form."""
    name = os.path.basename(path)
    if not (len(name) == 19 and name[8] == "-" and (name[:8] + name[9:15]).isdigit()):
        raise d.Failure("history file name %s is not YYYYMMDD-HHMMSS.tsv" % name)
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    if not lines or lines[0].split("\t") != HEADER:
        raise d.Failure("%s: header %r" % (name, lines[:1]))
    rows = [line.split("\t") for line in lines[1:] if line]
    if [r[0] for r in rows] != [str(i + 1) for i in range(len(rows))] or \
            any(len(r) != 5 or r[2] not in ("0", "1") for r in rows):
        raise d.Failure("%s: malformed rows %r" % (name, rows))
    return [(int(r[1]), r[2] == "1") for r in rows]


def heard_cards(segs):
    """Cards of the captured verses, each an upper then a lower verse."""
    verses = [s.verse for s in segs]
    cards = [v[0] for v in verses[::2] if v]
    if verses != [(c, h) for c in cards for h in (1, 2)]:
        raise d.Failure("heard %r, not upper then lower verse of each card" % verses)
    return cards


def run(exe, work):
    """Plays both readings; returns the problems found."""
    problems = []
    app = d.make_app_folder(work, exe, [], VERSE, INI_TEXT)
    d.write_tones(work, [(0, 2)] + [(c, h) for c in range(1, 101) for h in (1, 2)], VERSE)
    capture = os.path.join(work, "capture.raw")
    with d.Xvfb() as x:
        proc, recorder, window = d.start_program(app, work, x.display, capture)
        try:
            d.key(x.display, window, "Home")
            first = history_rows(wait_history_file(work, 1, READING_TIMEOUT))
            first_end = recorder.frames_now()
            first_heard = heard_cards(d.segments(d.load_capture(capture)))
            log("  first reading: heard", first_heard, "history", first)

            d.key(x.display, window, "ctrl+h")
            history = d.wait_window(x.display, "^読み上げ履歴$")
            d.key(x.display, history, "Return")
            second = history_rows(wait_history_file(work, 2, READING_TIMEOUT))
            second_heard = heard_cards([s for s in d.segments(d.load_capture(capture))
                                        if s.start >= first_end])
            log("  review reading: heard", second_heard, "history", second)

            d.key(x.display, window, "ctrl+q")
            if proc.wait(15) != 0:
                problems.append("exit code %s after Ctrl+Q" % proc.returncode)
        except subprocess.TimeoutExpired:
            raise d.Failure("the program did not exit within 15 s of Ctrl+Q")
        finally:
            recorder.stop()
            d.stop_process(proc)

    cards = [c for c, _ in first]
    if len(first) != len(SELECTED) + DEAD or len(set(cards)) != len(first):
        problems.append("first history: %d rows, expected %d different cards"
                        % (len(first), len(SELECTED) + DEAD))
    if sorted(c for c, dead in first if not dead) != SELECTED:
        problems.append("first history: the live cards are not the selected %s" % SELECTED)
    if sum(dead for _, dead in first) != DEAD:
        problems.append("first history: %d dead rows, expected %d"
                        % (sum(dead for _, dead in first), DEAD))
    if first_heard != cards:
        problems.append("first reading: heard %s, history says %s" % (first_heard, cards))
    if second_heard != cards:
        problems.append("review reading: heard %s, expected %s" % (second_heard, cards))
    if second != first:
        problems.append("review history %s differs from the first %s" % (second, first))
    return problems


if __name__ == "__main__":
    sys.exit(d.run_single_scenario(__doc__, "qtutakaze-e2e-history-",
                                   "keep the run (capture, settings, history) in this folder", run))
