#!/usr/bin/python3
"""End-to-end test of a broadcast through Snapcast, on one machine: a
snapserver (600 ms buffer), two snapclients writing what they play to files,
the second through a relay that holds every packet 150 ms each way, and the
real program under Xvfb broadcasting to that server. It reads 5 cards: in
both outputs every verse whole and every pause within 10 ms of W + 0.2 s,
and the two outputs within 5 ms of each other (cross-correlation of the
captures, each turned into wall-clock time by its file's growth). Then the
server is stopped during a second reading: the reading must pause, stay
paused once the server is back, and go on at Start.
"""

import os
import socket
import statistics
import subprocess
import sys
import queue
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


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def relay(listen_port, target_port):
    """TCP relay: every piece read is written on 150 ms later, both ways (the
    clock sync of Snapcast sees a slow network, not a lopsided one). Run in a
    process of its own (--relay), so that the analysis never holds it up."""
    listener = socket.create_server(("127.0.0.1", listen_port), reuse_port=True)

    def pipe(source, sink):
        pending = queue.Queue()

        def read():
            data = b"x"
            while data:
                data = source.recv(65536)
                pending.put((time.monotonic() + RELAY_DELAY, data))

        def write():
            while True:
                due, data = pending.get()
                time.sleep(max(0.0, due - time.monotonic()))
                if not data:
                    return sink.shutdown(socket.SHUT_WR)
                sink.sendall(data)

        for job in (read, write):
            threading.Thread(target=job, daemon=True).start()

    while True:
        client, _ = listener.accept()
        server = socket.create_connection(("127.0.0.1", target_port))
        pipe(client, server)
        pipe(server, client)


def helper(*args):
    """This script in another mode (--relay, --watch)."""
    return subprocess.Popen([sys.executable, os.path.abspath(__file__), *map(str, args)])


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
    """Writes to out "monotonic-seconds frames" at every growth of the file at
    path, looked at every half millisecond, in a process of its own (--watch)."""
    last = -1
    with open(out, "w") as f:
        while True:
            frames = os.path.getsize(path) // d.FRAME_BYTES if os.path.exists(path) else -1
            if frames != last:
                f.write("%.6f %d\n" % (time.monotonic(), frames))
                f.flush()
                last = frames
            time.sleep(0.0005)


def frame_time(times, frame):
    """When the file player played frame. It writes each 50 ms piece as it
    plays it, on a steady 50 ms beat; a write comes late on a busy machine,
    never early. So the beat is the earliest of (first sight of a piece - the
    piece's place in the file) over the pieces within a second of frame."""
    beats, seen = [], 0
    for t, n in times:
        piece = (n - 1) // CHUNK * CHUNK
        if n > 0 and piece >= seen and abs(piece - frame) < RATE:
            beats.append(t - piece / RATE)
        seen = max(seen, n)
    if not beats:
        raise d.Failure("frame %d was never written" % frame)
    return min(beats) + frame / RATE


def lag(a, sa, b, sb):
    """Frames to add to sb so that b lines up with a at sa: the least squared
    difference around the onsets (the cross-correlation less the shifted
    window's energy: a bare product cannot tell a steady tone's periods apart)."""
    before, after, reach = 441, 4410, 441
    x = a[sa - before: sa + after]
    y = b[sb - before - reach: sb + after + reach]
    corr = np.correlate(y, x, mode="valid")
    energy = np.convolve(y * y, np.ones(len(x)), mode="valid")
    return int(np.argmin(energy - 2 * corr)) - reach


def run(app, work):
    problems = []
    ports = stream, control, source = free_port(), free_port(), free_port()
    ini = ('[SETTING]\nchk_joka=false\nWait1Time=%d\nWait2Time=%d\nFudaList="%s"\n'
           '[OUTPUT]\nBroadcast=true\nOwnServer=false\nHost=127.0.0.1\nStreamPort=%d\n'
           'ControlPort=%d\nSourcePort=%d\nLocalClient=false\n'
           % (WAIT, WAIT, ",".join(map(str, CARDS)), stream, control, source))
    exe = d.make_app_folder(work, app, [0] + CARDS, verse_seconds, ini)
    server = start_server(work, ports)
    procs = [server]
    try:
        wait_port(control)
        relay_port = free_port()
        procs.append(helper("--relay", relay_port, stream))
        wait_port(relay_port)
        (ca, path_a), (cb, path_b) = start_client(work, "a", stream), start_client(work, "b", relay_port)
        clients_started = time.monotonic()
        times_a, times_b = path_a + ".times", path_b + ".times"
        procs += [ca, cb, helper("--watch", path_a, times_a), helper("--watch", path_b, times_b)]
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
            points_a, points_b = ([(float(t), int(n)) for t, n in map(str.split, open(path))]
                                  for path in (times_a, times_b))
            problems += phase_stop(work, x, window, procs, ports, path_a)
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
        log("offset between the clients (a - b), per verse: %s ms; worst %+.1f ms, median %+.1f ms"
            % (" ".join("%+.1f" % (1000 * o) for o in offsets), 1000 * worst,
               1000 * statistics.median(offsets)))
        if abs(worst) > SYNC_TOLERANCE:
            problems.append("the clients are %.1f ms apart" % (1000 * worst))
    first = frame_time(points_a, segs_a[0].start) - pressed
    log("Start to first sound at the clients: %.0f ms (server buffer %d ms)"
        % (1000 * first, BUFFER_MS))
    return problems


def phase_stop(work, x, window, procs, ports, path_a):
    """A second reading, the server stopped after its first verse and started
    again: the reading must pause, stay paused, and go on at Start."""
    problems = []
    d.key(x.display, window, "Home", focused=True)
    _, segs = pulse.wait_verses(path_a, 2 * len(CARDS) + 1, 20, quiet=0.1)
    d.stop_process(procs[0])
    log("server stopped after verse %s of the second reading" % (segs[-1].verse,))
    time.sleep(1.0)
    procs[0] = start_server(work, ports)
    wait_port(ports[1])
    time.sleep(3.0)  # the program is connected again; the reading must wait
    heard = len(d.segments(d.load_capture(path_a)))
    time.sleep(2.0)
    if len(d.segments(d.load_capture(path_a))) != heard:
        problems.append("the reading went on by itself after the server came back")
    with open(os.path.join(work, "app.log"), errors="replace") as f:
        if "broadcast server went away" not in f.read():
            problems.append("the program did not notice the server had gone")
    resumed = time.monotonic()
    d.key(x.display, window, "Home", focused=True)
    while len(d.segments(d.load_capture(path_a))) <= heard:
        if time.monotonic() > resumed + 10:
            return problems + ["Start did not resume the reading once the server was back"]
        time.sleep(0.1)
    log("server stopped: the reading paused, stayed paused 5 s with the server back, "
        "and went on %.1f s after Start" % (time.monotonic() - resumed))
    return problems


if __name__ == "__main__":
    if sys.argv[1:2] == ["--relay"]:
        relay(int(sys.argv[2]), int(sys.argv[3]))
    if sys.argv[1:2] == ["--watch"]:
        watch(sys.argv[2], sys.argv[3])
    if d.missing_tools("snapserver", "snapclient"):
        print("needs snapserver and snapclient")
        sys.exit(1)
    sys.exit(d.run_single_scenario(__doc__, "qtutakaze-e2e-snapcast-",
                                   "keep the files in this folder", run))
