"""What the demo voice maker and the voice measurement share: kana readings
as Open JTalk's phonemes and morae, EBU R128 loudness (libebur128), and a
pitch tracker."""
import ctypes
import ctypes.util

import numpy as np

SMALL = "ゃゅょぁぃぅぇぉゎ"
_ROWS = {
    "": "あいうえお", "k": "かきくけこ", "g": "がぎぐげご", "s": "さしすせそ", "z": "ざじずぜぞ",
    "t": "たちつてと", "d": "だぢづでど", "n": "なにぬねの", "h": "はひふへほ", "b": "ばびぶべぼ",
    "p": "ぱぴぷぺぽ", "m": "まみむめも", "y": "や\0ゆ\0よ", "r": "らりるれろ", "w": "わ\0\0\0を",
}
_SPECIAL = {"し": ["sh", "i"], "ち": ["ch", "i"], "つ": ["ts", "u"], "ふ": ["f", "u"], "じ": ["j", "i"],
            "ぢ": ["j", "i"], "づ": ["z", "u"], "を": ["o"], "ん": ["N"], "っ": ["cl"]}
_KANA = {}
for consonant, row in _ROWS.items():
    for vowel, kana in zip("aiueo", row):
        if kana != "\0":
            _KANA[kana] = ([consonant] if consonant else []) + [vowel]
_KANA.update(_SPECIAL)
_PALATAL = {"k": "ky", "g": "gy", "n": "ny", "h": "hy", "b": "by", "p": "py", "m": "my", "r": "ry",
            "sh": "sh", "ch": "ch", "j": "j"}


def to_hiragana(text):
    return "".join(chr(ord(c) - 0x60) if "ァ" <= c <= "ヶ" else c for c in text)


def to_katakana(text):
    return "".join(chr(ord(c) + 0x60) if "ぁ" <= c <= "ゖ" else c for c in text)


def kana_morae(reading):
    """The morae of a kana reading: blanks are none, a small kana joins the mora before it."""
    out = []
    for c in to_hiragana(reading):
        if c.isspace():
            continue
        if c in SMALL and out:
            out[-1] += c
        else:
            out.append(c)
    return out


def kana_phonemes(reading):
    """The phonemes Open JTalk speaks for a kana reading, as it writes them."""
    phonemes = []
    for mora in kana_morae(reading):
        if mora == "ー":
            if phonemes and phonemes[-1] in "aiueo":
                phonemes.append(phonemes[-1])
            continue
        base = _KANA.get(mora[0])
        if base is None:
            raise ValueError(f"no phonemes known for {mora!r}")
        if len(mora) > 1:
            vowel = {"ゃ": "a", "ゅ": "u", "ょ": "o"}.get(mora[1], "")
            consonant = base[0] if len(base) > 1 else ""
            base = [_PALATAL.get(consonant, consonant + "y")] + [vowel] if consonant else [vowel]
        phonemes += base
    return phonemes


class _Ebur128:
    MODE_I = (1 << 0) | (1 << 1) | (1 << 2)

    def __init__(self):
        name = ctypes.util.find_library("ebur128") or "libebur128.so.1"
        self.lib = ctypes.CDLL(name)
        self.lib.ebur128_init.restype = ctypes.c_void_p
        self.lib.ebur128_init.argtypes = [ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.lib.ebur128_add_frames_double.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_double),
                                                       ctypes.c_size_t]
        self.lib.ebur128_loudness_global.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_double)]
        self.lib.ebur128_destroy.argtypes = [ctypes.POINTER(ctypes.c_void_p)]

    def integrated(self, samples, rate):
        state = ctypes.c_void_p(self.lib.ebur128_init(1, rate, self.MODE_I))
        if not state.value:
            raise OSError("libebur128 could not start")
        try:
            data = np.ascontiguousarray(samples, dtype=np.float64)
            self.lib.ebur128_add_frames_double(state, data.ctypes.data_as(ctypes.POINTER(ctypes.c_double)),
                                               len(data))
            value = ctypes.c_double()
            if self.lib.ebur128_loudness_global(state, ctypes.byref(value)) != 0:
                return float("-inf")
            return value.value
        finally:
            self.lib.ebur128_destroy(ctypes.byref(state))


_ebur128 = None


def loudness(samples, rate):
    """Integrated loudness in LUFS (EBU R128) of mono samples in -1..1."""
    global _ebur128
    if _ebur128 is None:
        _ebur128 = _Ebur128()
    return _ebur128.integrated(samples, rate)


def pitch_track(samples, rate, hop_s=0.01, fmin=60.0, fmax=500.0, threshold=0.15):
    """YIN: the pitch in Hz of every hop_s frame, NaN where unvoiced."""
    window = int(rate * 0.04)
    hop = int(rate * hop_s)
    tau_min, tau_max = int(rate / fmax), int(rate / fmin)
    frames = max(0, (len(samples) - window - tau_max) // hop)
    result = np.full(frames, np.nan)
    if frames == 0:
        return result
    energy = np.array([np.mean(samples[i * hop: i * hop + window] ** 2) for i in range(frames)])
    quiet = energy < energy.max() * 10 ** (-40 / 10)
    for i in range(frames):
        if quiet[i]:
            continue
        x = samples[i * hop: i * hop + window + tau_max]
        frame = x[:window]
        # Difference function by FFT correlation.
        n = 1 << int(np.ceil(np.log2(len(x) + window)))
        corr = np.fft.irfft(np.fft.rfft(x, n) * np.conj(np.fft.rfft(frame, n)), n)[: tau_max + 1]
        cum = np.concatenate([[0.0], np.cumsum(x ** 2)])
        energies = cum[window: window + tau_max + 1] - cum[: tau_max + 1]
        diff = energies[0] + energies - 2 * corr
        diff[0] = 0
        cmnd = diff[1:] * np.arange(1, tau_max + 1) / np.maximum(np.cumsum(diff[1:]), 1e-12)
        candidates = np.nonzero(cmnd[tau_min - 1:] < threshold)[0]
        if len(candidates) == 0:
            continue
        tau = candidates[0] + tau_min - 1
        while tau + 1 < len(cmnd) and cmnd[tau + 1] < cmnd[tau]:
            tau += 1
        lag = tau + 1
        if 1 <= tau < len(cmnd) - 1:  # parabolic refinement
            a, b, c = cmnd[tau - 1], cmnd[tau], cmnd[tau + 1]
            denom = a - 2 * b + c
            lag += 0.5 * (a - c) / denom if denom != 0 else 0
        result[i] = rate / lag
    return result
