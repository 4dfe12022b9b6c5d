#!/usr/bin/python3
"""End-to-end test of dead cards that tempt, read from the real program's
history file.

QtUtakaze runs in a fresh application folder with short fixture verses for
every card, five selected cards (あしびきの, ちはやぶる, ちぎりきな, せを
はやみ, ひともをし), ten dead cards, [PRACTICE] DeadCardBias=100, no
preamble and 1 s pauses, under a private Xvfb with SDL's disk audio driver.
Eighteen cards outside the selection share a first sound with it (the other
あ, ち and ひ cards), so every one of the ten dead cards of the history file
must begin with あ, ち or ひ.

  e2e_deadcardbias.py --app PATH [--keep DIR]
"""

import glob
import os
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import utakaze_driver as d  # noqa: E402

SELECTED = [3, 17, 42, 77, 99]
DEAD = 10
VERSE = 0.1
INI_TEXT = ('[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList="%s"\n\n'
            '[PRACTICE]\nDeadCards=%d\nDeadCardBias=100\n' % (",".join(map(str, SELECTED)), DEAD))
# 15 cards of 2 short verses and 2 pauses each, with room for a loaded machine.
READING_TIMEOUT = 120


def log(*args):
    print(*args, flush=True)


def first_sounds():
    """The first kana of every card's upper verse as read aloud, from data/poems.tsv."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data",
                        "poems.tsv")
    sounds = {}
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines()[1:]:
            fields = line.split("\t")
            sounds[int(fields[0])] = fields[3][0]
    return sounds


def history_rows(folder, timeout):
    """[(card, dead)] of the first history file, once the reading has written it."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        files = sorted(glob.glob(os.path.join(folder, "history", "*.tsv")))
        if files:
            time.sleep(0.5)  # written whole at the end of the reading
            with open(files[0], encoding="utf-8") as f:
                rows = [line.split("\t") for line in f.read().splitlines()[1:] if line]
            return [(int(r[1]), r[2] == "1") for r in rows]
        time.sleep(0.2)
    raise d.Failure("no history file within %d s" % timeout)


def run(exe, work):
    problems = []
    app = d.make_app_folder(work, exe, [], VERSE, INI_TEXT)
    d.write_tones(work, [(0, 2)] + [(c, h) for c in range(1, 101) for h in (1, 2)], VERSE)
    capture = os.path.join(work, "capture.raw")
    with d.Xvfb() as x:
        proc, recorder, window = d.start_program(app, work, x.display, capture)
        try:
            d.key(x.display, window, "Home")
            rows = history_rows(work, READING_TIMEOUT)
            d.key(x.display, window, "ctrl+q")
            proc.wait(15)
        finally:
            recorder.stop()
            d.stop_process(proc)

    sounds = first_sounds()
    wanted = {sounds[c] for c in SELECTED}
    dead = [c for c, is_dead in rows if is_dead]
    live = sorted(c for c, is_dead in rows if not is_dead)
    log("  history: live", live, "dead", dead)
    if live != SELECTED:
        problems.append("the live cards %s are not the selected %s" % (live, SELECTED))
    if len(dead) != DEAD:
        problems.append("%d dead cards, expected %d" % (len(dead), DEAD))
    plain = [c for c in dead if sounds[c] not in wanted]
    if plain:
        problems.append("dead cards %s share no first sound with the selection" % plain)
    return problems


if __name__ == "__main__":
    sys.exit(d.run_single_scenario(__doc__, "qtutakaze-e2e-deadcardbias-",
                                   "keep the run (settings, history) in this folder", run))
