// A skinned, animated tube written as a .glb: a chain of joints standing along +y, each bone
// one unit long, the tube's rings bound to the bones around them. Its animation "bend" turns
// each joint but the first about +z from 0 at time 0 to bendDegrees at time 1 (linear), so
// that the tube curls to the left. Tests, the end-to-end run and the benchmark use it.
#pragma once

#include <string>

namespace gltf_test {

struct BendingTube {
    int joints = 2;
    int ringsPerBone = 4;
    int around = 12;
    float radius = 0.15f;
    float bendDegrees = 90.0f;
    // The tube's colour, drawn unlit so that readbacks see it whatever the lights.
    float red = 1.0f;
    float green = 0.0f;
    float blue = 0.0f;
    // Whether the time loops back from 1 to 0 over a second, for a run that shows motion.
    bool bendAndReturn = false;
    // With a morph target that moves every vertex this far along +x, at weight 1; 0 for none.
    float morphShift = 0.0f;

    std::string glb() const;
};

}  // namespace gltf_test
