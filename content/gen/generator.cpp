#include "generator.h"

#include <algorithm>
#include <array>

#include <glm/geometric.hpp>

#include "file_output.h"
#include "font_atlas.h"
#include "glia.h"
#include "gltf_writer.h"
#include "neuron.h"
#include "pedestal.h"
#include "png_writer.h"
#include "sky.h"
#include "statue.h"
#include "textures.h"
#include "world_layout.h"

namespace content {
namespace {

std::size_t triangleCount(const std::vector<NamedMesh>& meshes) {
    std::size_t triangles = 0;
    for (const NamedMesh& mesh : meshes) {
        triangles += mesh.mesh.triangleCount();
    }
    return triangles;
}

float boundingRadius(const std::vector<NamedMesh>& meshes) {
    float radius = 0.0f;
    for (const NamedMesh& mesh : meshes) {
        for (const Vertex& vertex : mesh.mesh.vertices) {
            radius = std::max(radius, glm::length(vertex.position));
        }
    }
    return radius;
}

// Writes files and keeps the tally.
class ContentWriter {
  public:
    explicit ContentWriter(std::filesystem::path directory) : directory_(std::move(directory)) {
        std::filesystem::create_directories(directory_);
    }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes,
               std::size_t triangles = 0) {
        writeFile(directory_ / name, bytes);
        summary_.files.push_back({name, bytes.size(), triangles});
        summary_.totalBytes += bytes.size();
    }

    void writeModel(const std::string& name, const std::vector<NamedMesh>& meshes) {
        write(name, encodeGlb(meshes), triangleCount(meshes));
    }

    void writeImage(const std::string& name, const Image& image) { write(name, encodePng(image)); }

    void writeText(const std::string& name, const std::string& text) {
        write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    GenerationSummary& summary() { return summary_; }

  private:
    std::filesystem::path directory_;
    GenerationSummary summary_;
};

struct WorldModels {
    std::array<std::size_t, kNeuronVariants> neuronTriangles{};
    std::array<float, kNeuronVariants> neuronRadii{};
    std::size_t gliaTriangles = 0;
    float gliaRadius = 0.0f;
    std::size_t fixedTriangles = 0;  // statue, pedestal and sky: placed once
};

void writeNeurons(ContentWriter& writer, WorldModels& models) {
    for (int variant = 0; variant < kNeuronVariants; ++variant) {
        NeuronMeshes neuron = buildNeuron(variant);
        const std::vector<NamedMesh> meshes{{"membrane", std::move(neuron.membrane)},
                                            {"terminals", std::move(neuron.terminals)}};
        const auto index = static_cast<std::size_t>(variant);
        models.neuronTriangles[index] = triangleCount(meshes);
        models.neuronRadii[index] = boundingRadius(meshes);
        writer.writeModel("neuron_" + std::to_string(variant) + ".glb", meshes);
    }
}

void writeGlia(ContentWriter& writer, WorldModels& models) {
    const std::vector<NamedMesh> clusters = buildGliaClusters();
    models.gliaTriangles = triangleCount(clusters);
    models.gliaRadius = boundingRadius(clusters);
    writer.writeModel("glia.glb", clusters);
}

void writeFixedModels(ContentWriter& writer, WorldModels& models) {
    const std::vector<NamedMesh> statue{{"statue", buildStatue()}};
    const std::vector<NamedMesh> pedestal{{"pedestal", buildPedestal()}};
    const std::vector<NamedMesh> sky{{"sky", buildSkyMesh()}};
    writer.writeModel("hebe_statue.glb", statue);
    writer.writeModel("pedestal.glb", pedestal);
    writer.writeModel("sky.glb", sky);
    models.fixedTriangles = triangleCount(statue) + triangleCount(pedestal) + triangleCount(sky);
}

// Six separate faces, and the same faces stacked +x to -z in one image for loaders that take
// a cube map as a single strip.
void writeSky(ContentWriter& writer) {
    const std::array<Image, kCubeFaces> faces = renderSkyFaces();
    for (int face = 0; face < kCubeFaces; ++face) {
        writer.writeImage(
            std::string("sky_") + kCubeFaceSuffixes[static_cast<std::size_t>(face)] + ".png",
            faces[static_cast<std::size_t>(face)]);
    }
    writer.writeImage("sky_cube.png", stackVertically({faces.begin(), faces.end()}));
}

void writeTextures(ContentWriter& writer) {
    writer.writeImage("membrane.png", membraneTexture());
    writer.writeImage("terminal_glow.png", terminalGlowTexture());
    writer.writeImage("marble.png", marbleTexture(51U, glm::vec3(0.52f, 0.53f, 0.56f)));
    writer.writeImage("pedestal_marble.png", marbleTexture(52U, glm::vec3(0.6f, 0.56f, 0.52f)));
    writer.writeImage("glia.png", gliaTexture());
}

void writeFont(ContentWriter& writer, const std::filesystem::path& fontFile) {
    const FontAtlas atlas = bakeFontAtlas(fontFile);
    writer.writeImage("font.png", atlas.image);
    writer.writeText("font.metrics", atlas.metrics);
}

std::size_t worldTriangles(const WorldLayout& layout, const WorldModels& models) {
    std::size_t triangles = models.fixedTriangles;
    for (const NeuronPlacement& neuron : layout.neurons) {
        triangles += models.neuronTriangles[static_cast<std::size_t>(neuron.variant)];
    }
    return triangles + layout.glia.size() * models.gliaTriangles;
}

}  // namespace

GenerationSummary generateContent(const std::filesystem::path& outputDirectory,
                                  const std::filesystem::path& fontFile) {
    ContentWriter writer(outputDirectory);
    WorldModels models;
    writeNeurons(writer, models);
    writeGlia(writer, models);
    writeFixedModels(writer, models);
    writeSky(writer);
    writeTextures(writer);
    writeFont(writer, fontFile);
    const WorldLayout layout = planWorldLayout(models.neuronRadii, models.gliaRadius);
    writer.writeText("neurons.scene.xml", neuronsSceneXml(layout));
    writer.writeText("glia_field.scene.xml", gliaFieldSceneXml(layout));
    writer.summary().worldTriangles = worldTriangles(layout, models);
    return writer.summary();
}

std::filesystem::path defaultFontFile() {
    return CONTENT_FONT_FILE;
}

}  // namespace content
