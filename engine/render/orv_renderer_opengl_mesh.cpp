// Mesh drawing and buffer operations of the OpenGL renderer: placeholders for now.
#include "orv_renderer_opengl.h"

void OrvRendererOpenGL::setVertexArrays(OrvMeshData*) {}

void OrvRendererOpenGL::drawElements(OrvMeshData*) {}

void OrvRendererOpenGL::unsetVertexArrays(OrvMeshData*) {}

void OrvRendererOpenGL::setVertexBuffers(OrvMeshData*) {}

void OrvRendererOpenGL::drawElementsVBO(OrvMeshData*) {}

void OrvRendererOpenGL::unsetVertexBuffers(OrvMeshData*) {}

void OrvRendererOpenGL::drawMesh(OrvMeshData*) {}

void OrvRendererOpenGL::drawMeshVBO(OrvMeshData*) {}

void OrvRendererOpenGL::drawImmediate(OrvMeshData*) {}

void OrvRendererOpenGL::compileDisplayList(OrvMeshData*) {}

void OrvRendererOpenGL::deleteDisplayList(OrvMeshData*) {}

void OrvRendererOpenGL::callDisplayList(OrvMeshData*) {}

int OrvRendererOpenGL::hasVBO(const OrvMeshData*, int) {
    return 0;
}

int OrvRendererOpenGL::hasIBO(const OrvMeshData*) {
    return 0;
}

int OrvRendererOpenGL::createVBO(OrvMeshData*, int) {
    return -1;
}

int OrvRendererOpenGL::createIBO(OrvMeshData*) {
    return -1;
}

void OrvRendererOpenGL::destroyVBO(OrvMeshData*, int) {}

void OrvRendererOpenGL::destroyIBO(OrvMeshData*) {}

void OrvRendererOpenGL::bindVBO(OrvMeshData*, int) {}

void OrvRendererOpenGL::bindIBO(OrvMeshData*) {}

void OrvRendererOpenGL::updateVBO(OrvMeshData*, int) {}

void OrvRendererOpenGL::updateIBO(OrvMeshData*) {}
