#!/usr/bin/python3
"""The demo voice maker's recitation rules and the voice measurement, without
the synthesizer: readings as phonemes, the misreading check, the recitation's
timing, loudness and mora levels, the pitch tracker, and the faults
measure_voice finds."""
import importlib.machinery
import importlib.util
import os
import subprocess
import sys
import tempfile
import unittest
import wave

import numpy as np

TOOLS = os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
import voice_measures as vm  # noqa: E402


def load(name):
    loader = importlib.machinery.SourceFileLoader(name.replace("_", ""), os.path.join(TOOLS, name))
    module_spec = importlib.util.spec_from_loader(loader.name, loader)
    module = importlib.util.module_from_spec(module_spec)
    loader.exec_module(module)
    return module


recite = load("recite_verse")


def labels_for(phrases, say=None):
    """Labels as Open JTalk's trace has them, 50 ms a phoneme; say rewrites a phrase's phonemes."""
    phonemes = ["sil"]
    for i, phrase in enumerate(phrases):
        spoken = vm.kana_phonemes(phrase)
        phonemes += (["pau"] if i else []) + (say(phrase, spoken) if say else spoken)
    phonemes.append("sil")
    return [(i * 500000, (i + 1) * 500000, f"xx^xx-{p}+xx=xx/A:xx+xx+xx") for i, p in enumerate(phonemes)]


class Readings(unittest.TestCase):
    def test_kanaAsOpenJTalksPhonemes(self):
        cases = {"はなぞ": "h a n a z o", "たつたの": "t a ts u t a n o", "ふくからに": "f u k u k a r a n i",
                 "きょう": "ky o u", "ちょう": "ch o u", "もっと": "m o cl t o", "あらん": "a r a N",
                 "しおるれば": "sh i o r u r e b a", "ゆうらん": "y u u r a N", "ヒト": "h i t o"}
        for kana, phonemes in cases.items():
            self.assertEqual(" ".join(vm.kana_phonemes(kana)), phonemes, kana)
        self.assertEqual(vm.kana_morae("しょうじょ"), ["しょ", "う", "じょ"])

    def test_misreadPhrase_givenInKatakana_elseTheVerseIsNamed(self):
        asked = []

        def particle_wa(model, text, workdir):
            asked.append(text)
            # Like Open JTalk: hiragana は read as the particle わ.
            return labels_for(text.split("\u3000"), lambda p, s: ["w" if x == "h" and "は" in p else x for x in s])

        original = recite.run_open_jtalk
        try:
            recite.run_open_jtalk = particle_wa
            labels = recite.checked_labels("m", "いまはた おなじ", "/tmp", "card 20 half 1")
            self.assertEqual(recite.spoken_phrases(labels)[0], "i m a h a t a".split())
            self.assertEqual(asked, ["いまはた\u3000おなじ", "イマハタ\u3000おなじ"])

            # きょう as kyoo is the usual reading, in either script.
            recite.run_open_jtalk = lambda m, text, w: labels_for(["きょお", "の"])
            labels = recite.checked_labels("m", "きょう の", "/tmp", "card 61 half 2")
            self.assertEqual(recite.spoken_phrases(labels)[0], ["ky", "o", "o"])

            recite.run_open_jtalk = lambda m, text, w: labels_for(["たった", "の"])
            with self.assertRaisesRegex(recite.Misread, "card 69 half 2"):
                recite.checked_labels("m", "たつた の", "/tmp", "card 69 half 2")
        finally:
            recite.run_open_jtalk = original

    def test_devoicedVowelsVoiced_otherFieldsKept(self):
        self.assertEqual(recite.voiced_label("a^k-U+t=I/A:-1+U+E"), "a^k-u+t=i/A:-1+U+E")


class Recitation(unittest.TestCase):
    def timed(self, upper):
        labels = labels_for(["ふくからに", "あきのくさきの"])
        return recite.recited_labels(labels, upper)

    def test_evenMorae_breath_drawnOutEnd(self):
        for upper in (True, False):
            lines, plan, ends, hold, finals = self.timed(upper)
            steps = np.diff(ends)
            self.assertTrue(all(s == recite.MORA_MS for i, s in enumerate(steps[:-1]) if i + 1 not in finals
                                and i not in finals), steps)
            self.assertEqual(ends[finals[0]] - ends[finals[0] - 1], recite.PHRASE_END_MS)
            self.assertEqual(ends[finals[0] + 1] - ends[finals[0]], recite.BREATH_MS + recite.MORA_MS)
            self.assertEqual(ends[-1] - ends[-2], recite.UPPER_LAST_MS if upper else recite.LOWER_LAST_MS)
            # Labels join up on the engine's frames; the hold is the last vowel.
            self.assertTrue(all(a[1] == b[0] and a[1] % recite.FRAME_MS == 0 for a, b in zip(lines, lines[1:])))
            self.assertEqual(hold[1], ends[-1])
            self.assertIn(("hold", hold[0] // 5, hold[1] // 5), plan)


class Sound(unittest.TestCase):
    rate = 48000

    def tone(self, seconds, amplitude):
        t = np.arange(int(self.rate * seconds)) / self.rate
        return amplitude * np.sin(2 * np.pi * 220 * t)

    def test_loudnessSet_peaksLimited(self):
        # A quiet verse with one click far above the rest.
        samples = np.concatenate([self.tone(3, 0.01), np.zeros(4800)])
        samples[1000] = 0.9
        out = recite.set_loudness(samples, self.rate)
        self.assertAlmostEqual(vm.loudness(out, self.rate), recite.TARGET_LUFS, delta=0.3)
        self.assertLessEqual(np.abs(out).max(), recite.PEAK_LIMIT + 1e-6)

    def test_quietMoraLifted_endsWhereTheSoundEnds(self):
        lead = np.zeros(self.rate * recite.LEAD_MS // 1000)
        # Three 300 ms morae, the second 20 dB down; the third falls silent after 200 ms.
        samples = np.concatenate([lead, self.tone(0.3, 0.5), self.tone(0.3, 0.05), self.tone(0.2, 0.5),
                                  np.zeros(self.rate // 10)])
        ends = [recite.LEAD_MS + 300, recite.LEAD_MS + 600, recite.LEAD_MS + 900]
        lifted = recite.lift_quiet_morae(samples, self.rate, ends)
        middle = lifted[int(self.rate * 0.55): int(self.rate * 0.65)]
        self.assertAlmostEqual(20 * np.log10(np.abs(middle).max() / 0.5), recite.MORA_FLOOR_DB, delta=1)
        self.assertEqual(recite.sound_ends(lifted, self.rate, ends, [2]), ends[:2] + [ends[1] + 200])


def write_verse(path, rate, morae_ms, pause_ms, phrase_sizes, quiet=(), f0=200.0):
    """A tone per mora (a harmonic voice at f0), pauses between phrases; the mora ends in ms."""
    t_ms, ends, chunks = 150, [], [np.zeros(rate * 150 // 1000)]
    for p, size in enumerate(phrase_sizes):
        if p:
            chunks.append(np.zeros(rate * pause_ms // 1000))
            t_ms += pause_ms
        for m in range(size):
            n = rate * morae_ms // 1000
            t = np.arange(n) / rate
            tone = sum(np.sin(2 * np.pi * f0 * k * t) / k for k in range(1, 6)) * 0.2
            index = len(ends)
            chunks.append(tone * (0.02 if index in quiet else 1.0))
            t_ms += morae_ms
            ends.append(t_ms)
    chunks.append(np.zeros(rate * 200 // 1000))
    recite.write_wav(path, np.concatenate(chunks), rate)
    return ends


class Measurement(unittest.TestCase):
    def test_pitchTracker_findsTheVoicesPitch(self):
        rate = 16000
        t = np.arange(rate) / rate
        pitch = vm.pitch_track(np.sin(2 * np.pi * 180 * t) + 0.5 * np.sin(2 * np.pi * 360 * t), rate)
        self.assertAlmostEqual(float(np.nanmedian(pitch)), 180, delta=2)

    def measure(self, quiet=(), pause_ms=400):
        with tempfile.TemporaryDirectory() as folder:
            # Card 22's upper verse: ふくからに あきのくさきの しおるれば; ふ decides it.
            ends = write_verse(os.path.join(folder, "v_022_1.wav"), 48000, 290, pause_ms, [5, 7, 5], quiet)
            with open(os.path.join(folder, "timing.tsv"), "w") as f:
                f.write("card\thalf\tends_ms\n22\t1\t" + ",".join(map(str, ends)) + "\n")
            run = subprocess.run([os.path.join(TOOLS, "measure_voice"), folder], capture_output=True, text=True)
        return run.returncode, run.stdout

    def test_faults_whisperedDecidingSyllable_longPause(self):
        code, out = self.measure()
        self.assertEqual(code, 0, out)
        self.assertRegex(out, r"morae inside a phrase \(ms\)\s+290 / 290 / 290")
        code, out = self.measure(quiet={0})
        self.assertEqual(code, 1)
        self.assertIn("deciding syllable 1 (ふ) whispered", out)
        code, out = self.measure(pause_ms=1200)
        self.assertEqual(code, 1)
        self.assertIn("a pause of 1.20 s", out)


if __name__ == "__main__":
    unittest.main()
