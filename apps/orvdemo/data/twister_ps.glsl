// Lights the twisted box with the scene's three point lights and the box's
// material, as the fixed-function pipeline would, but per fragment so that
// the coloured highlights stay round on the large flat faces.
varying vec3 eyePosition;
varying vec3 eyeNormal;

const int LIGHT_COUNT = 3;

vec4 lightContribution(int i, vec3 normal, vec3 toEye)
{
    vec4 lightPosition = gl_LightSource[i].position;
    vec3 toLight = lightPosition.xyz - eyePosition * lightPosition.w;
    float lightDistance = length(toLight);
    toLight = normalize(toLight);

    float attenuation = 1.0;
    if (lightPosition.w != 0.0) {
        attenuation = 1.0 / (gl_LightSource[i].constantAttenuation +
                             gl_LightSource[i].linearAttenuation * lightDistance +
                             gl_LightSource[i].quadraticAttenuation * lightDistance * lightDistance);
    }

    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), gl_FrontMaterial.shininess);
    }
    return attenuation * (gl_FrontLightProduct[i].ambient +
                          diffuse * gl_FrontLightProduct[i].diffuse +
                          specular * gl_FrontLightProduct[i].specular);
}

void main()
{
    vec3 normal = normalize(eyeNormal);
    vec3 toEye = normalize(-eyePosition);
    vec4 colour = gl_FrontLightModelProduct.sceneColor;
    for (int i = 0; i < LIGHT_COUNT; ++i) {
        colour += lightContribution(i, normal, toEye);
    }
    gl_FragColor = vec4(colour.rgb, gl_FrontMaterial.diffuse.a);
}
