// A stand-in for the engine that records every call with its arguments into the call log
// and answers with scripted results.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/h3d.h"
#include "engine/h3dut.h"

struct RecordingEngine {
    // Scripted results.
    bool initSucceeds = true;
    H3DRes firstResourceHandle = 10;
    H3DNode firstNodeHandle = 100;
    bool resourcesLoad = true;
    // h3dGetResParamI's answers by parameter, the same for every resource.
    std::map<int, int> resourceParams;
    // Each animation's name and duration, for h3dGetResParamStr and h3dGetResParamF.
    std::vector<std::pair<std::string, float>> animations;
    // h3dGetNodeAABB's answer for every node: minimum x, y, z, then maximum x, y, z.
    bool nodesHaveBox = true;
    std::array<float, 6> nodeBox{-1, -1, -1, 1, 1, 1};
    // What h3dGetMessage hands out, oldest first: level and text.
    std::deque<std::pair<int, std::string>> messages;

    // What the fake hands out and remembers.
    H3DRes nextResourceHandle = 10;
    H3DNode nextNodeHandle = 100;
    std::map<std::pair<H3DNode, int>, int> nodeParams;
};

RecordingEngine& recordingEngine();
// Forgets everything and restores the default script; also clears the call log.
void resetRecordingEngine();
