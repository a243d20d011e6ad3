// Lit surfaces, in two looks chosen by the material's defines:
// - material files: a textured, tinted albedo (albedoMap, albedoColor), a Blinn highlight
//   (specular: x strength, y exponent) and emission (rgb);
// - glTF materials (GLTF_MATERIAL): metallic-roughness surfaces with a GGX highlight and a
//   Schlick Fresnel term, lit per pixel. Their maps each have a define (BASE_COLOR_MAP,
//   METALLIC_ROUGHNESS_MAP, NORMAL_MAP, OCCLUSION_MAP, EMISSIVE_MAP) and a texture-coordinate
//   transform (<map>TransformU/V: rows of a 2x3 matrix, U.w the coordinate set); ALPHA_MASK,
//   ALPHA_BLEND, DOUBLE_SIDED and UNLIT follow the material's alpha mode, sides and model.
// Contexts:
//   lit        linear colour for an HDR target: the first light (the shadow caster) per pixel
//              with its cube shadow map; for material files its highlight and the other lights
//              per vertex
//   litFill    the same for surfaces out of the first light's reach: the other lights only
//   litScreen  display colour straight to the screen, every light per vertex, no shadow: the
//              cheap look of the simple pipeline
//   shadow     fills the shadow map
// Skinned meshes (SKINNED, with EIGHT_INFLUENCES for eight joints a vertex) are bent by their
// joints in every context's vertex program; their world matrix is then the identity.

@shared
uniform mat4 worldMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjectionMatrix;
uniform vec3 cameraPosition;
uniform int lightCount;
uniform int plainLightCount;
uniform vec4 lightPositions[8];
uniform vec4 lightColors[8];
uniform vec4 lightDirections[8];
uniform vec4 lightCones[8];
uniform mat4 shadowMatrices[6];
uniform sampler2DShadow shadowMap;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;
varying vec3 vertexLight;
varying vec3 vertexHighlight;

const vec3 ambientLight = vec3(0.05, 0.055, 0.07);
const float pi = 3.14159265;

#ifdef VERTEX_PROGRAM
#ifdef SKINNED
// Three rows of each joint's matrix from the mesh's bind space into the world: 256 joints.
uniform vec4 jointRows[768];
attribute vec4 vertexJoints;
attribute vec4 vertexWeights;
#ifdef EIGHT_INFLUENCES
attribute vec4 vertexJoints1;
attribute vec4 vertexWeights1;
#endif

void addJoints(vec4 joints, vec4 weights, inout vec4 row0, inout vec4 row1, inout vec4 row2) {
    for (int slot = 0; slot < 4; ++slot) {
        int first = int(joints[slot] + 0.5) * 3;
        row0 += jointRows[first] * weights[slot];
        row1 += jointRows[first + 1] * weights[slot];
        row2 += jointRows[first + 2] * weights[slot];
    }
}
#endif

// Moves a skinned vertex by its joints' matrices, blended by their weights; others stay.
void bendVertex(inout vec3 position, inout vec3 normal, inout vec3 tangent) {
#ifdef SKINNED
    vec4 row0 = vec4(0.0);
    vec4 row1 = vec4(0.0);
    vec4 row2 = vec4(0.0);
    addJoints(vertexJoints, vertexWeights, row0, row1, row2);
#ifdef EIGHT_INFLUENCES
    addJoints(vertexJoints1, vertexWeights1, row0, row1, row2);
#endif
    vec4 point = vec4(position, 1.0);
    position = vec3(dot(row0, point), dot(row1, point), dot(row2, point));
    normal = vec3(dot(row0.xyz, normal), dot(row1.xyz, normal), dot(row2.xyz, normal));
    tangent = vec3(dot(row0.xyz, tangent), dot(row1.xyz, tangent), dot(row2.xyz, tangent));
#endif
}
#endif

// The light of an entry that arrives at a point, and the direction towards it. Lights fade to
// nothing at their radius (w of the position, 1 / radius^2; 0 for no end), spot lights towards
// the edge of their cone (x, y of the cone: scale and offset of the cosine), physical ones with
// the square of the distance (z of the cone), directional ones (w of the direction) not at all.
vec3 lightArrival(int entry, vec3 position, out vec3 toLight) {
    vec4 place = lightPositions[entry];
    vec4 aim = lightDirections[entry];
    vec4 cone = lightCones[entry];
    vec3 offset = mix(place.xyz - position, -aim.xyz, aim.w);
    float distanceSquared = max(dot(offset, offset), 1e-8);
    toLight = offset * inversesqrt(distanceSquared);
    float window = max(1.0 - distanceSquared * place.w, 0.0);
    float spot = clamp(dot(toLight, -aim.xyz) * cone.x + cone.y, 0.0, 1.0);
    float falloff = window * window * spot * spot / mix(1.0, max(distanceSquared, 1e-4), cone.z);
    return lightColors[entry].rgb * falloff;
}

// 1 where the shadow-casting light (entry 0) reaches the point, 0 where something is in between;
// the bilinear depth comparison softens the edge over one texel.
float lightReaches(vec3 position) {
    vec3 fromLight = position - lightPositions[0].xyz;
    vec3 distance = abs(fromLight);
    int face = distance.x >= distance.y && distance.x >= distance.z ? (fromLight.x >= 0.0 ? 0 : 1)
             : distance.y >= distance.z                           ? (fromLight.y >= 0.0 ? 2 : 3)
                                                                  : (fromLight.z >= 0.0 ? 4 : 5);
    vec4 shadowPosition = shadowMatrices[face] * vec4(position, 1.0);
    return shadow2DProj(shadowMap, shadowPosition).r;
}

// Linear colour to display colour: a soft shoulder instead of clipping, then gamma 2.
vec3 screenColor(vec3 linear) {
    return sqrt(linear / (linear + vec3(0.6)) * 1.6);
}

#ifndef GLTF_MATERIAL

uniform sampler2D albedoMap;
uniform vec4 albedoColor;
uniform vec4 specular;
uniform vec4 emission;

// The light of the entries from first on, per vertex: on meshes this fine it looks much the same
// as per pixel, at a fraction of the cost on a software rasterizer. Plain point lights come
// first and take the short way; spot, directional and physical lights the full one.
vec3 lightFrom(int first, vec3 position, vec3 normal) {
    vec3 light = ambientLight;
    for (int entry = first; entry < 8; ++entry) {
        if (entry >= plainLightCount) {
            break;
        }
        vec3 toLight = lightPositions[entry].xyz - position;
        float distanceSquared = dot(toLight, toLight);
        float falloff = max(1.0 - distanceSquared * lightPositions[entry].w, 0.0);
        float facing = max(dot(normal, toLight * inversesqrt(distanceSquared)), 0.0);
        light += lightColors[entry].rgb * (facing * falloff * falloff);
    }
    for (int entry = first > plainLightCount ? first : plainLightCount; entry < 8; ++entry) {
        if (entry >= lightCount) {
            break;
        }
        vec3 toLight;
        vec3 arriving = lightArrival(entry, position, toLight);
        light += arriving * max(dot(normal, toLight), 0.0);
    }
    return light;
}

// The first light's highlight, per vertex (a Blinn highlight, faded like the light).
vec3 keyHighlight(vec3 position, vec3 normal) {
    if (lightCount == 0) {
        return vec3(0.0);
    }
    vec3 toLight;
    vec3 arriving = lightArrival(0, position, toLight);
    vec3 halfway = normalize(toLight + normalize(cameraPosition - position));
    float highlight = pow(max(dot(normal, halfway), 0.0), specular.y) * specular.x *
                      step(0.0, dot(normal, toLight));
    return arriving * highlight;
}

// The first light (the shadow caster, else the nearest) per pixel, in its shadow.
vec3 litColor() {
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    // Textures hold display colours; light adds up in linear ones.
    albedo *= albedo;
    vec3 toLight;
    vec3 arriving = lightArrival(0, worldPosition, toLight);
    float diffuse = max(dot(normalize(worldNormal), toLight), 0.0);
    vec3 keyLight = arriving * diffuse * albedo + vertexHighlight;
    if (lightColors[0].a > 0.0) {
        keyLight *= lightReaches(worldPosition);
    }
    if (lightCount == 0) {
        keyLight = vec3(0.0);
    }
    return albedo * vertexLight + emission.rgb + keyLight;
}

#else

uniform vec4 baseColorFactor;
// x metallic, y roughness, z normal scale, w occlusion strength.
uniform vec4 materialFactors;
// rgb emission, a the alpha cutoff.
uniform vec4 emissiveFactor;
uniform sampler2D baseColorMap;
uniform vec4 baseColorMapTransformU;
uniform vec4 baseColorMapTransformV;
uniform sampler2D metallicRoughnessMap;
uniform vec4 metallicRoughnessMapTransformU;
uniform vec4 metallicRoughnessMapTransformV;
uniform sampler2D normalMap;
uniform vec4 normalMapTransformU;
uniform vec4 normalMapTransformV;
uniform sampler2D occlusionMap;
uniform vec4 occlusionMapTransformU;
uniform vec4 occlusionMapTransformV;
uniform sampler2D emissiveMap;
uniform vec4 emissiveMapTransformU;
uniform vec4 emissiveMapTransformV;

// Base colour and metallic-roughness map coordinates; normal and occlusion; emissive.
varying vec4 mapCoords0;
varying vec4 mapCoords1;
varying vec2 mapCoords2;
// Vertex colour times the base colour factor.
varying vec4 surfaceColor;
varying vec4 worldTangent;

struct Surface {
    vec3 diffuse;
    vec3 reflectance;
    float roughness;
    vec3 normal;
    vec3 toEye;
    float occlusion;
    vec3 emission;
    float alpha;
};

vec2 mapCoord(vec4 rowU, vec4 rowV, vec2 set0, vec2 set1) {
    vec3 coord = vec3(rowU.w > 0.5 ? set1 : set0, 1.0);
    return vec2(dot(rowU.xyz, coord), dot(rowV.xyz, coord));
}

#ifdef VERTEX_PROGRAM
// The vertex program's share of every glTF context.
void placeSurface(vec3 position, vec3 normal, vec4 tangent, vec2 set0, vec2 set1, vec4 color) {
    vec4 world = worldMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * normal;
    worldTangent = vec4(mat3(worldMatrix) * tangent.xyz, tangent.w);
    surfaceColor = color * baseColorFactor;
    mapCoords0 = vec4(0.0);
    mapCoords1 = vec4(0.0);
    mapCoords2 = vec2(0.0);
#ifdef BASE_COLOR_MAP
    mapCoords0.xy = mapCoord(baseColorMapTransformU, baseColorMapTransformV, set0, set1);
#endif
#ifdef METALLIC_ROUGHNESS_MAP
    mapCoords0.zw = mapCoord(metallicRoughnessMapTransformU, metallicRoughnessMapTransformV, set0,
                             set1);
#endif
#ifdef NORMAL_MAP
    mapCoords1.xy = mapCoord(normalMapTransformU, normalMapTransformV, set0, set1);
#endif
#ifdef OCCLUSION_MAP
    mapCoords1.zw = mapCoord(occlusionMapTransformU, occlusionMapTransformV, set0, set1);
#endif
#ifdef EMISSIVE_MAP
    mapCoords2 = mapCoord(emissiveMapTransformU, emissiveMapTransformV, set0, set1);
#endif
    gl_Position = viewProjectionMatrix * world;
}
#endif

#ifdef FRAGMENT_PROGRAM
// Base colour with its alpha, in linear colour (the map holds sRGB, taken as gamma 2).
vec4 baseColor() {
    vec4 base = surfaceColor;
#ifdef BASE_COLOR_MAP
    vec4 texel = texture2D(baseColorMap, mapCoords0.xy);
    base *= vec4(texel.rgb * texel.rgb, texel.a);
#endif
    return base;
}

// Drops the pixels a masked material cuts away; the alpha a blended one is drawn with.
float coverage(float alpha) {
#ifdef ALPHA_MASK
    if (alpha < emissiveFactor.a) {
        discard;
    }
#endif
#ifdef ALPHA_BLEND
    return alpha;
#else
    return 1.0;
#endif
}

vec3 faceNormal(vec3 normal) {
#ifdef DOUBLE_SIDED
    // Back faces are lit as the side they are.
    return gl_FrontFacing ? normal : -normal;
#else
    return normal;
#endif
}

Surface readSurface() {
    Surface surface;
    vec4 base = baseColor();
    float metallic = materialFactors.x;
    float roughness = materialFactors.y;
#ifdef METALLIC_ROUGHNESS_MAP
    vec4 texel = texture2D(metallicRoughnessMap, mapCoords0.zw);
    roughness *= texel.g;
    metallic *= texel.b;
#endif
    surface.roughness = clamp(roughness, 0.03, 1.0);
    surface.diffuse = base.rgb * (1.0 - metallic);
    surface.reflectance = mix(vec3(0.04), base.rgb, metallic);
    vec3 normal = normalize(worldNormal);
#ifdef NORMAL_MAP
    vec3 tangent = normalize(worldTangent.xyz - normal * dot(normal, worldTangent.xyz));
    vec3 bitangent = cross(normal, tangent) * worldTangent.w;
    vec3 bump = texture2D(normalMap, mapCoords1.xy).xyz * 2.0 - 1.0;
    bump.xy *= materialFactors.z;
    normal = normalize(tangent * bump.x + bitangent * bump.y + normal * bump.z);
#endif
    surface.normal = faceNormal(normal);
    surface.toEye = normalize(cameraPosition - worldPosition);
    surface.occlusion = 1.0;
#ifdef OCCLUSION_MAP
    surface.occlusion += materialFactors.w * (texture2D(occlusionMap, mapCoords1.zw).r - 1.0);
#endif
    surface.emission = emissiveFactor.rgb;
#ifdef EMISSIVE_MAP
    vec3 glow = texture2D(emissiveMap, mapCoords2).rgb;
    surface.emission *= glow * glow;
#endif
    surface.alpha = base.a;
    return surface;
}

#endif

// One light on the surface: Lambert diffuse and a GGX highlight with Smith visibility and
// Schlick's Fresnel. Light colours already hold the 1/pi of the diffuse term.
vec3 shade(Surface surface, vec3 toLight, vec3 arriving) {
    float facing = dot(surface.normal, toLight);
    if (facing <= 0.0) {
        return vec3(0.0);
    }
    vec3 halfway = normalize(toLight + surface.toEye);
    float viewFacing = max(dot(surface.normal, surface.toEye), 1e-4);
    float halfFacing = max(dot(surface.normal, halfway), 0.0);
    float alpha = surface.roughness * surface.roughness;
    float alpha2 = alpha * alpha;
    float spread = halfFacing * halfFacing * (alpha2 - 1.0) + 1.0;
    float distribution = alpha2 / (pi * spread * spread);
    float visibility =
        0.5 / (facing * sqrt(viewFacing * viewFacing * (1.0 - alpha2) + alpha2) +
               viewFacing * sqrt(facing * facing * (1.0 - alpha2) + alpha2));
    vec3 fresnel = surface.reflectance +
                   (1.0 - surface.reflectance) * pow(1.0 - max(dot(surface.toEye, halfway), 0.0), 5.0);
    vec3 diffuse = (1.0 - fresnel) * surface.diffuse;
    return (diffuse + fresnel * (distribution * visibility * pi)) * arriving * facing;
}

// The ambient light on the surface, its reflection weighed by an analytic fit of the
// split-sum lookup, as there is no environment map.
vec3 ambient(Surface surface) {
    float viewFacing = max(dot(surface.normal, surface.toEye), 0.0);
    vec4 rough = surface.roughness * vec4(-1.0, -0.0275, -0.572, 0.022) +
                 vec4(1.0, 0.0425, 1.04, -0.04);
    float fade = min(rough.x * rough.x, exp2(-9.28 * viewFacing)) * rough.x + rough.y;
    vec2 scaleBias = vec2(-1.04, 1.04) * fade + rough.zw;
    vec3 reflected = surface.reflectance * scaleBias.x + scaleBias.y;
    return ambientLight * (surface.diffuse + reflected) * surface.occlusion;
}

#ifdef FRAGMENT_PROGRAM
// Every light from entry first on, per pixel; entry 0 in its shadow when it casts one.
vec3 litSurface(Surface surface, int first) {
    vec3 color = ambient(surface) + surface.emission;
    for (int entry = first; entry < 8; ++entry) {
        if (entry >= lightCount) {
            break;
        }
        vec3 toLight;
        vec3 arriving = lightArrival(entry, worldPosition, toLight);
        if (entry == 0 && lightColors[0].a > 0.0) {
            arriving *= lightReaches(worldPosition);
        }
        color += shade(surface, toLight, arriving);
    }
    return color;
}

vec4 gltfColor(int firstLight) {
    Surface surface = readSurface();
    float alpha = coverage(surface.alpha);
#ifdef UNLIT
    return vec4(baseColor().rgb, alpha);
#else
    return vec4(litSurface(surface, firstLight), alpha);
#endif
}
#endif

#endif

@context lit
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;
attribute vec4 vertexTangent;
attribute vec4 vertexColor;
attribute vec2 vertexTexCoord1;

void main() {
    vec3 position = vertexPosition;
    vec3 normal = vertexNormal;
    vec3 tangent = vertexTangent.xyz;
    bendVertex(position, normal, tangent);
#ifdef GLTF_MATERIAL
    placeSurface(position, normal, vec4(tangent, vertexTangent.w), vertexTexCoord,
                 vertexTexCoord1, vertexColor);
#else
    vec4 world = worldMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * normal;
    vertexLight = lightFrom(1, world.xyz, normalize(worldNormal));
    vertexHighlight = keyHighlight(world.xyz, normalize(worldNormal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
#endif
}
@fragment
void main() {
#ifdef GLTF_MATERIAL
    gl_FragColor = gltfColor(0);
#else
    gl_FragColor = vec4(litColor(), 1.0);
#endif
}

@context litFill
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;
attribute vec4 vertexTangent;
attribute vec4 vertexColor;
attribute vec2 vertexTexCoord1;

void main() {
    vec3 position = vertexPosition;
    vec3 normal = vertexNormal;
    vec3 tangent = vertexTangent.xyz;
    bendVertex(position, normal, tangent);
#ifdef GLTF_MATERIAL
    placeSurface(position, normal, vec4(tangent, vertexTangent.w), vertexTexCoord,
                 vertexTexCoord1, vertexColor);
#else
    vec4 world = worldMatrix * vec4(position, 1.0);
    vertexLight = lightFrom(1, world.xyz, normalize(normalMatrix * normal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
#endif
}
@fragment
void main() {
#ifdef GLTF_MATERIAL
    gl_FragColor = gltfColor(1);
#else
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    gl_FragColor = vec4(albedo * albedo * vertexLight + emission.rgb, 1.0);
#endif
}

@context litScreen
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;
attribute vec4 vertexTangent;
attribute vec4 vertexColor;
attribute vec2 vertexTexCoord1;

#ifdef GLTF_MATERIAL
// Every light per vertex, with the material's factors standing in for its maps: the diffuse
// light (times pi's share already in the colours) and the highlight, added up apart.
void lightPerVertex() {
    Surface surface;
    vec4 base = surfaceColor;
    surface.roughness = clamp(materialFactors.y, 0.03, 1.0);
    surface.reflectance = mix(vec3(0.04), base.rgb, materialFactors.x);
    surface.normal = normalize(worldNormal);
    surface.toEye = normalize(cameraPosition - worldPosition);
    vec3 diffuse = ambientLight;
    vec3 highlight = vec3(0.0);
    // Only the highlight comes from shade(): the diffuse share is the map's, per pixel.
    surface.diffuse = vec3(0.0);
    for (int entry = 0; entry < 8; ++entry) {
        if (entry >= lightCount) {
            break;
        }
        vec3 toLight;
        vec3 arriving = lightArrival(entry, worldPosition, toLight);
        float facing = max(dot(surface.normal, toLight), 0.0);
        diffuse += arriving * facing;
        highlight += shade(surface, toLight, arriving);
    }
    vertexLight = diffuse;
    vertexHighlight = highlight;
}
#endif

void main() {
    vec3 position = vertexPosition;
    vec3 normal = vertexNormal;
    vec3 tangent = vertexTangent.xyz;
    bendVertex(position, normal, tangent);
#ifdef GLTF_MATERIAL
    placeSurface(position, normal, vec4(tangent, vertexTangent.w), vertexTexCoord,
                 vertexTexCoord1, vertexColor);
    lightPerVertex();
#else
    vec4 world = worldMatrix * vec4(position, 1.0);
    vertexLight = lightFrom(0, world.xyz, normalize(normalMatrix * normal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
#endif
}
@fragment
void main() {
#ifdef GLTF_MATERIAL
    Surface surface = readSurface();
    float alpha = coverage(surface.alpha);
#ifdef UNLIT
    gl_FragColor = vec4(screenColor(baseColor().rgb), alpha);
#else
    // Per-vertex light has one side; a back face seen of a double-sided surface takes the
    // ambient light only.
    vec3 light = gl_FrontFacing ? vertexLight : ambientLight;
    vec3 highlight = gl_FrontFacing ? vertexHighlight : vec3(0.0);
    vec3 color = surface.diffuse * light * surface.occlusion + highlight + surface.emission;
    gl_FragColor = vec4(screenColor(color), alpha);
#endif
#else
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    gl_FragColor = vec4(screenColor(albedo * albedo * vertexLight + emission.rgb), 1.0);
#endif
}

@context shadow
@vertex
attribute vec3 vertexPosition;
attribute vec2 vertexTexCoord;
attribute vec2 vertexTexCoord1;
attribute vec4 vertexColor;

void main() {
    vec3 position = vertexPosition;
    vec3 normal = vec3(0.0, 0.0, 1.0);
    vec3 tangent = vec3(1.0, 0.0, 0.0);
    bendVertex(position, normal, tangent);
#if defined(GLTF_MATERIAL) && defined(ALPHA_MASK)
    placeSurface(position, normal, vec4(1.0), vertexTexCoord, vertexTexCoord1, vertexColor);
#endif
    gl_Position = viewProjectionMatrix * (worldMatrix * vec4(position, 1.0));
}
@fragment
void main() {
#if defined(GLTF_MATERIAL) && defined(ALPHA_MASK)
    coverage(baseColor().a);
#endif
    gl_FragColor = vec4(1.0);
}
