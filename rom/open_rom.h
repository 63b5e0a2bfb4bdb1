#pragma once
// The open BASIC and KERNAL images and the demo program, assembled from rom/ and
// compiled in at build time (library varnok_open_rom), so the program runs with
// no ROM files at all.

#include <cstddef>
#include <cstdint>

constexpr size_t openRomImageSize = 0x4000;

// The low image for $8000-$BFFF and the high image for $C000-$FFFF of bank 0.
extern const uint8_t openBasicImage[openRomImageSize];
extern const uint8_t openKernalImage[openRomImageSize];

// The demo as a PRG file: its load address ($1001) in the first two bytes.
extern const uint8_t demoProgram[];
extern const size_t demoProgramSize;
