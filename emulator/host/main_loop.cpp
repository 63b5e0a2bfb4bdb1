// Placeholder until this unit is built; replace the whole file.
#include "host/shell.h"
uint16_t screenshotRequest, optionsMenuRequest, gameDatabaseRequest, loadMenuRequest, saveMenuRequest, monitorRequest, softResetRequest, hardResetRequest, specialResetRequest;
uint16_t hostRequestPending, menuOpen, shiftHeld, ctrlHeld, quickRegistersShown; uint8_t windowActive, quitRequested;
uint32_t pumpCounter, passCounter; uint64_t ticksPerFrame, frameStamp; int32_t savedPriorityClass;
int startEmulator(const char*, int) { return 0; }
int32_t windowProc(const platform::Message&) { return 0; }
void frameSync() {}
void hardReset() {}
void specialReset() {}
void requestExit(int32_t) {}
