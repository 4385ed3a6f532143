#include "orv_gl_queries.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/orv_renderer.h"

std::array<double, 2> orvWindowPoint(OrvRenderer* renderer, double x, double y, double z) {
    double model[16];
    double projection[16];
    GLint viewport[4];
    renderer->loadViewMatrix();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 2> window = {};
    double depth = 0;
    gluProject(x, y, z, model, projection, viewport, &window[0], &window[1], &depth);
    return window;
}

int glInteger(unsigned int name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

std::vector<float> lightValues(unsigned int light, unsigned int name, int count) {
    std::vector<float> values(4, -99.0f);
    glGetLightfv(light, name, values.data());
    values.resize(count);
    return values;
}
