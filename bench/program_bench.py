#!/usr/bin/env python3
"""The real program's speed: varnok runs headless on the open ROM and its demo.

Runs build/release/varnok (or the one in BUILD_DIR) with SDL's dummy video and audio
drivers, a settings store of its own and a key script that quits after a fixed number of
frames: once with the sync off (as fast as it goes) and once at 50 frames per second.
Prints, beside bench/frame_bench run on the same number of frames:

- sync off: frames per second and the multiple of real time, and that as a share of
  frame_bench's speed (on wall time and on processor time), for the whole run and for
  its frames after the start (the difference to a run that quits there);
- 50 Hz: processor time (user and system, all threads) as a share of wall time, for the
  whole run and for its frames after the ROM's start (the difference to a run that
  quits there), and the average frame period after the start;
- the options menu waiting for a key: processor time as a share of wall time (the
  difference to the same run without the menu);
- the peak resident memory of the runs.

Usage: bench/program_bench.py [BUILD_DIR] [--frames N] [--real-frames N]
"""
import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time

FRAMES_PER_SECOND = 50
START_FRAMES = 100  # the open ROM is at READY. and the demo running well within them
MENU_PASSES = 250   # five seconds of the options menu


def settings_store(rom, sync):
    def quoted(path):
        return str(path).replace("\\", "\\\\").replace('"', '\\"')

    lines = [
        "REGEDIT4",
        "",
        "[HKEY_LOCAL_MACHINE\\Software\\Varnok]",
        f'"Rom0L"="{quoted(rom / "open-basic.bin")}"',
        f'"Rom0H"="{quoted(rom / "open-kernal.bin")}"',
        '"PALROM"=dword:00000001',
        '"Ram"=dword:00000002',
        '"ScreenMode"=dword:00000002',
        f'"Sync"=dword:{sync:08x}',
        '"SoundEmulation"=dword:00000001',
        '"DriveType8"=dword:00000001',
        f'"Drive8PCDir"="{quoted(rom)}"',
    ]
    return "\r\n".join(lines) + "\r\n"


def run_program(build, sync, script):
    """Runs varnok with a key script; returns wall seconds, processor seconds, peak KB."""
    rom = build / "rom"
    with tempfile.TemporaryDirectory(prefix="varnok-bench-") as scratch:
        scratch = pathlib.Path(scratch)
        (scratch / "registry.reg").write_text(settings_store(rom, sync))
        (scratch / "script.txt").write_text(script)
        env = dict(os.environ)
        env.update(
            SDL_VIDEODRIVER="dummy",
            SDL_AUDIODRIVER="dummy",
            VARNOK_REGISTRY=str(scratch / "registry.reg"),
            VARNOK_AUTOMATION=str(scratch / "script.txt"),
        )
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "VARNOK_DEBUGCART"):
            env.pop(name, None)
        start = time.monotonic()
        child = subprocess.Popen([str(build / "varnok"), str(rom / "demo.prg")], cwd=scratch, env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.monotonic() - start
        errors = child.stderr.read().decode(errors="replace")
        child.stderr.close()
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"program_bench: varnok ended with {os.waitstatus_to_exitcode(status)}: {errors}")
        return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def frame_bench(build, frames):
    """frame_bench's multiples of real time on processor time and on wall time."""
    out = subprocess.run([str(build / "bench" / "frame_bench"), str(frames)], check=True,
                         capture_output=True, text=True).stdout
    match = re.search(r"([\d.]+)x real time on processor time, ([\d.]+)x on wall time", out)
    if not match:
        sys.exit(f"program_bench: cannot read frame_bench's output: {out}")
    return float(match.group(1)), float(match.group(2)), out.strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build/release")
    parser.add_argument("--frames", type=int, default=20000, help="frames with the sync off")
    parser.add_argument("--real-frames", type=int, default=350, help="frames at 50 Hz, the start's included")
    args = parser.parse_args()
    if args.real_frames <= START_FRAMES:
        sys.exit(f"program_bench: --real-frames must be more than the start's {START_FRAMES}")
    build = pathlib.Path(args.build).resolve()
    for needed in ("varnok", "bench/frame_bench", "rom/open-basic.bin", "rom/open-kernal.bin", "rom/demo.prg"):
        if not (build / needed).exists():
            sys.exit(f"program_bench: {build / needed} is missing; build varnok, frame_bench and open_rom")

    # On a busy machine wall time also counts the waits for a processor; processor time
    # counts only the program's own work (the sound thread's included).
    baseline_cpu, baseline_wall, baseline_text = frame_bench(build, args.frames)
    wall, cpu, rss_off = run_program(build, 0, f"wait {args.frames}\nquit\n")
    emulated = args.frames / FRAMES_PER_SECOND
    print(f"sync off: {args.frames} frames in {wall:.2f} s: {args.frames / wall:.0f} frames/s, "
          f"{emulated / wall:.1f}x real time on wall time ({emulated / wall / baseline_wall * 100:.0f}% of "
          f"frame_bench), {emulated / cpu:.1f}x on processor time ({emulated / cpu / baseline_cpu * 100:.0f}% "
          f"of frame_bench)")
    # frame_bench times only its frames; the same for the program is the difference to a
    # run that quits once the ROM has started (process, SDL and ROM start left out).
    start_wall, start_cpu, _ = run_program(build, 0, f"wait {START_FRAMES}\nquit\n")
    frames = args.frames - START_FRAMES
    emulated = frames / FRAMES_PER_SECOND
    wall, cpu = wall - start_wall, cpu - start_cpu
    print(f"          the {frames} frames after the start in {wall:.2f} s: {frames / wall:.0f} frames/s, "
          f"{emulated / wall:.1f}x real time on wall time ({emulated / wall / baseline_wall * 100:.0f}% of "
          f"frame_bench), {emulated / cpu:.1f}x on processor time ({emulated / cpu / baseline_cpu * 100:.0f}% "
          f"of frame_bench)")

    start_wall, start_cpu, rss_start = run_program(build, 2, f"wait {START_FRAMES}\nquit\n")
    wall, cpu, rss_real = run_program(build, 2, f"wait {args.real_frames}\nquit\n")
    frames = args.real_frames - START_FRAMES
    print(f"50 Hz:    {args.real_frames} frames in {wall:.2f} s: processor {cpu / wall * 100:.1f}% of one core; "
          f"the {frames} frames after the start {(cpu - start_cpu) / (wall - start_wall) * 100:.1f}% of one core, "
          f"{(wall - start_wall) / frames * 1000:.2f} ms per frame")
    menu_wall, menu_cpu, rss_menu = run_program(
        build, 2, f"wait {START_FRAMES}\ntap F7\nwait {MENU_PASSES}\ntap ESCAPE\nquit\n")
    print(f"menus idle: the options menu for {menu_wall - start_wall:.2f} s took "
          f"{(menu_cpu - start_cpu) / (menu_wall - start_wall) * 100:.1f}% of one core")
    peaks = (rss_off, rss_start, rss_real, rss_menu)
    print(f"peak resident memory: {max(peaks) / 1024:.1f} MB "
          f"(sync off {rss_off / 1024:.1f} MB, 50 Hz {rss_real / 1024:.1f} MB, menu {rss_menu / 1024:.1f} MB)")
    print(f"baseline: {baseline_text}")


if __name__ == "__main__":
    main()
