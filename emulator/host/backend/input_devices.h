#pragma once
// The DirectInput keyboard device as every backend keeps it: created, given its format,
// acquired while the window has the focus and lost when the focus goes. The functions of
// platform.h that only keep this state are defined in host/backend/input_devices.cpp
// (createKeyboardDevice, setKeyboardDataFormat, acquireKeyboard, releaseKeyboard), and
// gamepadState with them; a backend answers the rest, which need its window or its keys.
#include "platform/platform.h"

namespace backend {

// The window gained or lost the focus; an acquired keyboard is lost with it, and every
// key goes up.
void keyboardFocusChanged(bool hasFocus);
// ok when the keyboard is acquired, inputLost after a focus loss, failed otherwise: the
// answer of platform::getKeyboardState before any key is read.
platform::Result keyboardReadable();

}  // namespace backend
