// The main menu and the table sub-menu.
#pragma once

// Loops on the main menu until "e" (or the end of standard input).
void mainMenu();
