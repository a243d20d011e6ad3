#include "engine/render/pass_uniforms.h"

#include <glm/gtc/type_ptr.hpp>

namespace engine {

glm::vec4 sizeUniform(int width, int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    return glm::vec4(w, h, 1.0f / w, 1.0f / h);
}

void applyPassUniforms(ContextProgram& program, const PassUniforms& pass) {
    if (program.passStamp == pass.stamp) {
        return;
    }
    program.passStamp = pass.stamp;
    const EngineUniforms& uniforms = program.uniforms;
    if (uniforms.viewProjectionMatrix >= 0) {
        glUniformMatrix4fv(uniforms.viewProjectionMatrix, 1, GL_FALSE,
                           glm::value_ptr(pass.viewProjection));
    }
    if (uniforms.cameraPosition >= 0) {
        glUniform3fv(uniforms.cameraPosition, 1, glm::value_ptr(pass.cameraPosition));
    }
    if (pass.lights != nullptr) {
        const LightSet& lights = *pass.lights;
        glUniform1i(uniforms.lightCount, lights.count);
        glUniform1i(uniforms.plainLightCount, lights.plainCount);
        if (lights.count > 0) {
            glUniform4fv(uniforms.lightPositions, lights.count,
                         glm::value_ptr(lights.positions[0]));
            glUniform4fv(uniforms.lightColors, lights.count, glm::value_ptr(lights.colors[0]));
            glUniform4fv(uniforms.lightDirections, lights.count,
                         glm::value_ptr(lights.directions[0]));
            glUniform4fv(uniforms.lightCones, lights.count, glm::value_ptr(lights.cones[0]));
        }
    }
    if (pass.environment != nullptr && uniforms.environmentIrradiance >= 0) {
        glUniform3fv(uniforms.environmentIrradiance, 9,
                     glm::value_ptr(pass.environment->irradiance[0]));
        glUniform1f(uniforms.environmentLevels,
                    static_cast<float>(pass.environment->roughestLevel));
    }
    if (pass.shadowMatrices != nullptr && uniforms.shadowMatrices >= 0) {
        glUniformMatrix4fv(uniforms.shadowMatrices, 6, GL_FALSE,
                           glm::value_ptr((*pass.shadowMatrices)[0]));
    }
    if (uniforms.shadowMapTexelSize >= 0) {
        glUniform2fv(uniforms.shadowMapTexelSize, 1, glm::value_ptr(pass.shadowTexelSize));
    }
    if (uniforms.targetSize >= 0) {
        glUniform4fv(uniforms.targetSize, 1, glm::value_ptr(pass.targetSize));
    }
    if (uniforms.screenSize >= 0) {
        glUniform4fv(uniforms.screenSize, 1, glm::value_ptr(pass.screenSize));
    }
}

}  // namespace engine
