"""Writing pictures and sounds to the formats the demo loads."""

import io
import subprocess
import wave

import numpy as np
from PIL import Image

JPEG_QUALITY = 95


def _palette_for(pixels, colours):
    """Median-cut palette of the given (n, 3) uint8 pixels."""
    if len(pixels) == 0:
        return np.zeros((0, 3), dtype=np.uint8)
    im = Image.fromarray(pixels.reshape(1, -1, 3))
    q = im.quantize(colors=colours, method=Image.Quantize.MEDIANCUT,
                    dither=Image.Dither.NONE)
    used = sorted(set(np.asarray(q).ravel().tolist()))
    pal = np.array(q.getpalette()[:3 * 256], dtype=np.uint8).reshape(-1, 3)
    return pal[used]


_BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9],
                    [15, 7, 13, 5]], dtype=np.float64) / 16.0 - 0.47


def gif_bytes(rgb):
    """Encode an RGB uint8 array as a 256-colour GIF.

    Palette entry 0 is exact black and every pure black pixel uses it;
    no other pixel is mapped to it, so black keys and nothing else does.
    A light ordered dither smooths the glows.
    """
    h, w, _ = rgb.shape
    flat = rgb.reshape(-1, 3)
    black = (flat == 0).all(axis=1)
    pal = _palette_for(flat[~black], 255)
    # keep exact black out of the subject's colours
    pal = pal[(pal.astype(int).sum(axis=1) > 0)]
    full = np.zeros((256, 3), dtype=np.uint8)
    full[1:1 + len(pal)] = pal
    palf = pal.astype(np.float64)
    yy, xx = np.mgrid[0:h, 0:w]
    dith = _BAYER4[yy % 4, xx % 4].reshape(-1, 1) * 6.0
    src = flat.astype(np.float64) + dith
    idx = np.zeros(len(flat), dtype=np.uint8)
    todo = np.nonzero(~black)[0]
    for start in range(0, len(todo), 4096):
        sel = todo[start:start + 4096]
        d = ((src[sel, None, :] - palf[None, :, :]) ** 2).sum(axis=2)
        idx[sel] = 1 + d.argmin(axis=1)
    im = Image.frombytes("P", (w, h), idx.tobytes())
    im.putpalette(full.ravel().tolist())
    buf = io.BytesIO()
    im.save(buf, format="GIF", optimize=False)
    return buf.getvalue()


def jpeg_bytes(rgb, quality=JPEG_QUALITY):
    """Baseline JPEG without chroma subsampling.

    Colour-keyed pictures use quality 100: JPEG ringing leaves near-black
    specks beside sharp edges that the key does not remove, and the finest
    quantisation keeps most of them at exact black.
    """
    buf = io.BytesIO()
    Image.fromarray(rgb).save(buf, format="JPEG", quality=quality,
                              subsampling=0, optimize=True)
    return buf.getvalue()


def png_bytes(rgb):
    buf = io.BytesIO()
    Image.fromarray(rgb).save(buf, format="PNG", optimize=False,
                              compress_level=9)
    return buf.getvalue()


def decode(data):
    """Decode picture bytes the way a loader sees them (as RGB)."""
    return np.asarray(Image.open(io.BytesIO(data)).convert("RGB"))


def wav_bytes(samples, rate=44100):
    """16-bit PCM WAV from float samples in -1..1, shape (n,) or (n, ch)."""
    a = np.asarray(samples, dtype=np.float64)
    if a.ndim == 1:
        a = a[:, None]
    pcm = np.clip(np.round(a * 32767.0), -32768, 32767).astype("<i2")
    buf = io.BytesIO()
    with wave.open(buf, "wb") as wf:
        wf.setnchannels(a.shape[1])
        wf.setsampwidth(2)
        wf.setframerate(rate)
        wf.writeframes(pcm.tobytes())
    return buf.getvalue()


def read_wav(data):
    with wave.open(io.BytesIO(data), "rb") as wf:
        ch, sw, rate, n = (wf.getnchannels(), wf.getsampwidth(),
                           wf.getframerate(), wf.getnframes())
        raw = wf.readframes(n)
    assert sw == 2, "expected 16-bit PCM"
    a = np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768.0
    return a.reshape(-1, ch), rate


def mp3_bytes(samples, rate=44100, kbps=192):
    """Encode stereo float samples with lame, CBR, without the Info tag.

    The Info/LAME tag frame would be decoded as an extra frame of silence
    by decoders that ignore it, so we leave it out.
    """
    wav = wav_bytes(samples, rate)
    res = subprocess.run(
        ["lame", "--silent", "-t", "--cbr", "-b", str(kbps), "-q", "2",
         "-m", "j", "-", "-"],
        input=wav, stdout=subprocess.PIPE, check=True)
    return res.stdout
