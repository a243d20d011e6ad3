// The files the generator is expected to write.
#pragma once

#include <string>
#include <vector>

namespace content_tests {

inline std::vector<std::string> expectedFiles() {
    return {"neuron_0.glb",
            "neuron_1.glb",
            "neuron_2.glb",
            "neuron_3.glb",
            "neuron_4.glb",
            "neuron_5.glb",
            "glia.glb",
            "hebe_statue.glb",
            "pedestal.glb",
            "sky.glb",
            "sky_px.png",
            "sky_nx.png",
            "sky_py.png",
            "sky_ny.png",
            "sky_pz.png",
            "sky_nz.png",
            "sky_cube.png",
            "membrane.png",
            "terminal_glow.png",
            "marble.png",
            "pedestal_marble.png",
            "glia.png",
            "font.png",
            "font.metrics",
            "neurons.scene.xml",
            "glia_field.scene.xml"};
}

}  // namespace content_tests
