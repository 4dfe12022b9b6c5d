#!/usr/bin/python3
"""End-to-end test of the practice settings: the real program reads each style,
heard from its output, and is driven with the Next and Repeat keys.

Each case copies QtUtakaze into a fresh application folder with fixture
verses (one sine tone per file, its pitch naming card and half; 0.5 s each)
and a settings file with a [PRACTICE] group, starts it under a private Xvfb
with SDL's disk audio driver, presses Home and plays the reader:

  competitive: Style=competitive, Advance=manual, DeadCards=3, five cards
               selected, preamble on. The preamble is read in full (upper,
               lower, lower), then 8 cards, each waiting after its upper
               verse until Page Down (the first one held for 2.5 s, far
               beyond the 1 s pause of the automatic take).
  beginner:    Style=beginner, two cards: upper, 1 s, lower, the take (2 s),
               lower again, 1 s.
  standard:    Style=standard, Advance=manual, two cards: in the first take
               Page Up reads the upper verse again, Page Down ends the take;
               in the pause after the lower verse Right ends it at once;
               Space ends the second take.

  e2e_practice.py --app PATH [--keep DIR] [--case NAME]
"""

import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

VERSE = 0.5
# Silence after a verse beyond its pause, and the reaction to a key.
EXCESS_MIN, EXCESS_MAX = 0.05, 0.8
# The capture's clock is fitted to within a few tens of ms, so a verse that
# starts with the key may appear a hair before it.
REACTION_MIN, REACTION_MAX = -0.1, 0.8


def log(*args):
    print(*args, flush=True)


def make_folder(folder, exe, cards, ini):
    """Application folder with both halves of every card in cards (0 too:
    its lower verse is the file that enables Start)."""
    app = d.make_app_folder(folder, exe, [], VERSE, ini)
    music = os.path.join(folder, "Music")
    jobs = [(os.path.join(music, "rindou_%03d_%d.ogg" % (c, h)), d.tone_frequency(c, h))
            for c in cards for h in (1, 2)]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        list(pool.map(lambda job: d.make_tone(job[0], job[1], VERSE), jobs))
    return app


class Session:
    """One run of the program; keys pressed and the capture's sound."""

    def __init__(self, x, app, folder):
        self.x = x
        self.capture = os.path.join(folder, "capture.raw")
        with open(os.path.join(folder, "app.log"), "w") as applog:
            self.proc = subprocess.Popen([app], cwd=folder, env=d.app_env(x.display, self.capture),
                                         stdout=applog, stderr=subprocess.STDOUT)
        self.recorder = d.CaptureRecorder(self.capture).start()
        self.presses = []  # (name, monotonic time)
        self.window = d.wait_window(x.display, "^QtUtakaze$", timeout=30)
        d.wait_tail(self.recorder, lambda rms, f: self.recorder.frames_now() > 0, 10,
                    "the audio output to open")

    def press(self, keys, name):
        d.focus(self.x.display, self.window)
        self.presses.append((name, time.monotonic()))
        d.key(self.x.display, self.window, keys, focused=True)

    def wait_verse(self, half, what, card_ok=lambda card: True, timeout=15):
        def sounding(rms, freq):
            verse = d.identify(freq)
            return rms > 0.1 and verse is not None and verse[1] == half and card_ok(verse[0])
        return d.wait_tail(self.recorder, sounding, timeout, what)

    def wait_silence(self, what, timeout=10):
        return d.wait_tail(self.recorder, lambda rms, f: rms < 0.005, timeout, what)

    def wait_quiet_end(self, verses, longest_pause, timeout=45):
        """Until `verses` sounds were heard and 1.5 s of silence followed, or
        the silence outlasted every pause (a reading that ended early)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            segs = d.segments(d.load_capture(self.capture))
            quiet = (self.recorder.frames_now() - segs[-1].end) / d.RATE if segs else 0.0
            if len(segs) >= verses and quiet > 1.5 or quiet > longest_pause + 3.0:
                return
            time.sleep(0.3)
        raise d.Failure("the reading did not end within %d s" % timeout)

    def finish(self):
        """Quits with Ctrl+Q; returns the verses heard as (verse, start s, end s)
        on the monotonic clock, and the key presses."""
        try:
            d.key(self.x.display, self.window, "ctrl+q")
            try:
                code = self.proc.wait(15)
            except subprocess.TimeoutExpired:
                raise d.Failure("the program did not exit within 15 s of Ctrl+Q")
            if code != 0:
                raise d.Failure("exit code %s after Ctrl+Q" % code)
        finally:
            self.close()
        rate, offset, _ = self.recorder.clock()
        heard = [(s.verse, (s.start - offset) / rate, (s.end - offset) / rate)
                 for s in d.segments(d.load_capture(self.capture))]
        for verse, start, end in heard:
            log("  %-9s %.2f s long" % (verse, end - start))
        return heard, dict(self.presses)

    def close(self):
        self.recorder.stop()
        d.stop_process(self.proc)


def ini_text(cards, joka, wait1, wait2, practice):
    return ('[SETTING]\nchk_joka=%s\nWait1Time=%d\nWait2Time=%d\nFudaList="%s"\n\n[PRACTICE]\n%s'
            % ("true" if joka else "false", wait1, wait2, ",".join(map(str, cards)), practice))


def check_gap(problems, heard, i, pause, what):
    gap = heard[i + 1][1] - heard[i][2]
    if not pause + EXCESS_MIN <= gap <= pause + EXCESS_MAX:
        problems.append("silence %s: %.2f s, expected %d s + %.2f .. %.2f s"
                        % (what, gap, pause, EXCESS_MIN, EXCESS_MAX))


def check_reaction(problems, heard, i, presses, name):
    """Verse i must start promptly after the key press `name`."""
    delay = heard[i][1] - presses[name]
    log("  %s to %s: %.2f s" % (name, heard[i][0], delay))
    if not REACTION_MIN < delay <= REACTION_MAX:
        problems.append("%s began %.2f s after %s" % (heard[i][0], delay, name))


# --------------------------------------------------------------------------
# The cases: each returns the problems found

def case_competitive(x, exe, folder):
    selected = [3, 17, 42, 77, 99]
    wait1, wait2 = 1, 1
    app = make_folder(folder, exe, range(0, 101),
                      ini_text(selected, True, wait1, wait2,
                               "Style=competitive\nAdvance=manual\nDeadCards=3\n"))
    session = Session(x, app, folder)
    holds = [2.5] + [0.4] * 7
    try:
        session.press("Home", "start")
        for k, hold in enumerate(holds):
            session.wait_verse(1, "the upper verse of card %d" % (k + 1), lambda card: card > 0)
            session.wait_silence("the take after card %d" % (k + 1))
            time.sleep(hold)
            session.press("Page_Down", "take%d" % k)
            session.wait_verse(2, "the lower verse of card %d" % (k + 1), lambda card: card > 0)
        session.wait_quiet_end(3 + 16, wait2)
    except BaseException:
        session.close()
        raise
    heard, presses = session.finish()

    problems = []
    verses = [v for v, _, _ in heard]
    if verses[:3] != [(0, 1), (0, 2), (0, 2)]:
        return ["the preamble was read as %s, not upper, lower, lower" % verses[:3]]
    cards = verses[3::2]
    if len(verses) != 3 + 16 or any(verses[4 + 2 * k] != (c[0], 2) for k, c in enumerate(cards)) \
            or any(c[1] != 1 for c in cards):
        return ["verses read %s; expected 8 cards, each upper then lower verse" % verses]
    cards = [c[0] for c in cards]
    log("  cards read:", cards)
    if len(set(cards)) != 8 or not set(selected) <= set(cards):
        problems.append("cards read %s: not 8 different ones with %s among them" % (cards, selected))
    for i in range(2):
        check_gap(problems, heard, i, wait2, "after preamble verse %d" % (i + 1))
    for k in range(8):
        upper = 3 + 2 * k
        check_reaction(problems, heard, upper + 1, presses, "take%d" % k)
        if upper + 2 < len(heard):
            check_gap(problems, heard, upper + 1, wait2, "after the lower verse of card %d" % (k + 1))
    take = heard[4][1] - heard[3][2]
    log("  first take held for %.2f s (automatic take: %d s)" % (take, wait1))
    if take < holds[0]:
        problems.append("the first take lasted %.2f s, not until Page Down" % take)
    return problems


def case_beginner(x, exe, folder):
    wait1, wait2 = 2, 1
    app = make_folder(folder, exe, [0, 7, 23],
                      ini_text([7, 23], False, wait1, wait2, "Style=beginner\n"))
    session = Session(x, app, folder)
    try:
        session.press("Home", "start")
        session.wait_quiet_end(6, wait1)
    except BaseException:
        session.close()
        raise
    heard, _ = session.finish()

    verses = [v for v, _, _ in heard]
    a, b = verses[0][0] if verses else None, verses[3][0] if len(verses) > 3 else None
    expected = [(a, 1), (a, 2), (a, 2), (b, 1), (b, 2), (b, 2)]
    if verses != expected or {a, b} != {7, 23}:
        return ["verses read %s; expected upper, lower, lower of cards 7 and 23" % verses]
    problems = []
    for i, pause in enumerate([1, wait1, wait2, 1, wait1]):
        check_gap(problems, heard, i, pause, "after %s (verse %d)" % (verses[i], i + 1))
    return problems


def case_standard(x, exe, folder):
    wait1, wait2 = 1, 3
    app = make_folder(folder, exe, [0, 7, 23],
                      ini_text([7, 23], False, wait1, wait2, "Style=standard\nAdvance=manual\n"))
    session = Session(x, app, folder)
    try:
        session.press("Home", "start")
        session.wait_verse(1, "the first upper verse")
        session.wait_silence("the first take")
        time.sleep(0.4)
        session.press("Page_Up", "repeat")
        session.wait_verse(1, "the upper verse again")
        session.wait_silence("the first take again")
        time.sleep(0.4)
        session.press("Page_Down", "take1")
        session.wait_verse(2, "the first lower verse")
        session.wait_silence("the pause after the first card")
        time.sleep(0.3)
        session.press("Right", "next")
        session.wait_verse(1, "the second upper verse")
        session.wait_silence("the second take")
        time.sleep(0.4)
        session.press("space", "take2")
        session.wait_quiet_end(5, wait2)
    except BaseException:
        session.close()
        raise
    heard, presses = session.finish()

    verses = [v for v, _, _ in heard]
    a, b = verses[0][0] if verses else None, verses[3][0] if len(verses) > 3 else None
    if verses != [(a, 1), (a, 1), (a, 2), (b, 1), (b, 2)] or {a, b} != {7, 23}:
        return ["verses read %s; expected card 7 or 23's upper verse twice, its lower, then "
                "the other card" % verses]
    problems = []
    check_reaction(problems, heard, 1, presses, "repeat")
    check_reaction(problems, heard, 2, presses, "take1")
    check_reaction(problems, heard, 3, presses, "next")
    check_reaction(problems, heard, 4, presses, "take2")
    pause = heard[3][1] - heard[2][2]
    if pause > wait2 - 1:
        problems.append("Right did not cut the %d s pause short (%.2f s)" % (wait2, pause))
    return problems


CASES = {"competitive": case_competitive, "beginner": case_beginner, "standard": case_standard}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", required=True, help="the QtUtakaze executable")
    parser.add_argument("--keep", help="keep the runs (captures, settings) in this folder")
    parser.add_argument("--case", choices=sorted(CASES), action="append",
                        help="run only this case (repeatable)")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "sox"):
        if shutil.which(tool) is None:
            log("missing tool:", tool)
            return 1

    started = time.monotonic()
    if args.keep:
        shutil.rmtree(args.keep, ignore_errors=True)
        os.makedirs(args.keep)
        work = args.keep
    else:
        tmp = tempfile.TemporaryDirectory(prefix="qtutakaze-e2e-practice-")
        work = tmp.name
    exe = os.path.abspath(args.app)
    failed = []
    with d.Xvfb() as x:
        for name in args.case or list(CASES):
            log("case", name)
            folder = os.path.join(work, name)
            case_started = time.monotonic()
            try:
                problems = CASES[name](x, exe, folder)
            except d.Failure as failure:
                problems = [str(failure)]
            log("  took %.1f s" % (time.monotonic() - case_started))
            if problems:
                failed.append(name)
                for p in problems:
                    log("  -", p)
                applog = os.path.join(folder, "app.log")
                if os.path.exists(applog):
                    with open(applog, errors="replace") as f:
                        log("  program output:\n" + f.read())

    log("took %.1f s" % (time.monotonic() - started))
    if failed:
        log("FAIL:", ", ".join(failed))
        return 1
    log("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
