#include "engine/gpu/engine_uniforms.h"

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
    if (uniforms.shadowMap >= 0) {
        // A sampler's unit is program state: set once here, never again per frame.
        GLint previous = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
        glUseProgram(program);
        glUniform1i(uniforms.shadowMap, kShadowMapUnit);
        glUseProgram(static_cast<GLuint>(previous));
    }
    return uniforms;
}

}  // namespace engine
