// Writes the skinned, animated tube the animation test opens: it bends over a second and
// straightens over the next, looping. Usage: write-bending-tube FILE.glb
#include <cstdio>
#include <fstream>

#include "gltf_bending_tube.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write-bending-tube FILE.glb\n", stderr);
        return 1;
    }
    gltf_test::BendingTube tube;
    tube.bendAndReturn = true;
    std::ofstream file(argv[1], std::ios::binary);
    file << tube.glb();
    return file ? 0 : 1;
}
