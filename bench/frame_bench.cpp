// Real frames under the GL driver (Mesa in a virtual X server, vertical sync
// off): the demo scene, the demo scene plus 1,000 and 5,000 small lit boxes,
// the 1,000 boxes once more wearing a mipmapped checker texture, and a
// 200-point box on each of the four mesh drawing paths, each drawn by
// the engine and by OrvReferenceScene (plain OpenGL, the limit) in windows
// of their own. Runs alternate between the two, and each side reports the
// median of its runs: milliseconds per frame, frames per second and the
// ratio engine / reference. Lines starting with "result" are for scripts/bench.
// Then the demo scene and the demo scene plus 1,000 boxes once more on the
// offscreen EGL context, against the engine's frames in the GLX window
// (lines starting with "offscreen").
// The batched scenes mark the boxes static and are measured against both
// references: one draw per box, and the boxes pre-transformed into one draw
// per material (OrvMergedBoxes); "build" lines give the time to build their
// batches. With --count the program times nothing and prints, for each
// scene (the textured one included), the mesh draws, all draws and renderer
// calls of one frame ("count" lines).
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orv_bench_scene.h"
#include "orv_counting_renderer.h"
#include "orv_demo.h"
#include "orv_merged_boxes.h"
#include "orv_reference_scene.h"
#include "orv_test_window.h"
#include "orvane.h"
#include "orvane_opengl.h"

namespace {

constexpr int kWidth = OrvBenchScene::kWidth;
constexpr int kHeight = OrvBenchScene::kHeight;
constexpr int kRuns = 15;
constexpr float kFrameSeconds = 0.016f;
constexpr int kLargeBoxPoints = 200;

struct Result {
    double engineMs;
    double referenceMs;
};

void markStatic(const OrvBoxField& field) {
    for (OrvMesh* box : field.boxes()) {
        box->setStatic(1);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds per frame over frames frames, after one frame that is not
// counted; glFinish closes both ends so that no queued work is left out.
double timeFrames(OrvRenderContext* context, const std::function<void()>& frame, int frames) {
    context->makeCurrent();
    frame();
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
    }
    glFinish();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
}

class FrameBench {
  public:
    std::string start(bool quick);
    void stop();

    // textured: the boxes' materials wear OrvBoxField's checker.
    void runDemo(int boxes, int frames, bool textured = false);
    void runBatched(int boxes, int frames);
    void runPath(const char* name, int option, int frames);
    // The demo again, on the EGL context; stop ends it.
    std::string startOffscreen();
    void runOffscreen(int boxes, int frames);
    void countScenes();

  private:
    Result compare(OrvScene* scene, const OrvTextInfo* text,
                   const std::function<void()>& engineFrame, int frames);
    void report(const std::string& name, int meshes, const Result& result);
    void removeBoxes(const OrvBoxField& field);
    double timeBuild(OrvScene* scene);
    void countFrame(OrvCountingRenderer& counter, const std::string& name);
    std::unique_ptr<OrvBoxField> addBoxes(int boxes);
    int scaledFrames(int frames) const;

    OrvTestWindow m_engineWindow;
    OrvTestWindow m_referenceWindow;
    OrvDemo m_demo;
    OrvRenderContextOpenGL m_referenceContext;
    OrvTextInfo m_referenceText = {};
    OrvRenderContext* m_engineContext = nullptr;
    double m_frameScale = 1.0;
    // The engine's milliseconds per frame in the GLX window, by scene name.
    std::map<std::string, double> m_windowMs;
};

std::string demoName(int boxes, bool textured = false) {
    if (boxes == 0) {
        return "demo";
    }
    return "demo + " + std::to_string(boxes) + (textured ? " textured boxes" : " boxes");
}

std::string FrameBench::start(bool quick) {
    m_frameScale = quick ? 0.1 : 1.0;
    std::string failure = m_engineWindow.open(kWidth, kHeight);
    if (failure.empty()) {
        failure = m_referenceWindow.open(kWidth, kHeight, kWidth, 0);
    }
    if (!failure.empty()) {
        return failure;
    }
    if (m_demo.init(m_engineWindow.info.display, m_engineWindow.info.window, kWidth, kHeight) !=
        0) {
        return m_demo.getError();
    }
    OrvRenderer* renderer = OrvRenderer::getInstance();
    renderer->disable(OrvRenderer::VERTICAL_SYNC);
    m_engineContext = OrvMain::getInstance()->getCurrentRenderContext();
    m_demo.frame(kFrameSeconds);
    std::printf("driver: %s, OpenGL %s\n", glGetString(GL_RENDERER), glGetString(GL_VERSION));

    if (m_referenceContext.create(&m_referenceWindow.info) != 0) {
        return "no GL context for the reference window";
    }
    // The reference's glyphs are built as the engine builds them, in the
    // reference's own context.
    m_referenceText = m_demo.getTextInfo();
    m_referenceText.listBase = 0;
    renderer->createFont(&m_referenceText, &m_referenceWindow.info);
    m_engineContext->makeCurrent();
    return "";
}

void FrameBench::stop() {
    if (m_referenceContext.getWindowInfo() != nullptr) {
        m_referenceContext.makeCurrent();
        OrvRenderer::getInstance()->destroyFont(&m_referenceText, &m_referenceWindow.info);
        m_referenceContext.destroy();
    }
    m_engineContext->makeCurrent();
    m_demo.shutdown();
}

int FrameBench::scaledFrames(int frames) const {
    return std::max(2, static_cast<int>(frames * m_frameScale));
}

Result FrameBench::compare(OrvScene* scene, const OrvTextInfo* text,
                           const std::function<void()>& engineFrame, int frames) {
    frames = scaledFrames(frames);
    m_engineContext->makeCurrent();
    engineFrame();
    OrvReferenceScene reference(scene, text);
    m_referenceContext.makeCurrent();
    reference.setUp(text != nullptr ? m_referenceText.listBase : 0);
    float time = 0.0f;
    auto referenceFrame = [&]() {
        reference.frame(time);
        time += kFrameSeconds;
        m_referenceContext.swapBuffers();
    };
    std::vector<double> engine;
    std::vector<double> limit;
    for (int run = 0; run < kRuns; ++run) {
        engine.push_back(timeFrames(m_engineContext, engineFrame, frames));
        limit.push_back(timeFrames(&m_referenceContext, referenceFrame, frames));
    }
    // The reference's GL objects live in its own context.
    m_referenceContext.makeCurrent();
    return {median(engine), median(limit)};
}

void FrameBench::runDemo(int boxes, int frames, bool textured) {
    OrvScene* scene = m_demo.getScene();
    std::unique_ptr<OrvBoxField> field = addBoxes(boxes);
    const std::string name = demoName(boxes, textured);
    if (textured && field->addTexture() == nullptr) {
        std::fprintf(stderr, "frame_bench: %s: the checker texture could not be made\n",
                     name.c_str());
    } else {
        const Result result = compare(
            scene, &m_demo.getTextInfo(), [this]() { m_demo.frame(kFrameSeconds); }, frames);
        m_windowMs[name] = result.engineMs;
        report(name, scene->getMeshes()->getCount(), result);
    }
    if (field != nullptr) {
        // The materials outlive the boxes: the next scenes draw them plain.
        // The texture goes with its last user, in the engine's context.
        m_engineContext->makeCurrent();
        field->removeTexture();
        removeBoxes(*field);
    }
}

std::unique_ptr<OrvBoxField> FrameBench::addBoxes(int boxes) {
    if (boxes == 0) {
        return nullptr;
    }
    return std::make_unique<OrvBoxField>(m_demo.getScene(), boxes, 1);
}

void FrameBench::removeBoxes(const OrvBoxField& field) {
    OrvScene* scene = m_demo.getScene();
    OrvSceneNodeMgr* nodes = OrvSceneNodeMgr::getInstance();
    for (OrvMesh* box : field.boxes()) {
        scene->getMeshes()->remove(box);
        scene->getObjects()->remove(box);
        nodes->destroyNode(box);
    }
}

std::string FrameBench::startOffscreen() {
    m_demo.setRenderContextKind(OrvMain::KIND_EGL);
    if (m_demo.init(nullptr, 0, kWidth, kHeight) != 0) {
        return m_demo.getError();
    }
    m_engineContext = OrvMain::getInstance()->getCurrentRenderContext();
    m_demo.frame(kFrameSeconds);
    std::printf("\n%-34s %13s %13s %8s %13s\n", "offscreen scene", "EGL", "GLX window", "ratio",
                "EGL");
    return "";
}

void FrameBench::runOffscreen(int boxes, int frames) {
    std::unique_ptr<OrvBoxField> field = addBoxes(boxes);
    std::vector<double> offscreen;
    for (int run = 0; run < kRuns; ++run) {
        offscreen.push_back(timeFrames(
            m_engineContext, [this]() { m_demo.frame(kFrameSeconds); }, scaledFrames(frames)));
    }
    const std::string name = demoName(boxes);
    const double eglMs = median(offscreen);
    const double windowMs = m_windowMs[name];
    std::printf("%-34s %10.3f ms %10.3f ms %8.3f %9.1f fps\n", name.c_str(), eglMs, windowMs,
                eglMs / windowMs, 1000.0 / eglMs);
    std::printf("offscreen\t%s\t%.4f\t%.4f\t%.4f\n", name.c_str(), eglMs, windowMs,
                eglMs / windowMs);
    std::fflush(stdout);
    if (field != nullptr) {
        removeBoxes(*field);
    }
}

// The median of a few builds; each replaces the batches of the one before.
double FrameBench::timeBuild(OrvScene* scene) {
    std::vector<double> builds;
    for (int run = 0; run < 7; ++run) {
        const auto start = std::chrono::steady_clock::now();
        scene->buildStaticBatches();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        builds.push_back(spent.count());
    }
    return median(builds);
}

// The demo scene with the boxes static and batched, against the reference
// that draws each box and the one that draws each material once.
void FrameBench::runBatched(int boxes, int frames) {
    OrvScene* scene = m_demo.getScene();
    OrvBoxField field(scene, boxes, 1);
    m_engineContext->makeCurrent();
    m_demo.frame(kFrameSeconds);
    markStatic(field);
    const double buildMs = timeBuild(scene);
    const std::string name = "batched demo + " + std::to_string(boxes) + " boxes";
    const int meshes = scene->getMeshes()->getCount();
    auto engineFrame = [this]() { m_demo.frame(kFrameSeconds); };
    report(name, meshes, compare(scene, &m_demo.getTextInfo(), engineFrame, frames));
    {
        OrvMergedBoxes merged(scene, field);
        report(name + ", merged reference", meshes,
               compare(merged.scene(), &m_demo.getTextInfo(), engineFrame, frames));
    }
    std::printf("build\t%d\t%.3f\n", boxes, buildMs);
    m_engineContext->makeCurrent();
    scene->releaseStaticBatches();
    removeBoxes(field);
}

void FrameBench::countFrame(OrvCountingRenderer& counter, const std::string& name) {
    m_demo.frame(kFrameSeconds);
    counter.resetCounts();
    m_demo.frame(kFrameSeconds);
    std::printf("count\t%s\t%llu\t%llu\t%llu\n", name.c_str(),
                static_cast<unsigned long long>(counter.meshDraws),
                static_cast<unsigned long long>(counter.draws),
                static_cast<unsigned long long>(counter.calls));
}

// Draws and renderer calls of one frame of each scene, one by one and
// batched. The counter stays the current renderer until the program ends.
void FrameBench::countScenes() {
    static OrvCountingRenderer counter(OrvRenderer::getInstance());
    countFrame(counter, "demo");
    for (int boxes : {1000, 5000}) {
        OrvBoxField field(m_demo.getScene(), boxes, 1);
        const std::string name = demoName(boxes);
        countFrame(counter, name);
        if (boxes == 1000 && field.addTexture() != nullptr) {
            countFrame(counter, demoName(boxes, true));
            field.removeTexture();
        }
        markStatic(field);
        m_demo.getScene()->buildStaticBatches();
        countFrame(counter, "batched " + name);
        m_demo.getScene()->releaseStaticBatches();
        removeBoxes(field);
    }
}

// One large lit box drawn on one path: option selects it in the mesh record.
void FrameBench::runPath(const char* name, int option, int frames) {
    m_engineContext->makeCurrent();
    OrvBenchScene bench(0, 1);
    OrvMesh* box = static_cast<OrvMesh*>(
        OrvSceneNodeMgr::getInstance()->createNode(ORV_NODE_MESH, "large_box"));
    box->createBox(50.0f, 100.0f, 50.0f, kLargeBoxPoints, kLargeBoxPoints, kLargeBoxPoints);
    box->getRenderState()->clearMaterials();
    box->setMaterial(bench.field().materials()[0], 0, -1);
    box->getRenderState()->setState(OrvRenderer::STATE_LIGHTING, 1);
    OrvMeshData* data = box->getMeshData();
    data->setOption(OrvMeshData::vertexArrays, 0);
    data->setOption(option, 1);
    if (option == OrvMeshData::bufferObjects) {
        data->setOption(OrvMeshData::vertexArrays, 1);
    }
    bench.scene()->addObject(box);
    const Result result = compare(
        bench.scene(), nullptr,
        [&bench]() {
            bench.frame(kFrameSeconds);
            OrvMain::getInstance()->swapBuffers();
        },
        frames);
    report(std::string("200-point box, ") + name, 1, result);
    m_engineContext->makeCurrent();
}

void FrameBench::report(const std::string& name, int meshes, const Result& result) {
    const double ratio = result.engineMs / result.referenceMs;
    std::printf("%-34s %10.3f ms %10.3f ms %8.3f %9.1f fps %9.1f fps\n", name.c_str(),
                result.engineMs, result.referenceMs, ratio, 1000.0 / result.engineMs,
                1000.0 / result.referenceMs);
    std::printf("result\t%s\t%d\t%.4f\t%.4f\t%.4f\n", name.c_str(), meshes, result.engineMs,
                result.referenceMs, ratio);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // --quick: a tenth of the frames, to see that everything runs;
    // --scenes: the demo scenes only, without the large box's paths.
    bool quick = false;
    bool scenesOnly = false;
    bool count = false;
    for (int i = 1; i < argc; ++i) {
        quick = quick || std::strcmp(argv[i], "--quick") == 0;
        scenesOnly = scenesOnly || std::strcmp(argv[i], "--scenes") == 0;
        count = count || std::strcmp(argv[i], "--count") == 0;
    }
    FrameBench bench;
    const std::string failure = bench.start(quick);
    if (!failure.empty()) {
        std::fprintf(stderr, "frame_bench: %s\n", failure.c_str());
        return 1;
    }
    if (count) {
        bench.countScenes();
        bench.stop();
        return 0;
    }
    std::printf("%-34s %13s %13s %8s %13s %13s\n", "scene", "engine", "reference", "ratio",
                "engine", "reference");
    bench.runDemo(0, 60);
    bench.runDemo(1000, 20);
    bench.runDemo(1000, 20, true);
    bench.runDemo(5000, 6);
    bench.runBatched(1000, 20);
    bench.runBatched(5000, 6);
    if (!scenesOnly) {
        bench.runPath("client arrays", OrvMeshData::vertexArrays, 4);
        bench.runPath("buffer objects", OrvMeshData::bufferObjects, 4);
        bench.runPath("display list", OrvMeshData::displayList, 4);
        bench.runPath("immediate mode", OrvMeshData::immediateMode, 4);
    }
    bench.stop();
    const std::string offscreenFailure = bench.startOffscreen();
    if (!offscreenFailure.empty()) {
        std::fprintf(stderr, "frame_bench: offscreen: %s\n", offscreenFailure.c_str());
        return 1;
    }
    bench.runOffscreen(0, 60);
    bench.runOffscreen(1000, 20);
    bench.stop();
    return 0;
}
