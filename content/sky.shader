// The sky: a cube texture seen from inside a box around the camera, at infinite distance. The
// box follows the camera (only its rotation counts) and lands on the far plane, so it never
// hides anything and needs the depth test to pass equal depths. "sky" writes linear colour for
// an HDR target, "skyScreen" display colour straight to the screen.
//
// Material uniforms: skyMap (cube texture of display colours), skyColor (rgb brightness).
// With the define ENVIRONMENT_SKY the sky is the engine's environment instead, in linear colour.

@shared
uniform mat4 worldMatrix;
uniform mat4 viewProjectionMatrix;
uniform vec3 cameraPosition;
uniform samplerCube skyMap;
uniform vec4 skyColor;
#ifdef ENVIRONMENT_SKY
uniform samplerCube environmentBackground;
#endif

varying vec3 direction;

// The sky's linear colour towards the direction.
vec3 skyLight() {
#ifdef ENVIRONMENT_SKY
    return textureCube(environmentBackground, direction).rgb * skyColor.rgb;
#else
    vec3 color = textureCube(skyMap, direction).rgb * skyColor.rgb;
    return color * color;
#endif
}

vec4 farPlanePosition(vec3 vertexPosition) {
    vec4 clip = viewProjectionMatrix * vec4(cameraPosition + mat3(worldMatrix) * vertexPosition, 1.0);
    // z = w puts every point of the box at depth 1, the far plane.
    return clip.xyww;
}

@context sky
@vertex
attribute vec3 vertexPosition;

void main() {
    direction = vertexPosition;
    gl_Position = farPlanePosition(vertexPosition);
}
@fragment
void main() {
    gl_FragColor = vec4(skyLight(), 1.0);
}

@context skyScreen
@vertex
attribute vec3 vertexPosition;

void main() {
    direction = vertexPosition;
    gl_Position = farPlanePosition(vertexPosition);
}
@fragment
void main() {
    gl_FragColor = vec4(sqrt(skyLight()), 1.0);
}
