// Twists the box about its vertical axis: the angle grows from nothing at the
// base of the box to angle_deg_max degrees at its top and swings back and
// forth with time. The box is centred on its own origin, so a vertex's height
// above the base is its y plus half the box's height.
uniform float time;
uniform float height;
uniform float angle_deg_max;

varying vec3 eyePosition;
varying vec3 eyeNormal;

vec3 twist(vec3 v, float angle)
{
    float c = cos(angle);
    float s = sin(angle);
    return vec3(c * v.x + s * v.z, v.y, c * v.z - s * v.x);
}

void main()
{
    float rise = 0.0;
    if (height > 0.0) {
        rise = clamp(gl_Vertex.y / height + 0.5, 0.0, 1.0);
    }
    float angle = radians(angle_deg_max) * rise * sin(time);
    vec4 position = vec4(twist(gl_Vertex.xyz, angle), gl_Vertex.w);

    // Lighting is done per fragment in eye space, where the renderer placed
    // the lights under the camera's view.
    eyePosition = vec3(gl_ModelViewMatrix * position);
    eyeNormal = gl_NormalMatrix * twist(gl_Normal, angle);
    gl_Position = gl_ModelViewProjectionMatrix * position;
}
