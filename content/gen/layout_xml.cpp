// Writes the world layout as XML with fixed decimal places, so the text is the same on every run.
#include <cstdio>
#include <string>

#include "world_layout.h"

namespace content {
namespace {

std::string triple(glm::vec3 value, const char* format) {
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<double>(value.x),
                  static_cast<double>(value.y), static_cast<double>(value.z));
    return text;
}

std::string decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
    return text;
}

std::string placementAttributes(const Placement& placement) {
    return "position=\"" + triple(placement.position, "%.2f %.2f %.2f") + "\" rotation=\"" +
           triple(placement.rotationDegrees, "%.1f %.1f %.1f") + "\" scale=\"" +
           decimal(placement.scale) + "\"";
}

}  // namespace

std::string worldLayoutXml(const WorldLayout& layout) {
    std::string xml = "<layout>\n";
    for (const NeuronPlacement& neuron : layout.neurons) {
        xml += "  <neuron variant=\"" + std::to_string(neuron.variant) + "\" " +
               placementAttributes(neuron.placement) + "/>\n";
    }
    for (const Placement& glia : layout.glia) {
        xml += "  <glia mesh-cluster=\"glia.glb\" " + placementAttributes(glia) + "/>\n";
    }
    for (const LightPlacement& light : layout.lights) {
        xml += "  <light position=\"" + triple(light.position, "%.2f %.2f %.2f") + "\" color=\"" +
               triple(light.color, "%.2f %.2f %.2f") + "\" radius=\"" + decimal(light.radius) +
               "\" shadows=\"" + (light.shadows ? "true" : "false") + "\"/>\n";
    }
    return xml + "</layout>\n";
}

}  // namespace content
