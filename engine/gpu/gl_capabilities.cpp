#include "engine/gpu/gl_capabilities.h"

#include <algorithm>

#include <epoxy/gl.h>

namespace engine {

std::optional<std::string> unsupportedContextReason() {
    // Without a current context the driver answers no version string at all.
    if (glGetString(GL_VERSION) == nullptr) {
        return std::string("no OpenGL context is current on this thread");
    }
    if (!epoxy_is_desktop_gl()) {
        return std::string("OpenGL ES contexts are not supported; desktop OpenGL 2.0 is needed");
    }
    int version = epoxy_gl_version();
    if (version < 20) {
        return "OpenGL 2.0 is needed, but the context offers only OpenGL " +
               std::to_string(version / 10) + "." + std::to_string(version % 10);
    }
    bool framebufferObjects = version >= 30 ||
                              epoxy_has_gl_extension("GL_ARB_framebuffer_object") ||
                              epoxy_has_gl_extension("GL_EXT_framebuffer_object");
    if (!framebufferObjects) {
        return std::string(
            "framebuffer objects are needed (OpenGL 3.0, GL_ARB_framebuffer_object or "
            "GL_EXT_framebuffer_object)");
    }
    // The engine's own textures take the top units of the sixteen.
    GLint textureUnits = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &textureUnits);
    if (textureUnits < 16) {
        return "16 texture units are needed, but the context offers only " +
               std::to_string(textureUnits);
    }
    return std::nullopt;
}

GlCapabilities queryCapabilities() {
    GlCapabilities capabilities;
    capabilities.version = epoxy_gl_version();
    capabilities.halfFloatTargets =
        capabilities.version >= 30 || epoxy_has_gl_extension("GL_ARB_texture_float");
    capabilities.packedFloatTargets =
        capabilities.version >= 30 || epoxy_has_gl_extension("GL_EXT_packed_float");
    capabilities.framebufferBlit = capabilities.version >= 30 ||
                                   epoxy_has_gl_extension("GL_ARB_framebuffer_object") ||
                                   epoxy_has_gl_extension("GL_EXT_framebuffer_blit");
    capabilities.anisotropicFiltering =
        capabilities.version >= 46 || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
        epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
    if (capabilities.anisotropicFiltering) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &capabilities.maxAnisotropy);
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    capabilities.rendererName = renderer != nullptr ? renderer : "";
    capabilities.softwareRasterizer = isSoftwareRasterizer(capabilities.rendererName);
    return capabilities;
}

bool isSoftwareRasterizer(const std::string& rendererName) {
    for (const char* name : {"llvmpipe", "softpipe", "SwiftShader", "Software Rasterizer"}) {
        if (rendererName.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

float usableAnisotropy(const GlCapabilities& capabilities, int maxAnisotropyOption) {
    if (!capabilities.anisotropicFiltering || capabilities.softwareRasterizer) {
        return 1.0f;
    }
    return std::clamp(static_cast<float>(maxAnisotropyOption), 1.0f, capabilities.maxAnisotropy);
}

}  // namespace engine
