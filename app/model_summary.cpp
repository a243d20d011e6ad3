#include "app/model_summary.h"

namespace {

std::string counted(int count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::string modelSummary(const std::string& fileName, const ModelFigures& figures) {
    std::string shapes = counted(figures.triangles, "triangle", "triangles") + ", ";
    if (figures.points > 0) {
        shapes += counted(figures.points, "point", "points") + ", ";
    }
    if (figures.lines > 0) {
        shapes += counted(figures.lines, "line", "lines") + ", ";
    }
    return fileName + ": " + counted(figures.meshes, "mesh", "meshes") + ", " + shapes +
           counted(figures.materials, "material", "materials") + ", " +
           counted(figures.textures, "texture", "textures") + ", " +
           counted(figures.lights, "light", "lights") +
           (figures.animations > 0 ? ", " + counted(figures.animations, "animation", "animations")
                                   : "");
}
