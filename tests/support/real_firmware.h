#pragma once
// The real machine's firmware and the public conformance programs stay outside the
// project: VARNOK_TEST_ROMS names the folder of the ROM images users supply, and
// VARNOK_TEST_CONFORMANCE the folder of the conformance suites. A test that needs one
// and does not find it is skipped with a message naming the variable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/machine_helpers.h"

// The folder the variable names, with no trailing slash; empty when it is unset or
// not a folder.
std::string testFolder(const char* variable);

#define VARNOK_REQUIRE_FOLDER(folder, variable)      \
    const std::string folder = testFolder(variable); \
    if (folder.empty()) GTEST_SKIP() << "set " variable " to the folder it names"

// `roms`: the real ROM images; `suites`: the conformance programs.
#define REQUIRE_TEST_ROMS(roms) VARNOK_REQUIRE_FOLDER(roms, "VARNOK_TEST_ROMS")
#define REQUIRE_CONFORMANCE(suites) VARNOK_REQUIRE_FOLDER(suites, "VARNOK_TEST_CONFORMANCE")

// The file names of the real images in that folder.
inline constexpr const char* realBasic = "basic-318006-01.bin";
inline constexpr const char* realKernalPal = "kernal-318004-05.bin";
inline constexpr const char* realKernalNtsc = "kernal-318005-05.bin";
inline constexpr const char* realFunctionLow = "3plus1-317053-01.bin";
inline constexpr const char* realFunctionHigh = "3plus1-317054-01.bin";
inline constexpr const char* realDos1551 = "dos1551-318008-01.bin";
inline constexpr const char* realDos1541 = "dos1541ii-251968-03.bin";

// A PAL Plus/4 with 3-PLUS-1 in bank 1, as users set it up: the ROM settings only.
std::vector<Setting> realPlus4Settings(const std::string& roms);
