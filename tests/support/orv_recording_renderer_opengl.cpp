#include "orv_recording_renderer_opengl.h"

namespace {

// The name of code in names, or the code itself when it has none.
template <int N>
std::string nameOf(int code, const char* const (&names)[N]) {
    return code >= 0 && code < N ? names[code] : std::to_string(code);
}

std::string capabilityName(int capability) {
    static const char* const names[] = {"VERTICAL_SYNC", "LIGHTING", "RESERVED_CAPABILITY",
                                        "FACE_CULLING", "DEPTH_TEST"};
    return nameOf(capability, names);
}

std::string faceName(int face) {
    static const char* const names[] = {"BACK", "FRONT_AND_BACK", "FRONT"};
    return nameOf(face, names);
}

std::string modeName(int mode) {
    static const char* const names[] = {"POINTS", "LINES", "FILL"};
    return nameOf(mode, names);
}

}  // namespace

void OrvRecordingRendererOpenGL::enable(int capability) {
    calls.push_back("enable(" + capabilityName(capability) + ")");
    OrvRendererOpenGL::enable(capability);
}

void OrvRecordingRendererOpenGL::disable(int capability) {
    calls.push_back("disable(" + capabilityName(capability) + ")");
    OrvRendererOpenGL::disable(capability);
}

void OrvRecordingRendererOpenGL::setCullFace(int face) {
    calls.push_back("setCullFace(" + faceName(face) + ")");
    OrvRendererOpenGL::setCullFace(face);
}

void OrvRecordingRendererOpenGL::setPolygonMode(int mode, int face) {
    calls.push_back("setPolygonMode(" + modeName(mode) + ", " + faceName(face) + ")");
    OrvRendererOpenGL::setPolygonMode(mode, face);
}
