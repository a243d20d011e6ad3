// A stand-in for the engine that records every call with its arguments into the call log
// and answers with scripted results.
#pragma once

#include <map>
#include <utility>

#include "engine/h3d.h"
#include "engine/h3dut.h"

struct RecordingEngine {
    // Scripted results.
    bool initSucceeds = true;
    H3DRes firstResourceHandle = 10;
    H3DNode firstNodeHandle = 100;

    // What the fake hands out and remembers.
    H3DRes nextResourceHandle = 10;
    H3DNode nextNodeHandle = 100;
    std::map<std::pair<H3DNode, int>, int> nodeParams;
};

RecordingEngine& recordingEngine();
// Forgets everything and restores the default script; also clears the call log.
void resetRecordingEngine();
