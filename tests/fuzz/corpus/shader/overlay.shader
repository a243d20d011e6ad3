// Overlay text: glyph quads in clip space, each vertex with its text colour; the atlas holds
// coverage in alpha, so the pipeline's alpha blending lays the glyphs over the picture.

@context overlay
@vertex
attribute vec3 vertexPosition;
attribute vec2 vertexTexCoord;
attribute vec4 vertexColor;
varying vec2 texCoord;
varying vec4 color;

void main() {
    texCoord = vertexTexCoord;
    color = vertexColor;
    gl_Position = vec4(vertexPosition.xy, 0.0, 1.0);
}

@fragment
uniform sampler2D fontAtlas;
varying vec2 texCoord;
varying vec4 color;

void main() {
    gl_FragColor = color * texture2D(fontAtlas, texCoord);
}
