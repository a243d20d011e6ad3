#include "engine/gpu/engine_uniforms.h"

#include <utility>

namespace engine {

EngineUniforms lookUpEngineUniforms(GLuint program) {
    EngineUniforms uniforms;
    uniforms.worldMatrix = glGetUniformLocation(program, "worldMatrix");
    uniforms.normalMatrix = glGetUniformLocation(program, "normalMatrix");
    uniforms.viewProjectionMatrix = glGetUniformLocation(program, "viewProjectionMatrix");
    uniforms.cameraPosition = glGetUniformLocation(program, "cameraPosition");
    uniforms.lightCount = glGetUniformLocation(program, "lightCount");
    uniforms.lightPositions = glGetUniformLocation(program, "lightPositions");
    uniforms.lightColors = glGetUniformLocation(program, "lightColors");
    uniforms.lightDirections = glGetUniformLocation(program, "lightDirections");
    uniforms.lightCones = glGetUniformLocation(program, "lightCones");
    uniforms.plainLightCount = glGetUniformLocation(program, "plainLightCount");
    uniforms.shadowMatrices = glGetUniformLocation(program, "shadowMatrices");
    uniforms.shadowMap = glGetUniformLocation(program, "shadowMap");
    uniforms.shadowMapTexelSize = glGetUniformLocation(program, "shadowMapTexelSize");
    uniforms.targetSize = glGetUniformLocation(program, "targetSize");
    uniforms.screenSize = glGetUniformLocation(program, "screenSize");
    uniforms.jointRows = glGetUniformLocation(program, "jointRows");
    uniforms.environmentMap = glGetUniformLocation(program, "environmentMap");
    uniforms.environmentIrradiance = glGetUniformLocation(program, "environmentIrradiance");
    uniforms.environmentLevels = glGetUniformLocation(program, "environmentLevels");
    uniforms.sceneBehind = glGetUniformLocation(program, "sceneBehind");
    uniforms.environmentBackground = glGetUniformLocation(program, "environmentBackground");
    // A sampler's unit is program state: set once here, never again per frame.
    const std::pair<GLint, GLint> samplerUnits[] = {
        {uniforms.shadowMap, kShadowMapUnit},
        {uniforms.environmentMap, kEnvironmentMapUnit},
        {uniforms.sceneBehind, kSceneBehindUnit},
        {uniforms.environmentBackground, kEnvironmentBackgroundUnit}};
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(program);
    for (const auto& [location, unit] : samplerUnits) {
        if (location >= 0) {
            glUniform1i(location, unit);
        }
    }
    glUseProgram(static_cast<GLuint>(previous));
    return uniforms;
}

}  // namespace engine
