#pragma once
// Offsets and counts the beam and the renderer look up, fixed for the machine's frame.
#include <array>
#include <cstddef>
#include <cstdint>

#include "ted/ted.h"

template <class T, std::size_t N, class F>
constexpr std::array<T, N> tableOf(F f) {
    std::array<T, N> table{};
    for (std::size_t i = 0; i < N; ++i) table[i] = static_cast<T>(f(int(i)));
    return table;
}

// Internal line -> TED raster line ($FF1C/$FF1D): the frame starts 52 lines before line 0.
inline constexpr auto tedLineTable =
    tableOf<uint16_t, frameHeight>([](int i) { return i < 52 ? i + 260 : i - 52; });
// Beam unit -> TED horizontal count ($FF1E): the line starts 32 units before count 0.
inline constexpr auto tedXTable = tableOf<uint16_t, 228>([](int i) { return i < 32 ? i + 196 : i - 32; });
inline constexpr auto frameLineOffset = tableOf<uint32_t, frameHeight>([](int i) { return i * frameWidth; });
inline constexpr auto bitmapRowOffset =
    tableOf<uint32_t, frameHeight>([](int i) { return i * 320; });  // a character row's
inline constexpr auto matrixRowOffset = tableOf<int32_t, 40>([](int i) { return i * 40; });
static_assert(tedLineTable[52] == 0 && tedLineTable[0] == 260 && tedXTable[32] == 0 && tedXTable[0] == 196);
