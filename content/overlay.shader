// Overlays: screen-space quads in one colour (the font atlas comes with the generated content).

@context overlay
@vertex
attribute vec3 vertexPosition;
attribute vec2 vertexTexCoord;
varying vec2 texCoord;

void main() {
    texCoord = vertexTexCoord;
    gl_Position = vec4(vertexPosition.xy * 2.0 - 1.0, 0.0, 1.0);
}

@fragment
uniform vec4 overlayColor;
varying vec2 texCoord;

void main() {
    gl_FragColor = overlayColor;
}
