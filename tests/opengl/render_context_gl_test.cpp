// gtest first: Xlib's None and Bool macros would break its headers.
#include "orv_gl_test.h"

#include <GL/glx.h>

#include <cstring>

namespace {

TEST(RenderContext, ANullWindowInformationIsRefused) {
    OrvRenderContextOpenGL context;
    EXPECT_EQ(context.create(nullptr), -1);
    EXPECT_EQ(context.getWindowInfo(), nullptr);
    EXPECT_EQ(context.destroy(), -1);
    context.makeCurrent();
    context.swapBuffers();
}

TEST(RenderContext, TheSurfaceIsAChildWindowCoveringTheWindowWithoutInput) {
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(320, 200), "");
    OrvWindowInfo& info = window.info;
    ASSERT_NE(info.deviceContext, 0u);
    ASSERT_NE(info.glContext, nullptr);
    EXPECT_EQ(glXGetCurrentContext(), info.glContext);
    EXPECT_EQ(glXGetCurrentDrawable(), info.deviceContext);

    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(XQueryTree(info.display, info.deviceContext, &root, &parent, &children, &count));
    if (children != nullptr) {
        XFree(children);
    }
    EXPECT_EQ(parent, info.window);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(info.display, info.deviceContext, &attributes));
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 320);
    EXPECT_EQ(attributes.height, 200);
    EXPECT_EQ(attributes.map_state, IsViewable);
    // No input selected: the application's window gets the mouse events.
    EXPECT_EQ(attributes.your_event_mask, 0);

    int doubleBuffered = 0;
    int depth = 0;
    int stencil = 0;
    glGetIntegerv(GL_DOUBLEBUFFER, &doubleBuffered);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_EQ(doubleBuffered, 1);
    EXPECT_GE(depth, 24);
    EXPECT_GE(stencil, 8);

    // The caller's record is not touched after create: it may be gone.
    EXPECT_EQ(window.glxContext.destroy(), 0);
    EXPECT_EQ(window.childWindowCount(), 0u);
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    EXPECT_EQ(window.glxContext.getWindowInfo(), nullptr);
    EXPECT_EQ(window.glxContext.destroy(), -1);
}

// The context works on its own copy of the window record, so a record that
// is gone (here scribbled over and freed) is never read: the context still
// presents, makes itself current and releases its surface.
TEST(RenderContext, TheCallersWindowRecordMayGoAfterCreate) {
    OrvTestWindow window;
    ASSERT_EQ(window.open(), "");
    OrvRenderContextOpenGL context;
    OrvWindowInfo* record = new OrvWindowInfo(window.info);
    ASSERT_EQ(context.create(record), 0);
    const unsigned long surface = record->deviceContext;
    const GLXContext glContext = record->glContext;
    std::memset(static_cast<void*>(record), 0xa5, sizeof(*record));
    delete record;

    ASSERT_NE(context.getWindowInfo(), nullptr);
    EXPECT_EQ(context.getWindowInfo()->deviceContext, surface);
    glXMakeCurrent(window.info.display, None, nullptr);
    context.makeCurrent();
    EXPECT_EQ(glXGetCurrentContext(), glContext);
    EXPECT_EQ(glXGetCurrentDrawable(), surface);
    context.swapBuffers();
    EXPECT_EQ(context.destroy(), 0);
    EXPECT_EQ(window.childWindowCount(), 0u);
}

// X reports a bad window through an error handler whose default ends the
// process; the context must come back with -1 instead.
TEST(RenderContext, AWindowThatIsNotThereGivesMinusOne) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    OrvWindowInfo bogus = window.info;
    bogus.window = 0x7ffffff0;
    bogus.deviceContext = 0;
    bogus.glContext = nullptr;
    OrvRenderContextOpenGL context;
    EXPECT_EQ(context.create(&bogus), -1);
    EXPECT_EQ(bogus.deviceContext, 0u);
    EXPECT_TRUE(
        log.contains("OrvRenderContextOpenGL::create(): window 0x7ffffff0 is not an X "
                     "window of this display."));
    EXPECT_EQ(context.destroy(), -1);

    OrvWindowInfo noDisplay = {};
    EXPECT_EQ(context.create(&noDisplay), -1);
    EXPECT_TRUE(log.contains("OrvRenderContextOpenGL::create(): no X display or window."));
}

// The window information is the caller's and may die before the context: a
// create that made no surface must not keep it for the destructor to read.
TEST(RenderContext, AFailedCreateKeepsNoWindowInformation) {
    OrvTestLog log;
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    OrvRenderContextOpenGL context;
    OrvWindowInfo noDisplay = {};
    EXPECT_EQ(context.create(&noDisplay), -1);
    EXPECT_EQ(context.getWindowInfo(), nullptr);
    OrvWindowInfo bogus = window.info;
    bogus.window = 0x7ffffff0;
    bogus.deviceContext = 0;
    EXPECT_EQ(context.create(&bogus), -1);
    EXPECT_EQ(context.getWindowInfo(), nullptr);
}

TEST(RenderContext, CreatingAgainReplacesTheFirstSurface) {
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    ASSERT_EQ(window.glxContext.create(&window.info), 0);
    EXPECT_NE(window.info.deviceContext, 0u);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(
        XQueryTree(window.info.display, window.info.window, &root, &parent, &children, &count));
    const Window only = count == 1 ? children[0] : 0;
    if (children != nullptr) {
        XFree(children);
    }
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(only, window.info.deviceContext);
}

}  // namespace
