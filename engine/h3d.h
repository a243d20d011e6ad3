// The rendering engine's interface: start-up, options, resources, scene nodes and rendering.
// Every call is safe before h3dInit, after h3dRelease and with any handle: a bad call
// queues a message and returns 0 or false.
#pragma once

// Handles are signed 32-bit; 0 means none.
typedef int H3DRes;
typedef int H3DNode;

const H3DNode H3DRootNode = 1;

struct H3DOptions {
    enum List {
        MaxLogLevel = 1,
        MaxNumMessages = 2,
        TrilinearFiltering = 3,
        MaxAnisotropy = 4,
        TexCompression = 5,
        LoadTextures = 7,
        FastAnimation = 8,
        ShadowMapSize = 9,
    };
};

struct H3DResTypes {
    enum List {
        Undefined = 0,
        SceneGraph = 1,
        Geometry = 2,
        Material = 4,
        Shader = 6,
        Texture = 7,
        Pipeline = 9,
    };
};

struct H3DNodeTypes {
    enum List {
        Undefined = 0,
        Group = 1,
        Model = 2,
        Mesh = 3,
        Light = 5,
        Camera = 6,
        Reference = 7,
    };
};

struct H3DCamera {
    enum List {
        PipeResI = 600,
        NearPlaneF = 607,
        FarPlaneF = 608,
        ViewportXI = 609,
        ViewportYI = 610,
        ViewportWidthI = 611,
        ViewportHeightI = 612,
        OccCullingI = 614,
    };
};

// Flags of h3dAddResource.
struct H3DResFlags {
    enum List {
        TexCubemap = 8,  // a texture of six faces (from an image of them stacked, or a panorama)
    };
};

// Figures of the latest finished frame (h3dFinalizeFrame), for benchmarks and overlays.
struct H3DStats {
    enum List {
        TriangleCount = 100,  // triangles drawn, all passes together
        DrawCallCount = 101,  // draw calls made, all passes together
        // CPU milliseconds spent bringing world matrices and skinned meshes' joint matrices
        // and boxes up to date (what animating costs the engine beyond h3dSetModelAnimation).
        PoseTime = 102,
        // Milliseconds that making the environment light in use took (h3dSetEnvironment): reading
        // the cube back, prefiltering it and uploading it; 0 without an environment.
        EnvironmentTime = 103,
    };
};

// Figures of a loaded geometry resource, read with h3dGetResParamI.
struct H3DGeometry {
    enum List {
        MeshCountI = 200,       // the file's meshes
        TriangleCountI = 201,   // triangles of all its meshes, each mesh counted once
        MaterialCountI = 202,   // its own materials that loaded (the default one not counted)
        TextureCountI = 203,    // its images that loaded (stand-ins for failed ones not counted)
        LightCountI = 204,      // its lights
        PointCountI = 205,      // points of all its meshes, each mesh counted once
        LineCountI = 206,       // line segments of all its meshes, each mesh counted once
        AnimationCountI = 207,  // its animations that loaded
        // Read with an animation's index (0 to AnimationCountI - 1):
        AnimationNameStr = 210,    // h3dGetResParamStr: its name ("animation N" without one)
        AnimationDurationF = 211,  // h3dGetResParamF: its last key time in seconds
    };
};

// Starts the engine in the OpenGL context current on the calling thread. False when the
// context offers less than OpenGL 2.0 or lacks framebuffer objects.
bool h3dInit();
// Frees every resource, node and OpenGL object; the engine can be started again afterwards.
void h3dRelease();

bool h3dSetOption(H3DOptions::List option, float value);
float h3dGetOption(H3DOptions::List option);

// Declares a resource without loading it; a second declaration of the same type and name
// returns the first handle.
H3DRes h3dAddResource(int type, const char* name, int flags);
H3DRes h3dFindResource(int type, const char* name);
bool h3dIsResLoaded(H3DRes resource);
// A figure of a loaded resource (see H3DGeometry); 0, with a message, for an unknown figure or
// a resource that is not loaded.
int h3dGetResParamI(H3DRes resource, int parameter);
// A figure of one element of a loaded resource (H3DGeometry::AnimationDurationF of animation
// index, say); 0, with a message, for an unknown figure, element or resource.
float h3dGetResParamF(H3DRes resource, int parameter, int index);
// A text of one element of a loaded resource (H3DGeometry::AnimationNameStr); "", with a
// message, for an unknown one. The text stays valid until the next call.
const char* h3dGetResParamStr(H3DRes resource, int parameter, int index);

H3DNode h3dAddCameraNode(H3DNode parent, const char* name, H3DRes pipelineResource);
// Instantiates a scene resource's node tree under parent; returns the instance's root node.
H3DNode h3dAddNodes(H3DNode parent, H3DRes sceneGraphResource);
// A model node for a loaded geometry, with the file's node tree below it, as a scene's <model>
// without a material makes it; 0 when the geometry is not loaded.
H3DNode h3dAddModelNode(H3DNode parent, const char* name, H3DRes geometryResource);
// A point light: colour (not negative, may exceed 1), reach in scene units (above 0), and
// whether it casts shadows; 0 for values out of range.
H3DNode h3dAddLightNode(H3DNode parent, const char* name, float r, float g, float b, float radius,
                        bool castsShadows);
// Poses the nodes and morph weights of a model node's geometry as its animation (an index below
// H3DGeometry::AnimationCountI) has them at seconds, held at its first and last keys; -1 puts
// the file's rest pose back. False, with a message, for a node that is not such a model or an
// animation it does not have.
bool h3dSetModelAnimation(H3DNode modelNode, int animation, float seconds);
// Lights glTF materials (and material files with the define ENVIRONMENT_LIGHT) from a loaded cube
// texture: its diffuse and its roughness-blurred reflected light are computed here, once, and
// its time is logged. 0 puts back the plain ambient light. False, with a message, for a resource
// that is not a loaded cube texture.
bool h3dSetEnvironment(H3DRes cubeTexture);
bool h3dRemoveNode(H3DNode node);
int h3dGetNodeType(H3DNode node);
H3DNode h3dGetNodeParent(H3DNode node);
H3DNode h3dGetNodeChild(H3DNode node, int index);
const char* h3dGetNodeName(H3DNode node);

// Local transform: translation, rotation in degrees about x, y and z (composed Ry * Rx * Rz),
// scale.
void h3dSetNodeTransform(H3DNode node, float tx, float ty, float tz, float rx, float ry, float rz,
                         float sx, float sy, float sz);
void h3dGetNodeTransform(H3DNode node, float* tx, float* ty, float* tz, float* rx, float* ry,
                         float* rz, float* sx, float* sy, float* sz);
// The node's world matrix, 16 floats in column-major order; false for a bad node.
bool h3dGetNodeWorldMatrix(H3DNode node, float* matrix16);
// The world box around every mesh below the node (the node included), whether or not it has a
// material; false, with every output 0, for a bad node or one without meshes below it.
bool h3dGetNodeAABB(H3DNode node, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
                    float* maxZ);

void h3dSetNodeParamI(H3DNode node, int parameter, int value);
int h3dGetNodeParamI(H3DNode node, int parameter);
float h3dGetNodeParamF(H3DNode node, int parameter);

void h3dSetupCameraView(H3DNode cameraNode, float fieldOfView, float aspect, float nearDistance,
                        float farDistance);
void h3dResizePipelineBuffers(H3DRes pipelineResource, int width, int height);
bool h3dSetMaterialUniform(H3DRes materialResource, const char* name, float a, float b, float c,
                           float d);

void h3dRender(H3DNode cameraNode);
// 0 for an unknown figure or before the first finished frame.
float h3dGetStat(int stat);
void h3dFinalizeFrame();
void h3dClearOverlays();

// Takes the oldest queued message; "" when none is queued. Level 1 is an error, 2 a warning,
// 3 information. The text stays valid until the next call.
const char* h3dGetMessage(int* level);
