// Squashes the model into a thin plate along z and runs a ripple across it.
// "time" counts frames, so the ripple advances a fixed step per frame.
uniform float time;

varying float shade;

const float kThickness = 0.1;
const float kAmplitude = 0.25;
const float kWaveNumber = 2.5;
const float kRadiansPerFrame = 0.05;
const vec3 kLightDirection = vec3(0.4, -0.2, 1.0);

void main()
{
    float phase = kWaveNumber * gl_Vertex.x + kRadiansPerFrame * time;
    vec4 position = gl_Vertex;
    position.z = position.z * kThickness + kAmplitude * sin(phase);

    // Normals go through the inverse transpose of the deformation, so the
    // shading follows the flattened, rippled surface rather than the original.
    float slope = kAmplitude * kWaveNumber * cos(phase);
    vec3 normal = vec3(gl_Normal.x - slope / kThickness * gl_Normal.z,
                       gl_Normal.y,
                       gl_Normal.z / kThickness);
    normal = normalize(gl_NormalMatrix * normal);

    shade = 0.25 + 0.75 * max(dot(normal, normalize(kLightDirection)), 0.0);
    gl_Position = gl_ModelViewProjectionMatrix * position;
}
