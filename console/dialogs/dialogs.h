// The dialogs the menus run: the four prime questions of the main menu and
// the three table operations of the table sub-menu. Each returns to the menu
// that ran it.
#pragma once

void primeTestDialog();   // main menu "1"
void nthPrimeDialog();    // main menu "2"
void nextPrimesDialog();  // main menu "3"
void factoriseDialog();   // main menu "4"

void extendDialog();   // table menu "x"
void rebuildDialog();  // table menu "b"
void fileDialog();     // table menu "f"
