// Vertex buffers of the mesh nodes whose vertices are made on the CPU: morph targets blended at
// the node's weights, and skins the GPU path cannot take, posed into the world. Each is made
// again only when its weights or its pose change.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <epoxy/gl.h>

#include "engine/gpu/gl_object.h"
#include "engine/h3d.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/scene/scene_node.h"

namespace engine {

class BentMeshes {
  public:
    // Where a node's mesh is read from: a buffer that holds the mesh's vertices from base on.
    struct Source {
        GLuint buffer = 0;
        GLintptr base = 0;
    };

    // Before the meshes are gathered anew.
    void beginGathering();
    // The node's own vertices when its morph weights blend a target in or skinOnCpu is set;
    // otherwise the geometry's. Needs the engine's context current.
    Source vertices(H3DNode node, const MeshSettings& settings, const LoadedGeometry& geometry,
                    const MeshRange& mesh, bool skinOnCpu);
    // Frees the buffers of the nodes not asked for since beginGathering.
    void endGathering();

  private:
    struct Bent {
        GlBuffer buffer;
        const BendableMesh* source = nullptr;
        std::uint64_t morphVersion = 0;
        std::uint64_t poseVersion = 0;
        bool skinnedOnCpu = false;
        bool used = false;
    };
    std::unordered_map<H3DNode, Bent> bent_;
    std::vector<GeometryVertex> scratch_;
};

}  // namespace engine
