"""Shared synthesis helpers: wavetables, envelopes, noise shaping."""

import numpy as np

SR = 44100
TABLE = 4096


def midi_hz(n):
    return 440.0 * 2.0 ** ((np.asarray(n, dtype=np.float64) - 69.0) / 12.0)


_tables = {}


def table(shape, nharm, bright=1.0):
    """One band-limited cycle of a waveform, cached.

    shape: 'saw', 'square' or 'tri'; bright rolls off the upper harmonics
    (1 = plain, smaller = darker, like a fixed low-pass).
    """
    key = (shape, int(nharm), round(bright, 4))
    if key in _tables:
        return _tables[key]
    ph = np.arange(TABLE) / TABLE
    out = np.zeros(TABLE)
    for k in range(1, int(nharm) + 1):
        if shape == "saw":
            a = 1.0 / k
        elif shape == "square":
            a = 1.0 / k if k % 2 else 0.0
        elif shape == "tri":
            a = (1.0 / (k * k)) * (1 if (k // 2) % 2 == 0 else -1) if k % 2 else 0.0
        else:
            raise ValueError(shape)
        if a == 0.0:
            continue
        a *= np.exp(-(k - 1) * (1.0 - bright) * 0.35) if bright < 1 else 1.0
        out += a * np.sin(2 * np.pi * k * ph)
    out /= max(np.abs(out).max(), 1e-9)
    _tables[key] = out
    return out


def harmonics_for(freq, limit=60):
    return int(max(1, min(limit, (SR * 0.45) // max(freq, 1.0))))


def osc(shape, phase_cycles, freq, bright=1.0, limit=60):
    """Read a wavetable at the given phase (in cycles)."""
    tab = table(shape, harmonics_for(freq, limit), bright)
    pos = (phase_cycles % 1.0) * TABLE
    i0 = pos.astype(np.int64) % TABLE
    frac = pos - np.floor(pos)
    i1 = (i0 + 1) % TABLE
    return tab[i0] * (1 - frac) + tab[i1] * frac


def tone(shape, freq, n, bright=1.0, detune_cents=0.0, phase0=0.0, limit=60):
    f = freq * 2.0 ** (detune_cents / 1200.0)
    t = np.arange(n) / SR
    return osc(shape, phase0 + f * t, f, bright, limit)


def adsr(n, a, d, s, r, gate):
    """Envelope of n samples; a, d, r and gate in seconds."""
    t = np.arange(n) / SR
    env = np.where(t < a, t / max(a, 1e-6),
                   s + (1 - s) * np.exp(-(t - a) / max(d, 1e-6)))
    g = gate
    # level when the gate closes, then exponential release
    lvl = np.interp(g, t, env) if g < t[-1] else env[-1]
    rel = lvl * np.exp(-(t - g) / max(r, 1e-6))
    return np.where(t < g, env, rel)


def decay(n, tau, attack=0.001):
    t = np.arange(n) / SR
    return np.minimum(t / attack, 1.0) * np.exp(-t / tau)


def shaped_noise(n, rng, lo=None, hi=None, tilt=0.0):
    """White noise band-limited in the frequency domain."""
    x = rng.standard_normal(n)
    X = np.fft.rfft(x)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    g = np.ones_like(f)
    if lo:
        g *= 1.0 / (1.0 + (lo / np.maximum(f, 1.0)) ** 4)
    if hi:
        g *= 1.0 / (1.0 + (f / hi) ** 4)
    if tilt:
        g *= (np.maximum(f, 20.0) / 1000.0) ** tilt
    y = np.fft.irfft(X * g, n)
    return y / max(np.abs(y).max(), 1e-9)


def lowpass_fft(x, hi, lo=None):
    """Zero-phase static filter over a whole (n,) or (n, ch) signal."""
    n = x.shape[0]
    X = np.fft.rfft(x, axis=0)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    g = 1.0 / (1.0 + (f / hi) ** 4) if hi else np.ones_like(f)
    if lo:
        g = g / (1.0 + (lo / np.maximum(f, 1.0)) ** 4)
    if x.ndim == 2:
        g = g[:, None]
    return np.fft.irfft(X * g, n, axis=0)


def pan(mono, p):
    """Equal-power pan, p from -1 (left) to 1 (right)."""
    a = (p + 1.0) * np.pi / 4.0
    return np.stack([mono * np.cos(a), mono * np.sin(a)], axis=1)


def reverb_ir(seconds, rng, decay_s, predelay=0.02, damp=6000.0):
    n = int(seconds * SR)
    t = np.arange(n) / SR
    ir = np.zeros((n, 2))
    for ch in range(2):
        noise = shaped_noise(n, rng, lo=150.0, hi=damp)
        ir[:, ch] = noise * np.exp(-t / (decay_s / 6.9))
    ir[: int(predelay * SR)] = 0.0
    ir /= np.sqrt((ir ** 2).sum(axis=0, keepdims=True))
    return ir


def convolve(x, ir, circular_len=None):
    """FFT convolution of (n, 2) x with (m, 2) ir.

    With circular_len the result wraps around that length, which keeps a
    looping track seamless.
    """
    if circular_len:
        n = circular_len
        X = np.fft.rfft(x[:n], n, axis=0)
        irp = np.zeros((n, 2))
        irp[: ir.shape[0]] = ir[:n]
        H = np.fft.rfft(irp, n, axis=0)
        return np.fft.irfft(X * H, n, axis=0)
    n = x.shape[0] + ir.shape[0] - 1
    size = 1 << (n - 1).bit_length()
    X = np.fft.rfft(x, size, axis=0)
    H = np.fft.rfft(ir, size, axis=0)
    return np.fft.irfft(X * H, size, axis=0)[:n]
