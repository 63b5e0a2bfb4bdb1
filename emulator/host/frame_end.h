#pragma once
// defined in host/frame_end.cpp; the frame end itself is serveFrameEnd (machine/frame_end.h).

// Speed synchronisation at each frame boundary: free-running, on the vertical blank,
// or at 50 frames per second on the performance counter.
void frameSync();
// Status texts drawn into the frame buffer at frame end.
void drawRegisterLine();
void drawClock();
void drawSpeed();
