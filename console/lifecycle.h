// Start-up and shut-down of the console.
#pragma once

// Prints the opening line, builds the first table in a 1 MB block, prints
// the start time stamp and the statistics line.
void startUp();

// Prints the farewell and the end time stamp, gives every table block back
// and waits for one more character.
void shutDown();
