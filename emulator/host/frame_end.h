#pragma once
#include <string>

// defined in host/frame_end.cpp; the frame end itself is serveFrameEnd (machine/frame_end.h).

// Speed synchronisation at each frame boundary: free-running, on the vertical blank,
// or at 50 frames per second on the performance counter.
void frameSync();
// Status texts drawn into the frame buffer at frame end.
void drawRegisterLine();
void drawClock();
void drawSpeed();
// A true drive's LED (a cell lit red or dark) and its track, left of the speed: while its
// motor turns or its LED is lit and two seconds after, so a blinking LED stays in view.
void drawDriveStatus();
// A line at the foot of the picture for a few seconds, in capitals (a file that could
// not be started, say); one given while another is shown follows it.
void showNotice(const std::string& text);
void clearNotices();
// Shows the frame with PAUSED on its status line; the frame buffer keeps the machine's frame.
void presentPaused();
