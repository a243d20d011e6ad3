// Lit surfaces: a textured, tinted albedo lit by up to eight point lights in one pass.
//   lit        linear colour for an HDR target: the first light (the shadow caster) per pixel
//              with its cube shadow map, its highlight and the other lights per vertex
//   litFill    the same for surfaces out of the first light's reach: the other lights only,
//              so nothing is left to do per pixel but the texture
//   litScreen  display colour straight to the screen, every light per vertex, no shadow: the
//              cheap look of the simple pipeline
//   shadow     fills the shadow map
//
// Material uniforms: albedoMap (texture), albedoColor (rgb tint), specular (x strength,
// y exponent), emission (rgb light of the surface's own).

@shared
uniform mat4 worldMatrix;
uniform mat3 normalMatrix;
uniform mat4 viewProjectionMatrix;
uniform vec3 cameraPosition;
uniform int lightCount;
uniform vec4 lightPositions[8];
uniform vec4 lightColors[8];
uniform mat4 shadowMatrices[6];
uniform sampler2DShadow shadowMap;

uniform sampler2D albedoMap;
uniform vec4 albedoColor;
uniform vec4 specular;
uniform vec4 emission;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;
varying vec3 vertexLight;
varying vec3 vertexHighlight;

const vec3 ambientLight = vec3(0.05, 0.055, 0.07);

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

// The light of the entries from first on, per vertex: on meshes this fine it looks much the same
// as per pixel, at a fraction of the cost on a software rasterizer.
vec3 lightFrom(int first, vec3 position, vec3 normal) {
    vec3 light = ambientLight;
    for (int entry = first; entry < 8; ++entry) {
        if (entry >= lightCount) {
            break;
        }
        vec3 toLight = lightPositions[entry].xyz - position;
        float distanceSquared = dot(toLight, toLight);
        float falloff = max(1.0 - distanceSquared * lightPositions[entry].w, 0.0);
        float facing = max(dot(normal, toLight * inversesqrt(distanceSquared)), 0.0);
        light += lightColors[entry].rgb * (facing * falloff * falloff);
    }
    return light;
}

vec3 fillLight(vec3 position, vec3 normal) {
    return lightFrom(1, position, normal);
}

vec3 allLight(vec3 position, vec3 normal) {
    return lightFrom(0, position, normal);
}

// The first light's highlight, per vertex (a Blinn highlight, faded like the light).
vec3 keyHighlight(vec3 position, vec3 normal) {
    if (lightCount == 0) {
        return vec3(0.0);
    }
    vec3 toLight = lightPositions[0].xyz - position;
    float distanceSquared = dot(toLight, toLight);
    float falloff = max(1.0 - distanceSquared * lightPositions[0].w, 0.0);
    vec3 halfway = normalize(toLight * inversesqrt(distanceSquared) +
                             normalize(cameraPosition - position));
    float highlight = pow(max(dot(normal, halfway), 0.0), specular.y) * specular.x *
                      step(0.0, dot(normal, toLight));
    return lightColors[0].rgb * (highlight * falloff * falloff);
}

// The first light (the shadow caster, else the nearest) per pixel, in its shadow.
vec3 litColor() {
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    // Textures hold display colours; light adds up in linear ones.
    albedo *= albedo;
    vec3 normal = normalize(worldNormal);
    vec3 toLight = lightPositions[0].xyz - worldPosition;
    float distanceSquared = dot(toLight, toLight);
    float falloff = max(1.0 - distanceSquared * lightPositions[0].w, 0.0);
    float diffuse = max(dot(normal, toLight * inversesqrt(distanceSquared)), 0.0);
    vec3 keyLight = lightColors[0].rgb * (diffuse * falloff * falloff) * albedo + vertexHighlight;
    if (lightColors[0].a > 0.0) {
        keyLight *= lightReaches(worldPosition);
    }
    if (lightCount == 0) {
        keyLight = vec3(0.0);
    }
    return albedo * vertexLight + emission.rgb + keyLight;
}

// Linear colour to display colour: a soft shoulder instead of clipping, then gamma 2.
vec3 screenColor(vec3 linear) {
    return sqrt(linear / (linear + vec3(0.6)) * 1.6);
}

@context lit
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;

void main() {
    vec4 world = worldMatrix * vec4(vertexPosition, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * vertexNormal;
    vertexLight = fillLight(world.xyz, normalize(worldNormal));
    vertexHighlight = keyHighlight(world.xyz, normalize(worldNormal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
}
@fragment
void main() {
    gl_FragColor = vec4(litColor(), 1.0);
}

@context litFill
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;

void main() {
    vec4 world = worldMatrix * vec4(vertexPosition, 1.0);
    vertexLight = fillLight(world.xyz, normalize(normalMatrix * vertexNormal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
}
@fragment
void main() {
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    gl_FragColor = vec4(albedo * albedo * vertexLight + emission.rgb, 1.0);
}

@context litScreen
@vertex
attribute vec3 vertexPosition;
attribute vec3 vertexNormal;
attribute vec2 vertexTexCoord;

void main() {
    vec4 world = worldMatrix * vec4(vertexPosition, 1.0);
    vertexLight = allLight(world.xyz, normalize(normalMatrix * vertexNormal));
    texCoord = vertexTexCoord;
    gl_Position = viewProjectionMatrix * world;
}
@fragment
void main() {
    vec3 albedo = texture2D(albedoMap, texCoord).rgb * albedoColor.rgb;
    gl_FragColor = vec4(screenColor(albedo * albedo * vertexLight + emission.rgb), 1.0);
}

@context shadow
@vertex
attribute vec3 vertexPosition;

void main() {
    gl_Position = viewProjectionMatrix * (worldMatrix * vec4(vertexPosition, 1.0));
}
@fragment
void main() {
    gl_FragColor = vec4(1.0);
}
