// A small shader with Windows line ends.
@shared
uniform vec4 tint;
@context ambient
@vertex
attribute vec3 vertexPosition;
void main() { gl_Position = vec4(vertexPosition, 1.0); }
@fragment
void main() { gl_FragColor = tint; }
