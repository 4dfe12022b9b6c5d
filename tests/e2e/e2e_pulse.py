#!/usr/bin/python3
"""End-to-end test through a real sound server.

Starts its own PulseAudio (private runtime folder, a null sink that suspends
after 1 s of idleness), runs the real program under a private Xvfb on SDL's
pulseaudio driver and records the sink's monitor with parec, so what is
checked is what a listener would hear, on the sound server's own clock.

  --scenario reading  (default) 15 cards, pauses of 1 s: before Start the
                      sink must not be suspended (the program keeps its
                      stream warm); every verse whole (its length, no
                      drop-out) and every silence between two verses within
                      10 ms of W + 0.2 s; prints Start to first sound and
                      the program's CPU share during the reading.
  --scenario pipe     3 cards, one verse's file a named pipe: the reading
                      reaches its last verse, the volume slider then
                      answers (the next reading sounds softer), and the
                      program exits within a second of Ctrl+Q.
  --scenario start    1 card: --trials Start presses by mouse click, then as
                      many by the Home key (each stopped with End + Return),
                      then a reading ended by Ctrl+Q during a verse; prints
                      the medians of Start to first sound, the exit time and
                      the idle CPU share over --idle-seconds before the trials.
  --scenario paplay   no program: paplay plays the same tones one after the
                      other, for a side-by-side count of drop-outs.
  --load N            keeps N `yes > /dev/null` running throughout.
  --load-compile      a parallel compile (2 jobs of c++ -O2, over and over).
  --load-memory-disk  a process copying large arrays and a disk writer
                      that syncs after every 16 MiB.
  --verse-seconds S   verses of S s and more (default 0.6 s and more).
  --no-check          only measure and print (for runs by hand under load).
"""

import argparse
import os
import statistics
import subprocess
import sys
import threading
import time

import numpy as np

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

RATE = d.RATE
PAUSE_EXCESS = 0.2          # silence = W + 0.2 s, as the reading has always made it
PAUSE_TOLERANCE = 0.010     # s
LENGTH_TOLERANCE = 0.005    # s
DROPOUT_WINDOW = 88         # 2 ms: a sine tone of the fixtures never stays this quiet
START_BUTTON = ("196", "292")  # the 再生 button, in window coordinates


def log(*args):
    print(*args, flush=True)


def verse_seconds(card):
    return ARGS.verse_seconds + 0.01 * card


class PulseServer:
    """A private PulseAudio with one null sink "rec" (44.1 kHz stereo)."""

    def __init__(self, root):
        self.root = os.path.join(root, "pulse")
        self.socket = os.path.join(self.root, "native")
        self.proc = None

    def env(self):
        return {"PULSE_SERVER": "unix:" + self.socket, "PULSE_COOKIE": os.path.join(self.root, "cookie")}

    def __enter__(self):
        os.makedirs(self.root, mode=0o700, exist_ok=True)
        script = os.path.join(self.root, "default.pa")
        with open(script, "w") as f:
            f.write("load-module module-null-sink sink_name=rec rate=44100 channels=2\n"
                    "load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n"
                    "load-module module-suspend-on-idle timeout=1\n"
                    "set-default-sink rec\n" % self.socket)
        env = dict(os.environ, HOME=self.root, XDG_RUNTIME_DIR=self.root,
                   XDG_CONFIG_HOME=self.root, PULSE_RUNTIME_PATH=self.root)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        # Runs as root in CI: -n (no default script), no daemon, no idle exit.
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
             "--use-pid-file=false", "-F", script],
            env=env, stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.root, "log"), "w"))
        deadline = time.monotonic() + 15
        while subprocess.run(["pactl", "info"], env=self.client_env(), capture_output=True).returncode:
            if time.monotonic() > deadline or self.proc.poll() is not None:
                self.__exit__()
                raise d.Failure("PulseAudio did not start")
            time.sleep(0.1)
        return self

    def client_env(self, base=None):
        return dict(base or os.environ, **self.env())

    def sink_state(self):
        out = subprocess.run(["pactl", "list", "short", "sinks"], env=self.client_env(),
                             capture_output=True, text=True).stdout
        for line in out.splitlines():
            fields = line.split("\t")
            if len(fields) >= 5 and fields[1] == "rec":
                return fields[4]
        return "?"

    def record(self, path):
        return subprocess.Popen(
            ["parec", "-d", "rec.monitor", "--raw", "--format=s16le", "--rate=44100",
             "--channels=2", "--latency-msec=10"],
            env=self.client_env(), stdout=open(path, "wb"), stderr=subprocess.DEVNULL)

    def __exit__(self, *exc):
        if self.proc:
            d.stop_process(self.proc)
        return False


# Beside the program: a compile of template-heavy C++, copies of arrays
# larger than the caches, and a writer that makes the disk sync.
COMPILE_SOURCE = r"""
#include <map>
#include <regex>
#include <string>
#include <vector>
template <int N> struct Deep { static int value() { return Deep<N - 1>::value() + N; } };
template <> struct Deep<0> { static int value() { return 0; } };
int main() {
    std::map<std::string, std::vector<std::regex>> m;
    m["a"].emplace_back("(a|b)*c");
    return Deep<400>::value() + int(m.size());
}
"""
COPY_ARRAYS = "import numpy as np\na = np.ones(64 << 20, np.uint8)\nwhile True:\n    b = a.copy(); a[:] = b\n"
SYNCED_WRITER = ("import os\nblock = os.urandom(1 << 20)\nwhile True:\n"
                 "    with open(%r, 'wb') as f:\n"
                 "        for _ in range(16): f.write(block)\n"
                 "        f.flush(); os.fsync(f.fileno())\n")


class Load:
    """n busy loops (`yes > /dev/null`), and the loads asked for, for the duration."""

    def __init__(self, n, work=None):
        self.procs = []
        self.n = n
        self.work = work

    def __enter__(self):
        self.procs = [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL) for _ in range(self.n)]
        if ARGS.load_compile:
            src = os.path.join(self.work, "load.cpp")
            with open(src, "w") as f:
                f.write(COMPILE_SOURCE)
            loop = "while :; do c++ -O2 -o /dev/null %s; done" % src
            self.procs += [subprocess.Popen(["sh", "-c", loop], stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL) for _ in range(2)]
        if ARGS.load_memory_disk:
            self.procs.append(subprocess.Popen(["/usr/bin/python3", "-c", COPY_ARRAYS]))
            self.procs.append(subprocess.Popen(
                ["/usr/bin/python3", "-c", SYNCED_WRITER % os.path.join(self.work, "load.bin")]))
        return self

    def __exit__(self, *exc):
        for p in self.procs:
            d.stop_process(p)
        return False


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def dropouts(mono, seg):
    """Number of 2 ms stretches inside a verse where the tone vanished."""
    body = np.abs(mono[seg.start:seg.end])
    n = len(body) // DROPOUT_WINDOW
    peaks = body[: n * DROPOUT_WINDOW].reshape(n, DROPOUT_WINDOW).max(axis=1)
    return int(np.sum(peaks < 0.05))


def check_verses(mono, segs, expected_lengths, gaps_expected):
    """Prints every verse and silence; returns (problems, figures)."""
    problems = []
    broken = 0
    for s in segs:
        want = expected_lengths.get(s.verse)
        length = (s.end - s.start) / RATE
        holes = dropouts(mono, s)
        bad = holes > 0 or want is None or abs(length - want) > LENGTH_TOLERANCE
        broken += bad
        log("  %-9s %.4f s (file %s)%s" % (s.verse, length, "%.4f" % want if want else "?",
                                          "  %d drop-outs" % holes if holes else ""))
        if bad:
            problems.append("%s not whole: %.4f s, %d drop-outs" % (s.verse, length, holes))
    errors = []
    for a, b in zip(segs, segs[1:]):
        gap = (b.start - a.end) / RATE
        errors.append(abs(gap - gaps_expected))
    figures = {"verses": len(segs), "broken": broken}
    if errors:
        figures.update(worst_ms=1000 * max(errors), median_ms=1000 * statistics.median(errors))
        log("pause error: worst %.1f ms, median %.1f ms over %d pauses"
            % (figures["worst_ms"], figures["median_ms"], len(errors)))
        late = [e for e in errors if e > PAUSE_TOLERANCE]
        if late:
            problems.append("%d of %d pauses off by more than %d ms (worst %.1f ms)"
                            % (len(late), len(errors), PAUSE_TOLERANCE * 1000, 1000 * max(errors)))
    log("verses broken: %d of %d" % (broken, len(segs)))
    return problems, figures


def wait_verses(capture, count, timeout, quiet=0.5):
    """Segments of the capture once `count` verses have sounded and ended."""
    deadline = time.monotonic() + timeout
    while True:
        mono = d.load_capture(capture)
        segs = d.segments(mono)
        if len(segs) >= count and len(mono) - segs[-1].end > quiet * RATE:
            return mono, segs
        if time.monotonic() > deadline:
            raise d.Failure("%d verses heard within %d s, %d expected" % (len(segs), timeout, count))
        time.sleep(0.5)


def start_program(work, x, pulse, app):
    env = pulse.client_env(d.app_env(x.display, None, audio_driver="pulseaudio"))
    applog = open(os.path.join(work, "app.log"), "w")
    proc = subprocess.Popen([app], cwd=work, env=env, stdout=applog, stderr=subprocess.STDOUT)
    window = d.wait_window(x.display, "^QtUtakaze$", timeout=30)
    return proc, window


def quit_program(x, window, proc):
    """Ctrl+Q; returns the seconds until the process has ended. A blocking
    wait on its own thread sees the end at once (Popen.wait with a timeout
    polls, up to 50 ms late)."""
    ended = []
    waiter = threading.Thread(target=lambda: ended.append((proc.wait(), time.monotonic())),
                              daemon=True)
    pressed = time.monotonic()
    waiter.start()
    d.key(x.display, window, "ctrl+q")
    waiter.join(10)
    if not ended:
        raise d.Failure("the program did not exit within 10 s of Ctrl+Q")
    return ended[0][1] - pressed


def scenario_reading(work):
    cards = list(range(1, 16))
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n'
           % ",".join(map(str, cards)))
    capture = os.path.join(work, "capture.raw")
    problems = []
    # Card 0 (the preamble) only for the probe that enables Start.
    app = d.make_app_folder(work, ARGS.app, [0] + cards, verse_seconds, ini)
    with PulseServer(work) as pulse, d.Xvfb() as x:
        proc, window = start_program(work, x, pulse, app)
        try:
            time.sleep(2.5)  # the sink suspends after 1 s without a running stream
            state = pulse.sink_state()
            log("sink before Start:", state)
            if state == "SUSPENDED":
                problems.append("the sink was suspended before Start: the stream is not kept warm")
            recorder_proc = pulse.record(capture)
            recorder = d.CaptureRecorder(capture, interval=0.005).start()
            d.wait_tail(recorder, lambda rms, f: recorder.frames_now() > RATE // 2, 10, "parec")
            d.focus(x.display, window)
            d.xdotool(x.display, "mousemove", "--window", window, *START_BUTTON)
            cpu0, t0 = cpu_seconds(proc.pid), time.monotonic()
            # A click: the Home key adds the 100 ms press animation of a shortcut.
            pressed = time.monotonic()
            d.xdotool(x.display, "click", "1")
            mono, segs = wait_verses(capture, 2 * len(cards),
                                     max(150, 60 + 2 * len(cards) * (ARGS.verse_seconds + 2)),
                                     quiet=1.5)
            cpu = (cpu_seconds(proc.pid) - cpu0) / (time.monotonic() - t0)
            exit_s = quit_program(x, window, proc)
        finally:
            d.stop_process(proc)
        recorder.stop()
        d.stop_process(recorder_proc)
    rate, offset, _ = recorder.clock()
    latency = (segs[0].start - offset) / rate - pressed
    log("Start to first sound: %.0f ms (parec's own latency included)" % (latency * 1000))
    log("CPU during the reading: %.1f %% of one core" % (cpu * 100))
    log("exit after Ctrl+Q: %.2f s" % exit_s)
    lengths = {(c, h): round(verse_seconds(c) * RATE) / RATE for c in cards for h in (1, 2)}
    found, figures = check_verses(mono, segs, lengths, 1 + PAUSE_EXCESS)
    problems += found
    order = [s.verse for s in segs]
    uppers = order[0::2]
    if len(order) != 2 * len(cards) or any(
            u is None or u[1] != 1 or l != (u[0], 2) for u, l in zip(uppers, order[1::2])) \
            or sorted(u[0] for u in uppers if u) != cards:
        problems.append("verses read %s: not each card's upper then lower verse once" % order)
    if latency > 0.150:
        problems.append("Start to first sound %.0f ms" % (latency * 1000))
    return problems


def scenario_pipe(work):
    cards = [1, 2, 3]
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n'
           % ",".join(map(str, cards)))
    capture = os.path.join(work, "capture.raw")
    problems = []
    with PulseServer(work) as pulse, d.Xvfb() as x:
        # Card 0 (the preamble) only for the probe that enables Start.
        app = d.make_app_folder(work, ARGS.app, [0] + cards, verse_seconds, ini)
        pipe = os.path.join(work, "Music", "rindou_002_1.ogg")
        os.remove(pipe)
        os.mkfifo(pipe)
        proc, window = start_program(work, x, pulse, app)
        try:
            recorder_proc = pulse.record(capture)
            recorder = d.CaptureRecorder(capture).start()
            d.wait_tail(recorder, lambda rms, f: recorder.frames_now() > RATE // 2, 10, "parec")
            d.focus(x.display, window)
            d.key(x.display, window, "Home", focused=True)
            mono, segs = wait_verses(capture, 5, 40, quiet=2.5)
            log("first reading:", [s.verse for s in segs])
            if len(segs) != 5 or segs[-1].verse is None or segs[-1].verse[1] != 2:
                problems.append("the reading with a pipe read %s" % [s.verse for s in segs])
            # The volume slider: a click left of its handle takes a page (10) off.
            geometry = d.xdotool(x.display, "getwindowgeometry", window).stdout
            log(geometry.strip().replace("\n", "; "))
            for _ in range(3):
                d.xdotool(x.display, "mousemove", "--window", window, "240", str(ARGS.slider_y),
                          "click", "1")
                time.sleep(0.2)
            d.focus(x.display, window)
            d.key(x.display, window, "Home", focused=True)
            mono2, segs2 = wait_verses(capture, len(segs) + 1, 20, quiet=0.1)
            first = np.abs(mono2[segs[0].start:segs[0].end]).max()
            later = np.abs(mono2[segs2[len(segs)].start:segs2[len(segs)].end]).max()
            log("verse peak before %.3f, after the slider %.3f" % (first, later))
            if not later < 0.85 * first:
                problems.append("the volume slider did not answer (peak %.3f then %.3f)"
                                % (first, later))
            exit_s = quit_program(x, window, proc)
            log("exit after Ctrl+Q: %.2f s" % exit_s)
            if exit_s > 1.0:
                problems.append("exit took %.2f s after Ctrl+Q" % exit_s)
        finally:
            d.stop_process(proc)
        recorder.stop()
        d.stop_process(recorder_proc)
    return problems


def scenario_start(work):
    cards = [1]
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n'
           % ",".join(map(str, cards)))
    capture = os.path.join(work, "capture.raw")
    app = d.make_app_folder(work, ARGS.app, [0] + cards, verse_seconds, ini)
    marks = {"click": [], "Home": []}
    with PulseServer(work) as pulse, d.Xvfb() as x:
        proc, window = start_program(work, x, pulse, app)
        try:
            time.sleep(2.0)
            cpu0, t0 = cpu_seconds(proc.pid), time.monotonic()
            time.sleep(ARGS.idle_seconds)
            idle_cpu = (cpu_seconds(proc.pid) - cpu0) / (time.monotonic() - t0)
            recorder_proc = pulse.record(capture)
            recorder = d.CaptureRecorder(capture, interval=0.005).start()
            d.wait_tail(recorder, lambda rms, f: recorder.frames_now() > RATE // 2, 10, "parec")
            for kind in ("click", "Home"):
                for i in range(ARGS.trials):
                    d.wait_tail(recorder, lambda r, f: r < 0.005, 10, "silence")
                    time.sleep(0.3 + 0.1 * (i % 4) / 4)
                    d.focus(x.display, window)
                    if kind == "click":
                        d.xdotool(x.display, "mousemove", "--window", window, *START_BUTTON)
                    marks[kind].append(time.monotonic())
                    if kind == "click":
                        d.xdotool(x.display, "click", "1")
                    else:
                        d.key(x.display, window, "Home", focused=True)
                    d.wait_tail(recorder, lambda r, f: r > 0.05, 10, "sound after Start")
                    d.key(x.display, window, "End")
                    question = d.wait_window(x.display, "確認", timeout=10)
                    d.key(x.display, question, "Return")
            d.wait_tail(recorder, lambda r, f: r < 0.005, 10, "silence")
            time.sleep(0.3)
            d.focus(x.display, window)
            d.key(x.display, window, "Home", focused=True)
            d.wait_tail(recorder, lambda r, f: r > 0.05, 10, "sound of the last reading")
            time.sleep(0.2)
            exit_s = quit_program(x, window, proc)
        finally:
            d.stop_process(proc)
        recorder.stop()
        d.stop_process(recorder_proc)
    rate, offset, _ = recorder.clock()
    segs = d.segments(d.load_capture(capture))
    figures = {}
    for kind, times in marks.items():
        lat = []
        for t in times:
            at = rate * t + offset
            # The previous sound ended 0.3 s or more before (see bench.py).
            after = [s for s in segs if s.start >= at - 0.25 * rate]
            lat.append((after[0].start - at) / rate * 1000 if after else float("nan"))
        figures[kind] = lat
        log("Start (%s) to first sound, ms: median %.0f (%s)"
            % (kind, statistics.median(lat), " ".join("%.0f" % v for v in lat)))
    log("exit after Ctrl+Q during a verse: %.3f s" % exit_s)
    log("idle CPU over %d s: %.3f %% of one core" % (ARGS.idle_seconds, idle_cpu * 100))
    return []


def scenario_paplay(work):
    cards = list(range(1, 16))
    capture = os.path.join(work, "capture.raw")
    music = os.path.join(work, "Music")
    os.makedirs(music, exist_ok=True)
    with PulseServer(work) as pulse:
        recorder_proc = pulse.record(capture)
        time.sleep(0.5)
        for card in cards:
            for half in (1, 2):
                path = os.path.join(music, "%d_%d.wav" % (card, half))
                d.make_tone(path, d.tone_frequency(card, half), verse_seconds(card))
                subprocess.run(["paplay", path], env=pulse.client_env(), check=True)
                time.sleep(1.2)
        d.stop_process(recorder_proc)
    mono = d.load_capture(capture)
    segs = d.segments(mono)
    lengths = {(c, h): round(verse_seconds(c) * RATE) / RATE for c in cards for h in (1, 2)}
    problems, _ = check_verses(mono, segs, lengths, 1 + PAUSE_EXCESS)
    return [p for p in problems if "not whole" in p]


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--app", help="the QtUtakaze executable")
    parser.add_argument("--scenario", default="reading", choices=("reading", "pipe", "start", "paplay"))
    parser.add_argument("--trials", type=int, default=5, help="Start presses of each kind (start)")
    parser.add_argument("--idle-seconds", type=int, default=30, help="idle CPU span (start)")
    parser.add_argument("--load", type=int, default=0)
    parser.add_argument("--load-compile", action="store_true")
    parser.add_argument("--load-memory-disk", action="store_true")
    parser.add_argument("--verse-seconds", type=float, default=0.6)
    parser.add_argument("--keep", help="keep the run in this folder")
    parser.add_argument("--no-check", action="store_true")
    parser.add_argument("--slider-y", type=int, default=396, help=argparse.SUPPRESS)
    ARGS = parser.parse_args()
    if ARGS.app:
        ARGS.app = os.path.abspath(ARGS.app)
    missing = d.missing_tools("pulseaudio", "pactl", "parec", "paplay", "Xvfb", "xdotool", "sox")
    if missing:
        log("missing tools:", *missing)
        return 1
    work, _tmp = d.work_folder(ARGS.keep, "qtutakaze-pulse-")
    started = time.monotonic()
    with Load(ARGS.load, work):
        try:
            problems = {"reading": scenario_reading, "pipe": scenario_pipe,
                        "start": scenario_start, "paplay": scenario_paplay}[ARGS.scenario](work)
        except d.Failure as failure:
            problems = [str(failure)]
    log("took %.1f s" % (time.monotonic() - started))
    if problems and not ARGS.no_check:
        if os.path.exists(os.path.join(work, "app.log")):
            with open(os.path.join(work, "app.log"), errors="replace") as f:
                log("program output:\n" + f.read())
        log("FAIL")
        for p in problems:
            log("  -", p)
        return 1
    log("PASS" if not problems else "(not checked) " + "; ".join(problems))
    return 0


if __name__ == "__main__":
    sys.exit(main())
