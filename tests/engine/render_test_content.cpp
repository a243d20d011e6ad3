#include "render_test_content.h"

#include <gtest/gtest.h>

#include <epoxy/gl.h>
#include <stb_image_write.h>

#include "engine/h3dut.h"

namespace render_test {
namespace {

const char* kFlatShader =
    "// Unlit: each material in its own colour, times its texture.\n"
    "@shared\n"
    "uniform mat4 worldMatrix;\n"
    "uniform mat4 viewProjectionMatrix;\n"
    "uniform vec4 surfaceColor;\n"
    "uniform sampler2D surfaceMap;\n"
    "varying vec2 texCoord;\n"
    "@context flat\n"
    "@vertex\n"
    "attribute vec3 vertexPosition;\n"
    "attribute vec2 vertexTexCoord;\n"
    "void main() {\n"
    "    texCoord = vertexTexCoord;\n"
    "    gl_Position = viewProjectionMatrix * worldMatrix * vec4(vertexPosition, 1.0);\n"
    "}\n"
    "@fragment\n"
    "void main() { gl_FragColor = surfaceColor * texture2D(surfaceMap, texCoord); }\n"
    "@context copy\n"
    "@vertex\n"
    "attribute vec3 vertexPosition;\n"
    "void main() {\n"
    "    texCoord = vertexPosition.xy * 0.5 + 0.5;\n"
    "    gl_Position = vec4(vertexPosition.xy, 0.0, 1.0);\n"
    "}\n"
    "@fragment\n"
    "uniform sampler2D picture;\n"
    "void main() { gl_FragColor = texture2D(picture, texCoord); }\n";

std::string numbers(glm::vec4 value) {
    return std::to_string(value.x) + " " + std::to_string(value.y) + " " + std::to_string(value.z) +
           " " + std::to_string(value.w);
}

void writeWhitePng(const ScratchDirectory& directory) {
    directory.write("white.png", pngOf(1, 1, {{255, 255, 255, 255}}));
}

}  // namespace

void writeFlatShader(const ScratchDirectory& directory) {
    directory.write("flat.shader", kFlatShader);
}

void writeFlatMaterial(const ScratchDirectory& directory, const std::string& name, glm::vec4 color,
                       const std::string& texture, const std::string& extraAttributes) {
    if (texture.empty()) {
        writeWhitePng(directory);
    }
    directory.write(name, "<material shader=\"flat.shader\" " + extraAttributes +
                              "><texture sampler=\"surfaceMap\" file=\"" +
                              (texture.empty() ? "white.png" : texture) +
                              "\"/><uniform name=\"surfaceColor\" value=\"" + numbers(color) +
                              "\"/></material>");
}

void writeLitMaterial(const ScratchDirectory& directory, const std::string& name, glm::vec3 albedo,
                      glm::vec3 emission) {
    writeWhitePng(directory);
    directory.write(name,
                    "<material shader=\"model.shader\">"
                    "<texture sampler=\"albedoMap\" file=\"white.png\"/>"
                    "<uniform name=\"albedoColor\" value=\"" +
                        numbers(glm::vec4(albedo, 1.0f)) +
                        "\"/><uniform name=\"specular\" value=\"0 8\"/>"
                        "<uniform name=\"emission\" value=\"" +
                        numbers(glm::vec4(emission, 0.0f)) + "\"/></material>");
}

void copyShippedFiles(const ScratchDirectory& directory, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        directory.write(name, placeholderContent(name));
    }
}

void writeGltf(const ScratchDirectory& directory, const std::string& name,
               const gltf_test::Mesh& mesh) {
    directory.write(name, gltf_test::gltfWithDataUri(gltf_test::Document{{mesh}, {}, {}}));
    // The file's default material draws with it, used or not.
    copyShippedFiles(directory, {"model.shader"});
}

void writeFlatPipeline(const ScratchDirectory& directory, bool offscreen) {
    if (!offscreen) {
        directory.write("flat.pipeline.xml",
                        "<pipeline><stage><switchTarget target=\"screen\"/>"
                        "<clear color=\"0 0 0 1\" depth=\"1\"/><drawGeometry context=\"flat\"/>"
                        "</stage></pipeline>");
        return;
    }
    writeFlatMaterial(directory, "copy.material.xml", glm::vec4(1.0f));
    directory.write("flat.pipeline.xml",
                    "<pipeline><target name=\"picture\" depth=\"true\"/><stage>"
                    "<switchTarget target=\"picture\"/><clear color=\"0 0 0 1\" depth=\"1\"/>"
                    "<drawGeometry context=\"flat\"/><switchTarget target=\"screen\"/>"
                    "<drawQuad material=\"copy.material.xml\" context=\"copy\">"
                    "<input sampler=\"picture\" target=\"picture\"/></drawQuad>"
                    "</stage></pipeline>");
}

std::string pngOf(int width, int height, const std::vector<std::array<unsigned char, 4>>& pixels) {
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<std::size_t>(size));
        },
        &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

H3DNode loadScene(const ScratchDirectory& directory, const std::string& sceneFile,
                  bool expectSuccess) {
    H3DRes scene = h3dAddResource(H3DResTypes::SceneGraph, sceneFile.c_str(), 0);
    bool loaded = h3dutLoadResourcesFromDisk(directory.path().c_str());
    if (expectSuccess) {
        EXPECT_TRUE(loaded) << joined(takeMessages());
    }
    return h3dAddNodes(H3DRootNode, scene);
}

H3DNode addCamera(H3DRes pipeline, int width, int height, float fieldOfView) {
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", pipeline);
    setViewport(camera, pipeline, width, height, fieldOfView);
    return camera;
}

void setViewport(H3DNode camera, H3DRes pipeline, int width, int height, float fieldOfView) {
    h3dSetNodeParamI(camera, H3DCamera::ViewportXI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportYI, 0);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, width);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, height);
    h3dSetupCameraView(camera, fieldOfView, static_cast<float>(width) / static_cast<float>(height),
                       0.1f, 100.0f);
    h3dResizePipelineBuffers(pipeline, width, height);
}

void renderFrame(H3DNode camera) {
    h3dRender(camera);
    h3dFinalizeFrame();
    h3dClearOverlays();
}

Picture::Picture(int width, int height)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 4) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes_.data());
}

std::array<int, 4> Picture::at(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * width_ + x) * 4;
    return {bytes_[offset], bytes_[offset + 1], bytes_[offset + 2], bytes_[offset + 3]};
}

int Picture::brightness(int x, int y) const {
    std::array<int, 4> color = at(x, y);
    return color[0] + color[1] + color[2];
}

int Picture::brightAlongRow(int y, int threshold) const {
    int count = 0;
    for (int column = 0; column < width_; ++column) {
        count += brightness(column, y) > threshold ? 1 : 0;
    }
    return count;
}

int Picture::brightAlongColumn(int x, int threshold) const {
    int count = 0;
    for (int row = 0; row < height_; ++row) {
        count += brightness(x, row) > threshold ? 1 : 0;
    }
    return count;
}

}  // namespace render_test
