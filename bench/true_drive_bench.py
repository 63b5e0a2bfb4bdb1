#!/usr/bin/env python3
"""Drive 8's cost: the real program on the real ROMs with the port-level drive, a true
1551 and a true 1541, each measured in the same run.

Runs build/release/varnok (or the one in BUILD_DIR) headless (SDL's dummy video and
audio drivers) with the real BASIC, KERNAL and DOS ROMs from VARNOK_TEST_ROMS (or
--roms), a settings store of its own and a key script. For each drive it prints:

- 50 Hz at READY. (the drive idle, its motor off): processor time as a share of wall
  time for the frames after the start (the difference to a run that quits there);
- 50 Hz while the KERNAL's LOAD typed at READY. reads a 200-block file (the drive busy):
  the same share (the port-level drive has loaded it at once);
- warp (sync off): the seconds the KERNAL's LOAD of the 200-block file takes, on wall
  time and on processor time (a run that starts the disk handed over on the command
  line, which loads and runs the file, less one that does the same with a one-block
  file).

The disks are written first by the drive under test itself (BASIC's SAVE), so each file
lies on the disk as that drive's DOS lays it out.

Usage: bench/true_drive_bench.py [BUILD_DIR] [--roms DIR] [--frames N]
"""
import argparse
import os
import pathlib
import shutil
import sys
import tempfile
import time

START_FRAMES = 150  # READY. is on the screen well within them
SAVE_FRAMES = 15000  # five minutes
LOAD_FRAMES = 25     # the LOAD has begun
EXIT_STARTED = 42   # the status the saved program's line 10 reports
TIME_LIMIT = 600    # seconds any one run may take

DRIVES = {
    "port level": {"TrueDrive8": 0},
    "true 1551": {"TrueDrive8": 1, "Drive1551Rom": "dos1551-318008-01.bin"},
    "true 1541": {"TrueDrive8": 2, "Drive1541Rom": "dos1541ii-251968-03.bin"},
}


def blank_d64():
    """A freshly formatted 35-track image: every block free but track 18's first two."""
    def sectors(track):
        return 21 if track <= 17 else 19 if track <= 24 else 18 if track <= 30 else 17

    offsets = [0, 0]
    for track in range(1, 36):
        offsets.append(offsets[-1] + 256 * sectors(track))
    image = bytearray(offsets[36])
    bam = offsets[18]
    image[bam:bam + 3] = bytes([18, 1, 0x41])
    for track in range(1, 36):
        free = (1 << sectors(track)) - 1
        if track == 18:
            free &= ~3
        image[bam + 4 * track] = bin(free).count("1")
        for i in range(3):
            image[bam + 4 * track + 1 + i] = (free >> (8 * i)) & 0xFF
    image[bam + 144:bam + 171] = b"\xa0" * 27
    image[bam + 144:bam + 149] = b"BENCH"
    image[bam + 162:bam + 164] = b"BE"
    image[bam + 165:bam + 167] = b"2A"
    image[offsets[18] + 256 + 1] = 0xFF
    return bytes(image), offsets


def first_file_blocks(image, offsets):
    """The blocks of the directory's first file, 0 unless it is a closed PRG."""
    entry = offsets[18] + 256
    return image[entry + 30] | image[entry + 31] << 8 if image[entry + 2] == 0x82 else 0


def settings_store(roms, sync, drive, disk):
    def quoted(path):
        return str(path).replace("\\", "\\\\").replace('"', '\\"')

    values = {
        "Rom0L": str(roms / "basic-318006-01.bin"),
        "Rom0H": str(roms / "kernal-318004-05.bin"),
        "Rom1L": str(roms / "3plus1-317053-01.bin"),
        "Rom1H": str(roms / "3plus1-317054-01.bin"),
        "PALROM": 1,
        "Ram": 2,
        "ScreenMode": 2,
        "Sync": sync,
        "SoundEmulation": 1,
        "DriveType8": 2,
        "Drive8D64": str(disk),
    }
    for name, value in drive.items():
        values[name] = str(roms / value) if isinstance(value, str) else value
    lines = ["REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Varnok]"]
    for name, value in values.items():
        lines.append(f'"{name}"=dword:{value:08x}' if isinstance(value, int) else f'"{name}"="{quoted(value)}"')
    return "\r\n".join(lines) + "\r\n"


def run_program(build, scratch, roms, sync, drive, disk, script, arguments=(), expect=0):
    """Runs varnok; returns wall seconds and processor seconds (all threads)."""
    (scratch / "registry.reg").write_text(settings_store(roms, sync, drive, disk))
    (scratch / "script.txt").write_text(script)
    env = dict(os.environ)
    env.update(SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", VARNOK_DEBUGCART="1",
               VARNOK_REGISTRY=str(scratch / "registry.reg"), VARNOK_AUTOMATION=str(scratch / "script.txt"))
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    start = time.monotonic()
    child = os.posix_spawn(str(build / "varnok"), [str(build / "varnok"), *arguments], env)
    deadline = start + TIME_LIMIT
    while True:
        pid, status, usage = os.wait4(child, os.WNOHANG)
        if pid:
            break
        if time.monotonic() > deadline:
            os.kill(child, 9)
            sys.exit(f"true_drive_bench: varnok took more than {TIME_LIMIT} s; stopped")
        time.sleep(0.02)
    wall = time.monotonic() - start
    code = os.waitstatus_to_exitcode(status)
    if code != expect:
        sys.exit(f"true_drive_bench: varnok ended with {code}, not {expect}")
    return wall, usage.ru_utime + usage.ru_stime


def saved_disk(build, scratch, roms, drive, blocks, name):
    """A disk holding one BASIC program of `blocks` blocks, saved by `drive` itself: line
    10 reports EXIT_STARTED, and the end pointer is moved so SAVE takes that many blocks."""
    image, offsets = blank_d64()
    disk = scratch / name
    disk.write_bytes(image)
    # SAVE takes BASIC's memory from its start to the end pointer at 45/46. A 1541 needs
    # nearly three minutes for 200 blocks; the quit after five writes the disk back.
    end = 0x1001 + 254 * blocks - 2  # the file's two address bytes take a block's share
    typed = (f"type 10 POKE64975,{EXIT_STARTED}\ntap RETURN\nwait 5\n"
             f"type POKE45,{end & 0xFF}:POKE46,{end >> 8}:SAVE\"P\",8\ntap RETURN\nwait {SAVE_FRAMES}\nquit\n")
    run_program(build, scratch, roms, 0, drive, disk, f"wait {START_FRAMES}\n{typed}")
    written = disk.read_bytes()
    if abs(first_file_blocks(written, offsets) - blocks) > 1:
        sys.exit(f"true_drive_bench: the saved file has {first_file_blocks(written, offsets)} blocks, not {blocks}")
    return disk


def share(runs):
    (wall0, cpu0), (wall1, cpu1) = runs
    return (cpu1 - cpu0) / (wall1 - wall0) * 100


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build/release")
    parser.add_argument("--roms", default=os.environ.get("VARNOK_TEST_ROMS", ""))
    parser.add_argument("--frames", type=int, default=500, help="frames measured at 50 Hz")
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()
    roms = pathlib.Path(args.roms).resolve() if args.roms else None
    if not (build / "varnok").exists():
        sys.exit(f"true_drive_bench: {build / 'varnok'} is missing; build varnok")
    if not roms or not (roms / "dos1541ii-251968-03.bin").exists():
        sys.exit("true_drive_bench: set VARNOK_TEST_ROMS (or --roms) to the folder of the real ROM images")

    with tempfile.TemporaryDirectory(prefix="varnok-bench-") as scratch:
        scratch = pathlib.Path(scratch)
        for label, drive in DRIVES.items():
            # The port-level drive lays files out as a 1541 does.
            writer = drive if drive["TrueDrive8"] else DRIVES["true 1541"]
            big = saved_disk(build, scratch, roms, writer, 200, "big.d64")
            small = saved_disk(build, scratch, roms, writer, 1, "small.d64")
            idle = [run_program(build, scratch, roms, 2, drive, small, f"wait {frames}\nquit\n")
                    for frames in (START_FRAMES, START_FRAMES + args.frames)]
            # LOAD is typed (a disk handed over would load at full speed); the port-level
            # drive has loaded the file at once.
            typed = f"wait {START_FRAMES}\ntype LOAD\"*\",8\ntap RETURN\n"
            loading = [run_program(build, scratch, roms, 2, drive, big, f"{typed}wait {frames}\nquit\n")
                       for frames in (LOAD_FRAMES, LOAD_FRAMES + args.frames)] if drive["TrueDrive8"] else None
            shutil.copy(big, scratch / "load.d64")
            warp = run_program(build, scratch, roms, 0, drive, big, "wait 1000000\n", [str(scratch / "load.d64")],
                               EXIT_STARTED)
            shutil.copy(small, scratch / "load.d64")
            start = run_program(build, scratch, roms, 0, drive, small, "wait 1000000\n",
                                [str(scratch / "load.d64")], EXIT_STARTED)
            busy = f"{share(loading):5.1f}%" if loading else "  (at once)"
            print(f"{label:10}: 50 Hz at READY. {share(idle):5.1f}% of one core, while loading {busy}; "
                  f"warp LOAD of 200 blocks {warp[0] - start[0]:6.2f} s "
                  f"({warp[1] - start[1]:6.2f} s of processor time)")


if __name__ == "__main__":
    main()
