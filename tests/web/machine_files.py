"""Small machine files the page's test starts: each sets the border colour and returns
to BASIC, as a PRG, and inside a D64 disk image."""

BASIC_START = 0x1001


def border_program(colour):
    """10 SYS4109, then LDA #colour / STA $FF19 / RTS at 4109 ($100D); with load address."""
    line = bytes([0x0B, 0x10, 0x0A, 0x00, 0x9E]) + b"4109" + bytes([0x00, 0x00, 0x00])
    code = bytes([0xA9, colour, 0x8D, 0x19, 0xFF, 0x60])
    return bytes([BASIC_START & 0xFF, BASIC_START >> 8]) + line + code


SECTORS = [21] * 17 + [19] * 7 + [18] * 6 + [17] * 5  # tracks 1..35


def _offset(track, sector):
    return (sum(SECTORS[: track - 1]) + sector) * 256


def disk_image(name, program):
    """A 35-track D64 holding one PRG file (at most 254 bytes) on track 1, sector 0."""
    assert len(program) <= 254
    image = bytearray(174848)
    bam = _offset(18, 0)
    image[bam : bam + 4] = bytes([18, 1, 0x41, 0])
    for track in range(1, 36):
        free = 0 if track in (1, 18) else SECTORS[track - 1]
        image[bam + 4 * track] = free
    image[bam + 0x90 : bam + 0xA0] = b"VARNOK TEST".ljust(16, b"\xa0")
    image[bam + 0xA2 : bam + 0xA4] = b"VT"
    image[bam + 0xA5 : bam + 0xA7] = b"2A"
    directory = _offset(18, 1)
    image[directory : directory + 2] = bytes([0, 0xFF])
    entry = directory + 2
    image[entry] = 0x82
    image[entry + 1 : entry + 3] = bytes([1, 0])
    image[entry + 3 : entry + 19] = name.encode("ascii").ljust(16, b"\xa0")
    image[entry + 28 : entry + 30] = bytes([1, 0])
    data = _offset(1, 0)
    image[data : data + 2] = bytes([0, len(program) + 1])
    image[data + 2 : data + 2 + len(program)] = program
    return bytes(image)


def bench_program():
    """The native frame benchmark's machine as a program: the same text screen (matrix
    at $0C00, attributes at $0800, characters in RAM at $2000), interrupts off, the ROM
    switched out, and the same loop adding one to every screen code. It starts with
    SYS4109 like the others and copies its screen into place itself."""
    tables = {  # where each 1 KB table is kept in the program, and where it goes
        0x1100: (0x0800, bytes((i * 7) & 0xFF for i in range(1000))),
        0x1500: (0x0C00, bytes(i & 0x7F for i in range(1000))),
        0x1900: (0x2000, bytes((i * 37) & 0xFF for i in range(1024))),
    }
    memory = bytearray(0x1D00 - 0x1001)

    def put(address, data):
        memory[address - 0x1001 : address - 0x1001 + len(data)] = data

    put(0x1001, bytes([0x0B, 0x10, 0x0A, 0x00, 0x9E]) + b"4109" + bytes([0x00, 0x00, 0x00]))
    code = [0x78]  # SEI
    for source, (target, data) in tables.items():
        put(source, data)
        code += [0xA2, 0x00]  # LDX #$00
        for page in range(4):  # LDA source+page,X / STA target+page,X
            code += [0xBD, 0x00, (source >> 8) + page, 0x9D, 0x00, (target >> 8) + page]
        code += [0xE8, 0xD0, 0x100 - 27]  # INX / BNE back to the first LDA
    for register, value in ((0xFF0A, 0x00), (0xFF11, 0x00), (0xFF12, 0x00), (0xFF06, 0x1B), (0xFF07, 0x08),
                            (0xFF13, 0x20), (0xFF14, 0x08), (0xFF15, 0x71), (0xFF19, 0x6E)):
        code += [0xA9, value, 0x8D, register & 0xFF, register >> 8]  # LDA #value / STA register
    code += [0x8D, 0x3F, 0xFF]  # STA $FF3F: RAM in place of the ROM
    loop = 0x100D + len(code)
    code += [0xA2, 0x00,  # LDX #$00
             0xBD, 0x00, 0x0C,  # LDA $0C00,X
             0x18,  # CLC
             0x69, 0x01,  # ADC #$01
             0x9D, 0x00, 0x0C,  # STA $0C00,X
             0xE8,  # INX
             0xD0, 0xF4,  # BNE back to the LDA
             0x4C, loop & 0xFF, loop >> 8]  # JMP loop
    assert 0x100D + len(code) <= 0x1100
    put(0x100D, bytes(code))
    return bytes([0x01, 0x10]) + bytes(memory)
