// The machine screen's handlers: its load and unload, its keys and its twelve timers, connected to the game.
#pragma once

// Connecting them again changes nothing. The program connects them once, as it is put together
// (AssembleProgram).
void ConnectMachineScreen();
