// Placeholder until this unit is built; replace the whole file.
#include "storage/drive.h"
uint8_t d64Image[d64ImageBytes]; uint32_t trackOffset[37];
void buildTrackOffsets() {}
bool loadD64Image(const char*) { return false; }
void serveD64Command() {}
