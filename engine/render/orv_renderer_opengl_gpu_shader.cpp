// GPU program operations of the OpenGL renderer: placeholders until GLSL programs are built.
#include "orv_renderer_opengl.h"

int OrvRendererOpenGL::isGpuProgram(OrvGpuProgram*) {
    return 0;
}

void OrvRendererOpenGL::createGpuProgram(OrvGpuProgram*) {}

void OrvRendererOpenGL::destroyGpuProgram(OrvGpuProgram*) {}

int OrvRendererOpenGL::createGpuVertexShader(OrvGpuProgram*) {
    return -1;
}

void OrvRendererOpenGL::destroyGpuVertexShader(OrvGpuProgram*) {}

int OrvRendererOpenGL::createGpuPixelShader(OrvGpuProgram*) {
    return -1;
}

void OrvRendererOpenGL::destroyGpuPixelShader(OrvGpuProgram*) {}

void OrvRendererOpenGL::activeGpuShader(OrvGpuProgram*) {}

void OrvRendererOpenGL::updateGpuShaderUniforms(OrvGpuProgram*) {}

void OrvRendererOpenGL::bindGpuShaderAttributes(OrvGpuProgram*) {}
