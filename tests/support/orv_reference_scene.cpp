#define GL_GLEXT_PROTOTYPES 1
#include "orv_reference_scene.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "orvane.h"
#include "orvane_opengl.h"

namespace {

GLenum faceFor(int code) {
    return code == OrvRenderer::FRONT_AND_BACK ? GL_FRONT_AND_BACK
           : code == OrvRenderer::FRONT        ? GL_FRONT
                                               : GL_BACK;
}

GLenum modeFor(int code) {
    return code == OrvRenderer::POINTS ? GL_POINT : code == OrvRenderer::LINES ? GL_LINE : GL_FILL;
}

GLenum indexType(const OrvMeshData* data) {
    return data->indexFormat == OrvMeshData::INDICES_32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
}

size_t indexSize(const OrvMeshData* data) {
    return data->indexFormat == OrvMeshData::INDICES_32 ? sizeof(uint32_t) : sizeof(uint16_t);
}

const char* indexBytes(const OrvMeshData* data) {
    return data->indexFormat == OrvMeshData::INDICES_32
               ? reinterpret_cast<const char*>(data->indices32)
               : reinterpret_cast<const char*>(data->indices16);
}

uint32_t indexAt(const OrvMeshData* data, size_t at) {
    return data->indexFormat == OrvMeshData::INDICES_32 ? data->indices32[at] : data->indices16[at];
}

// The engine's filter and wrap codes as GL values; minification blends
// between mipmap levels when there are some.
GLint minFilterFor(const OrvTextureData* data) {
    const bool nearest = data->minFilter == OrvTextureData::FILTER_NEAREST;
    if (data->mipmaps == 1) {
        return nearest ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR;
    }
    return nearest ? GL_NEAREST : GL_LINEAR;
}

GLint magFilterFor(const OrvTextureData* data) {
    return data->magFilter == OrvTextureData::FILTER_NEAREST ? GL_NEAREST : GL_LINEAR;
}

GLint wrapFor(int code) {
    return code == OrvTextureData::WRAP_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

}  // namespace

OrvReferenceScene::OrvReferenceScene(OrvScene* scene, const OrvTextInfo* text) : m_text(text) {
    // The engine's view, as its renderer loads it for every object; the
    // viewport the frame left is the camera's.
    OrvRenderer::getInstance()->loadViewMatrix();
    glGetFloatv(GL_MODELVIEW_MATRIX, m_view);
    glGetFloatv(GL_PROJECTION_MATRIX, m_projection);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::memcpy(m_clearColor, scene->getClearColor(), sizeof(m_clearColor));
    m_clearColor[3] = 1.0f;

    // The raster position lands where the engine's zero-sized viewport puts
    // it, at the same depth.
    if (text != nullptr) {
        m_rasterPosition[0] = static_cast<float>(viewport[0] + text->x - 1);
        m_rasterPosition[1] =
            static_cast<float>(viewport[1] + viewport[3] - text->y - text->fontHeight - 1);
        m_rasterPosition[2] = 0.5f;
    }
    OrvLinkedList* lights = scene->getLights();
    for (OrvLinkedListNode* n = lights->first(0); n != nullptr; n = lights->next()) {
        OrvLight* node = static_cast<OrvLight*>(n->data);
        const OrvLightData* data = node->getLightData();
        Light light = {};
        light.unit = data->unit;
        std::memcpy(light.position, data->position, sizeof(light.position));
        std::memcpy(light.ambient, data->ambient, sizeof(light.ambient));
        std::memcpy(light.diffuse, data->diffuse, sizeof(light.diffuse));
        std::memcpy(light.specular, data->specular, sizeof(light.specular));
        light.attenuation[0] = data->constantAttenuation;
        light.attenuation[1] = data->linearAttenuation;
        light.attenuation[2] = data->quadraticAttenuation;
        light.marker = node->getFlag(ORV_FLAG_DRAW) == 1;
        std::memcpy(light.model, node->getTransform()->matrix.m, sizeof(light.model));
        m_lights.push_back(light);
    }
    OrvLinkedList* meshes = scene->getMeshes();
    for (OrvLinkedListNode* n = meshes->first(0); n != nullptr; n = meshes->next()) {
        readMesh(static_cast<OrvMesh*>(n->data));
    }
}

OrvReferenceScene::~OrvReferenceScene() {
    for (Texture& texture : m_textures) {
        glDeleteTextures(1, &texture.name);
    }
    for (Mesh& mesh : m_meshes) {
        glDeleteBuffers(kBufferedArrays, mesh.buffers);
        glDeleteBuffers(1, &mesh.indexBuffer);
        if (mesh.list != 0) {
            glDeleteLists(mesh.list, 1);
        }
        if (mesh.program != 0) {
            glDeleteProgram(mesh.program);
        }
    }
}

void OrvReferenceScene::readMesh(OrvMesh* node) {
    const OrvMeshData* data = node->getMeshData();
    if (data->materialRanges == nullptr || node->getFlag(ORV_FLAG_DRAW) != 1) {
        return;
    }
    const OrvMaterialRange& range = data->materialRanges[0];
    const OrvMaterial* material = OrvMaterialMgr::getInstance()->findById(range.materialId);
    const int32_t* states = node->getRenderState()->getStates();
    Mesh mesh = {};
    mesh.data = data;
    std::memcpy(mesh.model, node->getTransform()->matrix.m, sizeof(mesh.model));
    mesh.lit = states[OrvRenderer::STATE_LIGHTING] == 1;
    mesh.cull = states[OrvRenderer::STATE_FACE_CULLING] == 1;
    mesh.cullFace = faceFor(states[OrvRenderer::STATE_CULL_FACE]);
    mesh.frontMode = modeFor(states[OrvRenderer::STATE_FRONT_POLYGON_MODE]);
    mesh.backMode = modeFor(states[OrvRenderer::STATE_BACK_POLYGON_MODE]);
    mesh.material = material->getMaterialData()->ambient;
    const OrvTexture* texture = material->getTexture(0);
    if (texture != nullptr && texture->isUploaded()) {
        mesh.texture = readTexture(texture->getTextureData());
    }
    const OrvGpuShader* shader = material->getGpuShader();
    if (shader != nullptr) {
        const OrvGpuProgram* program = shader->getProgram();
        mesh.vertexSource = program->vertexSource;
        mesh.pixelSource = program->pixelSource;
        for (int u = 0; u < program->uniformCount; ++u) {
            mesh.uniforms.emplace_back(program->uniforms[u].name,
                                       program->uniforms[u].floatValues[0]);
        }
    }
    const int32_t* options = data->options;
    if (options[OrvMeshData::vertexArrays] == 1) {
        mesh.path = options[OrvMeshData::bufferObjects] == 1 ? BUFFER_OBJECTS : CLIENT_ARRAYS;
    } else if (options[OrvMeshData::displayList] == 1) {
        mesh.path = DISPLAY_LIST;
    } else {
        mesh.path = options[OrvMeshData::immediateMode] == 1 ? IMMEDIATE : NOTHING;
    }
    mesh.firstIndex = 3 * static_cast<size_t>(range.firstFace);
    mesh.count = std::max(0, 3 * (range.lastFace - range.firstFace + 1));
    m_meshes.push_back(std::move(mesh));
}

// The engine's texture as uploaded, read back once per GL name. The engine's
// binding on its active unit is put back, so that its state cache stays true.
int OrvReferenceScene::readTexture(const OrvTextureData* data) {
    const auto known = m_textureIndex.find(data->glName);
    if (known != m_textureIndex.end()) {
        return known->second;
    }
    Texture texture = {};
    texture.width = data->width;
    texture.height = data->height;
    texture.pixels.resize(4 * static_cast<size_t>(data->width) * data->height);
    texture.minFilter = minFilterFor(data);
    texture.magFilter = magFilterFor(data);
    texture.wrapS = wrapFor(data->wrapS);
    texture.wrapT = wrapFor(data->wrapT);
    texture.mipmaps = data->mipmaps == 1;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, data->glName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture.pixels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    m_textures.push_back(std::move(texture));
    const int index = static_cast<int>(m_textures.size()) - 1;
    m_textureIndex[data->glName] = index;
    return index;
}

void OrvReferenceScene::setUp(GLuint fontBase) {
    m_fontBase = fontBase;
    glClearColor(m_clearColor[0], m_clearColor[1], m_clearColor[2], m_clearColor[3]);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glPointSize(OrvLight::kMarkerSize);
    glEnableClientState(GL_VERTEX_ARRAY);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m_projection);
    glMatrixMode(GL_MODELVIEW);
    for (const Light& light : m_lights) {
        const GLenum id = GL_LIGHT0 + light.unit;
        glEnable(id);
        glLightfv(id, GL_AMBIENT, light.ambient);
        glLightfv(id, GL_DIFFUSE, light.diffuse);
        glLightfv(id, GL_SPECULAR, light.specular);
        glLightf(id, GL_CONSTANT_ATTENUATION, light.attenuation[0]);
        glLightf(id, GL_LINEAR_ATTENUATION, light.attenuation[1]);
        glLightf(id, GL_QUADRATIC_ATTENUATION, light.attenuation[2]);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (Texture& texture : m_textures) {
        setUpTexture(texture);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    for (Mesh& mesh : m_meshes) {
        setUpMesh(mesh);
    }
}

void OrvReferenceScene::setUpTexture(Texture& texture) {
    glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, texture.wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, texture.wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, texture.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, texture.magFilter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.width, texture.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texture.pixels.data());
    if (texture.mipmaps) {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
}

void OrvReferenceScene::setUpMesh(Mesh& mesh) {
    if (mesh.vertexSource != nullptr && mesh.pixelSource != nullptr) {
        mesh.program = glCreateProgram();
        glAttachShader(mesh.program, compile(GL_VERTEX_SHADER, mesh.vertexSource));
        glAttachShader(mesh.program, compile(GL_FRAGMENT_SHADER, mesh.pixelSource));
        glLinkProgram(mesh.program);
        glUseProgram(mesh.program);
        for (const auto& uniform : mesh.uniforms) {
            glUniform1f(glGetUniformLocation(mesh.program, uniform.first), uniform.second);
        }
        mesh.timeLocation = glGetUniformLocation(mesh.program, "time");
        glUseProgram(0);
    }
    const OrvMeshData* data = mesh.data;
    if (mesh.path == BUFFER_OBJECTS) {
        const GLsizeiptr bytes = static_cast<GLsizeiptr>(data->vertexCount) * sizeof(OrvFloat4);
        glGenBuffers(kBufferedArrays, mesh.buffers);
        for (int array = 0; array < kBufferedArrays; ++array) {
            glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[array]);
            glBufferData(GL_ARRAY_BUFFER, bytes, data->attributes[array], GL_STATIC_DRAW);
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glGenBuffers(1, &mesh.indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, 3 * data->faceCount * indexSize(data),
                     indexBytes(data), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    } else if (mesh.path == DISPLAY_LIST) {
        mesh.list = glGenLists(1);
        glNewList(mesh.list, GL_COMPILE);
        emitTriangles(mesh);
        glEndList();
    }
}

void OrvReferenceScene::frame(float time) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadMatrixf(m_view);
    for (const Light& light : m_lights) {
        glLightfv(GL_LIGHT0 + light.unit, GL_POSITION, light.position);
    }
    setLit(false);
    setProgram(0);
    setTexture(-1);
    for (const Light& light : m_lights) {
        if (light.marker) {
            glLoadMatrixf(m_view);
            glMultMatrixf(light.model);
            glBegin(GL_POINTS);
            glColor4fv(light.diffuse);
            glVertex4f(0.0f, 0.0f, 0.0f, 1.0f);
            glEnd();
        }
    }
    for (const Mesh& mesh : m_meshes) {
        drawMesh(mesh, time);
    }
    drawText();
}

void OrvReferenceScene::drawMesh(const Mesh& mesh, float time) {
    glLoadMatrixf(m_view);
    glMultMatrixf(mesh.model);
    setLit(mesh.lit);
    if (mesh.cull != m_cull) {
        mesh.cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
        m_cull = mesh.cull;
    }
    if (mesh.cull && mesh.cullFace != m_cullFace) {
        glCullFace(mesh.cullFace);
        m_cullFace = mesh.cullFace;
    }
    if (mesh.frontMode != m_frontMode) {
        glPolygonMode(GL_FRONT, mesh.frontMode);
        m_frontMode = mesh.frontMode;
    }
    if (mesh.backMode != m_backMode) {
        glPolygonMode(GL_BACK, mesh.backMode);
        m_backMode = mesh.backMode;
    }
    // Material colours matter only to lighting, fixed or programmed.
    if ((mesh.lit || mesh.program != 0) && mesh.material != m_material) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, mesh.material);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, mesh.material + 4);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, mesh.material + 8);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, mesh.material + 12);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, mesh.material[16]);
        m_material = mesh.material;
    }
    setProgram(mesh.program);
    setTexture(mesh.texture);
    if (mesh.program != 0) {
        glUniform1f(mesh.timeLocation, time);
    }
    switch (mesh.path) {
        case CLIENT_ARRAYS:
        case BUFFER_OBJECTS:
            drawArrays(mesh);
            break;
        case DISPLAY_LIST:
            glCallList(mesh.list);
            break;
        case IMMEDIATE:
            emitTriangles(mesh);
            break;
        case NOTHING:
            break;
    }
}

// Unlit meshes show their vertex colours; lit ones (with or without a
// program) need normals instead.
void OrvReferenceScene::drawArrays(const Mesh& mesh) {
    const OrvMeshData* data = mesh.data;
    const bool buffers = mesh.path == BUFFER_OBJECTS;
    const bool lit = mesh.lit || mesh.program != 0;
    const char* indices = indexBytes(data) + mesh.firstIndex * indexSize(data);
    if (buffers) {
        glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[OrvMeshData::POSITIONS]);
    }
    glVertexPointer(4, GL_FLOAT, 0, buffers ? nullptr : data->attributes[OrvMeshData::POSITIONS]);
    setArray(GL_COLOR_ARRAY, !lit, m_colorArray);
    setArray(GL_NORMAL_ARRAY, lit, m_normalArray);
    const int array = lit ? OrvMeshData::NORMALS : OrvMeshData::COLORS;
    if (buffers) {
        glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[array]);
    }
    const void* source = buffers ? nullptr : data->attributes[array];
    if (lit) {
        glNormalPointer(GL_FLOAT, sizeof(OrvFloat4), source);
    } else {
        glColorPointer(4, GL_FLOAT, 0, source);
    }
    pointTexCoords(mesh, buffers);
    if (buffers) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
        indices = reinterpret_cast<const char*>(mesh.firstIndex * indexSize(data));
    }
    glDrawElements(GL_TRIANGLES, mesh.count, indexType(data), indices);
    if (buffers) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

// (s, t) of the first set; the engine's r and q are 0 and 1, GL's defaults.
void OrvReferenceScene::pointTexCoords(const Mesh& mesh, bool buffers) {
    const bool textured = mesh.texture >= 0;
    setArray(GL_TEXTURE_COORD_ARRAY, textured, m_texCoordArray);
    if (!textured) {
        return;
    }
    if (buffers) {
        glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[OrvMeshData::TEXCOORDS0]);
    }
    glTexCoordPointer(2, GL_FLOAT, sizeof(OrvFloat4),
                      buffers ? nullptr : mesh.data->attributes[OrvMeshData::TEXCOORDS0]);
}

void OrvReferenceScene::emitTriangles(const Mesh& mesh) const {
    const OrvMeshData* data = mesh.data;
    const bool lit = mesh.lit || mesh.program != 0;
    const OrvFloat4* positions = data->attributes[OrvMeshData::POSITIONS];
    const OrvFloat4* colors = data->attributes[OrvMeshData::COLORS];
    const OrvFloat4* normals = data->attributes[OrvMeshData::NORMALS];
    const OrvFloat4* texCoords = data->attributes[OrvMeshData::TEXCOORDS0];
    glBegin(GL_TRIANGLES);
    for (size_t at = mesh.firstIndex; at < mesh.firstIndex + mesh.count; ++at) {
        const uint32_t v = indexAt(data, at);
        if (lit) {
            glNormal3fv(normals[v]);
        } else {
            glColor4fv(colors[v]);
        }
        if (mesh.texture >= 0) {
            glTexCoord2fv(texCoords[v]);
        }
        glVertex4fv(positions[v]);
    }
    glEnd();
}

void OrvReferenceScene::drawText() {
    if (m_text == nullptr || m_fontBase == 0) {
        return;
    }
    setLit(false);
    setProgram(0);
    // Bitmaps are textured like any other fragment.
    setTexture(-1);
    glColor4fv(m_text->color);
    glWindowPos3f(m_rasterPosition[0], m_rasterPosition[1], m_rasterPosition[2]);
    glListBase(m_fontBase);
    glCallLists(m_text->textLength, GL_UNSIGNED_BYTE, m_text->text);
}

void OrvReferenceScene::setLit(bool lit) {
    if (lit != m_lit) {
        lit ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        m_lit = lit;
    }
}

void OrvReferenceScene::setProgram(GLuint program) {
    if (program != m_program) {
        glUseProgram(program);
        m_program = program;
    }
}

void OrvReferenceScene::setArray(GLenum array, bool on, bool& current) {
    if (on != current) {
        on ? glEnableClientState(array) : glDisableClientState(array);
        current = on;
    }
}

void OrvReferenceScene::setTexture(int texture) {
    const bool on = texture >= 0;
    if (on != m_textured) {
        on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        m_textured = on;
    }
    if (on && m_textures[texture].name != m_boundTexture) {
        m_boundTexture = m_textures[texture].name;
        glBindTexture(GL_TEXTURE_2D, m_boundTexture);
    }
}
