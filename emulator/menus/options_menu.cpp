// Placeholder until this unit is built; replace the whole file.
#include "menus/menus.h"
void runOptionsMenu() {}
