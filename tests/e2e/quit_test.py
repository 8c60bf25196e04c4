#!/usr/bin/python3
"""Quitting the real demo in a real X window (under Xvfb): closing the
window, holding Escape, and Ctrl-C (SIGINT) each end the run at once, with
exit status 0 and without the final tick line.

usage: quit_test.py DEMO_BINARY MEDIA_DIR
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, protocol
from Xlib.ext import xtest

DEMO, MEDIA = sys.argv[1], sys.argv[2]
# A generous bound that only catches a demo that does not quit at all.
HANG = 10.0


def start_xvfb():
    for number in range(70, 100):
        if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        name = f":{number}"
        for _ in range(100):
            try:
                return server, name, display.Display(name)
            except Exception:
                time.sleep(0.05)
        server.kill()
    sys.exit("quit_test: no Xvfb display could be started")


def demo_window(d, pid):
    """The top-level window the demo maps, once it is there."""
    pid_atom = d.intern_atom("_NET_WM_PID")
    deadline = time.time() + HANG
    while time.time() < deadline:
        for child in d.screen().root.query_tree().children:
            prop = child.get_full_property(pid_atom, X.AnyPropertyType)
            if prop is not None and prop.value[0] == pid and child.get_attributes().map_state == X.IsViewable:
                return child
        time.sleep(0.05)
    return None


def run_case(name, d, quit_action):
    out = tempfile.TemporaryFile()
    # A real X window, whatever driver the calling environment names.
    env = dict(os.environ, DISPLAY=d.get_display_name(), SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy")
    demo = subprocess.Popen([DEMO], cwd=MEDIA, env=env, stdout=out, stderr=subprocess.STDOUT)
    # Well into the intro: the mode set may replace the first window.
    time.sleep(1.5)
    window = demo_window(d, demo.pid)
    if window is None:
        demo.kill()
        return f"{name}: the demo's window never appeared"
    quit_action(d, window, demo)
    try:
        status = demo.wait(HANG)
    except subprocess.TimeoutExpired:
        demo.kill()
        return f"{name}: the demo did not quit"
    finally:
        release_escape(d)
    out.seek(0)
    lines = out.read().decode().splitlines()
    if status != 0:
        return f"{name}: exit status {status}, output {lines}"
    if lines != ["jee"]:
        return f"{name}: expected only the music line before the quit, got {lines}"
    print(f"quit_test: {name}: quit with status 0")
    return None


def close_window(d, window, demo):
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    d.flush()


def hold_escape(d, window, demo):
    window.set_input_focus(X.RevertToParent, X.CurrentTime)
    d.sync()
    xtest.fake_input(d, X.KeyPress, d.keysym_to_keycode(0xff1b))
    d.sync()


def release_escape(d):
    xtest.fake_input(d, X.KeyRelease, d.keysym_to_keycode(0xff1b))
    d.sync()


def interrupt(d, window, demo):
    demo.send_signal(signal.SIGINT)


def main():
    server, _, d = start_xvfb()
    try:
        failures = [f for f in (run_case("window closed", d, close_window),
                                run_case("Escape held", d, hold_escape),
                                run_case("Ctrl-C", d, interrupt)) if f]
    finally:
        d.close()
        server.terminate()
        server.wait()
    for f in failures:
        print("quit_test:", f)
    print(f"{3 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
