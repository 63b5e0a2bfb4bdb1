#pragma once

void runLoadMenu();
void runSaveMenu();
void runOptionsMenu();
void runGameDatabaseMenu();
