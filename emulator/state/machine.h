#pragma once
// The whole emulated machine as one value: the processor, its interrupt state, the memory
// map, the TED with its keyboard, the frame it draws and the palette and volumes it draws
// and plays with, drive 8 (at port level and as a true drive) and the step's own state.
// Each chip's state is a plain struct; the code over it lives in the chip's folder.
//
// The program runs one machine, theMachine. The chips reach their part of it by the names
// below: references bound once to members of a global, so the compiler addresses the
// members directly, as it would plain globals. A test starts from a fresh machine with
// freshMachine() (machine/power.h).
#include <array>
#include <cstdint>

#include "cpu/registers.h"
#include "state/drive.h"
#include "state/interrupts.h"
#include "state/keyboard.h"
#include "state/memory_map.h"
#include "state/palette.h"
#include "state/step.h"
#include "state/ted.h"
#include "state/true_drive.h"

struct Machine {
    Registers cpu;
    Interrupts interrupts;
    MemoryMap memory;
    Ted ted;
    Keyboard keyboard;
    uint8_t frameBuffer[frameWidth * frameHeight + frameSlack] = {};
    PaletteColour palette[256] = {};  // entries 128-255 copy 0-127
    // Attenuation for volumes 0..8; the sound switch silences it and puts it back.
    std::array<int32_t, 9> volumes = volumeAttenuation;
    Drive drive;
    TrueDrive trueDrive;
    StepState step;
};

// defined in state/machine.cpp
extern Machine theMachine;

inline Registers& reg = theMachine.cpu;
inline Interrupts& interrupts = theMachine.interrupts;
inline MemoryMap& memory = theMachine.memory;
inline Ted& ted = theMachine.ted;
inline Keyboard& keyboard = theMachine.keyboard;
inline uint8_t (&frameBuffer)[frameWidth * frameHeight + frameSlack] = theMachine.frameBuffer;
inline PaletteColour (&paletteEntries)[256] = theMachine.palette;
inline std::array<int32_t, 9>& volumeTable = theMachine.volumes;
inline Drive& drive = theMachine.drive;
inline TrueDrive& trueDrive = theMachine.trueDrive;
inline StepState& machine = theMachine.step;
