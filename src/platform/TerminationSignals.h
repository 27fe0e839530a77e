#pragma once

#include <QStringList>

// Ends the event loop, as "&Quitter" does, when the system asks the program to stop (SIGTERM, SIGINT, SIGHUP on
// Unix): the window's closing steps then run, so that a keyed transmitter is released before the program exits.
void QuitOnTerminationSignals();

// For a program without an event loop (tonique-wav): when the system asks it to stop (SIGTERM, SIGINT, SIGHUP on
// Unix), removes these files, the half-written ones of the work under way, then ends as the signal asks. Replaces
// the files of an earlier call.
void RemoveOnTerminationSignals(const QStringList& paths);
