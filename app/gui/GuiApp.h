#pragma once

// Starts the interactive host: the main window, with the recording files named on the
// command line already open. Returns the application's exit code.
int runGui(int argc, char** argv);
