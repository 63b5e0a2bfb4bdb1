#pragma once

// Opens the monitor; returns when it is left.
void runMonitor();
