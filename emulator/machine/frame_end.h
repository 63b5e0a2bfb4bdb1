#pragma once
// What a step asks of the program around the machine, at fixed moments. Declared here
// so that the machine never includes the host; each is defined where named.

// At the first render step of a new frame, before anything of it is drawn: speed sync,
// cursor pass, status texts and presentation (defined in host/frame_end.cpp).
void serveFrameEnd();

// The processor reached the enabled breakpoint: opens the monitor and returns when it is
// left (defined in monitor/monitor.cpp).
void breakpointReached();
