#!/usr/bin/python3
"""End-to-end test of the practice settings, heard from the real program's output.

Each case runs QtUtakaze in a fresh application folder with fixture verses
(0.5 s sine tones whose pitch names card and half) and a [PRACTICE] group,
under a private Xvfb with SDL's disk audio driver, presses Home and plays the reader:

  competitive: competitive, manual, DeadCards=3, five cards, preamble on: the
               preamble in full (upper, lower, lower), then 8 cards with the
               five among them, each take held until Page Down (the first
               for 2.5 s, far beyond the 1 s automatic take).
  beginner:    two cards, each upper, 1 s, lower, take (2 s), lower, 1 s.
  standard:    manual, two cards: Page Up in the take reads the upper verse
               again, Page Down ends the take, Right cuts the 3 s pause after
               the lower verse, Space ends the second take.

  e2e_practice.py --app PATH [--keep DIR] [--case NAME]
"""

import argparse
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

VERSE = 0.5
EXCESS_MIN, EXCESS_MAX = 0.05, 0.8  # silence after a verse beyond its pause
# A verse must follow its key within this; the capture clock is fitted to a
# few tens of ms, so one may appear a hair before the key.
REACTION_MIN, REACTION_MAX = -0.1, 0.8


class Session:
    """One run of the program in folder: its keys and what it sounded. The
    selected cards are read from files of `files` cards (0's lower verse
    enables Start)."""

    def __init__(self, x, exe, folder, files, selected, joka, wait1, wait2, practice):
        self.x = x
        app = d.make_app_folder(folder, exe, [], VERSE, (
            '[SETTING]\nchk_joka=%s\nWait1Time=%d\nWait2Time=%d\nFudaList="%s"\n\n[PRACTICE]\n%s'
            % ("true" if joka else "false", wait1, wait2,
               ",".join(map(str, selected)), practice)))
        d.write_tones(folder, [(c, h) for c in files for h in (1, 2)], VERSE)
        self.capture = os.path.join(folder, "capture.raw")
        self.presses = {}
        self.proc, self.recorder, self.window = d.start_program(app, folder, x.display,
                                                                self.capture)
        try:
            self.press("Home", "start")
        except BaseException:
            self.close()
            raise

    def press(self, keys, name):
        d.focus(self.x.display, self.window)
        self.presses[name] = time.monotonic()
        d.key(self.x.display, self.window, keys, focused=True)

    def wait_verse(self, half, what):
        """Until a card's verse of that half sounds (the preamble's do not count)."""
        def sounding(rms, freq):
            verse = d.identify(freq)
            return rms > 0.1 and verse is not None and verse[1] == half and verse[0] > 0
        d.wait_tail(self.recorder, sounding, 15, what)

    def press_after_silence(self, keys, name, hold):
        d.wait_tail(self.recorder, lambda rms, f: rms < 0.005, 10, "silence before %s" % name)
        time.sleep(hold)
        self.press(keys, name)

    def finish(self, verses, longest_pause):
        """Waits for `verses` sounds and 1.5 s of silence (or a silence longer
        than any pause), quits with Ctrl+Q; returns [(verse, start, end)] in
        monotonic seconds."""
        try:
            deadline = time.monotonic() + 45
            while time.monotonic() < deadline:
                segs = d.segments(d.load_capture(self.capture))
                quiet = (self.recorder.frames_now() - segs[-1].end) / d.RATE if segs else 0.0
                if len(segs) >= verses and quiet > 1.5 or quiet > longest_pause + 3.0:
                    break
                time.sleep(0.3)
            d.key(self.x.display, self.window, "ctrl+q")
            if self.proc.wait(15) != 0:
                raise d.Failure("exit code %s after Ctrl+Q" % self.proc.returncode)
        except subprocess.TimeoutExpired:
            raise d.Failure("the program did not exit within 15 s of Ctrl+Q")
        finally:
            self.close()
        rate, offset, _ = self.recorder.clock()
        heard = [(s.verse, (s.start - offset) / rate, (s.end - offset) / rate)
                 for s in d.segments(d.load_capture(self.capture))]
        print("  heard:", " ".join("%d/%d" % v for v, _, _ in heard), flush=True)
        return heard

    def close(self):
        self.recorder.stop()
        d.stop_process(self.proc)


class Checks:
    def __init__(self, heard, presses):
        self.heard, self.presses, self.problems = heard, presses, []

    def gap(self, i, pause):
        """The silence after verse i is the pause plus the engine's passes."""
        gap = self.heard[i + 1][1] - self.heard[i][2]
        if not pause + EXCESS_MIN <= gap <= pause + EXCESS_MAX:
            self.problems.append("silence after verse %d %s: %.2f s, expected %d s + %.2f .. %.2f s"
                                 % (i + 1, self.heard[i][0], gap, pause, EXCESS_MIN, EXCESS_MAX))

    def reaction(self, i, name):
        """Verse i starts promptly after the key press `name`."""
        delay = self.heard[i][1] - self.presses[name]
        if not REACTION_MIN < delay <= REACTION_MAX:
            self.problems.append("%s began %.2f s after %s" % (self.heard[i][0], delay, name))


def case_competitive(x, exe, folder):
    selected, holds = [3, 17, 42, 77, 99], [2.5] + [0.4] * 7
    s = Session(x, exe, folder, range(0, 101), selected, True, 1, 1,
                "Style=competitive\nAdvance=manual\nDeadCards=3\n")
    try:
        for k, hold in enumerate(holds):
            s.wait_verse(1, "the upper verse of card %d" % (k + 1))
            s.press_after_silence("Page_Down", k, hold)
            s.wait_verse(2, "the lower verse of card %d" % (k + 1))
    except BaseException:
        s.close()
        raise
    heard = s.finish(3 + 16, 1)
    verses = [v for v, _, _ in heard]
    cards = [v[0] for v in verses[3::2]]
    if verses != [(0, 1), (0, 2), (0, 2)] + [(c, h) for c in cards for h in (1, 2)] \
            or len(set(cards)) != 8 or not set(selected) <= set(cards):
        return ["expected the preamble in full, then 8 different cards with %s among them, "
                "each upper then lower verse" % selected]
    c = Checks(heard, s.presses)
    c.gap(0, 1)
    c.gap(1, 1)
    for k in range(8):
        c.reaction(4 + 2 * k, k)
        if k < 7:
            c.gap(4 + 2 * k, 1)
    if heard[4][1] - heard[3][2] < holds[0]:
        c.problems.append("the first take lasted %.2f s, not until Page Down"
                          % (heard[4][1] - heard[3][2]))
    return c.problems


def case_beginner(x, exe, folder):
    s = Session(x, exe, folder, [0, 7, 23], [7, 23], False, 2, 1, "Style=beginner\n")
    heard = s.finish(6, 2)
    verses = [v for v, _, _ in heard]
    a, b = (verses[0][0], verses[3][0]) if len(verses) == 6 else (0, 0)
    if verses != [(a, 1), (a, 2), (a, 2), (b, 1), (b, 2), (b, 2)] or {a, b} != {7, 23}:
        return ["expected upper, lower, lower verse of cards 7 and 23"]
    c = Checks(heard, s.presses)
    for i, pause in enumerate([1, 2, 1, 1, 2]):
        c.gap(i, pause)
    return c.problems


def case_standard(x, exe, folder):
    s = Session(x, exe, folder, [0, 7, 23], [7, 23], False, 1, 3, "Style=standard\nAdvance=manual\n")
    try:
        s.wait_verse(1, "the first upper verse")
        s.press_after_silence("Page_Up", "repeat", 0.4)
        s.wait_verse(1, "the upper verse again")
        s.press_after_silence("Page_Down", "take1", 0.4)
        s.wait_verse(2, "the first lower verse")
        s.press_after_silence("Right", "next", 0.3)
        s.wait_verse(1, "the second upper verse")
        s.press_after_silence("space", "take2", 0.4)
    except BaseException:
        s.close()
        raise
    heard = s.finish(5, 3)
    verses = [v for v, _, _ in heard]
    a, b = (verses[0][0], verses[3][0]) if len(verses) == 5 else (0, 0)
    if verses != [(a, 1), (a, 1), (a, 2), (b, 1), (b, 2)] or {a, b} != {7, 23}:
        return ["expected one card's upper verse twice and its lower verse, then the other card"]
    c = Checks(heard, s.presses)
    for i, name in enumerate(["repeat", "take1", "next", "take2"]):
        c.reaction(i + 1, name)
    if heard[3][1] - heard[2][2] > 2:
        c.problems.append("Right did not cut the 3 s pause short")
    return c.problems


CASES = {"competitive": case_competitive, "beginner": case_beginner, "standard": case_standard}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", required=True, help="the QtUtakaze executable")
    parser.add_argument("--keep", help="keep the runs (captures, settings) in this folder")
    parser.add_argument("--case", choices=sorted(CASES), action="append", help="only this case")
    args = parser.parse_args()
    if d.missing_tools("Xvfb", "xdotool", "sox"):
        print("needs Xvfb, xdotool and sox")
        return 1
    work, _tmp = d.work_folder(args.keep, "qtutakaze-e2e-practice-")
    failed = []
    with d.Xvfb() as x:
        for name in args.case or list(CASES):
            print("case", name, flush=True)
            folder = os.path.join(work, name)
            started = time.monotonic()
            try:
                problems = CASES[name](x, os.path.abspath(args.app), folder)
            except d.Failure as failure:
                problems = [str(failure)]
            print("  took %.1f s" % (time.monotonic() - started), flush=True)
            if problems:
                failed.append(name)
                print("\n".join("  - " + p for p in problems), flush=True)
                with open(os.path.join(folder, "app.log"), errors="replace") as f:
                    print("  program output:\n" + f.read(), flush=True)
    print("FAIL: " + ", ".join(failed) if failed else "PASS")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
