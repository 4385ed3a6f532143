// OrvEngineGlTest: OrvWindowTest with the OpenGL renderer made through the
// engine root in the recording renderer's place, its viewport over the whole
// window: the engine as a program runs it. The engine's stop deletes the
// nodes, which give their GL objects back, before the renderer goes.
#pragma once

#include <array>
#include <string>

#include "core/orv_math.h"
#include "opengl/orv_renderer_opengl.h"
#include "orv_window_test.h"

class OrvCamera;
class OrvScene;

class OrvEngineGlTest : public OrvWindowTest {
  protected:
    explicit OrvEngineGlTest(int level = OrvLog::DEBUG, int width = OrvTestWindow::kWidth,
                             int height = OrvTestWindow::kHeight)
        : OrvWindowTest(level, width, height) {}

    void SetUp() override;

    // A camera over the whole window with a 60-degree view, at eye looking at
    // the origin, added to the scene.
    OrvCamera* addCamera(OrvScene* scene, const OrvVector4& eye,
                         const OrvVector4& up = OrvVector4{0, 1, 0, 1});
    // One frame of the scene, read back before it is presented.
    OrvPicture drawFrame(OrvScene* scene);
    // The window pixel (x, y) a world point lands on under the view the
    // renderer holds and GL's projection and viewport.
    static std::array<int, 2> windowPixel(double x, double y, double z);

    OrvRendererOpenGL* renderer = nullptr;
};

// Expects the pixel's red, green and blue within tolerance of rgb.
void expectColour(const OrvPicture& picture, const std::array<int, 2>& at,
                  const std::array<int, 3>& rgb, int tolerance, const std::string& what);
