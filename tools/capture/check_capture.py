#!/usr/bin/python3
"""Checks the capture tool against the demo in the tree.

usage: check_capture.py CAPTURE WORKDIR MEDIA

- Two captures with the same options write the same PNGs, byte for byte, and
  as many as the length and the rate give.
- A capture of chosen frames, made alongside the video, gives the very same
  pictures as the full set.
- The video is H.264 at the rate asked, 31.5 s long within a frame, with an
  AAC soundtrack in which the music plays from its start (and loops), and
  each sample starts within one frame of the moment the demo started it,
  found by analysing the sound itself.
"""

import hashlib
import json
import os
import shutil
import subprocess
import sys

import numpy as np
from PIL import Image

FPS = 60
LENGTH = 31.5
RATE = 44100
FRAME = 1.0 / FPS

failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)


def run_capture(capture, media, *args):
    result = subprocess.run([capture, "--media", media, "--fps", str(FPS), "--png-level", "1", *args],
                            capture_output=True, text=True, check=False)
    sys.stderr.write(result.stderr)
    if result.returncode != 0:
        sys.exit(f"capture failed with status {result.returncode}")
    return result.stdout


def read_timeline(path):
    timeline = {"scene": [], "sample": [], "still": []}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            words = line.split()
            key = words[0]
            if key == "scene":
                timeline["scene"].append((int(words[1]), float(words[2]) / 1000, int(words[4])))
            elif key == "sample":
                timeline["sample"].append((words[2], float(words[1]) / 1000, int(words[6])))
            elif key == "still":
                timeline["still"].append((int(words[1]), words[3]))
            elif key == "music":
                timeline["music"] = (float(words[1]) / 1000, words[2])
            else:
                timeline[key] = words[1:]
    return timeline


def digests(folder):
    return {name: hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()
            for name in sorted(os.listdir(folder))}


def decode(path):
    """The file's sound at the soundtrack's rate, in its own channels: a mono
    file is not spread to stereo here, since ffmpeg would lower it by 3 dB
    where the mixer plays it on both sides at full level."""
    command = ["ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries", "stream=channels",
               "-of", "csv=p=0", path]
    channels = int(subprocess.run(command, capture_output=True, check=True, text=True).stdout.strip())
    command = ["ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "s16le", "-ar", str(RATE), "-"]
    raw = subprocess.run(command, capture_output=True, check=True).stdout
    return np.frombuffer(raw, dtype="<i2").reshape(-1, channels).astype(np.float64)


def correlate(signal, template):
    """Plain cross-correlation of a template over a signal, for every lag
    at which the template lies wholly inside it."""
    n = len(signal) + len(template)
    size = 1 << (n - 1).bit_length()
    spectrum = np.fft.rfft(signal, size) * np.conj(np.fft.rfft(template, size))
    full = np.fft.irfft(spectrum, size)
    return full[: len(signal) - len(template) + 1]


def locate(mix, template, expected, reach):
    """Where the template starts in the mix, searched within `reach` seconds
    of `expected`; returns (seconds, gain of the template at that place)."""
    lo = max(0, int((expected - reach) * RATE))
    hi = min(len(mix), int((expected + reach) * RATE) + len(template))
    window = mix[lo:hi]
    scores = correlate(window, template)
    lag = int(np.argmax(scores))
    piece = window[lag: lag + len(template)]
    gain = float(np.dot(piece, template) / np.dot(template, template))
    return (lo + lag) / RATE, gain


def mono(stereo):
    return stereo.mean(axis=1)


def probe(path):
    command = ["ffprobe", "-v", "error", "-show_entries",
               "format=duration:stream=codec_type,codec_name,r_frame_rate,nb_frames,sample_rate,duration",
               "-of", "json", path]
    return json.loads(subprocess.run(command, capture_output=True, check=True, text=True).stdout)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    capture, work, media = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    path = lambda name: os.path.join(work, name)  # noqa: E731

    # --- the same options twice: the same frames ---
    run_capture(capture, media, "--frames", path("a"), "--timeline", path("a.txt"))
    run_capture(capture, media, "--frames", path("b"), "--timeline", path("b.txt"))
    a, b = digests(path("a")), digests(path("b"))
    count = round(LENGTH * FPS)
    check(len(a) == count, f"{len(a)} frames for {LENGTH} s at {FPS} fps (expected {count})")
    check(sorted(a) == [f"frame_{i:05d}.png" for i in range(count)], "frames numbered from 0 without gaps")
    check(a == b, "two captures with the same options write identical PNGs")
    check(open(path("a.txt")).read() == open(path("b.txt")).read(), "and identical timelines")
    # The start-up wait shows black; after it the demo moves (it stands still
    # only before the logo crumbles and after the final leap).
    distinct = len(set(a.values()))
    check(distinct > count // 3, f"the frames show the demo moving ({distinct} distinct pictures)")
    with Image.open(os.path.join(path("a"), "frame_00000.png")) as first:
        check(first.getbbox() is None, "the first frame, in the start-up wait, is black")
    with Image.open(os.path.join(path("a"), f"frame_{count - 1:05d}.png")) as last:
        check(last.getbbox() is not None, "the last frame shows the end scene")
    timeline = read_timeline(path("a.txt"))
    check(int(timeline["frames"][0]) == count, "the timeline counts the same frames")

    # --- the video, with chosen stills taken in the same run ---
    chosen = ["0.25", "2.0", "12.5", "30.0", "0:1.35", "4:1.6", "7:0.7"]
    out = run_capture(capture, media, "--video", path("c.mp4"), "--timeline", path("c.txt"),
                      "--frames", path("c"), "--at", ",".join(chosen))
    timeline = read_timeline(path("c.txt"))
    stills = timeline["still"]
    check(sorted(item for _, item in stills) == sorted(chosen), "a still for every chosen time")
    c = digests(path("c"))
    check(len(c) == len(stills) and all(a.get(name) == digest for name, digest in c.items()),
          "chosen stills are the very frames of the full capture")
    check(f"frame_{int(2.0 * FPS):05d}.png" in c, "a time picks the frame shown at that time")

    info = probe(path("c.mp4"))
    streams = {s["codec_type"]: s for s in info["streams"]}
    video, audio = streams.get("video", {}), streams.get("audio", {})
    check(video.get("codec_name") == "h264" and video.get("r_frame_rate") == f"{FPS}/1",
          f"H.264 video at {FPS} fps ({video.get('codec_name')}, {video.get('r_frame_rate')})")
    check(int(video.get("nb_frames", 0)) == count, f"the video has {video.get('nb_frames')} frames")
    duration = float(info["format"]["duration"])
    check(abs(duration - LENGTH) <= FRAME, f"the video lasts {duration:.4f} s, {LENGTH} s within a frame")
    check(audio.get("codec_name") == "aac" and audio.get("sample_rate") == str(RATE),
          f"AAC sound at {RATE} Hz ({audio.get('codec_name')}, {audio.get('sample_rate')})")

    # --- the soundtrack, analysed ---
    mix = decode(path("c.mp4"))
    check(abs(len(mix) / RATE - LENGTH) <= FRAME, f"the soundtrack lasts {len(mix) / RATE:.4f} s")
    mix_mono = mono(mix)
    samples = timeline["sample"]
    busy = [(at, at + frames / RATE) for _, at, frames in samples]

    def quiet(t0, t1):
        return all(t1 <= s or t0 >= e for s, e in busy)

    # The demo's own diagnostic lines: "jee", then a tick line at each hand-over.
    ticks = [int(line) for line in out.split("\n")[1:] if line]
    names = [name for name, _, _ in samples]
    check(names == ["vorsenna", "valahdys", "tajuu", "soikkeli", "lepikko"],
          f"the five samples, in the demo's order ({' '.join(names)})")
    handing_over = {"vorsenna": 0, "valahdys": 2, "soikkeli": 4}
    for name, at, frames in samples:
        if name in handing_over and handing_over[name] < len(ticks):
            tick = ticks[handing_over[name]]
            check(abs(tick / 1000 - at) <= 0.001,
                  f"{name} starts as its scene hands over (tick line {tick}, sample at {at:.3f} s)")
        wav = mono(decode(os.path.join(media, name + ".wav")))[: 2 * RATE]
        found, gain = locate(mix_mono, wav, at, 0.25)
        check(abs(found - at) <= FRAME,
              f"{name}: heard from {found:.4f} s, started at {at:.4f} s ({(found - at) * 1000:+.1f} ms)")
        check(0.8 < gain < 1.2, f"{name}: at full volume (gain {gain:.2f})")

    start, music_file = timeline["music"]
    music = mono(decode(os.path.join(media, music_file)))
    silent = np.abs(mix[: max(0, int((start - FRAME) * RATE))]).max(initial=0)
    check(silent < 64, f"silence before the music starts at {start:.3f} s (peak {silent:.0f})")
    fade_end = start + 2.1
    # A second of music where no sample plays, after the fade-in, found by its
    # own waveform: it sits where the music's start puts it.
    length = len(music) / RATE
    offsets = [t for t in np.arange(fade_end - start, min(length, LENGTH - start) - 1.0, 0.25)
               if quiet(start + t, start + t + 1.0)]
    check(bool(offsets), "some stretch of music without samples to look at")
    if offsets:
        t = offsets[0]
        excerpt = music[int(t * RATE): int((t + 1.0) * RATE)]
        found, gain = locate(mix_mono, excerpt, start + t, 0.5)
        check(abs(found - (start + t)) <= FRAME,
              f"music from its start: its {t:.2f} s heard at {found:.4f} s ({(found - start - t) * 1000:+.1f} ms)")
        check(abs(gain - 25 / 128) < 0.03, f"music at volume 25 of 128 (gain {gain * 128:.1f}/128)")
    # It loops: its opening comes back after its length.
    loops = [start + k * length for k in range(1, 10) if start + k * length + 1.2 < LENGTH]
    loops = [t for t in loops if quiet(t, t + 1.0)]
    if loops:
        excerpt = music[: RATE]
        found, _ = locate(mix_mono, excerpt, loops[0], 0.5)
        check(abs(found - loops[0]) <= FRAME, f"the music loops: it starts again at {found:.4f} s")

    if failures:
        print(f"{len(failures)} checks failed; the captures are left in {work}")
        sys.exit(1)
    shutil.rmtree(work, ignore_errors=True)
    print("all checks passed")


if __name__ == "__main__":
    main()
