#!/usr/bin/python3
"""End-to-end test of a broadcast through Snapcast, on one machine.

Starts a snapserver (a TCP source for the program, a 600 ms buffer) and two
snapclients writing what they play to files (--player file); the second one
reaches the server through a relay in this script that holds every packet
150 ms each way. The real program, under a private Xvfb, broadcasts to that
server ([OUTPUT] Broadcast=true, an existing server). Checks:
  - a reading of 5 cards (pauses of 1 s): in both outputs every verse whole
    and every silence between two verses within 10 ms of W + 0.2 s;
  - the two outputs play each verse at the same moment, within 5 ms (the
    lag by cross-correlation of the captures around each verse, turned into
    wall-clock time with each file's measured growth);
  - the server stopped during a second reading: the program pauses and says
    so, stays paused once the server is back, and resumes on Start.
Prints the offsets, the pause errors and Start to first sound at the
clients (the server's buffer included).
"""

import os
import socket
import statistics
import subprocess
import sys
import threading
import time

import numpy as np

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402
import e2e_pulse as pulse  # noqa: E402

RATE = d.RATE
CARDS = [1, 2, 3, 4, 5]
WAIT = 1
BUFFER_MS = 600
RELAY_DELAY = 0.150
SYNC_TOLERANCE = 0.005  # s between the two clients
log = pulse.log


def verse_seconds(card):
    return 0.6 + 0.01 * card


def free_ports(count):
    sockets = [socket.socket() for _ in range(count)]
    for s in sockets:
        s.bind(("127.0.0.1", 0))
    ports = [s.getsockname()[1] for s in sockets]
    for s in sockets:
        s.close()
    return ports


class Relay:
    """TCP relay on 127.0.0.1: every piece read is written on 150 ms later,
    both ways (the clock sync of Snapcast sees a slow network, not a lopsided
    one). It runs in a process of its own (this script with --relay), so the
    analysis here never holds up its threads."""

    def __init__(self, listen_port, target_port):
        self.target = target_port
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", listen_port))
        self.listener.listen(4)

    def serve(self):
        while True:
            try:
                client, _ = self.listener.accept()
                server = socket.create_connection(("127.0.0.1", self.target))
            except OSError:
                continue
            for a, b in ((client, server), (server, client)):
                self._pipe(a, b)

    def _pipe(self, source, sink):
        pending = []
        ready = threading.Condition()

        def read():
            while True:
                try:
                    data = source.recv(65536)
                except OSError:
                    data = b""
                with ready:
                    pending.append((time.monotonic() + RELAY_DELAY, data))
                    ready.notify()
                if not data:
                    return

        def write():
            while True:
                with ready:
                    while not pending:
                        ready.wait()
                    due, data = pending.pop(0)
                time.sleep(max(0.0, due - time.monotonic()))
                try:
                    if not data:
                        sink.shutdown(socket.SHUT_WR)
                        return
                    sink.sendall(data)
                except OSError:
                    return

        threading.Thread(target=read, daemon=True).start()
        threading.Thread(target=write, daemon=True).start()


def start_server(work, ports):
    stream, control, source = ports
    conf = os.path.join(work, "snapserver.conf")
    open(conf, "w").close()
    return subprocess.Popen(
        ["snapserver", "--config=" + conf, "--server.datadir=" + work,
         "--stream.source=tcp://127.0.0.1:%d?name=QtUtakaze&mode=server&sampleformat=44100:16:2"
         % source, "--stream.port=%d" % stream, "--tcp.port=%d" % control,
         "--http.enabled=false", "--stream.buffer=%d" % BUFFER_MS, "--logging.sink=null"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_port(port, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), 0.2).close()
            return
        except OSError:
            time.sleep(0.05)
    raise d.Failure("nothing listens on port %d after %d s" % (port, timeout))


def start_client(work, name, port):
    path = os.path.join(work, name + ".raw")
    proc = subprocess.Popen(
        ["snapclient", "-h", "127.0.0.1", "-p", str(port), "--hostID", name,
         "--player", "file:filename=%s,mode=a" % path, "--logsink", "null"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return proc, path


CHUNK = 2205  # frames: snapclient's file player writes 50 ms at a time


def watch(path, out):
    """Writes to out a line "monotonic-seconds frames" for every growth of the
    file at path, looked at every half millisecond: a process of its own, so
    that the test's analysis never delays a look."""
    last = -1
    with open(out, "w") as f:
        while True:
            try:
                frames = os.path.getsize(path) // d.FRAME_BYTES
            except OSError:
                frames = -1
            if frames != last:
                f.write("%.6f %d\n" % (time.monotonic(), frames))
                f.flush()
                last = frames
            time.sleep(0.0005)


def start_watch(path):
    out = path + ".times"
    proc = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--watch", path, out])
    return proc, out


def load_times(out):
    with open(out) as f:
        return [(float(t), int(n)) for t, n in (line.split() for line in f if line.strip())]


def frame_time(times, frame):
    """When the file player played frame: it writes each 50 ms piece at the
    moment it plays it (its own clock), so the piece's write, seen by the
    watcher, plus the frame's place in it."""
    first = frame - frame % CHUNK
    for t, n in times:
        if n > first:
            return t + (frame - first) / RATE
    raise d.Failure("frame %d was never written" % frame)


def lag(a, sa, b, sb):
    """Frames to add to sb so that b lines up with a at sa: the least squared
    difference of 10 ms before to 100 ms after each onset, over shifts of up
    to 10 ms (cross-correlation, less each shifted window's energy: the
    plain product of a steady tone would not tell its periods apart)."""
    before, after, reach = 441, 4410, 441
    x = a[sa - before: sa + after]
    y = b[sb - before - reach: sb + after + reach]
    corr = np.correlate(y, x, mode="valid")
    energy = np.convolve(y * y, np.ones(len(x)), mode="valid")
    return int(np.argmin(energy - 2 * corr)) - reach


def run(app, work):
    problems = []
    ports = free_ports(3)
    stream, control, source = ports
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=%d\nWait2Time=%d\nFudaList="%s"\n'
           '[OUTPUT]\nBroadcast=true\nOwnServer=false\nHost=127.0.0.1\nStreamPort=%d\n'
           'ControlPort=%d\nSourcePort=%d\nLocalClient=false\n'
           % (WAIT, WAIT, ",".join(map(str, CARDS)), stream, control, source))
    exe = d.make_app_folder(work, app, [0] + CARDS, verse_seconds, ini)
    server = start_server(work, ports)
    procs = [server]
    try:
        wait_port(control)
        relay_port = free_ports(1)[0]
        procs.append(subprocess.Popen([sys.executable, os.path.abspath(__file__), "--relay",
                                       str(relay_port), str(stream)]))
        wait_port(relay_port)
        (ca, path_a), (cb, path_b) = start_client(work, "a", stream), start_client(work, "b", relay_port)
        procs += [ca, cb]
        clients_started = time.monotonic()
        (wa, times_a), (wb, times_b) = start_watch(path_a), start_watch(path_b)
        procs += [wa, wb]
        with d.Xvfb() as x:
            with open(os.path.join(work, "app.log"), "w") as applog:
                proc = subprocess.Popen([exe], cwd=work, env=d.app_env(x.display, None, "dummy"),
                                        stdout=applog, stderr=subprocess.STDOUT)
            procs.append(proc)
            window = d.wait_window(x.display, "^QtUtakaze$", timeout=30)
            # A client through the slow relay takes a few seconds to settle its
            # clock sync (it corrects itself by a jump of several ms once).
            time.sleep(max(1.5, 6.0 - (time.monotonic() - clients_started)))
            d.focus(x.display, window)
            pressed = time.monotonic()
            d.key(x.display, window, "Home", focused=True)
            mono_a, segs_a = pulse.wait_verses(path_a, 2 * len(CARDS), 60, quiet=1.5)
            mono_b, segs_b = pulse.wait_verses(path_b, 2 * len(CARDS), 10, quiet=1.0)
            points_a, points_b = load_times(times_a), load_times(times_b)
            problems += phase_stop(work, x, window, proc, procs, ports, path_a)
            d.stop_process(proc)
    finally:
        for p in reversed(procs):
            d.stop_process(p)

    lengths = {(c, h): round(verse_seconds(c) * RATE) / RATE for c in CARDS for h in (1, 2)}
    for name, mono, segs in (("a", mono_a, segs_a), ("b (150 ms late network)", mono_b, segs_b)):
        log("client %s:" % name)
        found, _ = pulse.check_verses(mono, segs, lengths, WAIT + pulse.PAUSE_EXCESS)
        problems += ["client %s: %s" % (name, p) for p in found]
        order = [s.verse for s in segs]
        if len(order) != 2 * len(CARDS) or any(
                u is None or u[1] != 1 or lower != (u[0], 2)
                for u, lower in zip(order[0::2], order[1::2])):
            problems.append("client %s heard %s" % (name, order))
    offsets = []
    for sa, sb in zip(segs_a, segs_b):
        if sa.verse != sb.verse:
            problems.append("the clients heard different verses: %s / %s" % (sa.verse, sb.verse))
            break
        fb = sb.start + lag(mono_a, sa.start, mono_b, sb.start)
        offsets.append(frame_time(points_a, sa.start) - frame_time(points_b, fb))
    if offsets:
        worst = max(offsets, key=abs)
        log("offset between the clients (a - b), per verse: %s ms"
            % " ".join("%+.1f" % (1000 * o) for o in offsets))
        log("offset between the clients: worst %+.1f ms, median %+.1f ms over %d verses"
            % (1000 * worst, 1000 * statistics.median(offsets), len(offsets)))
        if abs(worst) > SYNC_TOLERANCE:
            problems.append("the clients are %.1f ms apart" % (1000 * worst))
    first = frame_time(points_a, segs_a[0].start) - pressed
    log("Start to first sound at the clients: %.0f ms (server buffer %d ms)"
        % (1000 * first, BUFFER_MS))
    return problems


def phase_stop(work, x, window, proc, procs, ports, path_a):
    """A second reading; the server stopped after its first verse and started
    again: the reading must pause, stay paused, and resume on Start."""
    problems = []
    stream, control, source = ports
    d.key(x.display, window, "Home", focused=True)
    _, segs = pulse.wait_verses(path_a, 2 * len(CARDS) + 1, 20, quiet=0.1)
    server = procs[0]
    server.terminate()
    server.wait(10)
    log("server stopped after verse %s of the second reading" % (segs[-1].verse,))
    time.sleep(1.0)
    procs[0] = start_server(work, ports)
    wait_port(control)
    time.sleep(3.0)  # the program reconnects; the reading must not go on by itself
    heard = len(d.segments(d.load_capture(path_a)))
    time.sleep(2.0)
    after = len(d.segments(d.load_capture(path_a)))
    if after != heard:
        problems.append("the reading went on by itself after the server came back")
    with open(os.path.join(work, "app.log"), errors="replace") as f:
        said = f.read()
    if "broadcast server went away" not in said:
        problems.append("the program did not notice the server had gone")
    resumed = time.monotonic()
    d.key(x.display, window, "Home", focused=True)
    deadline = time.monotonic() + 10
    while len(d.segments(d.load_capture(path_a))) <= after:
        if time.monotonic() > deadline:
            problems.append("Start did not resume the reading once the server was back")
            break
        time.sleep(0.1)
    else:
        log("server stopped: the reading paused, stayed paused with the server back "
            "(%.0f s), and went on %.1f s after Start" % (5.0, time.monotonic() - resumed))
    return problems


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--relay":
        Relay(int(sys.argv[2]), int(sys.argv[3])).serve()
    if len(sys.argv) == 4 and sys.argv[1] == "--watch":
        watch(sys.argv[2], sys.argv[3])
    if d.missing_tools("snapserver", "snapclient"):
        print("needs snapserver and snapclient")
        sys.exit(1)
    sys.exit(d.run_single_scenario(__doc__, "qtutakaze-e2e-snapcast-",
                                   "keep the files in this folder", run))
