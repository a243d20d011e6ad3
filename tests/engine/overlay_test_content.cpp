#include "overlay_test_content.h"

#include <vector>

#include <epoxy/gl.h>
#include <stb_image_write.h>

#include "engine/h3dut.h"
#include "gl_test_fixture.h"

namespace {

void appendTo(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

std::vector<std::uint8_t> pixelsOf(int width, int height,
                                   const std::function<Rgba(int, int)>& colorAt) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgba color = colorAt(x, y);
            pixels.insert(pixels.end(), color.begin(), color.end());
        }
    }
    return pixels;
}

}  // namespace

std::string encodedPng(int width, int height, const std::function<Rgba(int, int)>& colorAt) {
    std::vector<std::uint8_t> pixels = pixelsOf(width, height, colorAt);
    std::string bytes;
    stbi_write_png_to_func(appendTo, &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

std::string encodedJpeg(int width, int height, const std::function<Rgba(int, int)>& colorAt) {
    std::vector<std::uint8_t> pixels = pixelsOf(width, height, colorAt);
    std::string bytes;
    stbi_write_jpg_to_func(appendTo, &bytes, width, height, 4, pixels.data(), 95);
    return bytes;
}

void writeOverlayContent(const ScratchDirectory& directory, const std::string& atlasFile,
                         const std::string& metricsFile) {
    const std::string background = std::to_string(kBackground[0]) + " " +
                                   std::to_string(kBackground[1]) + " " +
                                   std::to_string(kBackground[2]);
    directory.write("overlay.pipeline.xml", "<pipeline><stage><clear color=\"" + background +
                                                "\" depth=\"1\"/>"
                                                "<drawOverlays context=\"overlay\"/>"
                                                "</stage></pipeline>");
    directory.write("overlay.shader", placeholderContent("overlay.shader"));
    directory.write("font.material.xml",
                    "<material shader=\"overlay.shader\">"
                    "<texture sampler=\"fontAtlas\" file=\"" +
                        atlasFile + "\"/><font metrics=\"" + metricsFile + "\"/></material>");
}

H3DNode overlayCamera(H3DRes pipeline, int width, int height) {
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", pipeline);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, width);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, height);
    return camera;
}

void renderOverlayFrame(H3DNode camera) {
    h3dRender(camera);
    h3dFinalizeFrame();
}

std::array<int, 4> pixelFromTop(int x, int y, int windowHeight) {
    glReadBuffer(GL_BACK);
    return pixelAt(x, windowHeight - 1 - y);
}
