#!/usr/bin/python3
"""End-to-end test: a whole reading of the real program, heard from its output.

Copies QtUtakaze into a temporary application folder with fixture verses
(one sine tone per file, its pitch naming card and half), three selected
cards, the preamble on and pauses of 1 s (upper to lower verse) and 2 s
(lower verse to next card). Under a private Xvfb and with SDL's disk audio
driver writing the output to a file, it plays the user:

  reading 1: Home (start); during the first upper verse Home (pause) and
             Home (resume); listen to the end of the reading;
  reading 2: Home (start); during the preamble End and confirm; the sound
             must stop and nothing more be read;
  Ctrl+Q:    the program exits and writes its settings file.

Then it checks the capture: preamble first, each selected card exactly once
as upper then lower verse (the upper verse cut by the pause read again in
full), the length of every verse, the silence after every verse against the
configured pause (W + 0.1 .. W + 0.7 s each, median excess 0.15 .. 0.55 s),
and the five settings written back.

  e2e_reading.py --app PATH [--keep DIR]   run the program and check
  e2e_reading.py --analyse DIR             check a kept run again (its
                                           capture may be edited by hand)
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

CARDS = [7, 23, 58]
WAIT1 = 1
WAIT2 = 2
VERSE_SECONDS = 1.5

# The silence after a verse is the pause plus the engine's own passes
# (about 0.2 s), the player's polling of the end and of the next file and
# the queued hand-over (up to about 0.3 s more). The bounds leave room for
# a loaded machine and still catch a pause that is half a second off.
EXCESS_MIN, EXCESS_MAX = 0.10, 0.70
EXCESS_MEDIAN_MIN, EXCESS_MEDIAN_MAX = 0.15, 0.55
LENGTH_TOLERANCE = 0.12

INI_TEXT = ('[SETTING]\nchk_joka=true\nWait1Time=%d\nWait2Time=%d\nFudaList="%s"\n'
            % (WAIT1, WAIT2, ",".join(map(str, CARDS))))


def log(*args):
    print(*args, flush=True)


# --------------------------------------------------------------------------
# Running the program

def run_program(exe, work):
    """Plays the user against a fresh copy of exe in work; returns the record
    of the run (press times, capture clock) and writes it to work/run.json."""
    app = d.make_app_folder(work, exe, [0] + CARDS, VERSE_SECONDS, INI_TEXT)
    ini = os.path.join(work, "QtUtakaze.ini")
    capture = os.path.join(work, "capture.raw")
    record = {"presses": {}}
    presses = record["presses"]

    with d.Xvfb() as x:
        log("display", x.display)
        proc, recorder, window = d.start_program(app, work, x.display, capture)
        try:

            # Reading 1: start, pause and resume during the first upper verse.
            d.focus(x.display, window)
            presses["start1"] = time.monotonic()
            d.key(x.display, window, "Home", focused=True)
            d.wait_tail(recorder, lambda rms, f: rms > 0.1 and _half(f) == 1, 20,
                        "the first upper verse")
            time.sleep(0.3)
            d.focus(x.display, window)
            presses["pause"] = time.monotonic()
            d.key(x.display, window, "Home", focused=True)
            d.wait_tail(recorder, lambda rms, f: rms < 0.005, 5, "the pause to silence the verse")
            time.sleep(0.7)
            d.focus(x.display, window)
            presses["resume"] = time.monotonic()
            d.key(x.display, window, "Home", focused=True)

            # The rest of the reading: re-read upper verse, then 5 more verses.
            expected_left = 1 + 2 * len(CARDS) - 1
            deadline = time.monotonic() + 60
            while True:
                segs = d.segments(d.load_capture(capture))
                frames_now = recorder.frames_now()
                resumed = [s for s in segs if _after(recorder, s, presses["resume"])]
                if len(resumed) >= expected_left and frames_now - resumed[-1].end > 0.3 * 44100:
                    break
                if time.monotonic() > deadline:
                    raise d.Failure("the reading did not finish within 60 s (%d verses after "
                                    "the resume, %d expected)" % (len(resumed), expected_left))
                time.sleep(0.5)
            # Listen on: no further verse may come.
            time.sleep(WAIT2 + 1.5)

            # Reading 2: start, then stop during the preamble.
            d.focus(x.display, window)
            presses["start2"] = time.monotonic()
            d.key(x.display, window, "Home", focused=True)
            d.wait_tail(recorder, lambda rms, f: rms > 0.1, 10, "the second reading to sound")
            d.key(x.display, window, "End")
            question = d.wait_window(x.display, "確認", timeout=10)
            d.key(x.display, question, "Return")
            presses["confirm"] = time.monotonic()
            time.sleep(WAIT2 + 2.0)
            presses["quit"] = time.monotonic()
            d.key(x.display, window, "ctrl+q")
            try:
                record["exit_code"] = proc.wait(15)
            except subprocess.TimeoutExpired:
                raise d.Failure("the program did not exit within 15 s of Ctrl+Q")
        finally:
            recorder.stop()
            d.stop_process(proc)

    rate, offset, residual = recorder.clock()
    record.update(rate=rate, offset=offset, residual=residual)
    with open(os.path.join(work, "run.json"), "w") as f:
        json.dump(record, f, indent=1)
    return record


def _half(freq):
    verse = d.identify(freq)
    return verse[1] if verse else None


def _after(recorder, seg, t):
    # Live check only; uses the clock measured so far.
    try:
        rate, offset, _ = recorder.clock()
    except d.Failure:
        return False
    return seg.start > rate * t + offset


# --------------------------------------------------------------------------
# Checking the run

def analyse(work, record):
    """Returns the list of problems found (empty when the run is right)."""
    problems = []
    rate, offset = record["rate"], record["offset"]
    presses = record["presses"]
    frame_at = lambda t: rate * t + offset  # noqa: E731
    seconds = lambda frames: frames / rate  # noqa: E731

    log("capture clock: %.1f frames per wall-clock second (%.2f %% off 44100), "
        "worst deviation %.3f s" % (rate, 100.0 * (rate / 44100.0 - 1), record["residual"]))
    if abs(rate / 44100.0 - 1) > 0.05:
        problems.append("the disk driver wrote %.0f frames/s, too far from real time to "
                        "judge pauses" % rate)

    segs = d.segments(d.load_capture(os.path.join(work, "capture.raw")))
    first = [s for s in segs if frame_at(presses["start1"]) <= s.start < frame_at(presses["start2"])]
    second = [s for s in segs if s.start >= frame_at(presses["start2"])]
    stray = [s for s in segs if s.start < frame_at(presses["start1"])]
    for s in first + second:
        log("  %-9s at %6.2f s, %.2f s long, %.1f Hz"
            % (s.verse, seconds(s.start - frame_at(presses["start1"])), seconds(s.end - s.start),
               s.freq))
    if stray:
        problems.append("sound before Start: %s" % stray)
    unknown = [s for s in first + second if s.verse is None]
    if unknown:
        problems.append("sounds that are no fixture verse: %s" % unknown)
        return problems

    # Start to first sound.
    if first:
        latency = seconds(first[0].start - frame_at(presses["start1"]))
        log("Start (Home) to first sound: %.3f s" % latency)
        if not 0.0 < latency < 1.0:
            problems.append("first sound %.3f s after Start" % latency)

    # The verse cut by the pause, and its re-reading.
    cut = [i for i, s in enumerate(first[:-1])
           if s.start <= frame_at(presses["pause"]) <= s.end + 0.3 * rate]
    if len(cut) != 1:
        problems.append("no single verse sounding at the pause (found %d)" % len(cut))
        cut_index = None
    else:
        cut_index = cut[0]
        a, b = first[cut_index], first[cut_index + 1]
        if a.verse[1] != 1:
            problems.append("the pause fell on %s, not on an upper verse" % (a.verse,))
        if b.verse != a.verse:
            problems.append("after the resume %s was read, not %s again" % (b.verse, a.verse))
        if seconds(a.end - a.start) > VERSE_SECONDS - 0.2:
            problems.append("the paused verse was not cut short (%.2f s)" % seconds(a.end - a.start))
        if b.start < frame_at(presses["resume"]):
            problems.append("the verse came back before the resume")

    # Order and identity of the verses read, the re-read one counted once.
    order = [s.verse for i, s in enumerate(first) if i != cut_index]
    expected_shape = [(0, 2)] + [None, None] * len(CARDS)
    if len(order) != len(expected_shape) or order[0] != (0, 2):
        problems.append("verses read %s; expected the preamble (0, 2) then upper and lower "
                        "verse of each of %s" % (order, CARDS))
    else:
        cards = []
        for k in range(len(CARDS)):
            upper, lower = order[1 + 2 * k], order[2 + 2 * k]
            if upper[1] != 1 or lower != (upper[0], 2):
                problems.append("card %d: read %s then %s, not its upper then lower verse"
                                % (k + 1, upper, lower))
            cards.append(upper[0])
        if sorted(cards) != sorted(CARDS):
            problems.append("cards read %s, selected %s (each exactly once)" % (cards, CARDS))
        log("reading order:", cards)

    # Verse lengths.
    for i, s in enumerate(first):
        if i != cut_index and abs(seconds(s.end - s.start) - VERSE_SECONDS) > LENGTH_TOLERANCE:
            problems.append("%s lasted %.2f s, the file %.2f s"
                            % (s.verse, seconds(s.end - s.start), VERSE_SECONDS))

    # Silence after each verse against the configured pause.
    excesses = []
    for i in range(len(first) - 1):
        if i == cut_index:
            continue
        s, nxt = first[i], first[i + 1]
        pause = WAIT1 if s.verse[1] == 1 else WAIT2
        gap = seconds(nxt.start - s.end)
        excess = gap - pause
        excesses.append(excess)
        log("  silence after %-9s %.3f s = W %d + %.3f s" % (s.verse, gap, pause, excess))
        if not EXCESS_MIN <= excess <= EXCESS_MAX:
            problems.append("silence after %s: %.3f s, expected %d s + %.2f .. %.2f s"
                            % (s.verse, gap, pause, EXCESS_MIN, EXCESS_MAX))
    if excesses:
        median = statistics.median(excesses)
        log("pause excess over W: median %.3f s, range %.3f .. %.3f s"
            % (median, min(excesses), max(excesses)))
        if not EXCESS_MEDIAN_MIN <= median <= EXCESS_MEDIAN_MAX:
            problems.append("median silence beyond the pause %.3f s, expected %.2f .. %.2f s"
                            % (median, EXCESS_MEDIAN_MIN, EXCESS_MEDIAN_MAX))

    # Reading 2: the preamble, cut by the confirmed stop, then silence.
    confirm = frame_at(presses["confirm"])
    if not second or second[0].verse != (0, 2):
        problems.append("the second reading did not begin with the preamble: %s" % second)
    else:
        pre = second[0]
        natural_end = pre.start + VERSE_SECONDS * rate
        if confirm < natural_end - 0.5 * rate and pre.end > confirm + 0.5 * rate:
            problems.append("the preamble sounded on %.2f s after the stop was confirmed"
                            % seconds(pre.end - confirm))
        if len(second) > 1:
            problems.append("sound after the confirmed stop: %s" % second[1:])
        quiet_until = seconds(frame_at(presses["quit"]) - max(pre.end, confirm))
        if quiet_until < WAIT2 + 1.0:
            problems.append("listened only %.2f s after the stop" % quiet_until)

    # Exit and settings written back.
    if record.get("exit_code") != 0:
        problems.append("exit code %s after Ctrl+Q" % record.get("exit_code"))
    written = d.read_ini(os.path.join(work, "QtUtakaze.ini"))
    expected = {"chk_joka": "true", "Wait1Time": str(WAIT1), "Wait2Time": str(WAIT2),
                "SelectVoice": "0", "FudaList": ",".join(map(str, CARDS))}
    if written != expected:
        problems.append("settings written back %s, expected %s" % (written, expected))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", help="the QtUtakaze executable")
    parser.add_argument("--keep", help="keep the run (capture, settings, run.json) in this folder")
    parser.add_argument("--analyse", help="check a kept run again")
    args = parser.parse_args()
    missing = [] if args.analyse else d.missing_tools("Xvfb", "xdotool", "sox")
    if missing:
        log("missing tools:", *missing)
        return 1

    started = time.monotonic()
    if args.analyse:
        work = args.analyse
        with open(os.path.join(work, "run.json")) as f:
            record = json.load(f)
        problems = analyse(work, record)
    else:
        if not args.app:
            parser.error("--app or --analyse is required")
        work, _tmp = d.work_folder(args.keep, "qtutakaze-e2e-")
        try:
            record = run_program(os.path.abspath(args.app), work)
            problems = analyse(work, record)
        except d.Failure as failure:
            problems = [str(failure)]
        if problems and os.path.exists(os.path.join(work, "app.log")):
            with open(os.path.join(work, "app.log"), errors="replace") as f:
                log("program output:\n" + f.read())

    log("took %.1f s" % (time.monotonic() - started))
    if problems:
        log("FAIL")
        for p in problems:
            log("  -", p)
        return 1
    log("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
