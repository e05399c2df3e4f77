// The machine screen's handlers: its load and unload, its keys and its twelve timers, connected to the game.
#pragma once

// Connecting them again changes nothing. A day connects them before its screen loads.
void ConnectMachineScreen();
