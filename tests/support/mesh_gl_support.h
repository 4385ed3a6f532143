// GL test helpers for the mesh tests: buffer contents read back with
// glGetBufferSubData, buffer names checked with glIsBuffer (both looked up by
// name, as the renderer loads none of them), and picture comparison.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>

#include <cstdlib>
#include <cstring>

#include "orv_gl_test.h"
#include "render/orv_mesh_data.h"

class BufferProbe {
  public:
    BufferProbe()
        : getSubData(reinterpret_cast<PFNGLGETBUFFERSUBDATAARBPROC>(
              glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glGetBufferSubDataARB")))),
          isBuffer(reinterpret_cast<PFNGLISBUFFERARBPROC>(
              glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glIsBufferARB")))),
          bind(reinterpret_cast<PFNGLBINDBUFFERARBPROC>(
              glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glBindBufferARB")))) {}

    // The value at byte offset of the buffer; the binding is restored to 0.
    template <typename T>
    T read(GLenum target, GLuint name, GLintptr offset) const {
        T value{};
        bind(target, name);
        getSubData(target, offset, sizeof(T), &value);
        bind(target, 0);
        return value;
    }

    bool exists(GLuint name) const { return name != 0 && isBuffer(name) == GL_TRUE; }

  private:
    PFNGLGETBUFFERSUBDATAARBPROC getSubData;
    PFNGLISBUFFERARBPROC isBuffer;
    PFNGLBINDBUFFERARBPROC bind;
};

// How many pixels of two pictures of one size differ in any channel.
inline int differingPixels(const OrvPicture& a, const OrvPicture& b) {
    int count = 0;
    for (size_t i = 0; i + 3 < a.rgba.size() && i + 3 < b.rgba.size(); i += 4) {
        count += std::memcmp(&a.rgba[i], &b.rgba[i], 4) != 0 ? 1 : 0;
    }
    return count;
}

// The options that choose each of the four drawing paths.
enum class DrawPath { CLIENT_ARRAYS, BUFFER_OBJECTS, DISPLAY_LISTS, IMMEDIATE_MODE };

inline const char* pathName(DrawPath path) {
    switch (path) {
        case DrawPath::CLIENT_ARRAYS:
            return "client_arrays";
        case DrawPath::BUFFER_OBJECTS:
            return "buffer_objects";
        case DrawPath::DISPLAY_LISTS:
            return "display_lists";
        default:
            return "immediate_mode";
    }
}

// Sets the mesh record's options so that it draws on the path.
inline void choosePath(OrvMeshData* data, DrawPath path) {
    data->setOption(OrvMeshData::vertexArrays,
                    path == DrawPath::CLIENT_ARRAYS || path == DrawPath::BUFFER_OBJECTS);
    data->setOption(OrvMeshData::bufferObjects, path == DrawPath::BUFFER_OBJECTS);
    data->setOption(OrvMeshData::displayList, path == DrawPath::DISPLAY_LISTS);
    data->setOption(OrvMeshData::immediateMode, path == DrawPath::IMMEDIATE_MODE);
}

constexpr DrawPath kAllPaths[] = {DrawPath::CLIENT_ARRAYS, DrawPath::BUFFER_OBJECTS,
                                  DrawPath::DISPLAY_LISTS, DrawPath::IMMEDIATE_MODE};
