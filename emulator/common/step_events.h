#pragma once
// What a step of the machine reports to the program around it, as bits
// (machine/step.h). The chips raise the last two in memory.raisedEvents, where they
// stay until that program has served them.
#include <cstdint>

using StepEvents = uint8_t;

namespace stepEvent {
// The frame buffer holds a whole frame and nothing of the next is drawn yet: the frame
// end (speed sync, status texts, presentation) is due before the next step.
constexpr StepEvents frameComplete = 0x01;
// The processor reached the enabled breakpoint (PC is on it): the monitor is due.
constexpr StepEvents breakpoint = 0x02;
// The test exit port $FDCF was written; its value is memory.debugPortValue.
constexpr StepEvents debugPort = 0x04;
// The voices' rates or attenuations changed (ted.sound.voices).
constexpr StepEvents voices = 0x08;
}  // namespace stepEvent
