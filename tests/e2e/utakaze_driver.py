"""Drives a real QtUtakaze from outside and reads back what it played.

Shared by the end-to-end test (tests/e2e/e2e_reading.py) and the benchmarks
(bench/run). Everything a user would see or hear goes through X11 (Xvfb,
xdotool) and through SDL's disk audio driver, which writes the mixed output
as raw PCM to a file while the program runs.

The capture is s16le, 2 channels, 44100 Hz (the format the program opens its
output with). The disk driver does not follow a clock: it mixes one buffer
(2048 frames, 46.4 ms), writes it and then sleeps a fixed 46 ms, so its
sample positions run close to real time but drift with load. The recorder
below therefore polls the file size against the monotonic clock while the
program runs, and the analysis converts sample positions to wall-clock
seconds with the measured rate instead of assuming 44100 frames a second.
"""

import argparse
import concurrent.futures
import ctypes
import ctypes.util
import glob
import os
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

import numpy as np

RATE = 44100
CHANNELS = 2
FRAME_BYTES = 2 * CHANNELS


def tone_frequency(card, half):
    """Pitch of the fixture verse of card, half (same scheme as FixtureAudio)."""
    return 220.0 + 60.0 * card + 30.0 * (half - 1)


def identify(freq):
    """(card, half) of a measured pitch, or None when no fixture tone is near.
    (0, 1) is the preamble's upper verse, which only the competitive style reads."""
    k = int(round((freq - 220.0) / 30.0))
    if k < 0:
        return None
    card, half = divmod(k, 2)
    if card > 100:
        return None
    if abs(freq - tone_frequency(card, half + 1)) > 8.0:
        return None
    return card, half + 1


class Failure(Exception):
    """A check of the end-to-end test did not hold."""


# --------------------------------------------------------------------------
# Application folder

def make_tone(path, freq, seconds):
    subprocess.run(["sox", "-q", "-n", "-r", str(RATE), "-c", "1", "-b", "16", "-V1",
                    path, "synth", "%.3f" % seconds, "sine", "%.1f" % freq, "vol", "0.5"],
                   check=True, timeout=60)


def make_app_folder(root, exe, cards, seconds, ini_text):
    """Copies the executable and the drill's chart module into root (the
    application folder follows the real path of the executable, so a
    symlink would not do), writes the first voice's verses for cards (card
    0: lower verse only) and the settings file. seconds is the length of
    every verse, or a function of the card giving it. Returns the path of
    the copied executable."""
    os.makedirs(root, exist_ok=True)
    app = os.path.join(root, "QtUtakaze")
    shutil.copy2(exe, app)
    for module in glob.glob(os.path.join(os.path.dirname(exe), "libqtutakaze_*.so")):
        shutil.copy2(module, root)
    music = os.path.join(root, "Music")
    os.makedirs(music, exist_ok=True)
    for card in cards:
        for half in ((2,) if card == 0 else (1, 2)):
            make_tone(os.path.join(music, "rindou_%03d_%d.ogg" % (card, half)),
                      tone_frequency(card, half),
                      seconds(card) if callable(seconds) else seconds)
    with open(os.path.join(root, "QtUtakaze.ini"), "w", encoding="utf-8") as f:
        f.write(ini_text)
    return app


def read_ini(path):
    """The [SETTING] group of an INI file as a dict of raw strings."""
    values = {}
    group = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                group = line[1:-1]
            elif "=" in line and group == "SETTING":
                key, value = line.split("=", 1)
                values[key.strip()] = value.strip().strip('"')
    return values


# --------------------------------------------------------------------------
# X server and input

class Xvfb:
    """A private Xvfb on a free display number (the server picks it)."""

    def __init__(self):
        self.proc = None
        self.display = None

    def __enter__(self):
        rfd, wfd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(wfd), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(wfd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(wfd)
        data = b""
        deadline = time.monotonic() + 20
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([rfd], [], [], max(left, 0))
            if not ready:
                os.close(rfd)
                self.__exit__(None, None, None)
                raise Failure("Xvfb did not start within 20 s")
            chunk = os.read(rfd, 64)
            if not chunk:
                os.close(rfd)
                self.__exit__(None, None, None)
                raise Failure("Xvfb exited at start")
            data += chunk
        os.close(rfd)
        self.display = ":" + data.decode().strip()
        return self

    def __exit__(self, *exc):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        return False


def xdotool(display, *args, timeout=10):
    env = dict(os.environ, DISPLAY=display)
    try:
        result = subprocess.run(["xdotool", *args], env=env, capture_output=True,
                                text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("xdotool %s: no answer within %d s" % (" ".join(args), timeout))
    return result


def wait_window(display, name_regex, timeout=15):
    """Id of the first visible window whose name matches, polled every 50 ms."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        r = xdotool(display, "search", "--onlyvisible", "--name", name_regex)
        ids = r.stdout.split()
        if r.returncode == 0 and ids:
            return ids[0]
        time.sleep(0.05)
    raise Failure("no window named %r appeared within %d s" % (name_regex, timeout))


def focus(display, window):
    # There is no window manager: give the input focus directly.
    xdotool(display, "windowfocus", "--sync", window)


def key(display, window, keys, focused=False):
    """Focuses window (unless focused) and types keys through XTEST, as a
    keyboard would; the key goes down within a few ms of the call."""
    if not focused:
        focus(display, window)
    r = xdotool(display, "key", "--clearmodifiers", keys)
    if r.returncode != 0:
        raise Failure("xdotool key %s failed: %s" % (keys, r.stderr.strip()))


class MapWatcher:
    """Reports the moment a top-level window is mapped on the display
    (MapNotify on the root window through Xlib), for start-up timing at a
    resolution far below xdotool's 0.5 s --sync polling."""

    class _MapEvent(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                    ("override_redirect", ctypes.c_int)]

    class _Event(ctypes.Union):
        pass

    _Event._fields_ = [("type", ctypes.c_int), ("map", _MapEvent), ("pad", ctypes.c_long * 24)]

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self, display):
        lib = ctypes.util.find_library("X11")
        if not lib:
            raise Failure("libX11 not found")
        self.x = ctypes.CDLL(lib)
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise Failure("cannot open display %s" % display)
        root = self.x.XDefaultRootWindow(self.dpy)
        self.x.XSelectInput(self.dpy, root, self.SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.dpy)
        self.fd = self.x.XConnectionNumber(self.dpy)

    def wait_map(self, timeout):
        """Monotonic time of the next non-override-redirect MapNotify."""
        deadline = time.monotonic() + timeout
        ev = self._Event()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(ev))
                if ev.type == self.MAP_NOTIFY and not ev.map.override_redirect:
                    return time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure("no window mapped within %.0f s" % timeout)
            select.select([self.fd], [], [], left)

    def close(self):
        self.x.XCloseDisplay(self.dpy)


# --------------------------------------------------------------------------
# The program

def app_env(display, capture, audio_driver="disk"):
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    # The Japanese interface whatever the machine's language.
    for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES"):
        env.pop(name, None)
    env["LANG"] = "C.UTF-8"
    env.update(DISPLAY=display, SDL_AUDIODRIVER=audio_driver, QT_QPA_PLATFORM="xcb")
    if capture:
        env["SDL_DISKAUDIOFILE"] = capture
    env.pop("SDL_DISKAUDIODELAY", None)
    return env


def missing_tools(*tools):
    """The tools of the list that are not on the PATH."""
    return [tool for tool in tools if shutil.which(tool) is None]


def work_folder(keep, prefix):
    """(folder, handle): the --keep folder, emptied, or else a temporary one
    that lasts as long as the handle does."""
    if keep:
        shutil.rmtree(keep, ignore_errors=True)
        os.makedirs(keep)
        return keep, None
    tmp = tempfile.TemporaryDirectory(prefix=prefix)
    return tmp.name, tmp


def write_tones(folder, verses, seconds):
    """The first voice's files of the (card, half) verses in folder/Music,
    each a tone that identifies it, made four at a time."""
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        list(pool.map(lambda v: make_tone(
            os.path.join(folder, "Music", "rindou_%03d_%d.ogg" % v), tone_frequency(*v), seconds),
            verses))


def start_program(app, folder, display, capture):
    """Starts the program in folder with its sound written to capture by SDL's
    disk driver and its output in folder/app.log. Returns (process, recorder,
    window) once the window is up and the audio output open."""
    with open(os.path.join(folder, "app.log"), "w") as applog:
        proc = subprocess.Popen([app], cwd=folder, env=app_env(display, capture),
                                stdout=applog, stderr=subprocess.STDOUT)
    recorder = CaptureRecorder(capture).start()
    try:
        window = wait_window(display, "^QtUtakaze$", timeout=30)
        # The output device opens while the window is built.
        wait_tail(recorder, lambda rms, f: recorder.frames_now() > 0, 10,
                  "the audio output to open")
    except BaseException:
        recorder.stop()
        stop_process(proc)
        raise
    return proc, recorder, window


def stop_process(proc, timeout=10):
    """Ends a process this module started: SIGTERM, then SIGKILL."""
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class CaptureRecorder:
    """Polls the capture file's size against the monotonic clock, so that a
    sample position can be turned into the wall-clock moment it was mixed."""

    def __init__(self, path, interval=0.02):
        self.path = path
        self.interval = interval
        self.points = []  # (monotonic seconds, frames written)
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self._stop.set()
        self._thread.join()

    def _run(self):
        while not self._stop.is_set():
            try:
                size = os.path.getsize(self.path)
            except OSError:
                size = None
            if size:
                self.points.append((time.monotonic(), size // FRAME_BYTES))
            self._stop.wait(self.interval)

    def frames_now(self):
        try:
            return os.path.getsize(self.path) // FRAME_BYTES
        except OSError:
            return 0

    def clock(self):
        """(rate, offset, worst residual): frames ~ rate * t + offset,
        fitted over the points recorded while the output was being written."""
        pts = np.array(self.points, dtype=float)
        if len(pts) < 10:
            raise Failure("the capture hardly grew (%d samples of its size)" % len(pts))
        # Keep the stretch in which the file grew (the device is open).
        growing = np.nonzero(np.diff(pts[:, 1]) > 0)[0]
        pts = pts[growing[0]:growing[-1] + 2]
        rate, offset = np.polyfit(pts[:, 0], pts[:, 1], 1)
        residual = np.max(np.abs(pts[:, 1] - (rate * pts[:, 0] + offset))) / rate
        return rate, offset, residual

    def tail_level(self, seconds=0.1):
        """(rms, frequency) of the last `seconds` of the capture so far."""
        frames = int(seconds * RATE)
        try:
            with open(self.path, "rb") as f:
                f.seek(0, os.SEEK_END)
                size = f.tell() - f.tell() % FRAME_BYTES
                start = max(0, size - frames * FRAME_BYTES)
                f.seek(start)
                data = f.read(size - start)
        except OSError:
            return 0.0, 0.0
        mono = to_mono(np.frombuffer(data, dtype="<i2"))
        if len(mono) < 256:
            return 0.0, 0.0
        return float(np.sqrt(np.mean(mono ** 2))), peak_frequency(mono)


def wait_tail(recorder, predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        rms, freq = recorder.tail_level()
        if predicate(rms, freq):
            return time.monotonic()
        time.sleep(0.02)
    raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))


# --------------------------------------------------------------------------
# Analysis

SILENCE_RMS = 0.02   # full scale = 1.0; the fixture tones sound at about 0.35 rms
WINDOW = 441         # 10 ms analysis windows


def to_mono(samples):
    samples = samples[: len(samples) - len(samples) % CHANNELS]
    return samples.reshape(-1, CHANNELS).astype(np.float64).mean(axis=1) / 32768.0


def load_capture(path):
    return to_mono(np.fromfile(path, dtype="<i2"))


def peak_frequency(mono):
    n = len(mono)
    spectrum = np.abs(np.fft.rfft(mono * np.hanning(n), n=max(n, 1 << 16)))
    bins = len(spectrum)
    peak = int(np.argmax(spectrum[1:])) + 1
    # Parabolic interpolation around the peak bin.
    if 1 <= peak < bins - 1:
        a, b, c = np.log(spectrum[peak - 1:peak + 2] + 1e-12)
        denom = a - 2 * b + c
        shift = 0.5 * (a - c) / denom if denom != 0 else 0.0
    else:
        shift = 0.0
    return (peak + shift) * RATE / max(n, 1 << 16)


class Segment:
    """One stretch of sound in the capture: frames [start, end), its pitch."""

    def __init__(self, start, end, freq):
        self.start = start
        self.end = end
        self.freq = freq
        self.verse = identify(freq)

    def duration(self, rate):
        return (self.end - self.start) / rate

    def __repr__(self):
        return "Segment(%s @%.2fs, %.2fs, %.1f Hz)" % (
            self.verse, self.start / RATE, (self.end - self.start) / RATE, self.freq)


def segments(mono, min_gap=0.05, min_len=0.03):
    """Stretches of sound separated by at least min_gap of silence."""
    n = len(mono) // WINDOW
    if n == 0:
        return []
    rms = np.sqrt(np.mean(mono[: n * WINDOW].reshape(n, WINDOW) ** 2, axis=1))
    loud = rms > SILENCE_RMS
    result = []
    i = 0
    gap_windows = int(min_gap * 100)
    while i < n:
        if not loud[i]:
            i += 1
            continue
        start = i
        end = i + 1
        j = i + 1
        while j < n:
            if loud[j]:
                end = j + 1
                j += 1
            elif j - end >= gap_windows:
                break
            else:
                j += 1
        result.append((start, end))
        i = end + gap_windows
    segs = []
    for start, end in result:
        if (end - start) * WINDOW < min_len * RATE:
            continue
        # Sample-exact edges: first and last sample above the threshold
        # inside the window range.
        lo, hi = start * WINDOW, end * WINDOW
        above = np.nonzero(np.abs(mono[lo:hi]) > SILENCE_RMS)[0]
        s, e = lo + int(above[0]), lo + int(above[-1]) + 1
        middle = mono[s + (e - s) // 10: e - (e - s) // 10]
        segs.append(Segment(s, e, peak_frequency(middle if len(middle) > 512 else mono[s:e])))
    return segs


def run_single_scenario(doc, prefix, keep_help, run):
    """The command line of a test that runs the program once in a work
    folder: --app and --keep, run(app, work) returns its problems; prints
    them with the program's output, then PASS or FAIL. Returns the exit code."""
    parser = argparse.ArgumentParser(description=doc.split("\n")[0])
    parser.add_argument("--app", required=True, help="the QtUtakaze executable")
    parser.add_argument("--keep", help=keep_help)
    args = parser.parse_args()
    if missing_tools("Xvfb", "xdotool", "sox"):
        print("needs Xvfb, xdotool and sox")
        return 1
    work, _tmp = work_folder(args.keep, prefix)
    started = time.monotonic()
    try:
        problems = run(os.path.abspath(args.app), work)
    except Failure as failure:
        problems = [str(failure)]
    print("took %.1f s" % (time.monotonic() - started), flush=True)
    if problems:
        print("\n".join("- " + p for p in problems), flush=True)
        with open(os.path.join(work, "app.log"), errors="replace") as f:
            print("program output:\n" + f.read(), flush=True)
    print("FAIL" if problems else "PASS")
    return 1 if problems else 0
