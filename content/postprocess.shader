// Post-processing: a horizontal blur whose strength follows the camera's turn rate (blurDir.x),
// then tone mapping of the HDR picture for the screen.

@context final
@vertex
attribute vec3 vertexPosition;
varying vec2 texCoord;

void main() {
    texCoord = vertexPosition.xy * 0.5 + 0.5;
    gl_Position = vec4(vertexPosition.xy, 0.0, 1.0);
}

@fragment
uniform sampler2D hdrBuffer;
uniform vec4 blurDir;
varying vec2 texCoord;

void main() {
    vec3 sum = vec3(0.0);
    for (int tap = -3; tap <= 3; ++tap) {
        vec2 offset = vec2(blurDir.x, blurDir.y) * (float(tap) / 3.0) * 0.1;
        sum += texture2D(hdrBuffer, texCoord + offset).rgb;
    }
    vec3 color = sum / 7.0;
    gl_FragColor = vec4(color / (color + vec3(1.0)), 1.0);
}
