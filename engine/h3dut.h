// The engine's utility library: loading from disk and the message log.
#pragma once

#include "h3d.h"

// Loads every declared, unloaded resource from <contentDirectory>/<name>, together with
// everything those resources refer to. False when any of them failed to load.
bool h3dutLoadResourcesFromDisk(const char* contentDirectory);
// Writes the queued engine messages to standard error, one line each, and empties the queue.
bool h3dutDumpMessages();
