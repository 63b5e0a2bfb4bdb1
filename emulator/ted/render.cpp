// Placeholder until this unit is built; replace the whole file.
#include "ted/raster.h"
void renderStep() {}
void cursorPass() {}
