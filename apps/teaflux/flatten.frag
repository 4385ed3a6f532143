// Paints the surface one clear orange, darkened by the vertex shader's shade.
varying float shade;

const vec3 kColour = vec3(0.95, 0.45, 0.1);

void main()
{
    gl_FragColor = vec4(kColour * shade, 1.0);
}
