"""The real program on an X screen of 1280 x 1024 (Xvfb), without and with a window
manager (openbox), as a new user meets it: a window lies wholly inside the screen,
centred; full screen covers the screen with the picture centred between black bars;
the title names the version --version prints; a quit by SIGTERM ends with status 0,
a fatal error's box ends on SIGTERM with status 1, and so does the X server going away.

    desktop_test.py VARNOK

Exits 77 (skipped) when Xvfb, openbox, xwininfo, xprop or xwd is missing
(scripts/install-deps installs them).
"""
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SCREEN = (1280, 1024)
MODE = (640, 400)  # ScreenMode 5: the picture's aspect


class Checks:
    def __init__(self):
        self.failed = []

    def check(self, name, ok, detail=""):
        print(("ok   " if ok else "FAIL ") + name + (f" ({detail})" if detail else ""), flush=True)
        if not ok:
            self.failed.append(name)
        return ok


def start_xvfb():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
                               "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    return server, ":" + number.decode().strip()


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def x_tool(display, *arguments):
    return subprocess.run(arguments, env=dict(os.environ, DISPLAY=display), capture_output=True,
                          text=True, timeout=20).stdout


def window(display, title):
    """The client window whose name starts with title: (id, x, y, width, height), or None."""
    for line in x_tool(display, "xwininfo", "-root", "-tree").splitlines():
        found = re.match(r'\s*(0x[0-9a-f]+) "([^"]*)".*\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if found and found.group(2).startswith(title):
            number, _, width, height, x, y = found.groups()
            return number, int(x), int(y), int(width), int(height)
    return None


def frame(display, client):
    """The window with its frame: left, top, right, bottom edges on the screen."""
    number, x, y, width, height = client
    extents = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", x_tool(display, "xprop", "-id", number,
                                                                   "_NET_FRAME_EXTENTS"))
    left, right, top, bottom = map(int, extents.groups()) if extents else (0, 0, 0, 0)
    return x - left, y - top, x + width + right, y + height + bottom


def wait_for_window(display, title, seconds=15):
    """The window once it has kept its place for half a second."""
    deadline, last, since = time.monotonic() + seconds, None, 0
    while time.monotonic() < deadline:
        now = window(display, title)
        if now and now == last and time.monotonic() - since >= 0.5:
            return now
        if now != last:
            last, since = now, time.monotonic()
        time.sleep(0.1)
    return last


def screen_rows(display):
    """The whole screen as rows of (r, g, b), from xwd's dump of a 24-bit root window."""
    dump = subprocess.run(["xwd", "-root", "-silent"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True, timeout=20).stdout
    header = struct.unpack(">25I", dump[:100])
    header_size, width, height, bits, line = header[0], header[4], header[5], header[11], header[12]
    colours = header[19]
    pixels = dump[header_size + 12 * colours:]
    step = bits // 8
    return [[tuple(pixels[row * line + col * step: row * line + col * step + 3][::-1]) for col in range(width)]
            for row in range(height)]


def picture_box(rows):
    """The smallest box holding every pixel that is not black: left, top, right, bottom."""
    lit_rows = [y for y, row in enumerate(rows) if any(pixel != (0, 0, 0) for pixel in row[::4])]
    lit_cols = [x for x in range(0, len(rows[0]), 4) if any(rows[y][x] != (0, 0, 0) for y in range(0, len(rows), 4))]
    if not lit_rows or not lit_cols:
        return None
    return min(lit_cols), lit_rows[0], max(lit_cols) + 4, lit_rows[-1] + 1


def run_varnok(varnok, display, folder, settings, windowed=None):
    with open(os.path.join(folder, "registry.reg"), "w") as store:
        store.write("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Varnok]\n")
        for name, value in settings.items():
            store.write(f'"{name}"=' + (f'"{value}"' if isinstance(value, str) else "dword:%08x" % value) + "\n")
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy",
               VARNOK_REGISTRY=os.path.join(folder, "registry.reg"))
    for name in ("SDL_VIDEODRIVER", "VARNOK_AUTOMATION", "VARNOK_DEBUGCART", "VARNOK_WINDOWED", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    if windowed is not None:
        env["VARNOK_WINDOWED"] = windowed
    return subprocess.Popen([varnok], cwd=folder, env=env, stderr=subprocess.PIPE, text=True)


def ended(process, seconds):
    try:
        return process.wait(seconds)
    except subprocess.TimeoutExpired:
        return None


def check_placement(checks, varnok, display, folder, title, manager):
    machine = {"ScreenMode": 5, "SoundEmulation": 0}
    # A window: wholly inside the screen (a window manager's panels are none here), centred.
    emulator = run_varnok(varnok, display, folder, machine, windowed="1")
    client = wait_for_window(display, title)
    if checks.check(f"{manager}: the window opens, titled with the version --version prints", client is not None):
        left, top, right, bottom = frame(display, client)
        inside = left >= 0 and top >= 0 and right <= SCREEN[0] and bottom <= SCREEN[1]
        centred = abs(left - (SCREEN[0] - right)) <= 2 and abs(top - (SCREEN[1] - bottom)) <= 2
        whole = client[3] % MODE[0] == 0 and client[3] // MODE[0] == client[4] // MODE[1]
        checks.check(f"{manager}: the window lies wholly inside the screen, centred, at a whole scale",
                     inside and centred and whole, f"frame {left},{top} to {right},{bottom}, picture {client[3]}x{client[4]}")
    os.kill(emulator.pid, signal.SIGTERM)
    checks.check(f"{manager}: SIGTERM quits with status 0", ended(emulator, 10) == 0)

    # Full screen: the whole screen, the picture centred between black bars.
    emulator = run_varnok(varnok, display, folder, dict(machine, Windowed=0))
    client = wait_for_window(display, title)
    covers = client is not None and client[1:] == (0, 0) + SCREEN
    checks.check(f"{manager}: full screen covers the screen", covers, client and f"{client[1:]}")
    time.sleep(1)
    box = picture_box(screen_rows(display))
    scale = min(SCREEN[0] // MODE[0], SCREEN[1] // MODE[1])
    expected = ((SCREEN[0] - MODE[0] * scale) // 2, (SCREEN[1] - MODE[1] * scale) // 2)
    letterboxed = box is not None and abs(box[0] - expected[0]) <= 4 and abs(box[1] - expected[1]) <= 4 and \
        abs(SCREEN[0] - box[2] - expected[0]) <= 4 and abs(SCREEN[1] - box[3] - expected[1]) <= 4
    checks.check(f"{manager}: the picture is centred between black bars", letterboxed, f"picture at {box}")
    os.kill(emulator.pid, signal.SIGTERM)
    status = ended(emulator, 10)
    checks.check(f"{manager}: SIGTERM quits full screen with status 0", status == 0, f"status {status}")
    if status is None:
        emulator.kill()
        emulator.wait()


def check_fatal_box(checks, varnok, display, folder, title):
    emulator = run_varnok(varnok, display, folder, {"Rom0L": "/nonexistent/basic.bin", "Rom0H": "kernal.bin"})
    box = wait_for_window(display, title, 10)
    waiting = emulator.poll() is None and box is not None
    os.kill(emulator.pid, signal.SIGTERM)
    status = ended(emulator, 5)
    if status is None:
        emulator.kill()
        emulator.wait()
    # The box may belong to a process of its own; it goes too.
    deadline = time.monotonic() + 3
    while window(display, title) and time.monotonic() < deadline:
        time.sleep(0.1)
    gone = window(display, title) is None
    checks.check("a fatal error's box ends on SIGTERM with status 1, and leaves the screen",
                 waiting and status == 1 and gone, f"box shown {waiting}, status {status}, gone {gone}")


def main():
    varnok = os.path.abspath(sys.argv[1])
    missing = [tool for tool in ("Xvfb", "openbox", "xwininfo", "xprop", "xwd") if not shutil.which(tool)]
    if missing:
        print("skipped: " + ", ".join(missing) + " not installed (scripts/install-deps)")
        return 77
    version = subprocess.run([varnok, "--version"], capture_output=True, text=True).stdout.split()[-1]
    title = f"Varnok {version} - "
    checks = Checks()
    server, display = start_xvfb()
    folder = tempfile.mkdtemp(prefix="varnok-desktop-")
    manager = None
    try:
        check_fatal_box(checks, varnok, display, folder, title)
        check_placement(checks, varnok, display, folder, title, "no window manager")
        manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(1)
        check_placement(checks, varnok, display, folder, title, "openbox")
        # The X server going away (the session ended) ends the program, not a spin.
        emulator = run_varnok(varnok, display, folder, {"SoundEmulation": 0})
        wait_for_window(display, title)
        stop(server)
        status = ended(emulator, 10)
        checks.check("the display going away ends the program with status 1", status == 1, f"status {status}")
        if status is None:
            emulator.kill()
            emulator.wait()
    finally:
        if manager:
            stop(manager)
        stop(server)
        shutil.rmtree(folder, ignore_errors=True)
    print(f"desktop: {len(checks.failed)} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
