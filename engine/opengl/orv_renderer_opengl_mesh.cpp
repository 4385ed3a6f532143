// Mesh drawing of the OpenGL renderer: client-memory vertex arrays, vertex and
// index buffer objects, display lists and immediate mode, all drawing the
// faces firstFace..lastFace of a mesh record. Buffers are created on first
// use, sized once for the whole array and afterwards only overwritten when the
// record marks an array changed. The record stays owned by the mesh; the
// renderer writes back only buffer names, change flags and draw bookkeeping.
#include <cstdint>

#include "opengl/orv_renderer_opengl.h"

#include "core/orv_log.h"
#include "render/orv_mesh_data.h"

namespace {

constexpr GLsizeiptr kVertexBytes = sizeof(OrvFloat4);
constexpr GLenum kClientArrayNames[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY};

bool isAttribute(int array) {
    return array >= 0 && array < OrvMeshData::kAttributeCount;
}

// The GL usage hint for a record's usage code, or 0 for a code it does not know.
GLenum usageFor(int code) {
    switch (code) {
        case OrvMeshData::USAGE_STATIC:
            return GL_STATIC_DRAW_ARB;
        case OrvMeshData::USAGE_DYNAMIC:
            return GL_DYNAMIC_DRAW_ARB;
        case OrvMeshData::USAGE_STREAM:
            return GL_STREAM_DRAW_ARB;
        default:
            return 0;
    }
}

// Sizes and offsets in bytes, computed in the GL's 64-bit size type.
GLsizeiptr vertexBytes(const OrvMeshData* mesh) {
    return static_cast<GLsizeiptr>(mesh->vertexCount) * kVertexBytes;
}

GLsizeiptr indexBytes(const OrvMeshData* mesh) {
    return mesh->has32BitIndices() ? sizeof(uint32_t) : sizeof(uint16_t);
}

GLsizeiptr faceBytes(const OrvMeshData* mesh, int64_t faces) {
    return static_cast<GLsizeiptr>(faces) * 3 * indexBytes(mesh);
}

GLenum indexType(const OrvMeshData* mesh) {
    return mesh->has32BitIndices() ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
}

// The number of indices the current range draws, or 0 when there is nothing
// to draw: an empty range, or arrays the draw would read missing. A range
// reaching outside the record's triangles draws nothing either and is
// reported, since reading past the index array would read foreign memory.
GLsizei rangeIndexCount(const OrvMeshData* mesh, const char* operation) {
    if (mesh == nullptr || mesh->lastFace < mesh->firstFace) {
        return 0;
    }
    if (mesh->firstFace < 0 || static_cast<uint32_t>(mesh->lastFace) >= mesh->faceCount) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvRendererOpenGL::%s(): faces %d to %d are outside the %u triangles of mesh %s.",
            operation, mesh->firstFace, mesh->lastFace, mesh->faceCount, mesh->name);
        return 0;
    }
    const bool colors = mesh->options[OrvMeshData::colorArray] != 1 ||
                        mesh->attributes[OrvMeshData::COLORS] != nullptr;
    const bool normals = mesh->options[OrvMeshData::normalArray] != 1 ||
                         mesh->attributes[OrvMeshData::NORMALS] != nullptr;
    if (mesh->indexArray() == nullptr || mesh->attributes[OrvMeshData::POSITIONS] == nullptr ||
        !colors || !normals) {
        return 0;
    }
    return 3 * (mesh->lastFace - mesh->firstFace + 1);
}

// Logs a buffer operation's line in its two forms: naming the mesh when it
// has a name, without it otherwise.
void logBuffer(int level, const OrvMeshData* mesh, const char* withName, const char* withoutName,
               const char* kind) {
    if (mesh->name[0] != '\0') {
        OrvLog::getInstance()->write(level, withName, kind, kind, mesh->name);
    } else {
        OrvLog::getInstance()->write(level, withoutName, kind, kind);
    }
}

// The texture coordinate sets a begin/end primitive sends: bit i for unit i,
// through glMultiTexCoord4fv, or glTexCoord4fv when the driver has one unit.
struct TexCoordSets {
    uint32_t units;
    PFNGLMULTITEXCOORD4FVARBPROC multiTexCoord;
};

void emitTexCoords(const OrvMeshData* mesh, const TexCoordSets& sets, uint32_t vertex) {
    for (int unit = 0; sets.units >> unit != 0; ++unit) {
        const OrvFloat4* coords = mesh->attributes[OrvMeshData::TEXCOORDS0 + unit];
        if ((sets.units & (1u << unit)) == 0 || coords == nullptr) {
            continue;
        }
        if (sets.multiTexCoord != nullptr) {
            sets.multiTexCoord(GL_TEXTURE0 + unit, coords[vertex]);
        } else {
            glTexCoord4fv(coords[vertex]);
        }
    }
}

// The triangles of the current range as one begin/end primitive, each vertex
// with its colour and normal whatever the array options say, and with the
// texture coordinates of the textured units. A triangle with an index past
// the vertices is left out.
void emitTriangles(const OrvMeshData* mesh, const char* operation, const TexCoordSets& sets) {
    const GLsizei count = rangeIndexCount(mesh, operation);
    if (count == 0) {
        return;
    }
    const OrvFloat4* positions = mesh->attributes[OrvMeshData::POSITIONS];
    const OrvFloat4* colors = mesh->attributes[OrvMeshData::COLORS];
    const OrvFloat4* normals = mesh->attributes[OrvMeshData::NORMALS];
    const size_t first = 3 * static_cast<size_t>(mesh->firstFace);
    glBegin(GL_TRIANGLES);
    for (size_t at = first; at < first + count; at += 3) {
        const uint32_t v[3] = {mesh->indexAt(at), mesh->indexAt(at + 1), mesh->indexAt(at + 2)};
        if (v[0] >= mesh->vertexCount || v[1] >= mesh->vertexCount || v[2] >= mesh->vertexCount) {
            continue;
        }
        for (uint32_t vertex : v) {
            if (colors != nullptr) {
                glColor4fv(colors[vertex]);
            }
            if (normals != nullptr) {
                glNormal3fv(normals[vertex]);
            }
            emitTexCoords(mesh, sets, vertex);
            glVertex4fv(positions[vertex]);
        }
    }
    glEnd();
}

// Where the current range's indices start in the record's own index array,
// kept in the record's draw pointer of the index size in use.
const void* clientIndexStart(OrvMeshData* mesh) {
    const size_t first = 3 * static_cast<size_t>(mesh->firstFace);
    if (mesh->has32BitIndices()) {
        mesh->drawIndices32 = mesh->indices32 + first;
        return mesh->drawIndices32;
    }
    mesh->drawIndices16 = mesh->indices16 + first;
    return mesh->drawIndices16;
}

OrvMaterialRange* currentRange(OrvMeshData* mesh) {
    if (mesh == nullptr || mesh->materialRanges == nullptr || mesh->currentRange < 0) {
        return nullptr;
    }
    return &mesh->materialRanges[mesh->currentRange];
}

}  // namespace

void OrvRendererOpenGL::bindBuffer(GLenum target, GLuint buffer) {
    if (m_cache.changeBuffer(target, buffer)) {
        gl().glBindBufferARB(target, buffer);
    }
}

void OrvRendererOpenGL::setClientArray(int array, bool on) {
    if (on && m_cache.enableArray(array)) {
        glEnableClientState(kClientArrayNames[array]);
    } else if (!on && m_cache.disableArray(array)) {
        glDisableClientState(kClientArrayNames[array]);
    }
}

void OrvRendererOpenGL::flushClientArrays() {
    for (int array = 0; array < OrvGlStateCache::kClientArrays; ++array) {
        if (m_cache.takeDisable(array)) {
            glDisableClientState(kClientArrayNames[array]);
        }
    }
}

void OrvRendererOpenGL::setArrayPointer(int array, GLint size, GLsizei stride,
                                        const void* pointer) {
    if (!m_cache.changeArrayPointer(array, size, stride, pointer)) {
        return;
    }
    switch (array) {
        case OrvMeshData::POSITIONS:
            glVertexPointer(size, GL_FLOAT, stride, pointer);
            break;
        case OrvMeshData::COLORS:
            glColorPointer(size, GL_FLOAT, stride, pointer);
            break;
        default:
            glNormalPointer(GL_FLOAT, stride, pointer);
            break;
    }
}

int OrvRendererOpenGL::createBuffer(OrvMeshData* mesh, GLenum target, uint32_t& name,
                                    GLsizeiptr bytes, int usageCode, const char* kind,
                                    int failure) {
    const GLenum usage = usageFor(usageCode);
    if (usage == 0) {
        // A buffer without storage would make every later upload and draw fail
        // inside GL; drawing from client memory instead loses nothing.
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvRendererOpenGL::create%s(): mesh %s has usage code %d, not 0 to 2.", kind,
            mesh->name, usageCode);
        return -1;
    }
    GLuint generated = 0;
    gl().glGenBuffersARB(1, &generated);
    name = generated;
    if (name == 0) {
        logBuffer(OrvLog::WARNING, mesh,
                  "OrvRendererOpenGL::create%s(): failed to create %s for mesh %s",
                  "OrvRendererOpenGL::create%s(): failed to create %s!", kind);
        return failure;
    }
    bindBuffer(target, name);
    gl().glBufferDataARB(target, bytes, nullptr, usage);
    logBuffer(OrvLog::DEBUG, mesh,
              "OrvRendererOpenGL::create%s(): %s successfully created for mesh %s",
              "OrvRendererOpenGL::create%s(): %s successfully created.", kind);
    return 0;
}

// GL unbinds a deleted buffer and may hand its name out again, so the cache
// must not believe anything about it afterwards.
void OrvRendererOpenGL::deleteBuffer(uint32_t& name) {
    const GLuint doomed = name;
    gl().glDeleteBuffersARB(1, &doomed);
    m_cache.invalidate();
    name = 0;
}

// Without glDrawRangeElements the plain draw does the same work.
void OrvRendererOpenGL::drawIndexed(const OrvMeshData* mesh, GLsizei count, const void* start) {
    flushClientArrays();
    if (mesh->options[OrvMeshData::plainDrawElements] == 1 || gl().glDrawRangeElements == nullptr) {
        glDrawElements(GL_TRIANGLES, count, indexType(mesh), start);
        return;
    }
    gl().glDrawRangeElements(GL_TRIANGLES, 0, mesh->vertexCount - 1, count, indexType(mesh), start);
}

// Where an attribute pointer points: offset 0 of the array's buffer, created
// and brought up to date on the way. An array whose buffer cannot be made is
// drawn from client memory, since a pointer into no buffer reads address 0.
const void* OrvRendererOpenGL::attributeSource(OrvMeshData* mesh, int array) {
    int result = 0;
    if (hasVBO(mesh, array) == 1) {
        bindVBO(mesh, array);
    } else {
        result = createVBO(mesh, array);
    }
    if (result != 0) {
        bindVBO(nullptr, array);
        return mesh->attributes[array];
    }
    updateVBO(mesh, array);
    return nullptr;
}

// The normal pointer steps over the fourth float of each normal. Each source
// is taken just before its pointer is set: the buffer bound then is part of
// the pointer.
void OrvRendererOpenGL::pointArrays(OrvMeshData* mesh, bool fromBuffers) {
    struct Array {
        int index;
        int option;
        GLint size;
        GLsizei stride;
    };
    const Array arrays[] = {{OrvMeshData::POSITIONS, -1, 4, 0},
                            {OrvMeshData::COLORS, OrvMeshData::colorArray, 4, 0},
                            {OrvMeshData::NORMALS, OrvMeshData::normalArray, 3, kVertexBytes}};
    for (const Array& a : arrays) {
        if (a.option >= 0 && mesh->options[a.option] != 1) {
            continue;
        }
        const void* source =
            fromBuffers ? attributeSource(mesh, a.index) : mesh->attributes[a.index];
        setArrayPointer(a.index, a.size, a.stride, source);
        setClientArray(a.index, true);
    }
}

void OrvRendererOpenGL::setVertexArrays(OrvMeshData* mesh) {
    if (mesh != nullptr) {
        pointArrays(mesh, false);
    }
}

void OrvRendererOpenGL::drawElements(OrvMeshData* mesh) {
    const GLsizei count = rangeIndexCount(mesh, "drawElements");
    if (count == 0) {
        return;
    }
    pointTexCoords(mesh, false);
    drawIndexed(mesh, count, clientIndexStart(mesh));
}

void OrvRendererOpenGL::unsetVertexArrays(OrvMeshData* mesh) {
    if (mesh == nullptr) {
        return;
    }
    if (mesh->options[OrvMeshData::normalArray] == 1) {
        setClientArray(OrvMeshData::NORMALS, false);
    }
    if (mesh->options[OrvMeshData::colorArray] == 1) {
        setClientArray(OrvMeshData::COLORS, false);
    }
    setClientArray(OrvMeshData::POSITIONS, false);
}

void OrvRendererOpenGL::setVertexBuffers(OrvMeshData* mesh) {
    if (mesh != nullptr) {
        pointArrays(mesh, true);
    }
}

void OrvRendererOpenGL::drawElementsVBO(OrvMeshData* mesh) {
    const GLsizei count = rangeIndexCount(mesh, "drawElementsVBO");
    if (count == 0) {
        return;
    }
    pointTexCoords(mesh, true);
    int result = 0;
    if (hasIBO(mesh) == 1) {
        bindIBO(mesh);
    } else {
        result = createIBO(mesh);
    }
    if (result != 0) {
        // Without an index buffer only the indices come from client memory;
        // the array pointers stay as set, most of them into buffers.
        bindIBO(nullptr);
        drawIndexed(mesh, count, clientIndexStart(mesh));
        return;
    }
    updateIBO(mesh);
    const GLsizeiptr offset = faceBytes(mesh, mesh->firstFace);
    drawIndexed(mesh, count, reinterpret_cast<const void*>(offset));
    bindIBO(nullptr);
}

void OrvRendererOpenGL::unsetVertexBuffers(OrvMeshData* mesh) {
    unsetVertexArrays(mesh);
    bindVBO(nullptr, OrvMeshData::POSITIONS);
}

void OrvRendererOpenGL::drawMesh(OrvMeshData* mesh) {
    setVertexArrays(mesh);
    drawElements(mesh);
    unsetVertexArrays(mesh);
}

void OrvRendererOpenGL::drawMeshVBO(OrvMeshData* mesh) {
    setVertexBuffers(mesh);
    drawElementsVBO(mesh);
    unsetVertexBuffers(mesh);
}

void OrvRendererOpenGL::drawImmediate(OrvMeshData* mesh) {
    flushClientArrays();
    emitTriangles(mesh, "drawImmediate",
                  {m_texturedUnits, m_textureCapabilities.entryPoints().glMultiTexCoord4fv});
}

void OrvRendererOpenGL::compileDisplayList(OrvMeshData* mesh) {
    OrvMaterialRange* range = currentRange(mesh);
    if (range == nullptr) {
        return;
    }
    // A range compiled again replaces its list rather than losing it.
    deleteDisplayList(mesh);
    const GLuint list = glGenLists(1);
    if (list == 0) {
        OrvLog::getInstance()->write(
            OrvLog::WARNING,
            "OrvRendererOpenGL::compileDisplayList(): failed to create a display list for mesh %s.",
            mesh->name);
        return;
    }
    range->displayList = static_cast<int32_t>(list);
    range->listTextureUnits = m_texturedUnits;
    glNewList(list, GL_COMPILE);
    emitTriangles(mesh, "compileDisplayList",
                  {m_texturedUnits, m_textureCapabilities.entryPoints().glMultiTexCoord4fv});
    glEndList();
    // Whatever a list holds runs behind the cache when it is called.
    invalidateStateCache();
}

void OrvRendererOpenGL::deleteDisplayList(OrvMeshData* mesh) {
    OrvMaterialRange* range = currentRange(mesh);
    if (range == nullptr || range->displayList == 0) {
        return;
    }
    glDeleteLists(static_cast<GLuint>(range->displayList), 1);
    range->displayList = 0;
    range->listTextureUnits = 0;
}

void OrvRendererOpenGL::callDisplayList(OrvMeshData* mesh) {
    OrvMaterialRange* range = currentRange(mesh);
    if (range == nullptr || range->displayList == 0) {
        return;
    }
    // The list's coordinate sets are those of the units textured when it was
    // recorded; a texture put on the material since would sample one point.
    if (range->listTextureUnits != m_texturedUnits) {
        compileDisplayList(mesh);
    }
    // Compiled again, it may have no list left: the driver gave none.
    if (range->displayList != 0) {
        flushClientArrays();
        glCallList(static_cast<GLuint>(range->displayList));
    }
}

int OrvRendererOpenGL::hasVBO(const OrvMeshData* mesh, int array) {
    return mesh != nullptr && isAttribute(array) && mesh->vertexBufferIds[array] != 0 ? 1 : 0;
}

int OrvRendererOpenGL::hasIBO(const OrvMeshData* mesh) {
    return mesh != nullptr && mesh->indexBufferId != 0 ? 1 : 0;
}

int OrvRendererOpenGL::createVBO(OrvMeshData* mesh, int array) {
    if (mesh == nullptr || !isAttribute(array)) {
        return -1;
    }
    if (!m_capabilities.hasBufferObjects()) {
        return RESULT_NO_BUFFER_OBJECTS;
    }
    if (mesh->vertexBufferIds[array] != 0) {
        return 0;
    }
    const int result =
        createBuffer(mesh, GL_ARRAY_BUFFER_ARB, mesh->vertexBufferIds[array], vertexBytes(mesh),
                     mesh->vertexBufferUsage[array], "VBO", RESULT_NO_VERTEX_BUFFER);
    // A new buffer holds nothing yet, whatever the array's flag said.
    mesh->attributeDirty[array] = 1;
    return result;
}

int OrvRendererOpenGL::createIBO(OrvMeshData* mesh) {
    if (mesh == nullptr) {
        return -1;
    }
    if (!m_capabilities.hasBufferObjects()) {
        return RESULT_NO_BUFFER_OBJECTS;
    }
    if (mesh->indexBufferId != 0) {
        return 0;
    }
    const int result = createBuffer(mesh, GL_ELEMENT_ARRAY_BUFFER_ARB, mesh->indexBufferId,
                                    faceBytes(mesh, mesh->faceCount), mesh->indexBufferUsage, "IBO",
                                    RESULT_NO_INDEX_BUFFER);
    mesh->indicesDirty = 1;
    return result;
}

void OrvRendererOpenGL::destroyVBO(OrvMeshData* mesh, int array) {
    if (!m_capabilities.hasBufferObjects() || hasVBO(mesh, array) == 0) {
        return;
    }
    deleteBuffer(mesh->vertexBufferIds[array]);
    logBuffer(OrvLog::DEBUG, mesh,
              "OrvRendererOpenGL::destroy%s(): %s successfully destroyed for mesh %s",
              "OrvRendererOpenGL::destroy%s(): %s successfully destroyed.", "VBO");
}

void OrvRendererOpenGL::destroyIBO(OrvMeshData* mesh) {
    if (m_capabilities.hasBufferObjects() && hasIBO(mesh) == 1) {
        deleteBuffer(mesh->indexBufferId);
    }
}

void OrvRendererOpenGL::bindVBO(OrvMeshData* mesh, int array) {
    if (!m_capabilities.hasBufferObjects()) {
        return;
    }
    if (mesh == nullptr) {
        bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
    } else if (hasVBO(mesh, array) == 1) {
        bindBuffer(GL_ARRAY_BUFFER_ARB, mesh->vertexBufferIds[array]);
    }
}

void OrvRendererOpenGL::bindIBO(OrvMeshData* mesh) {
    if (!m_capabilities.hasBufferObjects()) {
        return;
    }
    if (mesh == nullptr) {
        bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    } else if (hasIBO(mesh) == 1) {
        bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, mesh->indexBufferId);
    }
}

// Uploads need the buffer itself bound; an array without a buffer has
// nowhere to go and keeps its flag for the buffer that will come.
void OrvRendererOpenGL::updateVBO(OrvMeshData* mesh, int array) {
    if (!m_capabilities.hasBufferObjects() || hasVBO(mesh, array) == 0 ||
        mesh->attributeDirty[array] != 1 || mesh->attributes[array] == nullptr) {
        return;
    }
    gl().glBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, vertexBytes(mesh), mesh->attributes[array]);
    mesh->attributeDirty[array] = 0;
}

void OrvRendererOpenGL::updateIBO(OrvMeshData* mesh) {
    if (!m_capabilities.hasBufferObjects() || hasIBO(mesh) == 0 || mesh->indicesDirty != 1 ||
        mesh->indexArray() == nullptr) {
        return;
    }
    gl().glBufferSubDataARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0, faceBytes(mesh, mesh->faceCount),
                            mesh->indexArray());
    mesh->indicesDirty = 0;
}
