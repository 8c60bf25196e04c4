"""The five one-shot samples.

Each is 44.1 kHz 16-bit stereo, under two seconds: a spoken Finnish word
from espeak-ng, resampled and processed here, and/or synthesized sound.
"""

import io
import subprocess
import wave

import numpy as np

from synth import (SR, convolve, decay, pan, reverb_ir, shaped_noise)


def speak(word, voice="fi", speed=130, pitch=40, amplitude=160):
    """The word spoken by espeak-ng, as float mono at its own rate."""
    res = subprocess.run(
        ["espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch),
         "-a", str(amplitude), "--stdout", word],
        stdout=subprocess.PIPE, check=True)
    with wave.open(io.BytesIO(res.stdout), "rb") as wf:
        rate = wf.getframerate()
        raw = wf.readframes(wf.getnframes())
    x = np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768.0
    # trim leading and trailing silence
    nz = np.flatnonzero(np.abs(x) > 0.01)
    if len(nz):
        x = x[max(0, nz[0] - 100): nz[-1] + 200]
    return x, rate


def resample(x, rate_in, rate_out, shift=1.0):
    """FFT resampling; shift > 1 raises pitch (and shortens the sound)."""
    n_out = int(round(len(x) * rate_out / rate_in / shift))
    X = np.fft.rfft(x)
    m = n_out // 2 + 1
    Y = np.zeros(m, dtype=complex)
    k = min(m, len(X))
    Y[:k] = X[:k]
    y = np.fft.irfft(Y, n_out) * (n_out / len(x))
    # short fades against clicks at the ends
    f = min(200, n_out // 4)
    y[:f] *= np.linspace(0, 1, f)
    y[-f:] *= np.linspace(1, 0, f)
    return y


def voice(word, shift=1.0, **kw):
    x, rate = speak(word, **kw)
    return resample(x, rate, SR, shift)


def thicken(w):
    """Double a voice with a slightly lower, lagging copy: a hollow chorus."""
    c = resample(w, SR, SR, 0.97)
    out = 0.5 * c
    out[:len(w)] += w
    return out


def fit(x, n):
    out = np.zeros((n,) + x.shape[1:])
    m = min(n, x.shape[0])
    out[:m] = x[:m]
    return out


def place(dst, src, at):
    n = min(src.shape[0], dst.shape[0] - at)
    dst[at:at + n] += src[:n]


def finish(x, peak_db=-1.0, fade=0.05):
    """Fade the end, remove DC and normalise to the given peak."""
    x = x - x.mean(axis=0, keepdims=True)
    f = int(fade * SR)
    x[-f:] *= np.linspace(1, 0, f)[:, None]
    return x * (10 ** (peak_db / 20.0) / np.abs(x).max())


def _reverb(x, rng, seconds, decay_s, wet):
    ir = reverb_ir(seconds, rng, decay_s)
    r = convolve(x, ir)[: x.shape[0]]
    return x + wet * r


def _boom(n, f0, f1, tau):
    t = np.arange(n) / SR
    f = f1 + (f0 - f1) * np.exp(-t / 0.05)
    return np.sin(2 * np.pi * np.cumsum(f) / SR) * decay(n, tau, 0.002)


def vorsenna():
    """The logo has crumbled: a crumbling hiss and a deep 'vorsenna'."""
    rng = np.random.default_rng(3001)
    n = int(1.8 * SR)
    out = np.zeros((n, 2))
    # crumble: grains of filtered noise thinning out
    grain = int(0.012 * SR)
    for k in range(90):
        at = int(rng.uniform(0, 0.9) ** 1.6 * SR)
        g = shaped_noise(grain, rng, lo=rng.uniform(800, 3000),
                         hi=rng.uniform(4000, 9000)) * np.hanning(grain)
        place(out, pan(g, rng.uniform(-0.8, 0.8)) * rng.uniform(0.1, 0.3)
              * (1 - at / SR), at)
    w = voice("vorsenna", shift=0.78, speed=115, pitch=25)
    word = thicken(w)
    place(out, pan(word, -0.1) * 0.9, int(0.12 * SR))
    place(out, pan(word, 0.1) * 0.9, int(0.135 * SR))
    out = _reverb(out, rng, 1.6, 1.4, 0.35)
    return finish(out)


def valahdys():
    """A jolt and a shudder: impact, clang and a trembling swell."""
    rng = np.random.default_rng(3002)
    n = int(1.3 * SR)
    t = np.arange(n) / SR
    out = np.zeros((n, 2))
    place(out, pan(_boom(n, 140.0, 38.0, 0.35), 0.0) * 1.0, 0)
    hit = shaped_noise(n, rng, lo=200.0, hi=6000.0) * decay(n, 0.06, 0.001)
    place(out, pan(hit, 0.0) * 0.6, 0)
    # metallic clang: inharmonic partials
    clang = np.zeros(n)
    for f, a, tau in ((523.0, 1.0, 0.5), (1187.0, 0.6, 0.35), (1933.0, 0.45, 0.25),
                      (2871.0, 0.3, 0.18), (3617.0, 0.2, 0.12)):
        clang += a * np.sin(2 * np.pi * f * t) * decay(n, tau, 0.001)
    # the shudder: tremolo that slows down as it fades
    trem = 0.5 + 0.5 * np.sin(2 * np.pi * np.cumsum(22.0 - 12.0 * t / t[-1]) / SR)
    out += np.stack([clang * trem, clang * (1 - trem)], axis=1) * 0.35
    swell = shaped_noise(n, rng, lo=300.0, hi=2500.0) * trem * \
        np.exp(-((t - 0.45) / 0.3) ** 2)
    out += pan(swell, 0.0) * 0.25
    out = _reverb(out, rng, 1.2, 1.0, 0.3)
    return finish(out)


def tajuu():
    """'Gets it': a bright bell and an excited 'tajuu!'."""
    rng = np.random.default_rng(3003)
    n = int(1.1 * SR)
    t = np.arange(n) / SR
    out = np.zeros((n, 2))
    bell = np.zeros(n)
    for f, a, tau in ((1568.0, 1.0, 0.45), (3136.0, 0.4, 0.25),
                      (4233.0, 0.25, 0.15), (2349.0, 0.3, 0.3)):
        bell += a * np.sin(2 * np.pi * f * t) * decay(n, tau, 0.001)
    out += np.stack([bell, np.roll(bell, 220)], axis=1) * 0.25
    w = voice("tajuu!", shift=1.12, speed=150, pitch=70)
    word = w
    place(out, pan(word, 0.0), int(0.08 * SR))
    # slap-back echo, left then right
    place(out, pan(word, -0.7) * 0.35, int(0.08 * SR + 0.16 * SR))
    place(out, pan(word, 0.7) * 0.2, int(0.08 * SR + 0.32 * SR))
    out = _reverb(out, rng, 0.8, 0.6, 0.2)
    return finish(out)


def soikkeli():
    """The picture shrinks away: a wobbling falling 'bloop' and 'soikkeli'."""
    rng = np.random.default_rng(3004)
    n = int(1.5 * SR)
    t = np.arange(n) / SR
    out = np.zeros((n, 2))
    f = 880.0 * np.exp(-t / 0.35) + 90.0
    f *= 1.0 + 0.06 * np.sin(2 * np.pi * 9.0 * t)
    ph = np.cumsum(f) / SR
    bloop = (np.sin(2 * np.pi * ph) + 0.3 * np.sin(4 * np.pi * ph)) * \
        decay(n, 0.45, 0.01)
    out += np.stack([bloop, np.sin(2 * np.pi * ph * 1.01) * decay(n, 0.45, 0.01)],
                    axis=1) * 0.4
    w = voice("soikkeli", shift=0.95, speed=125, pitch=55)
    # flanger: mix with a copy under a slowly moving short delay
    idx = np.arange(len(w))
    d = (0.002 + 0.0015 * np.sin(2 * np.pi * 0.9 * idx / SR)) * SR
    fl = np.interp(idx - d, idx, w, left=0.0)
    place(out, np.stack([w + 0.7 * fl, w - 0.7 * fl], axis=1) * 0.6,
          int(0.22 * SR))
    out = _reverb(out, rng, 1.0, 0.9, 0.25)
    return finish(out)


def lepikko():
    """The first black cut: a hard hit and a deep 'lepikko' in a wide room."""
    rng = np.random.default_rng(3005)
    n = int(1.9 * SR)
    out = np.zeros((n, 2))
    place(out, pan(_boom(n, 110.0, 32.0, 0.6), 0.0) * 1.0, 0)
    crack = shaped_noise(n, rng, lo=1500.0, hi=12000.0) * decay(n, 0.09, 0.0005)
    place(out, np.stack([crack, np.roll(crack, 90)], axis=1) * 0.5, 0)
    w = voice("lepikko", shift=0.72, speed=110, pitch=20)
    word = thicken(w)
    place(out, pan(word, 0.0) * 0.75, int(0.15 * SR))
    out = _reverb(out, rng, 2.0, 1.8, 0.45)
    return finish(out)


CATALOGUE = [
    ("vorsenna.wav", vorsenna),
    ("valahdys.wav", valahdys),
    ("tajuu.wav", tajuu),
    ("soikkeli.wav", soikkeli),
    ("lepikko.wav", lepikko),
]
