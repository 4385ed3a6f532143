#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "orv_gl_test.h"
#include "core/orv_memory_allocator.h"
#include "render/orv_light_data.h"

namespace {

// The engine on OpenGL, under the name these tests have always run by.
using OrvGlTest = OrvEngineGlTest;

// A GLX context whose extension string comes from the test.
class OrvReplacedGlxContext : public OrvRenderContextOpenGL {
  public:
    const char* extensions = nullptr;

  protected:
    const char* glxExtensions() const override { return extensions; }
};

const char kCrippled[] =
    "OrvRendererOpenGL::detectAPIVersion(): OpenGL %d.%d detected. Hey bud, your graphics board "
    "is crippled! If you really wanna do serious realtime 3D, change it!";
const char kMalformed[] = "OrvRendererOpenGL::detectAPIVersion(): OpenGL version string malformed!";
const char kVersion[] = "OrvRendererOpenGL::detectAPIVersion(): OpenGL version %d.%d detected.";
const char kBuffers[] =
    "OrvRendererOpenGL::initialize(): vertex_buffer_object supported - very good - you're ready "
    "for high polycount!!!";
const char kNoBuffers[] = "OrvRendererOpenGL::initialize(): vertex_buffer_object NOT supported.";
const char kArb[] = "OrvRendererOpenGL::initialize(): GLSL ARB codepath supported.";
const char kGl2[] = "OrvRendererOpenGL::initialize(): GLSL GL2 codepath supported.";
const char kNoGlsl[] = "OrvRendererOpenGL::initialize(): GLSL  NOT supported.";
const char kAllExtensions[] =
    "GL_ARB_multitexture GL_ARB_vertex_buffer_object GL_ARB_shader_objects "
    "GL_ARB_shading_language_100";

std::string withVersion(const char* format, int major, int minor) {
    char text[512];
    std::snprintf(text, sizeof(text), format, major, minor);
    return text;
}

// What initialize decided, in one comparable value.
struct Outcome {
    int result;
    int openGL2;
    int buffers;
    int arb;
    int gl2;
    bool rangeLoaded;
    bool buffersLoaded;
    bool arbLoaded;
    bool gl2Loaded;
    bool lightTable;

    bool operator==(const Outcome& o) const {
        return result == o.result && openGL2 == o.openGL2 && buffers == o.buffers && arb == o.arb &&
               gl2 == o.gl2 && rangeLoaded == o.rangeLoaded && buffersLoaded == o.buffersLoaded &&
               arbLoaded == o.arbLoaded && gl2Loaded == o.gl2Loaded && lightTable == o.lightTable;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "result " << o.result << ", flags " << o.openGL2 << o.buffers << o.arb << o.gl2
               << ", loaded range/buffers/arb/gl2 " << o.rangeLoaded << o.buffersLoaded
               << o.arbLoaded << o.gl2Loaded << ", light table " << o.lightTable;
}

// Every entry of a group is loaded from the same table, so its first and
// last entries stand for the group.
Outcome outcomeOf(const OrvRendererOpenGL& r, int result) {
    const OrvGlCapabilities& c = r.capabilities();
    const OrvGlCapabilities::EntryPoints& gl = c.entryPoints();
    return {result,
            c.hasOpenGL2(),
            c.hasBufferObjects(),
            c.hasArbShaders(),
            c.hasGl2Shaders(),
            gl.glDrawRangeElements != nullptr,
            gl.glGenBuffersARB != nullptr && gl.glGetBufferParameterivARB != nullptr,
            gl.glCreateProgramObjectARB != nullptr && gl.glDisableVertexAttribArrayARB != nullptr,
            gl.glCreateProgram != nullptr && gl.glGetShaderInfoLog != nullptr,
            r.lightCount() > 0};
}

const Outcome kTooOld = {10, 0, 0, 0, 0, false, false, false, false, false};

// The start-up against the real driver. ctest runs it once more per old
// version with MESA_GL_VERSION_OVERRIDE set; without it, the driver's own
// version decides.
TEST(RendererDriverVersion, InitializeFollowsTheDriverVersion) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    int major = 0;
    int minor = 0;
    ASSERT_EQ(std::sscanf(reinterpret_cast<const char*>(glGetString(GL_VERSION)), "%d.%d", &major,
                          &minor),
              2);
    const char* override = std::getenv("MESA_GL_VERSION_OVERRIDE");
    if (override != nullptr) {
        EXPECT_EQ(withVersion("%d.%d", major, minor), override) << "Mesa ignored the override";
    }

    OrvRendererOpenGL* renderer = ORV_NEW OrvRendererOpenGL();
    renderer->setContext(&window.context);
    const Outcome outcome = outcomeOf(*renderer, renderer->initialize());
    if (major == 1 && minor < 2) {
        EXPECT_EQ(outcome, kTooOld);
        EXPECT_TRUE(log.contains(withVersion(kCrippled, major, minor)));
    } else if (major == 1) {
        // Mesa offers the ARB shader objects at any version.
        EXPECT_EQ(outcome, (Outcome{0, 0, 1, 1, 0, true, true, true, false, true}));
        EXPECT_TRUE(log.contains(kArb));
        EXPECT_FALSE(log.contains(kGl2));
    } else {
        EXPECT_EQ(outcome, (Outcome{0, 1, 1, 1, 1, true, true, false, true, true}));
        EXPECT_TRUE(log.contains(kArb));
        EXPECT_TRUE(log.contains(kGl2));
        EXPECT_TRUE(log.contains("OrvRendererOpenGL::initialize(): done."));
    }
    EXPECT_TRUE(log.contains(withVersion(kVersion, major, minor)));
    EXPECT_EQ(renderer->terminate(), 0);
    EXPECT_EQ(renderer->lightCount(), 0);
    EXPECT_TRUE(log.contains("OrvRendererOpenGL::terminate(): done."));
    ORV_DELETE(renderer);
}

// Strings the driver cannot be made to report, through the renderer's seam,
// on a real context.
TEST(RendererCapabilityStrings, VersionAndExtensionsChooseTheCodePaths) {
    struct Case {
        const char* label;
        const char* version;
        const char* extensions;
        Outcome outcome;
        std::vector<std::string> lines;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"1.5 with vendor text, ARB shaders",
         "1.5.0 NVIDIA 96.43",
         kAllExtensions,
         {0, 0, 1, 1, 0, true, true, true, false, true},
         {withVersion(kVersion, 1, 5), kBuffers, kArb},
         {kGl2, kNoGlsl}},
        {"1.5 without shader or buffer extensions",
         "1.5.0",
         "GL_ARB_multitexture",
         {0, 0, 0, 0, 0, true, false, false, false, true},
         {kNoBuffers, kNoGlsl},
         {kArb, kGl2}},
        {"shader objects without the language",
         "1.4",
         "GL_ARB_shader_objects",
         {0, 0, 0, 0, 0, true, false, false, false, true},
         {kNoGlsl},
         {kArb}},
        {"2.0.1 with both ARB shader extensions",
         "2.0.1",
         kAllExtensions,
         {0, 1, 1, 1, 1, true, true, false, true, true},
         {withVersion(kVersion, 2, 0), kArb, kGl2},
         {kNoGlsl}},
        {"1.2 goes on",
         "1.2",
         "",
         {0, 0, 0, 0, 0, true, false, false, false, true},
         {withVersion(kVersion, 1, 2), kNoGlsl},
         {}},
        {"1.1 is too old", "1.1.0", kAllExtensions, kTooOld, {withVersion(kCrippled, 1, 1)}, {}},
        {"no number at all",
         "OpenGL ES 2.0",
         kAllExtensions,
         kTooOld,
         {kMalformed, withVersion(kCrippled, 0, 0)},
         {}},
        {"a bare 3 keeps its major number but not the OpenGL-2 flag",
         "3",
         kAllExtensions,
         {0, 0, 1, 1, 0, true, true, true, false, true},
         {kMalformed, kArb},
         {kGl2}},
        {"no version string", nullptr, kAllExtensions, kTooOld, {kMalformed}, {}},
        {"no extension string",
         "2.1",
         nullptr,
         {0, 1, 0, 0, 1, true, false, false, true, true},
         {kNoBuffers, kGl2},
         {kArb}},
    };
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    for (const Case& c : cases) {
        OrvTestLog log(OrvLog::DEBUG);
        OrvReplacedStringsRenderer renderer;
        renderer.setContext(&window.context);
        renderer.strings[GL_VERSION] = c.version;
        renderer.strings[GL_EXTENSIONS] = c.extensions;
        EXPECT_EQ(outcomeOf(renderer, renderer.initialize()), c.outcome) << c.label;
        for (const std::string& line : c.lines) {
            EXPECT_TRUE(log.contains(line)) << c.label << ": " << line;
        }
        for (const std::string& line : c.absent) {
            EXPECT_FALSE(log.contains(line)) << c.label << ": " << line;
        }
        renderer.terminate();
    }
}

TEST(RendererCapabilityStrings, ABareMajorNumberIsKept) {
    OrvTestLog log(OrvLog::DEBUG);
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    OrvReplacedStringsRenderer renderer;
    renderer.strings[GL_VERSION] = "3";
    renderer.detectAPIVersion();
    EXPECT_EQ(renderer.capabilities().majorVersion(), 3);
    EXPECT_EQ(renderer.capabilities().minorVersion(), 0);
    EXPECT_FALSE(renderer.capabilities().hasOpenGL2());
}

TEST(RendererCapabilityStrings, ExtensionsAreFoundAsPlainSubstrings) {
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    OrvReplacedStringsRenderer renderer;
    renderer.strings[GL_EXTENSIONS] = "GL_ARB_vertex_buffer_object GL_EXT_texture3D";
    EXPECT_EQ(renderer.isExtensionSupported("GL_ARB_vertex_buffer_object"), 1);
    EXPECT_EQ(renderer.isExtensionSupported("GL_EXT_texture"), 1);
    EXPECT_EQ(renderer.isExtensionSupported("GL_ARB_shader_objects"), 0);
    EXPECT_EQ(renderer.isExtensionSupported(nullptr), 0);
    renderer.strings[GL_EXTENSIONS] = nullptr;
    EXPECT_EQ(renderer.isExtensionSupported("GL_ARB_vertex_buffer_object"), 0);
}

// The context chooses the swap-control extension from its screen's GLX
// extension string, as a word, never from a non-null entry point.
TEST(RenderContextSwapControl, TheSwapIntervalComesFromTheGlxExtensionString) {
    using Context = OrvRenderContextOpenGL;
    struct Case {
        const char* extensions;
        Context::SwapControl control;
    };
    const Case cases[] = {
        {"GLX_SGI_swap_control GLX_MESA_swap_control GLX_EXT_swap_control",
         Context::SWAP_CONTROL_EXT},
        {"GLX_SGI_swap_control GLX_MESA_swap_control", Context::SWAP_CONTROL_MESA},
        {"GLX_ARB_create_context GLX_SGI_swap_control", Context::SWAP_CONTROL_SGI},
        {"GLX_EXT_swap_control_tear GLX_ARB_create_context", Context::SWAP_CONTROL_NONE},
        {"", Context::SWAP_CONTROL_NONE},
        {nullptr, Context::SWAP_CONTROL_NONE},
    };
    OrvGlTestWindow window;
    ASSERT_EQ(window.open(), "");
    for (const Case& c : cases) {
        const char* label = c.extensions != nullptr ? c.extensions : "null";
        // A second drawing surface on the test window, with its own context.
        OrvWindowInfo info = window.info;
        info.deviceContext = 0;
        info.glContext = nullptr;
        OrvReplacedGlxContext context;
        context.extensions = c.extensions;
        ASSERT_EQ(context.create(&info), 0) << label;
        EXPECT_EQ(context.getSwapControl(), c.control) << label;
        if (c.control == Context::SWAP_CONTROL_NONE) {
            // Vertical sync is then a switch without effect, a normal case on
            // software drivers.
            EXPECT_FALSE(context.setSwapInterval(1)) << label;
            OrvRendererOpenGL renderer;
            renderer.setContext(&context);
            renderer.enable(OrvRenderer::VERTICAL_SYNC);
            renderer.disable(OrvRenderer::VERTICAL_SYNC);
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << label;
        }
    }
}

TEST_F(OrvGlTest, EveryGlLightUnitCanBeHandedOutOnce) {
    GLint units = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &units);
    ASSERT_GE(units, 8);
    ASSERT_EQ(renderer->lightCount(), units);
    std::vector<OrvLightData> lights(units + 1);
    for (int i = 0; i <= units; ++i) {
        lights[i].setDefaults();
        renderer->enableLight(&lights[i]);
        EXPECT_EQ(lights[i].unit, i < units ? i : OrvLightData::kNoUnit) << i;
    }
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
}

}  // namespace
