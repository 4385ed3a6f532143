// The torus of the textured box example: lit per vertex by the first light,
// with texture coordinate set 0 passed on for the picture.
varying vec4 litColour;

void main() {
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 position = vec3(gl_ModelViewMatrix * gl_Vertex);
    vec3 toLight = normalize(gl_LightSource[0].position.xyz - position);
    float diffuse = max(dot(normal, toLight), 0.0);
    litColour = vec4(vec3(0.35 + 0.65 * diffuse), 1.0);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
