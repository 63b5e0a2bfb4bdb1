#pragma once
// The keyboard device as every backend keeps it: opened, held while the window has the
// focus, lost when the focus goes and taken again by the next read once it is back.
// platform::openKeyboard, readKeys, closeKeyboard and gamepadState are defined in
// host/backend/input_devices.cpp over what each backend does for itself.
#include "platform/platform.h"

namespace backend {

// The window gained or lost the focus; a held keyboard is lost with it, and every key
// goes up.
void keyboardFocusChanged(bool hasFocus);

// Defined by each backend: its input opened (false when it has none); its events taken
// in before the keys are read; the time of a read in milliseconds, for the key queue.
bool openInput();
void pollInput();
double inputMilliseconds();

}  // namespace backend
