#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs: disk images with files, raw GCR images, snapshots of running
programs, programs, settings stores and exchanges on the drive port, each shaped as its
target reads its input (see the comment at the top of each fuzz_*.cpp). All of them are
made here from scratch; none comes from a ROM or another program's files.

    make_seeds.py OUTPUT_FOLDER    # writes OUTPUT_FOLDER/<target>/<seed>
"""
import os
import struct
import sys

# ---- D64 images ----

SECTORS = [0] + [21] * 17 + [19] * 7 + [18] * 6 + [17] * 10  # tracks 1-40


def track_offset(track):
    return 256 * sum(SECTORS[1:track])


class Disk:
    """A D64 image built as a 1541 formats and fills it."""

    def __init__(self, tracks=35, name=b"SEEDS", disk_id=b"ID"):
        self.tracks = tracks
        self.image = bytearray(track_offset(tracks + 1))
        self.used = {(18, 0), (18, 1)}
        self.directory = [(18, 1)]
        bam = self.bam()
        bam[0:4] = bytes([18, 1, 0x41, 0])
        bam[144:171] = b"\xa0" * 27
        bam[144:144 + len(name)] = name
        bam[162:164] = disk_id
        bam[165:167] = b"2A"
        self.sector(18, 1)[0:2] = b"\x00\xff"
        self.write_bam()

    def sector(self, track, sector):
        start = track_offset(track) + 256 * sector
        return memoryview(self.image)[start:start + 256]

    def bam(self):
        return self.sector(18, 0)

    def write_bam(self):
        bam = self.bam()
        for track in range(1, self.tracks + 1):
            free = [s for s in range(SECTORS[track]) if (track, s) not in self.used]
            bits = sum(1 << s for s in free)
            entry = 4 * track if track <= 35 else 0xC0 + 4 * (track - 36)
            bam[entry:entry + 4] = bytes([len(free), bits & 255, bits >> 8 & 255, bits >> 16])

    def free_block(self, near):
        for distance in range(0, 40):
            for track in (near - distance, near + distance):
                if 1 <= track <= self.tracks and track != 18:
                    for s in range(SECTORS[track]):
                        if (track, s) not in self.used:
                            self.used.add((track, s))
                            return track, s
        raise RuntimeError("disk full")

    def add_file(self, name, data, kind=0x82, near=17):
        blocks = [self.free_block(near) for _ in range(max(1, (len(data) + 253) // 254))]
        for i, (track, sector) in enumerate(blocks):
            chunk = data[254 * i:254 * (i + 1)]
            block = self.sector(track, sector)
            if i + 1 < len(blocks):
                block[0:2] = bytes(blocks[i + 1])
            else:
                block[0:2] = bytes([0, len(chunk) + 1])
            block[2:2 + len(chunk)] = chunk
        self.add_entry(name, kind, blocks[0], len(blocks))
        self.write_bam()

    def add_entry(self, name, kind, first, blocks):
        for track, sector in self.directory:
            directory = self.sector(track, sector)
            for k in range(8):
                entry = directory[32 * k:32 * k + 32]
                if entry[2] == 0:
                    entry[2] = kind
                    entry[3:5] = bytes(first)
                    entry[5:21] = name.ljust(16, b"\xa0")
                    entry[30:32] = struct.pack("<H", blocks)
                    return
        track, sector = self.directory[-1]
        new = (18, (sector + 3) % 19)
        self.used.add(new)
        self.sector(track, sector)[0:2] = bytes(new)
        self.sector(*new)[0:2] = b"\x00\xff"
        self.directory.append(new)
        self.add_entry(name, kind, first, blocks)


def program(address, body):
    return struct.pack("<H", address) + body


def d64_input(flags, name, command, image_part):
    return bytes([flags]) + name.ljust(16, b"\0")[:16] + command.ljust(24, b"\0")[:24] + bytes(image_part)


def from_bam(disk):
    """The image from track 18 on, wrapping round to track 1, as fuzz_d64 lays it out."""
    start = track_offset(18)
    return disk.image[start:] + disk.image[:start]


def d64_seeds():
    seeds = {}
    disk = Disk()
    disk.add_file(b"GAME", program(0x1001, bytes(range(256)) * 3))
    disk.add_file(b"NOTES", b"HELLO\r" * 100, kind=0x81, near=19)
    disk.add_file(b"LOCKED", program(0x2000, b"\xea" * 40), kind=0xC2)
    disk.add_file(b"OPEN", b"x" * 10, kind=0x02)
    for i in range(9):  # a second directory sector
        disk.add_file(b"FILE%d" % i, program(0x1001, bytes([i]) * (100 * i + 1)), near=10 + i)
    seeds["disk35"] = d64_input(2 << 5, b"GAME", b"S:FILE*", from_bam(disk))
    seeds["disk35_rename"] = d64_input(3 << 5, b"@0:GAME", b"R:NEW=NOTES", from_bam(disk))
    seeds["disk35_collect"] = d64_input(5 << 5, b"*", b"V", from_bam(disk))

    big = Disk(tracks=40, name=b"FORTY")
    big.add_file(b"LARGE", bytes(range(256)) * 200, near=36)
    seeds["disk40"] = d64_input(0x01 | 6 << 5, b"LARGE", b"N:AGAIN", from_bam(big))

    damaged = Disk()
    damaged.add_file(b"LOOP", b"y" * 600)
    track, sector = damaged.sector(18, 1)[3], damaged.sector(18, 1)[4]
    damaged.sector(track, sector)[0:2] = bytes([track, sector])  # the chain points at itself
    damaged.bam()[4:8] = bytes([200, 255, 255, 255])  # a count that lies
    seeds["damaged"] = d64_input(1 << 5, b"LOOP", b"V", from_bam(damaged))

    entries = Disk().sector(18, 1).tobytes()
    seeds["formatted"] = d64_input(0x02 | 4 << 5, b"NEW", b"I", entries)
    seeds["folder"] = d64_input(0x1C | 2 << 5, b"GAME", b"R:OTHER=GAME", b"")
    return seeds


# ---- Snapshots ----

CARRIED = 0x564B0000


def snapshot(pc, ram, rom_enabled=0, status=0x24, a=0, x=0, y=0, sp=0xFF, timers=(0xFFFF, 0xFFFF, 0xFFFF),
             reload=0xFFFF, compare=0, single_clock=0):
    fields = [(2, 0), (2, 1), (4, pc), (4, status), (4, a), (4, x), (4, y), (4, sp), (4, 0x400), (4, rom_enabled),
              (4, timers[0]), (4, reload), (4, 1), (4, timers[1]), (4, CARRIED | compare), (4, 1),
              (4, timers[2]), (4, CARRIED | single_clock), (4, 1)]
    header = b"".join(value.to_bytes(size, "little") for size, value in fields)
    assert len(header) == 72 and len(ram) == 0x10000
    return header + bytes(ram)


def ram_with(code_at, code, registers, vectors=None):
    ram = bytearray(0x10000)
    ram[code_at:code_at + len(code)] = code
    for address, value in registers.items():
        ram[address] = value
    for address, value in (vectors or {}).items():
        ram[address:address + 2] = struct.pack("<H", value)
    return ram


TEXT_SCREEN = {0xFF06: 0x1B, 0xFF07: 0x08, 0xFF12: 0x04, 0xFF13: 0xD0, 0xFF14: 0x08, 0xFF15: 0x71, 0xFF19: 0x32}


def snapshot_seeds():
    seeds = {}
    # A raster interrupt on line 100, a tone, and a loop; the handler counts and acknowledges.
    loop = bytes([0xA9, 0x02, 0x8D, 0x0A, 0xFF, 0xA9, 100, 0x8D, 0x0B, 0xFF, 0xA9, 0x18, 0x8D, 0x11, 0xFF,
                  0x58, 0x4C, 0x10, 0x10])
    handler = bytes([0xE6, 0x31, 0xA9, 0xFF, 0x8D, 0x09, 0xFF, 0x40])
    ram = ram_with(0x1000, loop, {**TEXT_SCREEN, 0xFF0E: 0x90, 0xFF10: 0x03}, {0xFFFE: 0x2000})
    ram[0x2000:0x2000 + len(handler)] = handler
    seeds["raster_loop"] = snapshot(0x1000, ram, status=0x20, compare=100, single_clock=1)
    # Timers near zero with their interrupts on, in double clock.
    timers = ram_with(0x1000, bytes([0xA9, 0x1A, 0x8D, 0x0A, 0xFF, 0x58, 0xE8, 0x4C, 0x06, 0x10]),
                      TEXT_SCREEN, {0xFFFE: 0x2000})
    timers[0x2000:0x2000 + len(handler)] = handler
    seeds["timers"] = snapshot(0x1000, timers, status=0x20, timers=(5, 1, 300), reload=40)
    # The ROM banked in and its reset entry taken: the open KERNAL starts the machine again.
    reset = ram_with(0x1000, bytes([0x78, 0x8D, 0x3E, 0xFF, 0x6C, 0xFC, 0xFF]), TEXT_SCREEN)
    seeds["rom_reset"] = snapshot(0x1000, reset, rom_enabled=1)
    # Multicolour bitmap with extended colours and the screen off at times, flat out.
    bitmap = ram_with(0x3000, bytes([0xEE, 0x19, 0xFF, 0xEE, 0x06, 0xFF, 0x4C, 0x00, 0x30]),
                      {0xFF06: 0x7B, 0xFF07: 0x18, 0xFF12: 0x08, 0xFF14: 0x20, 0xFF13: 0x00})
    for i in range(0x2000, 0x3000):
        bitmap[i] = (i * 13) & 0xFF
    seeds["bitmap"] = snapshot(0x3000, bitmap, sp=0x80)
    # Undocumented opcodes and decimal arithmetic in a loop.
    odd = ram_with(0x0800, bytes([0xF8, 0xA9, 0x99, 0x69, 0x01, 0xA7, 0x10, 0xB7, 0x20, 0x0B, 0x7F, 0x6B, 0x81,
                                  0xCB, 0x03, 0x4C, 0x00, 0x08]), TEXT_SCREEN)
    seeds["opcodes"] = snapshot(0x0800, odd, status=0x08, a=0x45, x=3, y=7)
    return seeds


# ---- Programs (two bytes that stretch the file, then the file) ----

def prg_seeds():
    basic = program(0x1001, bytes([0x0B, 0x10, 0x0A, 0x00, 0x9E, 0x34, 0x31, 0x30, 0x39, 0, 0, 0, 0x60]))
    return {
        "basic": b"\0\0" + basic,
        "top_of_memory": b"\0\0" + program(0xF000, b"\xea" * 4095),
        "stretched": b"\x40\x01" + program(0x0400, bytes(range(256))),
        "pointers_limit": b"\0\0" + program(0x1001, b"\x00" * 55903),
    }


# ---- Settings stores ----

SECTION = "[HKEY_LOCAL_MACHINE\\Software\\Varnok]"


def store_text(values, header="REGEDIT4", newline="\n"):
    lines = [header, "", SECTION]
    for name, value in values:
        lines.append('"%s"=%s' % (name, value if isinstance(value, str) else "dword:%08x" % value))
    return newline.join(lines + [""])


def settings_seeds():
    values = [("ScreenMode", 2), ("Sync", 1), ("Ram", 2), ("Log", 1), ("DriveType8", 2),
              ("Rom0L", '"roms\\\\basic.bin"'), ("Drive8D64", '"C:\\\\disks\\\\game \\"one\\".d64"')]
    export = store_text(values, "Windows Registry Editor Version 5.00", "\r\n")
    return {
        "regedit4": store_text(values).encode(),
        "registry_editor_export": b"\xff\xfe" + export.encode("utf-16-le"),
        "sections_and_oddities": ("REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"Keep\"=\"me\"\n\n" + SECTION +
                                  "\n; a note\n\"Ram\" = dword:1\n\"Rom0H\" \"no equals\"\n\"Sync\"=hex(2):41,00\n"
                                  "\n[HKEY_LOCAL_MACHINE\\Software\\Later]\n\"Also\"=dword:3\n").encode(),
        "utf8_mark": ("\ufeffREGEDIT4\n\n" + SECTION + '\n"Rom0L"="caf\u00e9.bin"\n').encode(),
    }


# ---- Exchanges on the drive port (fuzz_drive_port's operations) ----

BUS, SECONDARY, DATA, NAME, READ, PRESENT, POKE, PEEK, HALF, DAV, INIT, CODE = range(12)
LISTEN, TALK, UNLISTEN, UNTALK = 1, 3, 4, 5  # bus command operands: with the device number


def name(text):
    return [NAME, len(text)] + list(text)


def open_channel(channel, text):
    return [BUS, LISTEN, SECONDARY, 0x80 | channel] + name(text) + [BUS, UNLISTEN]


def read_channel(channel, quarter_bytes=255):
    return [BUS, TALK, SECONDARY, channel, READ, quarter_bytes, BUS, UNTALK]


def close_channel(channel):
    return [BUS, LISTEN, SECONDARY, 0x40 | channel, BUS, UNLISTEN]


def drive_port_seeds():
    load = lambda text: open_channel(0, text) + read_channel(0) + close_channel(0)
    save = (open_channel(1, b"NEW") + [BUS, LISTEN, SECONDARY, 1] + sum(([DATA, b] for b in b"\x01\x10ABC"), []) +
            [BUS, UNLISTEN] + close_channel(1))
    command = lambda text: [BUS, LISTEN, SECONDARY, 15] + name(text) + [BUS, UNLISTEN] + read_channel(15, 16)
    return {
        "directory": bytes([PRESENT] + load(b"$")),
        "load": bytes([PRESENT] + load(b"GAME")),
        "save": bytes(save + command(b"")),
        "scratch": bytes(command(b"S:GAME") + command(b"S:KEEP")),
        "data_file": bytes(open_channel(2, b"NOTES,S,R") + read_channel(2, 20) + close_channel(2)),
        "broken": bytes([BUS, LISTEN, HALF, 0x82, DAV, POKE, 3, 0x00, SECONDARY, 0xC0, PEEK, 0xF1] + load(b"*") +
                        [INIT, CODE, 0x85, 0x12]),
    }


# ---- G64 images ----

def g64(tracks, half_tracks=84, track_bytes=7928):
    """A G64 file holding `tracks` ({half-track: (speed, bytes)}) in the standard layout."""
    header = b"GCR-1541" + bytes([0, half_tracks]) + struct.pack("<H", track_bytes)
    offsets, speeds, body = [], [], b""
    at = len(header) + 8 * half_tracks
    for half in range(2, half_tracks + 2):
        speed, data = tracks.get(half, (3, b""))
        offsets.append(at + len(body) if data else 0)
        speeds.append(speed)
        if data:
            body += struct.pack("<H", len(data)) + data + bytes(track_bytes - len(data))
    return header + struct.pack("<%dI" % half_tracks, *offsets) + struct.pack("<%dI" % half_tracks, *speeds) + body


def g64_seeds():
    # Sync marks and gaps with GCR bytes between, on a track, a half-track and a long track.
    track = (b"\xff" * 5 + bytes([0x52, 0x54, 0xB5, 0x29, 0x4B]) + b"\x55" * 9) * 20
    return {
        "tracks": g64({2: (3, track), 36: (2, track[:7000])}),
        "half_track": g64({3: (3, track), 37: (1, b"\x55" * 6666)}, half_tracks=42),
        "long_track": g64({34: (3, track + b"\x55" * 7000)}, track_bytes=8000),
    }


def main():
    out = sys.argv[1]
    targets = {"fuzz_d64": d64_seeds, "fuzz_snapshot": snapshot_seeds, "fuzz_prg": prg_seeds,
               "fuzz_settings": settings_seeds, "fuzz_drive_port": drive_port_seeds, "fuzz_g64": g64_seeds}
    for target, make in targets.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for seed, data in make().items():
            with open(os.path.join(folder, seed), "wb") as file:
                file.write(data)


if __name__ == "__main__":
    main()
