// The sky: a cube texture seen from inside a box around the camera, at infinite distance. The
// box follows the camera (only its rotation counts) and lands on the far plane, so it never
// hides anything and needs the depth test to pass equal depths. "sky" writes linear colour for
// an HDR target, "skyScreen" display colour straight to the screen.
//
// Material uniforms: skyMap (cube texture), skyColor (rgb brightness).

@shared
uniform mat4 worldMatrix;
uniform mat4 viewProjectionMatrix;
uniform vec3 cameraPosition;
uniform samplerCube skyMap;
uniform vec4 skyColor;

varying vec3 direction;

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
    vec3 color = textureCube(skyMap, direction).rgb * skyColor.rgb;
    gl_FragColor = vec4(color * color, 1.0);
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
    gl_FragColor = vec4(textureCube(skyMap, direction).rgb * skyColor.rgb, 1.0);
}
