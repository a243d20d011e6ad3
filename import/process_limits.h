// What the helper may take of the machine, set before it reads a byte of the file: a file that
// makes the import library loop or grow forever ends the helper, not the viewer.
#pragma once

// Seconds of processor time; the viewer also stops waiting after a while of its own.
constexpr unsigned kMostProcessorSeconds = 90;

// Limits processor time, memory (address space: three quarters of the machine's memory, at most
// 16 GiB) and core dumps (none).
void limitThisProcess();
