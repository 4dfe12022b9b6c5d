#!/usr/bin/python3
"""End-to-end test of the take drill, by mouse, through a real sound server.

Runs under its own session bus (dbus-run-session) with the accessibility bus
started, so the menu, the buttons and the taking cards are found by their
accessible names; the pointer is moved with xdotool and pressed through XTEST
at a moment the test notes. The sound goes through a private PulseAudio
(see e2e_pulse.py) recorded with parec.

Five cards are selected; the voice's timing.tsv gives every mora 80 ms. The
drill is opened from the Reading menu and started; for each upper verse heard
the test takes a card 0.3 to 0.7 s after the sound began: the card read, but
a wrong one in the third round (a fault). Then the record
training/YYYYMMDD-HHMMSS.tsv must list the cards in the order heard, with the
results clicked, and each reaction must agree within 20 ms with the click's
moment minus the end of the deciding syllables measured in the capture (the
verse's first sound plus the timing of its deciding syllables).
"""

import argparse
import csv
import ctypes
import ctypes.util
import glob
import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_pulse as pulse  # noqa: E402
import utakaze_driver as d  # noqa: E402

import gi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

RATE = d.RATE
CARDS = [3, 12, 33, 61, 87]  # deciding syllables without small kana
MORA_MS = 80
TOLERANCE_MS = 20
FAULT_ROUND = 3


def log(*args):
    print(*args, flush=True)


class Pointer:
    """Button presses through XTEST, timed by the test (xdotool moves)."""

    def __init__(self, display):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]
        self.display = display
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise d.Failure("cannot open display %s" % display)

    def click(self, x, y):
        """Moves to (x, y) on the screen and clicks; the monotonic moment of the press."""
        # Not xdotool's mousemove --sync: it waits for good when the pointer
        # is there already (a tile taking the place of the one just taken).
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x.XSync(self.dpy, 0)
        time.sleep(0.05)  # the program sees the pointer enter before the press
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.x.XFlush(self.dpy)
        pressed = time.monotonic()
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        self.x.XFlush(self.dpy)
        return pressed

    def close(self):
        self.x.XCloseDisplay(self.dpy)


def accessible_app(name, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    raise d.Failure("%s is not on the accessibility bus" % name)


def walk(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def find(app, predicate, what, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for node in walk(app):
            try:
                if predicate(node) and node.get_state_set().contains(Atspi.StateType.SHOWING):
                    return node
            except gi.repository.GLib.Error:
                pass
        time.sleep(0.1)
    raise d.Failure("no %s on screen" % what)


def named(name):
    return lambda node: node.get_name() == name


def centre(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    return box.x + box.width // 2, box.y + box.height // 2


def tiles(app):
    """Card number -> accessible node of the taking cards on screen."""
    found = {}
    for node in walk(app):
        name = node.get_name() or ""
        head = name.split(" ", 1)[0]
        if head.isdigit() and " " in name and node.get_role() == Atspi.Role.PUSH_BUTTON:
            found[int(head)] = node
    return found


def morae(kana):
    return sum(1 for c in kana if c not in "ゃゅょ")


def write_voice(work):
    verses = [(0, 2)] + [(c, h) for c in CARDS for h in (1, 2)]
    os.makedirs(os.path.join(work, "Music"), exist_ok=True)
    d.write_tones(work, verses, 1.2)
    with open(os.path.join(work, "Music", "timing.tsv"), "w", encoding="utf-8") as f:
        f.write("card\thalf\tends_ms\n")
        ends = ",".join(str(MORA_MS * (i + 1)) for i in range(14))
        for card in CARDS:
            f.write("%d\t1\t%s\n" % (card, ends))


def run_drill(work, x, server, app):
    env = server.client_env(d.app_env(x.display, None, audio_driver="pulseaudio"))
    env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    capture = os.path.join(work, "capture.raw")
    clicks = []  # (monotonic press, card read, card clicked)
    with open(os.path.join(work, "app.log"), "w") as applog:
        proc = subprocess.Popen([app], cwd=work, env=env, stdout=applog, stderr=subprocess.STDOUT)
    pointer = Pointer(x.display)
    recorder_proc = recorder = None
    try:
        d.wait_window(x.display, "^QtUtakaze$", timeout=30)
        program = accessible_app("QtUtakaze")
        pointer.click(*centre(find(program, named("Reading"), "Reading menu")))
        pointer.click(*centre(find(program, named("取りの練習..."), "drill menu item")))
        d.wait_window(x.display, "^取りの練習$")
        start = find(program, named("開始"), "start button")
        recorder_proc = server.record(capture)
        recorder = d.CaptureRecorder(capture, interval=0.005).start()
        d.wait_tail(recorder, lambda rms, f: recorder.frames_now() > RATE // 2, 10, "parec")
        pointer.click(*centre(start))
        field = {}
        for round_number in range(1, len(CARDS) + 1):
            d.wait_tail(recorder, lambda r, f: r > 0.05 and d.identify(f) and d.identify(f)[1] == 1,
                        15, "the upper verse of round %d" % round_number)
            heard_at = time.monotonic()
            _, freq = recorder.tail_level(0.05)
            card = d.identify(freq)[0]
            field = field or tiles(program)
            target = card
            if round_number == FAULT_ROUND:
                target = next(c for c in field if c != card)
            position = centre(field[target])
            del field[card]  # the card read leaves the field, taken or not
            time.sleep(max(0.0, heard_at + 0.3 + 0.1 * round_number - time.monotonic()))
            clicks.append((pointer.click(*position), card, target))
            if not field:
                break  # the field is empty: the drill ends without the lower verse
            # Its lower verse, and silence before the next card.
            d.wait_tail(recorder, lambda r, f: r > 0.05 and d.identify(f) == (card, 2), 15,
                        "the lower verse of card %d" % card)
            d.wait_tail(recorder, lambda r, f: r < 0.005, 10, "silence after card %d" % card)
        deadline = time.monotonic() + 10
        while not glob.glob(os.path.join(work, "training", "*.tsv")):
            if time.monotonic() > deadline:
                raise d.Failure("no record in training/ after the drill")
            time.sleep(0.1)
    finally:
        pointer.close()
        d.stop_process(proc)
        if recorder:
            recorder.stop()
        if recorder_proc:
            d.stop_process(recorder_proc)
    return capture, recorder, clicks


def check(work, capture, recorder, clicks):
    problems = []
    records = glob.glob(os.path.join(work, "training", "*.tsv"))
    with open(records[0], encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    rate, offset, residual = recorder.clock()
    uppers = [s for s in d.segments(d.load_capture(capture)) if s.verse and s.verse[1] == 1]
    log("record:", [(r["card"], r["kimariji"], r["reaction_ms"], r["result"]) for r in rows])
    if [int(r["card"]) for r in rows] != [card for _, card, _ in clicks] \
            or [s.verse[0] for s in uppers] != [card for _, card, _ in clicks]:
        return ["cards heard %s, clicked for %s, recorded %s"
                % ([s.verse for s in uppers], clicks, [r["card"] for r in rows])]
    errors = []
    for row, segment, (pressed, card, target) in zip(rows, uppers, clicks):
        want = "taken" if target == card else "fault"
        if row["result"] != want or row["reference"] != "kimariji" or row["dead"] != "0":
            problems.append("card %d: %s, %s expected" % (card, row, want))
        heard_end = (segment.start - offset) / rate + morae(row["kimariji"]) * MORA_MS / 1000
        expected = (pressed - heard_end) * 1000
        errors.append(int(row["reaction_ms"]) - expected)
        log("card %3d %-4s reaction %5s ms, by the capture %6.1f ms (off by %+.1f)"
            % (card, row["kimariji"], row["reaction_ms"], expected, errors[-1]))
    # The capture includes parec's own delay, a few milliseconds.
    lag = statistics.median(errors)
    log("capture clock: worst residual %.1f ms; reaction errors %s ms; median %.1f ms"
        % (residual * 1000, " ".join("%+.1f" % e for e in errors), lag))
    if any(abs(e) > TOLERANCE_MS for e in errors):
        problems.append("reactions off the captured sound by %s ms (more than %d)"
                        % (" ".join("%+.1f" % e for e in errors), TOLERANCE_MS))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", required=True, help="the QtUtakaze executable")
    parser.add_argument("--keep", help="keep the run in this folder")
    args = parser.parse_args()
    missing = d.missing_tools("pulseaudio", "pactl", "parec", "Xvfb", "xdotool", "sox")
    if missing or not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        log("missing tools:", *missing, "at-spi-bus-launcher")
        return 1
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        log("run under dbus-run-session")
        return 1
    work, _tmp = d.work_folder(args.keep, "qtutakaze-drill-")
    started = time.monotonic()
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n'
           % ",".join(map(str, CARDS)))
    app = d.make_app_folder(work, os.path.abspath(args.app), [], 1.2, ini)
    write_voice(work)
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        with pulse.PulseServer(work) as server, d.Xvfb() as x:
            problems = check(work, *run_drill(work, x, server, app))
    except d.Failure as failure:
        problems = [str(failure)]
    finally:
        d.stop_process(bus)
    log("took %.1f s" % (time.monotonic() - started))
    if problems:
        with open(os.path.join(work, "app.log"), errors="replace") as f:
            log("program output:\n" + f.read())
        log("FAIL")
        for p in problems:
            log("  -", p)
        return 1
    log("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
