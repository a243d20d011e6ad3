// Draws mesh nodes with their materials' programs for one shader context, sorted so that each
// program and each material is set up once, and front to back within a material so that
// hidden pixels fail the depth test before they are shaded. Alpha-blended materials come after
// all others, back to front; transmissive ones between the two, after a copy of what the opaque
// ones drew.
#pragma once

#include <vector>

#include "engine/gpu/stand_in_textures.h"
#include "engine/render/frame_stats.h"
#include "engine/render/frustum.h"
#include "engine/render/material_locations.h"
#include "engine/render/pass_uniforms.h"
#include "engine/render/scene_behind.h"
#include "engine/render/scene_collector.h"
#include "engine/resources/resource_table.h"

namespace engine {

// What the pass draws with, kept by the renderer.
struct MeshPassTools {
    MaterialLocations& locations;
    const ResourceTable& resources;
    const StandInTextures& standIns;
    FrameStats& stats;
    // Where transmissive surfaces find the scene behind them; none in passes that draw them as
    // opaque (shadow maps).
    SceneBehind* sceneBehind = nullptr;
};

// The shader contexts one draw of the meshes uses.
struct DrawContexts {
    int context = -1;
    // For meshes out of the key light's reach, where their shader has it; -1 for none.
    int fillOnlyContext = -1;
    // Whether alpha-blended materials are blended, over what is drawn and without writing
    // depth: true for a camera's opaque pass, false where the whole pass decides (shadow maps,
    // blended commands).
    bool blendsMaterials = false;
};

enum class FaceSide {
    // Culls back faces of materials that ask for it: the camera's view.
    Back,
    // Culls front faces instead: shadow maps store the far sides of closed meshes, which keeps
    // lit surfaces from shadowing themselves.
    Front,
};

class MeshPass {
  public:
    // Draws the meshes in view, or with a frustum given, those whose box it may contain.
    void draw(const std::vector<MeshDraw>& meshes, DrawContexts contexts, const Frustum* frustum,
              FaceSide culled, const PassUniforms& pass, MeshPassTools& tools);

  private:
    // Drawn in this order.
    enum class Layer { Opaque, Transmissive, Blended };
    struct Entry {
        ContextProgram* program;
        const MeshDraw* mesh;
        Layer layer;
    };

    // Kept between frames so that its storage is reused.
    std::vector<Entry> entries_;

    void gather(const std::vector<MeshDraw>& meshes, DrawContexts contexts, const Frustum* frustum,
                const LightSet* lights);
    void drawEntries(FaceSide culled, const PassUniforms& pass, MeshPassTools& tools) const;
};

}  // namespace engine
