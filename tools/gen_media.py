#!/usr/bin/python3
"""Generate every media file of the demo from code.

    /usr/bin/python3 tools/gen_media.py [--out DIR] [--only NAME ...]

Writes the twelve pictures, the music track and the five samples into DIR
(default: media/ beside this tools/ folder).  Everything is made from
fixed seeds, so two runs give byte-identical files.

Needs Debian's python3-pil and python3-numpy, lame and espeak-ng, and the
DejaVu fonts (fonts-dejavu-core).
"""

import argparse
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "media"))

import numpy as np  # noqa: E402

import encode  # noqa: E402
import music  # noqa: E402
import pictures  # noqa: E402
import samples  # noqa: E402

MUSIC_NAME = "soikkelimetsa.mp3"


def check_picture(name, data, arr, background, subject, keyed):
    dec = encode.decode(data)
    assert dec.shape == arr.shape, (name, dec.shape, arr.shape)
    for x, y in background:
        assert (dec[y, x] == 0).all(), \
            "%s: background (%d,%d) decodes to %s" % (name, x, y, dec[y, x])
    for x, y in subject:
        assert dec[y, x].max() > 0, "%s: subject (%d,%d) is black" % (name, x, y)
    if keyed:
        black = (dec == 0).all(axis=2).mean()
        return "%4.1f%% key black" % (100 * black)
    return ""


def make_pictures(out, only):
    for name, painter, fmt, keyed in pictures.CATALOGUE:
        if only and name not in only:
            continue
        t0 = time.time()
        arr, background, subject = painter()
        if fmt == "gif":
            data = encode.gif_bytes(arr)
        elif fmt == "jpg":
            data = encode.jpeg_bytes(arr, 100 if keyed else encode.JPEG_QUALITY)
        else:
            data = encode.png_bytes(arr)
        note = check_picture(name, data, arr, background, subject, keyed)
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print("%-16s %3dx%-3d %7d bytes %5.1fs %s" % (
            name, arr.shape[1], arr.shape[0], len(data), time.time() - t0, note))


def make_music(out, only):
    if only and MUSIC_NAME not in only:
        return
    t0 = time.time()
    mix = music.master(music.render(), peak_db=-0.5)
    assert mix.shape == (music.LOOP, 2)
    data = encode.mp3_bytes(mix)
    # 192 kbit/s at 44.1 kHz: frames average 144 * 192000 / 44100 bytes
    frames = int(round(len(data) * 44100 / (144 * 192000.0)))
    with open(os.path.join(out, MUSIC_NAME), "wb") as f:
        f.write(data)
    print("%-16s %.3f s loop, %.2f BPM, ~%d frames, %d bytes %5.1fs" % (
        MUSIC_NAME, music.LOOP / 44100.0, music.TEMPO, frames, len(data),
        time.time() - t0))


def make_samples(out, only):
    for name, maker in samples.CATALOGUE:
        if only and name not in only:
            continue
        t0 = time.time()
        x = maker()
        data = encode.wav_bytes(x)
        back, rate = encode.read_wav(data)
        assert rate == 44100 and back.shape == x.shape
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print("%-16s %.2f s, peak %.1f dBFS %5.1fs" % (
            name, len(x) / 44100.0, 20 * np.log10(np.abs(x).max()),
            time.time() - t0))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(HERE), "media"),
                    help="output folder (default: media/)")
    ap.add_argument("--only", nargs="*", default=[],
                    help="make only these files")
    args = ap.parse_args()
    for tool in ("lame", "espeak-ng"):
        if shutil.which(tool) is None:
            sys.exit("gen_media: %s is needed" % tool)
    os.makedirs(args.out, exist_ok=True)
    t0 = time.time()
    make_pictures(args.out, args.only)
    make_samples(args.out, args.only)
    make_music(args.out, args.only)
    print("done in %.1f s" % (time.time() - t0))


if __name__ == "__main__":
    main()
