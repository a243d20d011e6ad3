#include "engine/formats/material_format.h"

#include <algorithm>
#include <new>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/xml_source.h"

namespace engine {
namespace {

MaterialDesc readMaterial(const XmlSource& source);
MaterialTexture readTexture(const XmlSource& source, pugi::xml_node node);
MaterialUniform readUniform(const XmlSource& source, pugi::xml_node node);
std::string readFont(const XmlSource& source, pugi::xml_node node, const MaterialDesc& material);

}  // namespace

Parsed<MaterialDesc> parseMaterial(std::string_view bytes) {
    try {
        XmlSource source(bytes, "material");
        return Parsed<MaterialDesc>::success(readMaterial(source));
    } catch (const FormatError& error) {
        return Parsed<MaterialDesc>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<MaterialDesc>::failure("out of memory");
    }
}

namespace {

void requireUnique(const XmlSource& source, pugi::xml_node node, const MaterialDesc& material,
                   const std::string& name);
std::vector<std::string> defineWords(const XmlSource& source, pugi::xml_node root);

MaterialDesc readMaterial(const XmlSource& source) {
    pugi::xml_node root = source.root();
    source.allowAttributes(root, {"shader", "faceCulling", "frustumCulling", "blend", "defines"});
    MaterialDesc material;
    material.shader = source.requiredText(root, "shader");
    if (!isPlainName(material.shader)) {
        source.fail(root, quotedExcerpt(material.shader) + " is not a file name");
    }
    std::string faceCulling = source.optionalText(root, "faceCulling", "back");
    if (faceCulling != "back" && faceCulling != "none") {
        source.fail(root, "unknown face culling " + quotedExcerpt(faceCulling) + " (back or none)");
    }
    material.cullsBackFaces = faceCulling == "back";
    material.frustumCulled = source.flag(root, "frustumCulling", true);
    std::string blend = source.optionalText(root, "blend", "opaque");
    if (blend != "opaque" && blend != "alpha") {
        source.fail(root, "unknown blend " + quotedExcerpt(blend) + " (opaque or alpha)");
    }
    material.blend = blend == "alpha" ? MaterialBlend::Alpha : MaterialBlend::Opaque;
    material.defines = defineWords(source, root);
    for (pugi::xml_node element : source.childElements(root, {"texture", "uniform", "font"})) {
        if (std::string_view(element.name()) == "font") {
            material.fontMetrics = readFont(source, element, material);
        } else if (std::string_view(element.name()) == "texture") {
            MaterialTexture texture = readTexture(source, element);
            requireUnique(source, element, material, texture.sampler);
            material.textures.push_back(texture);
        } else {
            MaterialUniform uniform = readUniform(source, element);
            requireUnique(source, element, material, uniform.name);
            material.uniforms.push_back(uniform);
        }
    }
    return material;
}

MaterialTexture readTexture(const XmlSource& source, pugi::xml_node node) {
    source.allowAttributes(node, {"sampler", "file", "kind", "mipmaps"});
    source.childElements(node, {});
    MaterialTexture texture;
    texture.sampler = source.requiredText(node, "sampler");
    if (!isGlslIdentifier(texture.sampler)) {
        source.fail(node, "sampler " + quotedExcerpt(texture.sampler) + " is not a GLSL name");
    }
    texture.file = source.requiredText(node, "file");
    if (!isPlainName(texture.file)) {
        source.fail(node, quotedExcerpt(texture.file) + " is not a file name");
    }
    std::string kind = source.optionalText(node, "kind", "2d");
    if (kind == "2d") {
        texture.kind = TextureKind::Flat;
    } else if (kind == "cube") {
        texture.kind = TextureKind::Cube;
    } else {
        source.fail(node, "unknown texture kind " + quotedExcerpt(kind) + " (2d or cube)");
    }
    texture.mipmaps = source.flag(node, "mipmaps", true);
    return texture;
}

MaterialUniform readUniform(const XmlSource& source, pugi::xml_node node) {
    source.allowAttributes(node, {"name", "value"});
    source.childElements(node, {});
    MaterialUniform uniform;
    uniform.name = source.requiredText(node, "name");
    if (!isGlslIdentifier(uniform.name)) {
        source.fail(node, "uniform " + quotedExcerpt(uniform.name) + " is not a GLSL name");
    }
    std::vector<float> value = source.numbers(node, "value", 1, 4);
    for (std::size_t index = 0; index < value.size(); ++index) {
        uniform.value[static_cast<int>(index)] = value[index];
    }
    return uniform;
}

std::string readFont(const XmlSource& source, pugi::xml_node node, const MaterialDesc& material) {
    source.allowAttributes(node, {"metrics"});
    source.childElements(node, {});
    if (!material.fontMetrics.empty()) {
        source.fail(node, "a material has at most one <font>");
    }
    std::string metrics = source.requiredText(node, "metrics");
    if (!isPlainName(metrics)) {
        source.fail(node, quotedExcerpt(metrics) + " is not a file name");
    }
    return metrics;
}

// Blank-separated GLSL names, each once.
std::vector<std::string> defineWords(const XmlSource& source, pugi::xml_node root) {
    const std::string text = source.optionalText(root, "defines", "");
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!isGlslIdentifier(word)) {
            source.fail(root, "define " + quotedExcerpt(word) + " is not a GLSL name");
        }
        if (std::find(words.begin(), words.end(), word) == words.end()) {
            words.push_back(std::move(word));
        }
    }
    return words;
}

// Samplers and uniforms share the shader's name space, so one name may appear once.
void requireUnique(const XmlSource& source, pugi::xml_node node, const MaterialDesc& material,
                   const std::string& name) {
    for (const MaterialTexture& texture : material.textures) {
        if (texture.sampler == name) {
            source.fail(node, quotedExcerpt(name) + " is already a sampler of this material");
        }
    }
    for (const MaterialUniform& uniform : material.uniforms) {
        if (uniform.name == name) {
            source.fail(node, quotedExcerpt(name) + " is already a uniform of this material");
        }
    }
}

}  // namespace
}  // namespace engine
