"""soikkelimetsa: the demo's background track.

Sixteen bars of A minor synthwave at about 120 BPM (Am F C G), shaped to
the demo's run: a quiet pad while the logo crumbles, bass and hats as the
spirit drifts in, the kick under the stamps, a snare build into the
starburst, the full groove with the lead over the rotozoomer and the
forest strip, a breakdown for the black cut-ins, and the groove again
under the end title, whose last beat turns back into the opening pad.

The loop is whole bars.  Its length is 1224 MP3 frames of 1152 samples,
so that after lame's fixed delay (576 + 529 samples) and its minimal
padding the encoded file holds exactly 1225 frames: a decoder that does
not trim the encoder delay (SDL_mixer's) plays 32.000 s per loop with a
1152-sample (26 ms) silent gap at the seam, the least lame allows.
Every tail (reverb, delay, releases) wraps round from the end of the
loop to its start, so the music itself has no seam.
"""

import numpy as np

from synth import (SR, adsr, convolve, decay, midi_hz, osc, pan,
                   reverb_ir, shaped_noise, tone)

FRAME = 1152
LOOP = 1224 * FRAME            # 1410048 samples, about 31.97 s
BARS = 16
STEP = LOOP // (BARS * 16)     # one sixteenth note: 5508 samples
BEAT = STEP * 4
BAR = BEAT * 4
TEMPO = 60.0 * SR / BEAT       # about 120.1 BPM
TAIL = 3 * SR                  # rendered past the loop end, then wrapped

CHORDS = [  # pad voicings (MIDI), bass root, per bar of the 4-bar cycle
    ((57, 60, 64, 71), 33),    # Am9
    ((53, 57, 60, 64), 29),    # Fmaj7
    ((55, 60, 64, 71), 36),    # Cmaj7
    ((55, 59, 62, 69), 31),    # G add9
]

# lead: (bar within an 8-bar phrase, start step, length in steps, MIDI note)
_PHRASE_A = [
    (0, 0, 6, 76), (0, 6, 2, 74), (0, 8, 4, 72), (0, 12, 2, 71), (0, 14, 2, 72),
    (1, 0, 8, 69), (1, 8, 4, 72), (1, 12, 4, 77),
    (2, 0, 6, 76), (2, 6, 2, 79), (2, 8, 4, 76), (2, 12, 2, 74), (2, 14, 2, 72),
    (3, 0, 8, 74), (3, 8, 4, 71), (3, 12, 4, 67),
]
_PHRASE_B = [
    (4, 0, 4, 81), (4, 4, 2, 79), (4, 6, 4, 76), (4, 10, 2, 72), (4, 12, 4, 76),
    (5, 0, 6, 77), (5, 6, 2, 76), (5, 8, 4, 72), (5, 12, 4, 69),
    (6, 0, 4, 79), (6, 4, 4, 76), (6, 8, 4, 84), (6, 12, 2, 83), (6, 14, 2, 79),
    (7, 0, 12, 81),
]


def _section(bar):
    if bar < 2:
        return "intro"
    if bar < 4:
        return "bass"
    if bar < 6:
        return "kick"
    if bar < 12:
        return "full"
    if bar < 14:
        return "break"
    return "outro"


class Track:
    def __init__(self):
        self.buf = np.zeros((LOOP + TAIL, 2))
        self.send = np.zeros((LOOP + TAIL, 2))   # reverb send
        self.echo = np.zeros((LOOP + TAIL, 2))   # ping-pong delay send
        self.kick = np.zeros((LOOP + TAIL, 2))   # kick bus, not ducked
        self.duck = np.ones(LOOP + TAIL)          # side-chain from the kick

    def put(self, at, stereo, rev=0.0, dly=0.0, bus=None):
        n = min(stereo.shape[0], self.buf.shape[0] - at)
        (self.buf if bus is None else bus)[at:at + n] += stereo[:n]
        if rev:
            self.send[at:at + n] += stereo[:n] * rev
        if dly:
            self.echo[at:at + n] += stereo[:n] * dly


# ---------------------------------------------------------------- drums

def kick(rng):
    n = int(0.42 * SR)
    t = np.arange(n) / SR
    f = 44.0 + 120.0 * np.exp(-t / 0.028) + 30.0 * np.exp(-t / 0.12)
    ph = np.cumsum(f) / SR
    body = np.sin(2 * np.pi * ph) * np.exp(-t / 0.22)
    click = shaped_noise(n, rng, lo=1500.0, hi=9000.0) * decay(n, 0.004)
    x = np.tanh(1.8 * (body + 0.35 * click))
    return x / np.abs(x).max()


def snare(rng):
    n = int(0.35 * SR)
    t = np.arange(n) / SR
    tonal = (np.sin(2 * np.pi * 185 * t) + 0.6 * np.sin(2 * np.pi * 330 * t)) \
        * np.exp(-t / 0.05)
    noise = shaped_noise(n, rng, lo=900.0, hi=11000.0) * decay(n, 0.12)
    x = 0.55 * tonal + 0.9 * noise
    return x / np.abs(x).max()


def clap(rng):
    n = int(0.4 * SR)
    noise = shaped_noise(n, rng, lo=800.0, hi=7000.0)
    env = np.zeros(n)
    for k, off in enumerate((0.0, 0.011, 0.023)):
        i = int(off * SR)
        env[i:] += decay(n - i, 0.008 if k < 2 else 0.16) * (0.8 if k < 2 else 1.0)
    x = noise * env
    return x / np.abs(x).max()


def hat(rng, open_=False):
    n = int((0.32 if open_ else 0.07) * SR)
    x = shaped_noise(n, rng, lo=7000.0, hi=16000.0)
    # a little metallic ring from detuned square partials
    t = np.arange(n) / SR
    for f in (3210.0, 4660.0, 6170.0):
        x += 0.15 * np.sign(np.sin(2 * np.pi * f * t))
    x *= decay(n, 0.11 if open_ else 0.018)
    return x / np.abs(x).max()


def crash(rng):
    n = int(2.2 * SR)
    x = shaped_noise(n, rng, lo=3000.0, hi=15000.0) * decay(n, 0.7, 0.002)
    return x / np.abs(x).max()


def riser(rng, n):
    """Noise swell whose colour opens up over n samples."""
    t = np.linspace(0.0, 1.0, n)
    dark = shaped_noise(n, rng, lo=300.0, hi=1500.0)
    bright = shaped_noise(n, rng, lo=2000.0, hi=12000.0)
    x = dark * (1 - t) + bright * t
    return x * t ** 2


# ---------------------------------------------------------------- voices

def bass_note(midi, length, accent=1.0, open_=0.5):
    f = float(midi_hz(midi))
    n = length + int(0.05 * SR)
    t = np.arange(n) / SR
    ph = f * t
    # brightness follows a fast filter envelope: blend of dark and bright tables
    fenv = np.exp(-t / 0.09) * open_
    x = (1 - fenv) * osc("saw", ph, f, bright=0.25, limit=14) + \
        fenv * osc("saw", ph, f, bright=0.9, limit=40)
    x += 0.45 * np.sin(2 * np.pi * ph)           # solid sub
    env = adsr(n, 0.004, 0.18, 0.65, 0.03, length / SR)
    return x * env * accent


def pad_chord(notes, length, rng, bright=0.5):
    n = length + int(1.2 * SR)
    out = np.zeros((n, 2))
    for i, m in enumerate(notes):
        f = float(midi_hz(m))
        for j, (cents, p) in enumerate(((-9.0, -0.7), (0.0, 0.0), (8.0, 0.7))):
            x = tone("saw", f, n, bright=bright, detune_cents=cents,
                     phase0=rng.uniform(), limit=24)
            out += pan(x, p * (0.6 + 0.1 * i)) * (0.22 if j == 1 else 0.18)
    env = adsr(n, 0.35, 0.8, 0.75, 0.55, length / SR)
    return out * env[:, None] / len(notes)


def pluck(midi, length, bright=0.8):
    f = float(midi_hz(midi))
    n = length + int(0.3 * SR)
    t = np.arange(n) / SR
    ph = f * t
    fenv = np.exp(-t / 0.05)
    x = (1 - fenv) * osc("square", ph, f, bright=0.3, limit=12) + \
        fenv * osc("square", ph, f, bright=bright, limit=30)
    return x * decay(n, 0.11, 0.002)


def lead_line(events, start, rng):
    """A monophonic lead with glide and vibrato over a stretch of steps.

    events: (absolute step, length in steps, MIDI); returns stereo audio
    from sample `start` and its length.
    """
    first = min(e[0] for e in events)
    last = max(e[0] + e[1] for e in events)
    n = (last - first) * STEP + int(0.6 * SR)
    t = np.arange(n) / SR
    pitch = np.full(n, float(events[0][2]))
    gate = np.zeros(n)
    for s, ln, m in sorted(events):
        a = (s - first) * STEP
        b = a + ln * STEP
        pitch[a:] = m
        gate[a:b - int(0.03 * SR)] = 1.0
    # glide: smooth the pitch curve over about 40 ms
    k = int(0.04 * SR)
    c = np.cumsum(np.concatenate([np.full(k, pitch[0]), pitch]))
    pitch = (c[k:] - c[:-k]) / k
    # vibrato fades in on each held note
    held = np.zeros(n)
    run = 0
    for i in range(0, n, 256):
        run = run + 256 if gate[i] > 0 else 0
        held[i:i + 256] = run / SR
    vib = 0.2 * np.sin(2 * np.pi * 5.3 * t) * np.clip((held - 0.18) / 0.3, 0, 1)
    f = midi_hz(pitch + vib)
    ph = np.cumsum(f) / SR
    fm = float(np.median(f))
    x = 0.6 * osc("saw", ph, fm, bright=0.75, limit=30) + \
        0.4 * osc("square", ph * 1.003, fm, bright=0.6, limit=30)
    # smooth gate into an amplitude envelope (attack 8 ms, release 60 ms)
    env = np.zeros(n)
    lvl = 0.0
    up, down = 1.0 / (0.008 * SR), np.exp(-1.0 / (0.06 * SR))
    g = gate
    # vectorised one-pole release: run per block of constant gate
    edges = np.flatnonzero(np.diff(np.concatenate([[0.0], g, [0.0]])))
    pos = 0
    for e in list(edges) + [n]:
        e = min(e, n)
        if e <= pos:
            continue
        seg = np.arange(e - pos)
        if g[pos] > 0:
            env[pos:e] = np.minimum(1.0, lvl + (seg + 1) * up)
        else:
            env[pos:e] = lvl * down ** (seg + 1)
        lvl = env[e - 1]
        pos = e
    x = x * env
    return pan(x, 0.05), first * STEP, n


# ---------------------------------------------------------------- arrangement

def render():
    rng = np.random.default_rng(20240601)
    tr = Track()
    K, S, C, H, O, X = (kick(rng), snare(rng), clap(rng), hat(rng),
                        hat(rng, True), crash(rng))

    lead_events = []
    echo_events = []
    for bar in range(BARS):
        sec = _section(bar)
        notes, root = CHORDS[bar % 4]
        b0 = bar * BAR

        # pad on every bar
        bright = {"intro": 0.35, "bass": 0.45, "kick": 0.5, "full": 0.6,
                  "break": 0.55, "outro": 0.55}[sec]
        level = {"intro": 1.5, "bass": 1.2, "kick": 1.1, "full": 0.95,
                 "break": 1.2, "outro": 1.0}[sec]
        tr.put(b0, pad_chord(notes, BAR, rng, bright) * level, rev=0.5)

        # arpeggio: chord tones climbing, sixteenths
        if sec in ("intro", "kick", "full", "outro", "break"):
            seq = [notes[0], notes[1], notes[2], notes[3], notes[0] + 12,
                   notes[3], notes[2], notes[1]]
            for st in range(16):
                if sec == "intro" and st % 2:
                    continue
                m = seq[st % 8] + 12
                vel = (0.5 if st % 4 else 0.75) * (0.8 if sec == "intro" else 1.0)
                tr.put(b0 + st * STEP, pan(pluck(m, STEP), 0.3 if st % 2 else -0.3)
                       * 0.22 * vel, rev=0.25, dly=0.5)

        # bass
        if sec in ("bass", "kick", "full", "outro"):
            for st in range(0, 16, 2):
                m = root + (12 if (sec != "bass" and st % 4 == 2) else 0)
                op = 0.35 if sec == "bass" else 0.8
                acc = 1.0 if st % 4 == 0 else 0.85
                tr.put(b0 + st * STEP, pan(bass_note(m, STEP * 2 - 200, acc, op),
                                           0.0) * 0.3)
        elif sec == "break":
            tr.put(b0, pan(bass_note(root, BAR - 400, 1.0, 0.2), 0.0) * 0.3)

        # drums
        kick_on = sec in ("kick", "full", "outro")
        for beat in range(4):
            at = b0 + beat * BEAT
            if kick_on and not (bar == 15 and beat == 3):
                tr.put(at, pan(K, 0.0) * 0.8, bus=tr.kick)
                # side-chain: everything else ducks under the kick
                d = 1.0 - 0.45 * np.exp(-np.arange(BEAT) / (0.11 * SR))
                tr.duck[at:at + BEAT] = np.minimum(tr.duck[at:at + BEAT], d)
            if beat in (1, 3):
                if sec in ("full", "outro"):
                    tr.put(at, pan(S, 0.05) * 0.6, rev=0.25)
                    tr.put(at, pan(C, -0.1) * 0.4, rev=0.35)
                elif sec == "break":
                    tr.put(at, pan(C, -0.1) * 0.4, rev=0.6)
        for st in range(16):
            at = b0 + st * STEP
            if sec in ("full", "outro"):
                if st % 4 == 2:
                    tr.put(at, pan(O, 0.25) * 0.16, rev=0.1)
                else:
                    tr.put(at, pan(H, 0.25) * (0.13 if st % 2 else 0.09))
            elif sec in ("bass", "kick") and st % 4 == 2:
                tr.put(at, pan(H, 0.25) * 0.14)
            elif sec == "break" and st % 2 == 1:
                tr.put(at, pan(H, 0.3) * 0.06, rev=0.2)
        if bar in (6, 10, 14):
            tr.put(b0, pan(X, -0.3) * 0.3, rev=0.3)

        # builds: snare rolls into the drop and into the loop's restart
        if bar == 5:
            for st in range(8, 16):
                v = 0.2 + 0.45 * (st - 8) / 7.0
                tr.put(b0 + st * STEP, pan(S, 0.0) * v, rev=0.3)
            tr.put(b0, pan(riser(rng, BAR), 0.0) * 0.35, rev=0.4)
        if bar == 15:
            for st in range(12, 16):
                tr.put(b0 + st * STEP, pan(S, 0.0) * (0.3 + 0.1 * (st - 12)),
                       rev=0.3)

        # lead: phrase A over bars 6-9, B over 10-13, the end of A again
        if 6 <= bar < 14:
            ph = (bar - 6) % 8
            for pb, s, ln, m in _PHRASE_A + _PHRASE_B:
                if pb == ph:
                    lead_events.append((bar * 16 + s, ln, m))
        if bar >= 14:
            for pb, s, ln, m in _PHRASE_A:
                if pb == bar - 12:
                    echo_events.append((bar * 16 + s, ln, m - 12))

    lead, at, _ = lead_line(lead_events, 0, rng)
    tr.put(at, lead * 0.36, rev=0.35, dly=0.35)
    lead2, at2, _ = lead_line(echo_events, 0, rng)
    tr.put(at2, lead2 * 0.3, rev=0.5, dly=0.4)

    return mixdown(tr, rng)


def _wrap(x):
    """Fold what was rendered past the loop end back onto its start."""
    y = x[:LOOP].copy()
    y[:x.shape[0] - LOOP] += x[LOOP:]
    return y


def mixdown(tr, rng):
    # everything but the kick pumps under the kick
    duck = tr.duck[:LOOP]
    dry = _wrap(tr.buf)
    send = _wrap(tr.send)
    echo = _wrap(tr.echo)

    # ping-pong delay, dotted eighth, circular so it wraps seamlessly
    d = 3 * STEP
    wet = np.zeros_like(echo)
    g = 0.55
    for k in range(1, 7):
        tap = np.roll(echo, k * d, axis=0) * g ** k
        if k % 2:
            tap = tap[:, ::-1]
        wet += tap
    wet = _soften(wet)

    ir = reverb_ir(2.6, rng, decay_s=2.4)
    rev = convolve(send + 0.3 * wet, ir, circular_len=LOOP)

    mix = dry + 0.55 * wet + 0.45 * rev
    mix *= np.clip(duck, 0.5, 1.0)[:, None] ** 0.6
    mix += _wrap(tr.kick)
    # master: gentle glue, then a soft limiter
    mix -= mix.mean(axis=0, keepdims=True)
    peak = np.abs(mix).max()
    mix = np.tanh(1.6 * mix / peak) / np.tanh(1.6)
    return mix


def _soften(x):
    """Darken delay repeats a little (simple moving-average low-pass)."""
    k = 6
    c = np.cumsum(np.concatenate([x[-k:], x], axis=0), axis=0)
    return (c[k:] - c[:-k]) / k


def master(mix, peak_db=-1.0):
    peak = np.abs(mix).max()
    return mix * (10 ** (peak_db / 20.0) / peak)
