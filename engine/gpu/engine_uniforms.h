// The uniforms the engine sets itself. A program declares the ones it uses; their locations
// are looked up once, when the program is linked (-1 for those it does not declare).
#pragma once

#include <cstddef>

#include <epoxy/gl.h>

namespace engine {

// The most lights one draw is lit by.
inline constexpr int kMaximumLights = 8;
// The most joints a skin may have to be skinned on the GPU: jointRows holds three vectors each,
// 768 of the 1024 that OpenGL 2.0 hardware commonly gives a vertex program.
inline constexpr std::size_t kMaximumGpuJoints = 256;
// The engine's own texture units, at the top of the sixteen every context offers; materials and
// quad inputs use the units below kEnvironmentBackgroundUnit.
inline constexpr GLint kEnvironmentBackgroundUnit = 12;
inline constexpr GLint kSceneBehindUnit = 13;
inline constexpr GLint kEnvironmentMapUnit = 14;
inline constexpr GLint kShadowMapUnit = 15;
inline constexpr int kMostMaterialTextures = kEnvironmentBackgroundUnit;

struct EngineUniforms {
    GLint worldMatrix = -1;            // mat4: the mesh node's world matrix
    GLint normalMatrix = -1;           // mat3: inverse transpose of its upper 3x3
    GLint viewProjectionMatrix = -1;   // mat4: world to clip space
    GLint cameraPosition = -1;         // vec3: in world space
    GLint lightCount = -1;             // int: how many entries of the light arrays are used
    GLint lightPositions = -1;         // vec4[8]: xyz world position, w = 1 / radius^2
    GLint lightColors = -1;            // vec4[8]: rgb colour, a = 1 when the light casts shadows
    GLint lightDirections = -1;        // vec4[8]: xyz the way it shines, w = 1 for directional
    GLint lightCones = -1;             // vec4[8]: x, y cone scale and offset, z = 1 for 1/d^2
    GLint plainLightCount = -1;        // int: the leading entries that are plain point lights
    GLint shadowMatrices = -1;         // mat4[6]: world to shadow map coordinates, per cube face
    GLint shadowMap = -1;              // sampler2DShadow: the six faces side by side, bilinear
    GLint shadowMapTexelSize = -1;     // vec2: 1 / the shadow map texture's width and height
    GLint targetSize = -1;             // vec4: the current target's width, height, 1/w, 1/h
    GLint screenSize = -1;             // vec4: the camera's viewport width, height, 1/w, 1/h
    GLint jointRows = -1;              // vec4[768]: three rows of each joint's skinning matrix
    GLint environmentMap = -1;         // samplerCube: prefiltered radiance, a level per roughness
    GLint environmentBackground = -1;  // samplerCube: the environment's own cube, for skies
    GLint environmentIrradiance = -1;  // vec3[9]: the diffuse light's harmonic terms
    GLint environmentLevels = -1;      // float: the environment map's roughest level
    GLint sceneBehind = -1;            // sampler2D: the opaque scene, for transmissive surfaces
};

EngineUniforms lookUpEngineUniforms(GLuint program);

}  // namespace engine
