// Scene nodes: adding, removing, walking the tree and placing nodes.
#include <cmath>
#include <string>

#include <glm/gtc/type_ptr.hpp>

#include "engine/api/api_guard.h"
#include "engine/core/node_bounds.h"
#include "engine/h3d.h"
#include "engine/scene/model_animation.h"
#include "engine/scene/scene_instancer.h"

using namespace engine;

H3DNode h3dAddCameraNode(H3DNode parent, const char* name, H3DRes pipelineResource) {
    return withEngine("h3dAddCameraNode", 0, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dAddCameraNode", parent) == nullptr ||
            !presentOrReport("h3dAddCameraNode", name, "node name") ||
            resourceOrReport(engine, "h3dAddCameraNode", pipelineResource,
                             ResourceType::Pipeline) == nullptr) {
            return 0;
        }
        CameraSettings camera;
        camera.pipeline = pipelineResource;
        return engine.scene.addNode(parent, name, camera);
    });
}

H3DNode h3dAddNodes(H3DNode parent, H3DRes sceneGraphResource) {
    return withEngine("h3dAddNodes", 0, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dAddNodes", parent) == nullptr ||
            resourceOrReport(engine, "h3dAddNodes", sceneGraphResource, ResourceType::SceneGraph) ==
                nullptr) {
            return 0;
        }
        return instantiateScene(engine.scene, engine.resources, parent, sceneGraphResource,
                                messageLog());
    });
}

H3DNode h3dAddModelNode(H3DNode parent, const char* name, H3DRes geometryResource) {
    return withEngine("h3dAddModelNode", 0, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dAddModelNode", parent) == nullptr ||
            !presentOrReport("h3dAddModelNode", name, "node name")) {
            return 0;
        }
        Resource* geometry =
            resourceOrReport(engine, "h3dAddModelNode", geometryResource, ResourceType::Geometry);
        if (geometry == nullptr) {
            return 0;
        }
        if (!geometry->loaded()) {
            messageLog().warning("h3dAddModelNode: geometry '" + geometry->name +
                                 "' is not loaded");
            return 0;
        }
        return instantiateModel(engine.scene, engine.resources, parent, name, geometryResource,
                                messageLog());
    });
}

bool h3dSetModelAnimation(H3DNode modelNode, int animation, float seconds) {
    return withEngine("h3dSetModelAnimation", false, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dSetModelAnimation", modelNode) == nullptr) {
            return false;
        }
        if (!std::isfinite(seconds) ||
            !poseModelAnimation(engine.scene, engine.resources, modelNode, animation, seconds)) {
            messageLog().warning("h3dSetModelAnimation: node " + std::to_string(modelNode) +
                                 " is not a model of a loaded geometry with animation " +
                                 std::to_string(animation) + " at a finite time");
            return false;
        }
        return true;
    });
}

H3DNode h3dAddLightNode(H3DNode parent, const char* name, float r, float g, float b, float radius,
                        bool castsShadows) {
    return withEngine("h3dAddLightNode", 0, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dAddLightNode", parent) == nullptr ||
            !presentOrReport("h3dAddLightNode", name, "node name")) {
            return 0;
        }
        // The same ranges a scene file's <light> accepts.
        const bool colorUsable = std::isfinite(r) && std::isfinite(g) && std::isfinite(b) &&
                                 r >= 0.0f && g >= 0.0f && b >= 0.0f;
        if (!colorUsable || !std::isfinite(radius) || radius <= 0.0f) {
            messageLog().warning("h3dAddLightNode: light '" + std::string(name) +
                                 "' needs a colour not below 0 and a radius above 0");
            return 0;
        }
        LightSettings light;
        light.color = glm::vec3(r, g, b);
        light.radius = radius;
        light.castsShadows = castsShadows;
        return engine.scene.addNode(parent, name, light);
    });
}

bool h3dRemoveNode(H3DNode node) {
    return withEngine("h3dRemoveNode", false, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dRemoveNode", node) == nullptr) {
            return false;
        }
        if (node == H3DRootNode) {
            messageLog().warning("h3dRemoveNode: the root node cannot be removed");
            return false;
        }
        return engine.scene.removeNode(node);
    });
}

int h3dGetNodeType(H3DNode node) {
    return withEngine("h3dGetNodeType", static_cast<int>(H3DNodeTypes::Undefined),
                      [&](Engine& engine) {
                          SceneNode* found = nodeOrReport(engine, "h3dGetNodeType", node);
                          return found != nullptr ? static_cast<int>(found->kind())
                                                  : static_cast<int>(H3DNodeTypes::Undefined);
                      });
}

H3DNode h3dGetNodeParent(H3DNode node) {
    return withEngine("h3dGetNodeParent", 0, [&](Engine& engine) {
        SceneNode* found = nodeOrReport(engine, "h3dGetNodeParent", node);
        return found != nullptr ? found->parent : 0;
    });
}

H3DNode h3dGetNodeChild(H3DNode node, int index) {
    return withEngine("h3dGetNodeChild", 0, [&](Engine& engine) {
        SceneNode* found = nodeOrReport(engine, "h3dGetNodeChild", node);
        // Asking past the last child is how callers find the end, so it stays silent.
        if (found == nullptr || index < 0 ||
            static_cast<std::size_t>(index) >= found->children.size()) {
            return 0;
        }
        return found->children[static_cast<std::size_t>(index)];
    });
}

const char* h3dGetNodeName(H3DNode node) {
    return withEngine("h3dGetNodeName", "", [&](Engine& engine) {
        SceneNode* found = nodeOrReport(engine, "h3dGetNodeName", node);
        return found != nullptr ? found->name.c_str() : "";
    });
}

void h3dSetNodeTransform(H3DNode node, float tx, float ty, float tz, float rx, float ry, float rz,
                         float sx, float sy, float sz) {
    withEngine("h3dSetNodeTransform", [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dSetNodeTransform", node) == nullptr) {
            return;
        }
        NodeTransform local{{tx, ty, tz}, {rx, ry, rz}, {sx, sy, sz}};
        engine.scene.setLocalTransform(node, local);
    });
}

void h3dGetNodeTransform(H3DNode node, float* tx, float* ty, float* tz, float* rx, float* ry,
                         float* rz, float* sx, float* sy, float* sz) {
    withEngine("h3dGetNodeTransform", [&](Engine& engine) {
        SceneNode* found = nodeOrReport(engine, "h3dGetNodeTransform", node);
        if (found == nullptr) {
            return;
        }
        const NodeTransform local =
            found->local.matrix ? transformFromMatrix(*found->local.matrix) : found->local;
        float* outputs[] = {tx, ty, tz, rx, ry, rz, sx, sy, sz};
        const float values[] = {local.translation.x, local.translation.y, local.translation.z,
                                local.rotation.x,    local.rotation.y,    local.rotation.z,
                                local.scale.x,       local.scale.y,       local.scale.z};
        // Callers pass null for the parts they do not want.
        for (int index = 0; index < 9; ++index) {
            if (outputs[index] != nullptr) {
                *outputs[index] = values[index];
            }
        }
    });
}

bool h3dGetNodeWorldMatrix(H3DNode node, float* matrix16) {
    return withEngine("h3dGetNodeWorldMatrix", false, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dGetNodeWorldMatrix", node) == nullptr ||
            !presentOrReport("h3dGetNodeWorldMatrix", matrix16, "matrix")) {
            return false;
        }
        glm::mat4 world = engine.scene.worldMatrix(node);
        const float* values = glm::value_ptr(world);
        std::copy(values, values + 16, matrix16);
        return true;
    });
}

bool h3dGetNodeAABB(H3DNode node, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
                    float* maxZ) {
    float* outputs[] = {minX, minY, minZ, maxX, maxY, maxZ};
    for (float* output : outputs) {
        if (output != nullptr) {
            *output = 0.0f;
        }
    }
    return withEngine("h3dGetNodeAABB", false, [&](Engine& engine) {
        if (nodeOrReport(engine, "h3dGetNodeAABB", node) == nullptr) {
            return false;
        }
        const BoundingBox box = subtreeWorldBounds(engine.scene, engine.resources, node);
        if (box.empty()) {
            return false;
        }
        const float values[] = {box.minimum.x, box.minimum.y, box.minimum.z,
                                box.maximum.x, box.maximum.y, box.maximum.z};
        // Callers pass null for the parts they do not want.
        for (int index = 0; index < 6; ++index) {
            if (outputs[index] != nullptr) {
                *outputs[index] = values[index];
            }
        }
        return true;
    });
}
