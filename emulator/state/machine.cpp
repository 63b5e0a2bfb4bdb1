// The program's one machine.
#include "state/machine.h"

Machine theMachine;
