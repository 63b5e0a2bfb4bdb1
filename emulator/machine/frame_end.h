#pragma once
// What a step asks of the program around the machine, at fixed moments. Declared here
// so that the machine never includes the host; each is defined where named.

// Each returns false when the program is ending (a quit arrived meanwhile): the step then
// stops at once, since the end of the window may already have released the RAM.

// At the first render step of a new frame, before anything of it is drawn: speed sync,
// cursor pass, status texts and presentation (defined in host/frame_end.cpp).
bool serveFrameEnd();

// The processor reached the enabled breakpoint: opens the monitor and returns when it is
// left (defined in monitor/monitor.cpp).
bool breakpointReached();
