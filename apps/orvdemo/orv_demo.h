// OrvDemo: what the demo program shows and how the mouse moves it. It starts
// the engine and a render context on a window that the program (or a test)
// gives, builds the one scene (camera, three coloured lights, the shader-twisted
// box, the wireframe grid), renders frames with the rate as overlay text, and
// swings the camera about the origin while the left button drags. It knows no
// toolkit: the window arrives as X handles and mouse input as flags and packed
// positions, so tests drive it directly. The engine owns every node it makes.
#pragma once

#include <cstdint>
#include <string>

#include "orvane.h"

class OrvDemo {
  public:
    // State flags, addressed by index through setFlag and getFlag.
    enum Flag {
        FLAG_RUNNING = 0,
        FLAG_DRAGGING = 2,
        FLAG_COASTING = 3,
    };
    static constexpr int kFlagCount = 4;

    // Bits of the mouse handlers' flags.
    static constexpr int kMouseLeftButton = 1;
    static constexpr int kMouseControl = 8;

    static constexpr int kCameraModeOrbit = 0;

    static constexpr const char* kErrorNoRenderContext =
        "Weird! Don't do OpenGL with tty... Try a graphics card!";
    static constexpr const char* kErrorOpenGLTooOld =
        "C'mon! Be serious! Change pour graphics board. You're trying to start a realtime 3D "
        "demo!!!";
    static constexpr const char* kErrorNoGLContext =
        "Could not create an OpenGL context on the window.";

    OrvDemo();

    OrvDemo(const OrvDemo&) = delete;
    OrvDemo& operator=(const OrvDemo&) = delete;

    // Starts the engine on the X window and builds the scene; 0 on success. On
    // failure the engine stays started (shutdown stops it) and getError holds
    // the text to show the user.
    int init(_XDisplay* display, unsigned long window, int width, int height);
    // One frame of the running demo: the camera coasts, renderFrame draws at
    // the time since init, and the buffers are swapped.
    void frame(float dt);
    // The drawing of a frame with the box shader's time given: the scene
    // updated by dt, begun, rendered, the overlay drawn and the frame ended.
    // It reads no clock, moves no camera and swaps no buffers, so a caller
    // can hold the picture still or time the drawing alone.
    void renderFrame(float time, float dt);
    void setFps(int framesPerSecond);
    // Asks for the back buffer of the first frame drawn at least
    // afterMilliseconds after init to be written to path as a PNG.
    void requestScreenshot(const std::string& path, uint32_t afterMilliseconds);
    void shutdown();

    // Milliseconds since the last call with reset non-zero, on a monotonic
    // clock; wraps like the unsigned 32-bit value it is.
    uint32_t elapsedMilliseconds(int reset);

    void setCameraMode(int mode);
    void setupCamera();
    void orbit(const float target[4], float pitchDegrees, float yawDegrees);
    void coast(float dt);

    // Mouse input: flags carry kMouseLeftButton and kMouseControl, the
    // position is packed as by packPosition.
    void onLeftButtonDown(int flags, int32_t position);
    void onLeftButtonUp(int flags, int32_t position);
    void onMouseMove(int flags, int32_t position);
    void onMouseOther(int flags, int32_t position);

    // x in the low and y in the high 16 bits, each signed, so that positions
    // left of or above the window (a drag that leaves it) keep their sign.
    static int32_t packPosition(int x, int y);

    void setFlag(int index, int value);
    int getFlag(int index) const;

    const std::string& getError() const { return m_error; }
    int getFps() const { return m_framesPerSecond; }
    float getYaw() const { return m_yaw; }
    float getPitch() const { return m_pitch; }
    OrvCamera* getCamera() const { return m_camera; }
    OrvScene* getScene() const { return m_scene; }
    const OrvTextInfo& getTextInfo() const { return m_text; }
    OrvWindowInfo* getWindowInfo() { return &m_window; }

  private:
    int startEngine(_XDisplay* display, unsigned long window, int width, int height);
    int fail(const char* message);
    void buildScene();
    void createCamera();
    void createLights();
    OrvGpuShader* createShader();
    void createBox(OrvGpuShader* shader);
    void createGrid();
    void createOverlay();
    void setShaderTime(float time);
    void drawOverlay();
    void saveScreenshotWhenDue();
    void clampPitch();

    int m_flags[kFlagCount];
    OrvRenderContext* m_renderContext;
    OrvWindowInfo m_window;
    OrvScene* m_scene;
    OrvCamera* m_camera;
    OrvCamera* m_activeCamera;
    OrvTextInfo m_text;
    int m_framesPerSecond;

    int m_cameraMode;
    float m_yaw;
    float m_pitch;
    float m_yawVelocity;
    float m_pitchVelocity;
    float m_orbitTarget[4];
    int m_lastMouseX;
    int m_lastMouseY;

    uint32_t m_timerBase;
    std::string m_error;
    // Empty unless a screenshot is still to be taken.
    std::string m_screenshotPath;
    uint32_t m_screenshotDue;
};
