// Samples the picture bound to the unit the "picture" uniform names.
uniform sampler2D picture;
varying vec4 litColour;

void main() {
    gl_FragColor = litColour * texture2D(picture, gl_TexCoord[0].st);
}
