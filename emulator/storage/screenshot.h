#pragma once

// Writes the frame buffer to the first free "Output%.3d.bmp"; 400 x 300 with the
// border when Shift is held. Clears shell.requests.screenshot.
void writeScreenshot();
