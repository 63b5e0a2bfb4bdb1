"""Opens the built page in headless Chromium and checks what a user would see: the
open ROM boots and runs its demo, RUN/STOP gives READY., keys pressed and released
at once all reach the machine, a dropped program and a chosen disk image start,
LOAD"*",8 and RUN typed on the keyboard load from the drive of dropped files, a
screenshot downloads as a BMP file, and the page also works from a plain web server.
Prints the speed at real time (frames per second and processor use) and in warp,
beside the native frame benchmark, and keeps a picture of the page.

    page_test.py PAGE_DIR OUTPUT_DIR [FRAME_BENCH]
"""
import base64
import functools
import json
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from cdp import Chromium, ProtocolError
from machine_files import bench_program, border_program, disk_image

ROM_BORDER = 0x46  # what the open ROM's start puts in $FF19
OWN_ROM_BORDER = 0x3A  # the same KERNAL changed to start with another border
PROGRAM_BORDER = 0x32
DISK_BORDER = 0x55
MEASURE_SECONDS = 5.0

# Machine characters as host keys by position: (KeyboardEvent.code, with Shift).
KEYS = {c: ("Key" + c, False) for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}
KEYS.update({str(d): ("Digit" + str(d), False) for d in range(10)})
KEYS.update({'"': ("Digit2", True), "*": ("Backslash", False), ",": ("Comma", False),
             "$": ("Digit4", True), " ": ("Space", False), "\r": ("Enter", False)})
REAL_BASIC, REAL_KERNAL = "basic-318006-01.bin", "kernal-318004-05.bin"


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = []

    def check(self, name, ok, detail=""):
        print(("ok   " if ok else "FAIL ") + name + (f" ({detail})" if detail else ""), flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed.append(name)
        return ok


class Page:
    def __init__(self, browser):
        self.browser = browser

    def js(self, expression, timeout=30):
        return self.browser.evaluate(expression, timeout)

    def key(self, code, down, shift=False):
        self.browser.send("Input.dispatchKeyEvent", {
            "type": "keyDown" if down else "keyUp", "code": code, "key": code,
            "modifiers": 8 if shift else 0})

    def tap(self, code, shift=False):
        """A key held for a few frames, as a person types."""
        if shift:
            self.key("ShiftLeft", True)
        self.key(code, True, shift)
        time.sleep(0.07)
        self.key(code, False, shift)
        if shift:
            self.key("ShiftLeft", False)
        time.sleep(0.07)

    def type(self, text):
        for c in text:
            code, shift = KEYS[c]
            self.tap(code, shift)

    def paste(self, text):
        """Every key pressed and released at once, as a paste or a tool typing does: all
        the events in one task of the page, between two of the machine's turns."""
        events = []
        for c in text:
            code, shift = KEYS[c]
            events += [("ShiftLeft", True)] if shift else []
            events += [(code, True), (code, False)]
            events += [("ShiftLeft", False)] if shift else []
        self.js(f"""(() => {{ for (const [code, down] of {json.dumps(events)})
            window.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup', {{ code, key: code }})); }})()""")

    def frames(self):
        return self.js("varnok.frames()")

    def border(self):
        value = self.js("varnok.memory(0xFF19, 1)[0]")
        return None if value is None else value & 0x7F

    def screen(self):
        return self.js("varnok.screenText()") or ""

    def wait_screen(self, text, timeout):
        return self.browser.wait_for(f"varnok.screenText().includes({text!r})", timeout)

    def wait_border(self, colour, timeout):
        return self.browser.wait_for(f"(varnok.memory(0xFF19, 1)[0] & 0x7F) === {colour}", timeout)

    CORNER_PIXEL = ("Array.from(document.getElementById('screen').getContext('2d')"
                    ".getImageData(2, 2, 1, 1).data.slice(0, 3))")

    def corner_pixel(self):
        return self.js(self.CORNER_PIXEL)

    def click(self, button_id):
        self.js(f"document.getElementById({button_id!r}).click()")

    def choose_file(self, path, selector="#file"):
        document = self.browser.send("DOM.getDocument")["root"]["nodeId"]
        node = self.browser.send("DOM.querySelector", {"nodeId": document, "selector": selector})["nodeId"]
        self.browser.send("DOM.setFileInputFiles", {"nodeId": node, "files": [path]})

    def drop_file(self, path):
        """Drops a file from disk on the screen: the file is taken through a file input of
        the test's own, since a headless browser has no desktop to drag from."""
        self.js("""(() => { const input = document.createElement('input');
            input.type = 'file'; input.id = 'test-drop-source'; input.hidden = true;
            document.body.appendChild(input); })()""")
        self.choose_file(path, "#test-drop-source")
        self.js("""(() => { const input = document.getElementById('test-drop-source');
            const data = new DataTransfer(); data.items.add(input.files[0]); input.remove();
            const at = { bubbles: true, cancelable: true, dataTransfer: data };
            const screen = document.getElementById('screen');
            for (const type of ['dragenter', 'dragover', 'drop']) screen.dispatchEvent(new DragEvent(type, at)); })()""")

    def screenshot(self, path):
        """The whole page, the key table below the screen included."""
        size = self.browser.send("Page.getLayoutMetrics")["cssContentSize"]
        clip = {"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1}
        data = self.browser.send("Page.captureScreenshot",
                                 {"format": "png", "clip": clip, "captureBeyondViewport": True})["data"]
        with open(path, "wb") as file:
            file.write(base64.b64decode(data))

    def open(self, url):
        self.browser.send("Page.navigate", {"url": url})
        return self.browser.wait_for("!!(window.varnok && varnok.state.running && varnok.frames() > 25)", 60)


def measure(page, seconds):
    """Frames the machine presented per second of wall time, and the processor time of
    the page's main thread and of the whole browser per second, over `seconds`."""
    browser = page.browser

    def task_seconds():
        metrics = browser.send("Performance.getMetrics")["metrics"]
        return next(m["value"] for m in metrics if m["name"] == "TaskDuration")

    def frames_at():
        """The frame count and the page's clock, read together."""
        frames, milliseconds = page.js("[varnok.frames(), performance.now()]")
        return frames, milliseconds / 1000

    (frames0, page0), task0, cpu0 = frames_at(), task_seconds(), browser.cpu_seconds()
    time.sleep(seconds)
    (frames1, page1), task1, cpu1 = frames_at(), task_seconds(), browser.cpu_seconds()
    wall = page1 - page0
    return (frames1 - frames0) / wall, (task1 - task0) / wall, (cpu1 - cpu0) / wall


def check_menus(page, checks):
    """The options menu, the monitor and the load menu open over the screen, wait for
    keys without holding up the page, and give the machine back on Escape."""
    picture = ("(() => { const d = document.getElementById('screen').getContext('2d')"
               ".getImageData(0, 0, 400, 300).data; let h = 0;"
               "for (let i = 0; i < d.length; i += 4) h = (h * 31 + d[i] + d[i + 1] * 7) % 1000000007;"
               "return h; })()")
    machine = page.js(picture)
    for key, name in (("F7", "options menu"), ("F9", "monitor"), ("F8", "load menu")):
        page.tap(key)
        opened = page.browser.wait_for(f"{picture} !== {machine}", 3)
        time.sleep(0.5)
        shown = page.frames()
        time.sleep(0.5)
        calm = page.frames() - shown <= 40  # one picture per animation frame at most
        page.tap("Escape")
        closed = page.browser.wait_for(f"{picture} === {machine}", 3)
        checks.check(f"the {name} opens, waits calmly and closes", opened and calm and closed)
    page.type("LIST\r")
    checks.check("the machine takes keys again after the menus", page.wait_screen("10 SYS4109", 5)
                 or page.wait_screen("LIST", 5))


def check_own_rom(page, checks, files):
    """A KERNAL the user chooses is kept by the browser and used from then on, until the
    open ROM is chosen again."""
    kernal = bytearray(page.js("Array.from(Module.FS.readFile('/rom/open-kernal.bin'))"))
    start = bytes([0xA9, ROM_BORDER, 0x8D, 0x19, 0xFF])  # LDA #border / STA $FF19
    at = kernal.find(start)
    if not checks.check("the open KERNAL sets the border at its start", at >= 0):
        return
    kernal[at + 1] = OWN_ROM_BORDER
    path = os.path.join(files, "own-kernal.bin")
    with open(path, "wb") as file:
        file.write(kernal)
    page.click("roms")
    page.choose_file(path, 'input[data-slot="Rom0H"]')
    page.js("document.getElementById('rom-dialog').close()")
    checks.check("a chosen KERNAL runs at once", page.wait_border(OWN_ROM_BORDER, 15) and page.wait_screen("READY.", 10))
    page.browser.send("Page.reload")
    time.sleep(0.5)
    reloaded = page.browser.wait_for("!!(window.varnok && varnok.state.running && varnok.frames() > 25)", 60)
    page.click("reset")  # the demo runs after a reload and may set its own border
    checks.check("the chosen KERNAL is used again after a reload", reloaded and page.wait_border(OWN_ROM_BORDER, 15),
                 f"border {page.border()}")
    kernal[0x3F80] &= 0x7F  # no longer marked PAL
    with open(path, "wb") as file:
        file.write(kernal)
    page.click("roms")
    page.choose_file(path, 'input[data-slot="Rom0H"]')
    page.js("document.getElementById('rom-dialog').close()")
    refused = page.browser.wait_for("!document.getElementById('message').hidden && "
                                    "document.getElementById('message-text').textContent.includes('PAL') && "
                                    "!varnok.state.running", 15)
    checks.check("a KERNAL that is not PAL is refused with a message", refused)
    page.click("message-ok")
    page.click("roms")
    page.click("rom-open-rom")
    page.js("document.getElementById('rom-dialog').close()")
    checks.check("the open ROM can be chosen again", page.wait_border(ROM_BORDER, 15))


def check_real_roms(page, checks):
    """With the machine's own BASIC and KERNAL chosen (from VARNOK_TEST_ROMS, never part of
    the project), a program typed in is saved to drive 8, loaded back and run."""
    roms = os.environ.get("VARNOK_TEST_ROMS", "")
    if not os.path.isfile(os.path.join(roms, REAL_KERNAL)):
        print("skip the real ROMs' checks: set VARNOK_TEST_ROMS to the folder of the real ROM images")
        return
    page.click("roms")
    page.choose_file(os.path.join(roms, REAL_BASIC), 'input[data-slot="Rom0L"]')
    page.choose_file(os.path.join(roms, REAL_KERNAL), 'input[data-slot="Rom0H"]')
    page.js("document.getElementById('rom-dialog').close()")
    booted = page.wait_screen("COMMODORE BASIC V3.5", 20) and page.wait_screen("READY.", 10)
    if checks.check("the machine's own ROMs chosen on the page boot BASIC 3.5", booted, page.screen()[:80]):
        page.type('10 PRINT"REAL"\r')
        page.type('SAVE"REAL",8\r')
        page.type("NEW\r")
        page.type('LOAD"REAL",8\r')
        page.type("RUN\r")
        page.type("PRINT DS$\r")
        done = page.wait_screen("00, OK,00,00", 15)
        text = page.screen()
        checks.check("the real KERNAL saves to drive 8 and loads it back on the page",
                     done and "LOADING" in text and "RUN" + " " * 37 + "REAL" in text and "ERROR" not in text,
                     text.rstrip())
    page.click("roms")
    page.click("rom-open-rom")
    page.js("document.getElementById('rom-dialog').close()")
    checks.check("the open ROM runs again after the real ones", page.wait_border(ROM_BORDER, 15))


def measure_warp(page, checks, files, frame_bench):
    """Warp on the native frame benchmark's own machine and loop, beside that benchmark."""
    path = os.path.join(files, "bench.prg")
    with open(path, "wb") as file:
        file.write(bench_program())
    page.drop_file(path)
    started = page.browser.wait_for("(varnok.memory(0xFF19, 1)[0] & 0x7F) === 0x6E", 15)
    checks.check("the benchmark program runs", started)
    page.click("warp")
    time.sleep(1.0)
    fps, main_thread, whole = measure(page, MEASURE_SECONDS)
    page.click("warp")
    warp = fps / 50
    on_processor = warp / main_thread if main_thread else 0
    checks.check("warp runs faster than real time", warp > 2, f"{warp:.1f}x")
    line = (f"warp (frame_bench's machine): {fps:.0f} frames/s = {warp:.1f}x real time on wall time, "
            f"{on_processor:.1f}x on the main thread's processor time ({100 * main_thread:.0f}% of a core, "
            f"whole browser {100 * whole:.0f}%)")
    native = native_speed(frame_bench)
    if native:
        line += f"; native frame_bench {native:.1f}x on processor time; web/native {on_processor / native:.2f}"
    return line


def native_speed(frame_bench):
    """The native benchmark's multiple of real time on processor time."""
    if not frame_bench or not os.path.exists(frame_bench):
        return None
    out = subprocess.run([frame_bench, "10000"], capture_output=True, text=True, timeout=300).stdout
    match = re.search(r"([\d.]+)x real time on processor time", out)
    return float(match.group(1)) if match else None


def serve(folder):
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)

    class Quiet(handler.func):
        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def run(page_dir, out_dir, frame_bench):
    checks = Checks()
    figures = []
    files = os.path.join(out_dir, "files")
    os.makedirs(files, exist_ok=True)
    downloads = os.path.join(out_dir, "downloads")
    shutil.rmtree(downloads, ignore_errors=True)
    os.makedirs(downloads)
    program_path = os.path.join(files, "border.prg")
    disk_path = os.path.join(files, "disk.d64")
    with open(program_path, "wb") as file:
        file.write(border_program(PROGRAM_BORDER))
    with open(disk_path, "wb") as file:
        file.write(disk_image("DISKBORDER", border_program(DISK_BORDER)))

    profile = tempfile.mkdtemp(prefix="varnok-chromium-")
    browser = Chromium(os.environ.get("CHROMIUM", "chromium"), profile, os.path.join(out_dir, "chromium.log"))
    try:
        browser.attach_page()
        for domain in ("Page", "Runtime", "DOM"):
            browser.send(domain + ".enable")
        # Task durations in processor time of the page's main thread.
        browser.send("Performance.enable", {"timeDomain": "threadTicks"})
        browser.send("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads},
                     session=False)
        page = Page(browser)

        url = "file://" + os.path.abspath(os.path.join(page_dir, "index.html"))
        if not checks.check("the page opened from file:// runs the machine", page.open(url)):
            return checks, figures
        time.sleep(1.0)
        colours = page.js("new Set(Array.from(document.getElementById('screen').getContext('2d')"
                          ".getImageData(0, 0, 400, 300).data).map((v, i) => i % 4 ? 0 : v)).size")
        checks.check("the demo paints the canvas", colours and colours > 3, f"{colours} red levels")
        page.screenshot(os.path.join(out_dir, "demo.png"))

        fps, main_thread, whole = measure(page, MEASURE_SECONDS)
        figures.append(f"real speed: {fps:.1f} frames/s; page main thread busy {100 * main_thread:.1f}% "
                       f"of a core; whole browser {100 * whole:.1f}% of a core")
        checks.check("the machine runs at 50 frames per second", 40 <= fps <= 51.5, f"{fps:.1f}")

        voices = page.js("!!(Module.audio && Module.audio.context && "
                         "Module.audio.voices.slice(1).every((voice) => voice.source))")
        checks.check("the three voices play through Web Audio", voices)

        page.tap("Tab")
        checks.check("RUN/STOP leaves the demo for READY.", page.wait_screen("READY.", 10))

        typed = '10 PRINT "HELLO, WORLD" 1234567890'
        page.paste(typed)
        checks.check("keys pressed and released at once all reach the machine", page.wait_screen(typed, 10),
                     page.screen().split("READY.")[-1].strip())
        page.tap("Enter")

        page.click("pause")
        time.sleep(0.3)
        before = page.frames()
        time.sleep(0.5)
        stopped = page.frames() == before and page.js("document.getElementById('status').textContent") == "Paused"
        page.click("pause")
        time.sleep(0.5)
        checks.check("Pause stops the machine and a second click lets it go on", stopped and page.frames() > before)

        check_menus(page, checks)

        stored = page.js("localStorage.getItem('Software\\\\Varnok') || ''")
        checks.check("the settings store sits in the page's storage", '"Rom0L"="/rom/open-basic.bin"' in stored)

        pixel_rom = page.corner_pixel()
        page.drop_file(program_path)
        checks.check("a dropped program starts and sets the border", page.wait_border(PROGRAM_BORDER, 15),
                     f"border {page.border()}")
        before = json.dumps(json.dumps(pixel_rom, separators=(",", ":")))
        changed = page.browser.wait_for(f"JSON.stringify({page.CORNER_PIXEL}) !== {before}", 3)
        checks.check("the canvas shows the new border colour", changed, f"{pixel_rom} then {page.corner_pixel()}")

        page.click("reset")
        checks.check("Reset restarts the ROM", page.wait_border(ROM_BORDER, 10) and page.wait_screen("READY.", 10))

        page.type('LOAD"*",8\r')
        loaded = page.browser.wait_for("varnok.screenText().split('READY.').length > 2", 10)
        checks.check('LOAD"*",8 typed on the keys loads the dropped program', loaded)
        page.type("RUN\r")
        checks.check("RUN typed on the keys runs it", page.wait_border(PROGRAM_BORDER, 10),
                     f"border {page.border()}")
        page.screenshot(os.path.join(out_dir, "page.png"))

        page.choose_file(disk_path)
        checks.check("a chosen disk image is put in drive 8, loaded and run", page.wait_border(DISK_BORDER, 20),
                     f"border {page.border()}")

        page.click("screenshot")
        deadline = time.monotonic() + 10
        bitmap = os.path.join(downloads, "Output000.bmp")
        while time.monotonic() < deadline and not os.path.exists(bitmap):
            time.sleep(0.2)
        header = open(bitmap, "rb").read(2) if os.path.exists(bitmap) else b""
        checks.check("the screenshot button downloads a BMP file", header == b"BM")

        figures.append(measure_warp(page, checks, files, frame_bench))

        check_own_rom(page, checks, files)
        check_real_roms(page, checks)

        page.tap("F12")
        stopped = page.browser.wait_for("!varnok.state.running", 5)
        page.click("reset")
        again = page.browser.wait_for("varnok.state.running && varnok.frames() > 0", 10)
        frames = page.frames()
        time.sleep(0.5)
        checks.check("F12 stops the machine and Reset starts it again", stopped and again and page.frames() > frames)

        server = serve(os.path.abspath(page_dir))
        try:
            port = server.server_address[1]
            checks.check("the page served over HTTP runs the machine",
                         page.open(f"http://127.0.0.1:{port}/index.html"))
        finally:
            server.shutdown()
    except ProtocolError as error:
        checks.check("the browser answers", False, str(error))
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)
    return checks, figures


def main():
    page_dir, out_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    frame_bench = sys.argv[3] if len(sys.argv) > 3 else None
    os.makedirs(out_dir, exist_ok=True)
    checks, figures = run(page_dir, out_dir, frame_bench)
    with open(os.path.join(out_dir, "figures.txt"), "w") as file:
        file.write("\n".join(figures) + "\n")
    for line in figures:
        print(line)
    print(f"page: {checks.passed} passed, {len(checks.failed)} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
