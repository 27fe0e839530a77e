#pragma once

// Ends the event loop, as "&Quitter" does, when the system asks the program to stop (SIGTERM, SIGINT, SIGHUP on
// Unix): the window's closing steps then run, so that a keyed transmitter is released before the program exits.
void QuitOnTerminationSignals();
