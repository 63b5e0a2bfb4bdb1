#pragma once
#include <string>

#include "shell/pacing.h"

// defined in host/frame_end.cpp

// The frame end, served when a step reports its frame complete and before the next step
// draws anything of the new frame, in two halves around the wait of the speed sync: the
// frame counted, the autostart's next step (and with the vertical blank the cursor pass),
// then the stamp, the cursor pass, status texts and the presentation.
Wait beginFrameEnd();
void endFrameEnd();
// Both halves with the wait performed between them.
void serveFrameEnd();

// Speed synchronisation at each frame boundary: free-running, on the vertical blank,
// or at 50 frames per second on the performance counter; the wait, and the wait
// performed with the stamp taken after it.
Wait frameSyncWait();
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
