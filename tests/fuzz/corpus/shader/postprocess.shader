// Post-processing of the master pipeline, in full-screen passes:
//   brightPass        the HDR picture's bright parts, averaged down to a quarter-size target
//   bloomBlur         a blur of those at quarter size, where it costs a sixteenth of a
//                     full-size pass
//   final             the bloom added, tone mapping and gamma, in one pass
//   finalBlurred      the same after the turn blur; the pipeline draws it only while blurDir.x
//                     is not 0, since a shader branch would not spare a software rasterizer
//
// final and finalBlurred read the HDR picture with nearest-texel sampling: one fetch a tap.
//
// Material uniforms: blurDir (x: the horizontal blur's strength, 0 for none; the viewer sets
// it from the camera's turn), bloom (x: brightness where bloom starts, y: its strength),
// exposure (x: scale of the linear colour before tone mapping).

@shared
uniform sampler2D hdrBuffer;
uniform sampler2D bloomBuffer;
uniform vec4 blurDir;
uniform vec4 bloom;
uniform vec4 exposure;
uniform vec4 targetSize;
uniform vec4 screenSize;

varying vec2 texCoord;

// The covering triangle's corners reach past the screen; texCoord is 0..1 across the screen.
vec4 coveringPosition(vec3 vertexPosition) {
    return vec4(vertexPosition.xy, 0.0, 1.0);
}

// A filmic curve: a toe in the darks, a soft shoulder towards white.
vec3 toneMapped(vec3 linear) {
    vec3 x = linear * exposure.x;
    return clamp((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14), 0.0, 1.0);
}

@context brightPass
@vertex
attribute vec3 vertexPosition;

void main() {
    texCoord = vertexPosition.xy * 0.5 + 0.5;
    gl_Position = coveringPosition(vertexPosition);
}
@fragment
void main() {
    // Each tap falls between four screen texels, so four taps average the 4x4 texels under this
    // quarter-size pixel.
    vec2 texel = screenSize.zw;
    vec3 color = texture2D(hdrBuffer, texCoord + texel * vec2(-1.0, -1.0)).rgb;
    color += texture2D(hdrBuffer, texCoord + texel * vec2(1.0, -1.0)).rgb;
    color += texture2D(hdrBuffer, texCoord + texel * vec2(-1.0, 1.0)).rgb;
    color += texture2D(hdrBuffer, texCoord + texel * vec2(1.0, 1.0)).rgb;
    color *= 0.25;
    float brightness = max(color.r, max(color.g, color.b));
    gl_FragColor = vec4(color * (max(brightness - bloom.x, 0.0) / max(brightness, 0.0001)), 1.0);
}

@context bloomBlur
@vertex
attribute vec3 vertexPosition;

void main() {
    texCoord = vertexPosition.xy * 0.5 + 0.5;
    gl_Position = coveringPosition(vertexPosition);
}
@fragment
void main() {
    // Nine bilinear taps, a texel and a half apart, weigh the 5x5 texels around this one
    // (about 20x20 screen pixels), heaviest in the middle.
    vec2 texel = targetSize.zw * 1.5;
    vec3 sum = texture2D(bloomBuffer, texCoord).rgb * 4.0;
    sum += texture2D(bloomBuffer, texCoord + vec2(texel.x, 0.0)).rgb * 2.0;
    sum += texture2D(bloomBuffer, texCoord - vec2(texel.x, 0.0)).rgb * 2.0;
    sum += texture2D(bloomBuffer, texCoord + vec2(0.0, texel.y)).rgb * 2.0;
    sum += texture2D(bloomBuffer, texCoord - vec2(0.0, texel.y)).rgb * 2.0;
    sum += texture2D(bloomBuffer, texCoord + texel).rgb;
    sum += texture2D(bloomBuffer, texCoord - texel).rgb;
    sum += texture2D(bloomBuffer, texCoord + vec2(texel.x, -texel.y)).rgb;
    sum += texture2D(bloomBuffer, texCoord + vec2(-texel.x, texel.y)).rgb;
    gl_FragColor = vec4(sum / 16.0, 1.0);
}

@context final
@vertex
attribute vec3 vertexPosition;

void main() {
    texCoord = vertexPosition.xy * 0.5 + 0.5;
    gl_Position = coveringPosition(vertexPosition);
}
@fragment
void main() {
    vec3 color = texture2D(hdrBuffer, texCoord).rgb + texture2D(bloomBuffer, texCoord).rgb * bloom.y;
    gl_FragColor = vec4(sqrt(toneMapped(color)), 1.0);
}

@context finalBlurred
@vertex
attribute vec3 vertexPosition;

void main() {
    texCoord = vertexPosition.xy * 0.5 + 0.5;
    gl_Position = coveringPosition(vertexPosition);
}
@fragment
void main() {
    // Eight taps spread over blurDir.x tenths of the picture's width, centred on the pixel.
    // Each pixel shifts them by its own fraction of their spacing (interleaved gradient noise),
    // so a wide smear reads as one streak with a fine grain instead of eight copies.
    float jitter = fract(52.9829189 * fract(dot(gl_FragCoord.xy, vec2(0.06711056, 0.00583715))));
    float spacing = blurDir.x * 0.1 / 8.0;
    vec3 color = vec3(0.0);
    for (int tap = 0; tap < 8; ++tap) {
        float offset = (float(tap) - 3.5 + jitter - 0.5) * spacing;
        color += texture2D(hdrBuffer, texCoord + vec2(offset, 0.0)).rgb;
    }
    color = color * 0.125 + texture2D(bloomBuffer, texCoord).rgb * bloom.y;
    gl_FragColor = vec4(sqrt(toneMapped(color)), 1.0);
}
