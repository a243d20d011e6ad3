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
// Sharp levels of the environment's cube and blurred views of the scene behind glass are
// picked by level in fragment programs.
#if defined(FRAGMENT_PROGRAM) && (defined(ENVIRONMENT_LIGHT) || defined(TRANSMISSION))
#extension GL_ARB_shader_texture_lod : enable
#endif
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

#ifdef ENVIRONMENT_LIGHT
// Light from all around, prefiltered once by the engine: a cube with one mip level per
// roughness step up to environmentLevels, and the diffuse light's nine harmonic terms.
uniform samplerCube environmentMap;
uniform vec3 environmentIrradiance[9];
uniform float environmentLevels;

// The environment's diffuse light (irradiance / pi) on a surface facing n.
vec3 environmentDiffuse(vec3 n) {
    vec3 light = environmentIrradiance[0] + environmentIrradiance[1] * n.y +
                 environmentIrradiance[2] * n.z + environmentIrradiance[3] * n.x +
                 environmentIrradiance[4] * (n.x * n.y) + environmentIrradiance[5] * (n.y * n.z) +
                 environmentIrradiance[6] * (3.0 * n.z * n.z - 1.0) +
                 environmentIrradiance[7] * (n.x * n.z) +
                 environmentIrradiance[8] * (n.x * n.x - n.y * n.y);
    return max(light, vec3(0.0));
}

// The environment's light arriving from a direction, blurred as far as the roughness.
vec3 environmentReflection(vec3 direction, float roughness) {
#if defined(VERTEX_PROGRAM) || defined(GL_ARB_shader_texture_lod)
    return textureCubeLod(environmentMap, direction, roughness * environmentLevels).rgb;
#else
    return textureCube(environmentMap, direction, roughness * environmentLevels).rgb;
#endif
}
#else
vec3 environmentDiffuse(vec3 n) {
    return ambientLight;
}
vec3 environmentReflection(vec3 direction, float roughness) {
    return ambientLight;
}
#endif

#ifndef GLTF_MATERIAL

uniform sampler2D albedoMap;
uniform vec4 albedoColor;
uniform vec4 specular;
uniform vec4 emission;

// The light of the entries from first on, per vertex: on meshes this fine it looks much the same
// as per pixel, at a fraction of the cost on a software rasterizer. Plain point lights come
// first and take the short way; spot, directional and physical lights the full one.
vec3 lightFrom(int first, vec3 position, vec3 normal) {
    vec3 light = environmentDiffuse(normal);
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
// x index of refraction, y transmission, z thickness (mesh units), w attenuation distance
// (0: none).
uniform vec4 opticalFactors;
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

#ifdef CLEARCOAT
// x coat, y its roughness, z its normal scale.
uniform vec4 clearcoatFactors;
uniform sampler2D clearcoatMap;
uniform vec4 clearcoatMapTransformU;
uniform vec4 clearcoatMapTransformV;
uniform sampler2D clearcoatRoughnessMap;
uniform vec4 clearcoatRoughnessMapTransformU;
uniform vec4 clearcoatRoughnessMapTransformV;
uniform sampler2D clearcoatNormalMap;
uniform vec4 clearcoatNormalMapTransformU;
uniform vec4 clearcoatNormalMapTransformV;
#endif
#ifdef SPECULAR
// rgb the dielectric reflectance's colour, a its strength.
uniform vec4 specularFactors;
uniform sampler2D specularMap;
uniform vec4 specularMapTransformU;
uniform vec4 specularMapTransformV;
uniform sampler2D specularColorMap;
uniform vec4 specularColorMapTransformU;
uniform vec4 specularColorMapTransformV;
#endif
#ifdef SHEEN
// rgb the sheen's colour, a its roughness.
uniform vec4 sheenFactors;
uniform sampler2D sheenColorMap;
uniform vec4 sheenColorMapTransformU;
uniform vec4 sheenColorMapTransformV;
uniform sampler2D sheenRoughnessMap;
uniform vec4 sheenRoughnessMapTransformU;
uniform vec4 sheenRoughnessMapTransformV;
#endif
#ifdef TRANSMISSION
uniform sampler2D transmissionMap;
uniform vec4 transmissionMapTransformU;
uniform vec4 transmissionMapTransformV;
uniform sampler2D sceneBehind;
uniform vec4 targetSize;
#endif
#ifdef VOLUME
uniform vec4 attenuationColor;
uniform sampler2D thicknessMap;
uniform vec4 thicknessMapTransformU;
uniform vec4 thicknessMapTransformV;
#endif

// The extensions' maps compute their coordinates per pixel from both sets.
#if defined(CLEARCOAT) || defined(SPECULAR) || defined(SHEEN) || defined(TRANSMISSION)
#define EXTENSION_MAPS 1
varying vec4 bothCoordSets;
#endif

// Base colour and metallic-roughness map coordinates; normal and occlusion; emissive.
varying vec4 mapCoords0;
varying vec4 mapCoords1;
varying vec2 mapCoords2;
// Vertex colour times the base colour factor.
varying vec4 surfaceColor;
varying vec4 worldTangent;

struct Surface {
    vec3 diffuse;
    // Reflectance head-on and at grazing angles.
    vec3 reflectance;
    float edgeReflectance;
    // The metal and the dielectric the surface blends, apart: each reflects its own share.
    float metallic;
    vec3 dielectricReflectance;
    float dielectricEdge;
    float roughness;
    vec3 normal;
    vec3 toEye;
    float occlusion;
    vec3 emission;
    float alpha;
    // What single-scattering GGX loses at this roughness, given back to lights' highlights.
    vec3 scatterCompensation;
    // The split-sum fit at the view angle and roughness (see reflectedShare).
    vec2 splitSum;
    vec3 coat;
    float coatRoughness;
    vec3 coatNormal;
    vec3 sheenColor;
    float sheenRoughness;
    float transmission;
    vec3 baseColor;
};

vec2 mapCoord(vec4 rowU, vec4 rowV, vec2 set0, vec2 set1) {
    vec3 coord = vec3(rowU.w > 0.5 ? set1 : set0, 1.0);
    return vec2(dot(rowU.xyz, coord), dot(rowV.xyz, coord));
}

// Reflectance at normal incidence of a dielectric of this index of refraction (0.04 for 1.5).
float dielectricReflectance() {
    float ratio = (opticalFactors.x - 1.0) / (opticalFactors.x + 1.0);
    return ratio * ratio;
}

// The split-sum environment term of GGX, as an analytic fit: reflectance * x + edge * y is the
// share of the light a surface reflects at this view angle and roughness (single scattering).
vec2 reflectedShare(float viewFacing, float roughness) {
    vec4 rough = roughness * vec4(-1.0, -0.0275, -0.572, 0.022) + vec4(1.0, 0.0425, 1.04, -0.04);
    float fade = min(rough.x * rough.x, exp2(-9.28 * viewFacing)) * rough.x + rough.y;
    return vec2(-1.04, 1.04) * fade + rough.zw;
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
#ifdef EXTENSION_MAPS
    bothCoordSets = vec4(set0, set1);
#endif
    gl_Position = viewProjectionMatrix * world;
}
#endif

#ifdef FRAGMENT_PROGRAM
#ifdef EXTENSION_MAPS
vec4 extensionTexel(sampler2D map, vec4 rowU, vec4 rowV) {
    return texture2D(map, mapCoord(rowU, rowV, bothCoordSets.xy, bothCoordSets.zw));
}
#endif

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

// A normal map's normal in the surface's tangent frame.
vec3 bentNormal(vec3 normal, vec3 texel, float scale) {
    vec3 tangent = normalize(worldTangent.xyz - normal * dot(normal, worldTangent.xyz));
    vec3 bitangent = cross(normal, tangent) * worldTangent.w;
    vec3 bump = texel * 2.0 - 1.0;
    bump.xy *= scale;
    return normalize(tangent * bump.x + bitangent * bump.y + normal * bump.z);
}

// The surface's reflectance: metals reflect their base colour; dielectrics their index of
// refraction's share, coloured and weighed by the specular extension.
void readReflectance(inout Surface surface, vec3 base, float metallic) {
    vec3 dielectric = vec3(dielectricReflectance());
    float weight = 1.0;
#ifdef SPECULAR
    vec3 tint = specularFactors.rgb;
    weight = specularFactors.a;
#ifdef SPECULAR_COLOR_MAP
    vec3 color = extensionTexel(specularColorMap, specularColorMapTransformU,
                                specularColorMapTransformV).rgb;
    tint *= color * color;
#endif
#ifdef SPECULAR_MAP
    weight *= extensionTexel(specularMap, specularMapTransformU, specularMapTransformV).a;
#endif
    dielectric = min(dielectric * tint, vec3(1.0));
#endif
    surface.metallic = metallic;
    surface.dielectricReflectance = dielectric * weight;
    surface.dielectricEdge = weight;
    surface.reflectance = mix(dielectric * weight, base, metallic);
    surface.edgeReflectance = mix(weight, 1.0, metallic);
}

void readLayers(inout Surface surface, vec3 geometricNormal) {
    surface.coat = vec3(0.0);
    surface.coatRoughness = 1.0;
    surface.coatNormal = surface.normal;
#ifdef CLEARCOAT
    float coat = clearcoatFactors.x;
    float coatRoughness = clearcoatFactors.y;
#ifdef CLEARCOAT_MAP
    coat *= extensionTexel(clearcoatMap, clearcoatMapTransformU, clearcoatMapTransformV).r;
#endif
#ifdef CLEARCOAT_ROUGHNESS_MAP
    coatRoughness *= extensionTexel(clearcoatRoughnessMap, clearcoatRoughnessMapTransformU,
                                    clearcoatRoughnessMapTransformV).g;
#endif
    surface.coat = vec3(coat);
    surface.coatRoughness = clamp(coatRoughness, 0.03, 1.0);
#ifdef CLEARCOAT_NORMAL_MAP
    vec3 texel = extensionTexel(clearcoatNormalMap, clearcoatNormalMapTransformU,
                                clearcoatNormalMapTransformV).xyz;
    surface.coatNormal = faceNormal(bentNormal(geometricNormal, texel, clearcoatFactors.z));
#else
    surface.coatNormal = faceNormal(geometricNormal);
#endif
#endif
    surface.sheenColor = vec3(0.0);
    surface.sheenRoughness = 1.0;
#ifdef SHEEN
    vec3 sheen = sheenFactors.rgb;
    float sheenRoughness = sheenFactors.a;
#ifdef SHEEN_COLOR_MAP
    vec3 color =
        extensionTexel(sheenColorMap, sheenColorMapTransformU, sheenColorMapTransformV).rgb;
    sheen *= color * color;
#endif
#ifdef SHEEN_ROUGHNESS_MAP
    sheenRoughness *= extensionTexel(sheenRoughnessMap, sheenRoughnessMapTransformU,
                                     sheenRoughnessMapTransformV).a;
#endif
    surface.sheenColor = sheen;
    surface.sheenRoughness = clamp(sheenRoughness, 0.07, 1.0);
#endif
    surface.transmission = 0.0;
#ifdef TRANSMISSION
    float transmission = opticalFactors.y;
#ifdef TRANSMISSION_MAP
    transmission *= extensionTexel(transmissionMap, transmissionMapTransformU,
                                   transmissionMapTransformV).r;
#endif
    surface.transmission = transmission;
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
    surface.baseColor = base.rgb;
    surface.diffuse = base.rgb * (1.0 - metallic);
    readReflectance(surface, base.rgb, metallic);
    vec3 geometricNormal = normalize(worldNormal);
    vec3 normal = geometricNormal;
#ifdef NORMAL_MAP
    normal = bentNormal(normal, texture2D(normalMap, mapCoords1.xy).xyz, materialFactors.z);
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
    surface.splitSum =
        reflectedShare(max(dot(surface.normal, surface.toEye), 0.0), surface.roughness);
    vec2 share = surface.splitSum;
    surface.scatterCompensation =
        1.0 + surface.reflectance * (1.0 / max(share.x + share.y, 0.05) - 1.0);
    readLayers(surface, geometricNormal);
    surface.diffuse *= 1.0 - surface.transmission;
    return surface;
}

#endif

// GGX with Smith visibility, times pi (light colours hold the 1/pi of the diffuse term).
float highlight(vec3 normal, vec3 toLight, vec3 toEye, vec3 halfway, float roughness) {
    float facing = max(dot(normal, toLight), 1e-4);
    float viewFacing = max(dot(normal, toEye), 1e-4);
    float halfFacing = max(dot(normal, halfway), 0.0);
    float alpha = roughness * roughness;
    float alpha2 = alpha * alpha;
    float spread = halfFacing * halfFacing * (alpha2 - 1.0) + 1.0;
    float distribution = alpha2 / (pi * spread * spread);
    float visibility =
        0.5 / (facing * sqrt(viewFacing * viewFacing * (1.0 - alpha2) + alpha2) +
               viewFacing * sqrt(facing * facing * (1.0 - alpha2) + alpha2));
    return distribution * visibility * pi;
}

// Schlick's Fresnel term between the reflectance head-on and at grazing angles.
vec3 fresnel(vec3 headOn, float edge, float cosine) {
    return headOn + (edge - headOn) * pow(1.0 - max(cosine, 0.0), 5.0);
}

// One light on the surface: Lambert diffuse and a GGX highlight with Smith visibility and
// Schlick's Fresnel, under a clear coat and with a sheen where the material has them.
vec3 shade(Surface surface, vec3 toLight, vec3 arriving) {
    float facing = dot(surface.normal, toLight);
    if (facing <= 0.0) {
        return vec3(0.0);
    }
    vec3 halfway = normalize(toLight + surface.toEye);
    vec3 reflected = fresnel(surface.reflectance, surface.edgeReflectance,
                             dot(surface.toEye, halfway));
    vec3 diffuse = (1.0 - reflected) * surface.diffuse;
    vec3 color = (diffuse + reflected * surface.scatterCompensation *
                                highlight(surface.normal, toLight, surface.toEye, halfway,
                                          surface.roughness)) *
                 facing;
#ifdef SHEEN
    // Charlie's distribution with Neubelt's visibility; it lights the surface's silhouette.
    float alpha = surface.sheenRoughness * surface.sheenRoughness;
    float halfFacing = dot(surface.normal, halfway);
    float sine2 = max(1.0 - halfFacing * halfFacing, 1e-4);
    float distribution = (2.0 + 1.0 / alpha) * pow(sine2, 0.5 / alpha) / (2.0 * pi);
    float viewFacing = max(dot(surface.normal, surface.toEye), 1e-4);
    float visibility = 1.0 / (4.0 * (facing + viewFacing - facing * viewFacing));
    float strongest = max(surface.sheenColor.r, max(surface.sheenColor.g, surface.sheenColor.b));
    color = color * (1.0 - 0.25 * strongest) +
            surface.sheenColor * (distribution * visibility * pi * facing);
#endif
#ifdef CLEARCOAT
    float coatFacing = dot(surface.coatNormal, toLight);
    vec3 coatReflected = fresnel(vec3(0.04), 1.0, dot(surface.coatNormal, surface.toEye)) *
                         surface.coat;
    color = color * (1.0 - coatReflected);
    if (coatFacing > 0.0) {
        vec3 coatHalfway = normalize(toLight + surface.toEye);
        color += fresnel(vec3(0.04), 1.0, dot(surface.toEye, coatHalfway)) * surface.coat *
                 highlight(surface.coatNormal, toLight, surface.toEye, coatHalfway,
                           surface.coatRoughness) *
                 coatFacing;
    }
#endif
    return color * arriving;
}

// The environment's share reflected by a layer (or, without an environment, the plain ambient
// light's), from its split-sum fit (see reflectedShare), with the light single scattering loses
// at high roughness given back: what a rough white metal reflects adds up to all of it (the
// multiple-scattering term of Fdez-Aguera).
vec3 reflectedEnvironmentShare(vec3 headOn, float edge, vec2 share) {
    vec3 single = headOn * share.x + edge * share.y;
    float scattered = share.x + share.y;
    vec3 average = headOn + (1.0 - headOn) / 21.0;
    vec3 multiple = single * average / (1.0 - (1.0 - scattered) * average) * (1.0 - scattered);
    return single + multiple;
}

#ifdef FRAGMENT_PROGRAM
#ifdef TRANSMISSION
// The opaque scene behind the surface, seen through it: bent by the index of refraction over
// the volume's thickness and blurred as far as the roughness; tinted by the base colour and
// absorbed over the thickness.
vec3 seenThrough(Surface surface) {
    vec3 ray = refract(-surface.toEye, surface.normal, 1.0 / max(opticalFactors.x, 1.0));
    vec3 exit = worldPosition;
    vec3 absorbed = vec3(1.0);
#ifdef VOLUME
    float thickness = opticalFactors.z;
#ifdef THICKNESS_MAP
    thickness *= texture2D(thicknessMap, mapCoord(thicknessMapTransformU, thicknessMapTransformV,
                                                  bothCoordSets.xy, bothCoordSets.zw)).g;
#endif
    thickness *= length(worldMatrix[0].xyz);
    exit += normalize(ray) * thickness;
    if (opticalFactors.w > 0.0) {
        absorbed = pow(attenuationColor.rgb, vec3(thickness / opticalFactors.w));
    }
#endif
    vec4 clip = viewProjectionMatrix * vec4(exit, 1.0);
    vec2 place = clip.xy / clip.w * 0.5 + 0.5;
    float blur = log2(targetSize.x) * surface.roughness *
                 clamp(opticalFactors.x * 2.0 - 2.0, 0.0, 1.0);
#ifdef GL_ARB_shader_texture_lod
    vec3 behind = texture2DLod(sceneBehind, place, blur).rgb;
#else
    vec3 behind = texture2D(sceneBehind, place, blur).rgb;
#endif
    return behind * surface.baseColor * absorbed;
}
#endif

// Light from all around: the environment's diffuse and reflected light, under the coat and
// with the sheen, and the scene behind a transmissive surface.
vec3 ambient(Surface surface) {
    float viewFacing = max(dot(surface.normal, surface.toEye), 0.0);
    vec3 dielectric = reflectedEnvironmentShare(surface.dielectricReflectance,
                                                surface.dielectricEdge, surface.splitSum);
    vec3 metal = reflectedEnvironmentShare(surface.baseColor, 1.0, surface.splitSum);
    vec3 color = surface.diffuse * (1.0 - dielectric) * environmentDiffuse(surface.normal) +
                 mix(dielectric, metal, surface.metallic) *
                     environmentReflection(reflect(-surface.toEye, surface.normal),
                                           surface.roughness);
#ifdef TRANSMISSION
    color += surface.transmission * (1.0 - surface.metallic) * (1.0 - dielectric) *
             seenThrough(surface);
#endif
#ifdef SHEEN
    // The sheen's reflected share grows towards the silhouette.
    float strongest = max(surface.sheenColor.r, max(surface.sheenColor.g, surface.sheenColor.b));
    float grazing = 1.0 - viewFacing;
    color = color * (1.0 - 0.25 * strongest) +
            surface.sheenColor * environmentDiffuse(surface.normal) *
                (0.05 + 0.6 * grazing * grazing * grazing) * (1.0 - 0.5 * surface.sheenRoughness);
#endif
#ifdef CLEARCOAT
    float coatFacing = max(dot(surface.coatNormal, surface.toEye), 0.0);
    vec3 coatReflected = surface.coat * fresnel(vec3(0.04), 1.0, coatFacing);
    color = color * (1.0 - coatReflected) +
            surface.coat *
                reflectedEnvironmentShare(vec3(0.04), 1.0,
                                          reflectedShare(coatFacing, surface.coatRoughness)) *
                environmentReflection(reflect(-surface.toEye, surface.coatNormal),
                                      surface.coatRoughness);
#endif
    return color * surface.occlusion;
}

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
// Every light and the environment per vertex, with the material's factors standing in for its
// maps: the diffuse light (times pi's share already in the colours) and the highlight, added up
// apart. The clear coat and the sheen are lit here too, through the vertex normal.
void lightPerVertex() {
    Surface surface;
    vec4 base = surfaceColor;
    float metallic = materialFactors.x;
    surface.roughness = clamp(materialFactors.y, 0.03, 1.0);
    vec3 dielectric = vec3(dielectricReflectance());
    float weight = 1.0;
#ifdef SPECULAR
    dielectric = min(dielectric * specularFactors.rgb, vec3(1.0));
    weight = specularFactors.a;
#endif
    surface.reflectance = mix(dielectric * weight, base.rgb, metallic);
    surface.edgeReflectance = mix(weight, 1.0, metallic);
    surface.metallic = metallic;
    surface.dielectricReflectance = dielectric * weight;
    surface.dielectricEdge = weight;
    surface.normal = normalize(worldNormal);
    surface.toEye = normalize(cameraPosition - worldPosition);
    float viewFacing = max(dot(surface.normal, surface.toEye), 0.0);
    vec2 share = reflectedShare(viewFacing, surface.roughness);
    surface.scatterCompensation =
        1.0 + surface.reflectance * (1.0 / max(share.x + share.y, 0.05) - 1.0);
    surface.coat = vec3(0.0);
    surface.coatRoughness = 1.0;
    surface.coatNormal = surface.normal;
#ifdef CLEARCOAT
    surface.coat = vec3(clearcoatFactors.x);
    surface.coatRoughness = clamp(clearcoatFactors.y, 0.03, 1.0);
#endif
    surface.sheenColor = vec3(0.0);
    surface.sheenRoughness = 1.0;
#ifdef SHEEN
    surface.sheenColor = sheenFactors.rgb;
    surface.sheenRoughness = clamp(sheenFactors.a, 0.07, 1.0);
#endif
    // What the dielectric reflects of the environment is not also diffused.
    vec3 reflected = reflectedEnvironmentShare(surface.dielectricReflectance,
                                               surface.dielectricEdge, share);
    vec3 diffuse = environmentDiffuse(surface.normal) * (1.0 - reflected);
    reflected = mix(reflected,
                    reflectedEnvironmentShare(base.rgb, 1.0, share),
                    metallic);
    vec3 highlight =
        reflected *
        environmentReflection(reflect(-surface.toEye, surface.normal), surface.roughness);
#ifdef CLEARCOAT
    highlight += surface.coat * reflectedEnvironmentShare(
                                    vec3(0.04), 1.0,
                                    reflectedShare(viewFacing, surface.coatRoughness)) *
                 environmentReflection(reflect(-surface.toEye, surface.normal),
                                       surface.coatRoughness);
#endif
#ifdef SHEEN
    float grazing = 1.0 - viewFacing;
    highlight += surface.sheenColor * environmentDiffuse(surface.normal) *
                 (0.05 + 0.6 * grazing * grazing * grazing);
#endif
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
#ifdef TRANSMISSION
    color += surface.transmission * seenThrough(surface);
#endif
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
