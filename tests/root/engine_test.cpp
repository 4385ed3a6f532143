// The engine root without a driver: the start and stop lines, the creators
// and their order, nodes still alive at the stop, the leak report, renderer
// kinds without an implementation and the current render context.
#include <filesystem>

#include "orv_create_node.h"
#include "orv_engine_test.h"
#include "orvane.h"

namespace {

const char* const kTypes[] = {ORV_NODE_CAMERA,   ORV_NODE_LIGHT, ORV_NODE_MATERIAL,  ORV_NODE_MESH,
                              ORV_NODE_TRIANGLE, ORV_NODE_GIZMO, ORV_NODE_GPU_SHADER};

// One line per type, in registration order: prefix, type, suffix.
std::vector<std::string> creatorLines(const std::string& prefix, const std::string& suffix) {
    std::vector<std::string> lines;
    for (const char* type : kTypes) {
        lines.push_back(prefix + type + suffix);
    }
    return lines;
}

// Where the message stands in the log, at or after from, or -1.
int indexOf(const std::vector<std::string>& messages, const std::string& message, int from = 0) {
    for (size_t i = from; i < messages.size(); ++i) {
        if (messages[i] == message) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Whether any descriptor of this process refers to the file at path.
bool isOpenHere(const std::string& path) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        if (std::filesystem::read_symlink(entry.path(), ignored) == path) {
            return true;
        }
    }
    return false;
}

class CountingContext : public OrvRenderContext {
  public:
    int create(OrvWindowInfo*) override { return 0; }
    int destroy() override { return 0; }
    void makeCurrent() override { ++madeCurrent; }
    void swapBuffers() override { ++swaps; }
    bool setSwapInterval(int interval) override {
        intervals.push_back(interval);
        return true;
    }

    int madeCurrent = 0;
    int swaps = 0;
    std::vector<int> intervals;
};

const char kStart[] = "Orvane - init in progress...";
const char kStarted[] = "Orvane - init ok.";
const char kStopped[] = "Orvane - terminate ok.";

using EngineRootTest = OrvEngineTest;

}  // namespace

TEST(EngineLog, StartAndStopLinesAtNormal) {
    OrvTestLog log(OrvLog::NORMAL);
    OrvMain* engine = OrvMain::getInstance();
    ASSERT_EQ(engine->init(), 0);
    EXPECT_EQ(log.messages(), (std::vector<std::string>{kStart, kStarted}));
    EXPECT_EQ(log.text().rfind("<->[NORMAL]#", 0), 0u);
    ASSERT_NE(createNode<OrvLight>(ORV_NODE_LIGHT), nullptr);

    EXPECT_EQ(engine->terminate(), 0);
    EXPECT_EQ(log.messages(), (std::vector<std::string>{kStart, kStarted, kStopped}));
    EXPECT_FALSE(isOpenHere(log.path()));

    // A later line opens the log again and appends, so the session's lines
    // stay.
    OrvLog::getInstance()->write(OrvLog::NORMAL, "after");
    EXPECT_EQ(log.messages(), (std::vector<std::string>{kStart, kStarted, kStopped, "after"}));
}

TEST_F(EngineRootTest, CreatorsComeAndGoInTheirOrder) {
    EXPECT_EQ(log.messagesWith("::registerCreator("),
              creatorLines("OrvSceneNodeMgr::registerCreator(): ", " registered ok."));
    for (const char* type : kTypes) {
        OrvSceneNode* node = OrvSceneNodeMgr::getInstance()->createNode(type, nullptr);
        ASSERT_NE(node, nullptr) << type;
        EXPECT_STREQ(node->getTypeName(), type);
    }

    OrvMain::getInstance()->terminate();
    EXPECT_EQ(log.messagesWith("::unregisterCreator("),
              creatorLines("OrvSceneNodeMgr::unregisterCreator(): ", " unregistered ok."));
    const std::vector<std::string> messages = log.messages();
    // The stop's steps, each found after the one before.
    const std::vector<std::string> steps = {
        "OrvMaterialMgr::terminate(): ok.",
        "OrvSceneMgr::terminate(): ok.",
        "OrvSceneNodeMgr::unregisterCreator(): ORV_NODE_CAMERA unregistered ok.",
        "OrvSceneNodeMgr::unregisterCreator(): ORV_NODE_GPU_SHADER unregistered ok.",
        "OrvSceneNodeMgr::terminate(): ok.",
        kStopped};
    int at = indexOf(messages, kStarted);
    for (const std::string& step : steps) {
        at = indexOf(messages, step, at + 1);
        ASSERT_GE(at, 0) << step;
    }
    EXPECT_EQ(messages.back(), kStopped);
    for (const char* type : kTypes) {
        EXPECT_EQ(OrvSceneNodeMgr::getInstance()->createNode(type, nullptr), nullptr) << type;
    }
}

TEST_F(EngineRootTest, SecondInitIsRefused) {
    EXPECT_EQ(OrvMain::getInstance()->init(), -1);
    EXPECT_EQ(log.messages().back(), "OrvMain::init(): engine already started.");
    EXPECT_EQ(log.messagesWith("::registerCreator(").size(), 7u);
    EXPECT_EQ(log.messagesWith(kStart).size(), 1u);
}

TEST(EngineLeakReport, StopDestroysLiveNodesAndReportsWhatTheCallerHolds) {
    OrvTestLog log(OrvLog::DETAILED_DEBUG);
    OrvRecordingRenderer renderer;
    OrvMain* engine = OrvMain::getInstance();
    ASSERT_EQ(engine->init(), 0);
    OrvScene* scene = OrvSceneMgr::getInstance()->createScene("Main_Scene");
    for (const char* type : {ORV_NODE_CAMERA, ORV_NODE_LIGHT, ORV_NODE_TRIANGLE, ORV_NODE_GIZMO}) {
        scene->addObject(OrvSceneNodeMgr::getInstance()->createNode(type, nullptr));
    }
    ASSERT_NE(createNode<OrvGpuShader>(ORV_NODE_GPU_SHADER), nullptr);
    ASSERT_NE(engine->createRenderContext(OrvMain::KIND_OPENGL), nullptr);
    char* held = ORV_NEW char[24];
    const int heldLine = __LINE__ - 1;

    engine->terminate();
    const std::vector<std::string> messages = log.messages();
    // The scene's root, the four objects and the shader.
    const std::vector<std::string> killed = log.messagesWith("killAllNodes(): node");
    EXPECT_EQ(killed.size(), 6u);
    const int reportStart =
        indexOf(messages,
                "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY LEAKS "
                "[START] ------------------------------>");
    ASSERT_GE(reportStart, 0);
    EXPECT_LT(indexOf(messages, killed.back()), reportStart);
    ASSERT_GE(messages.size(), reportStart + 4u);
    const std::string leak = messages[reportStart + 1];
    EXPECT_EQ(leak.rfind("OrvMemoryAllocator::dumpMemoryLeaks(): ADDRESS 0x", 0), 0u) << leak;
    EXPECT_NE(
        leak.find("\t24 bytes unfreed - file=engine_test.cpp - line=" + std::to_string(heldLine)),
        std::string::npos)
        << leak;
    EXPECT_EQ(messages[reportStart + 2],
              "OrvMemoryAllocator::dumpMemoryLeaks(): Total heap unfreed: 24 bytes");
    EXPECT_EQ(messages[reportStart + 3],
              "OrvMemoryAllocator::dumpMemoryLeaks(): <----------------------- HEAP MEMORY LEAKS "
              "END ------------------------------>");
    EXPECT_EQ(messages.back(), kStopped);
    ORV_DELETE_ARRAY(held);
}

TEST_F(EngineRootTest, RendererKindsWithoutImplementation) {
    OrvMain* engine = OrvMain::getInstance();
    for (int kind : {-1, 1, 2, 3, 4}) {
        EXPECT_EQ(engine->createRenderer(kind), -1) << kind;
        EXPECT_EQ(engine->getRenderer(), nullptr) << kind;
        EXPECT_EQ(OrvRenderer::getInstance(), &recorder) << kind;
    }
    engine->destroyRenderer();
    EXPECT_EQ(OrvRenderer::getInstance(), &recorder);
}

// The renderer made on the current context follows it when another one
// becomes current: vertical sync goes to the context current at the call.
TEST_F(EngineRootTest, TheRendererUsesTheContextMadeCurrentThroughTheRoot) {
    OrvMain* engine = OrvMain::getInstance();
    CountingContext first;
    CountingContext second;
    engine->setCurrentRenderContext(&first);
    // Without a GL context the renderer reports an old version, but exists.
    engine->createRenderer(OrvMain::KIND_OPENGL);
    ASSERT_NE(engine->getRenderer(), nullptr);
    engine->getRenderer()->enable(OrvRenderer::VERTICAL_SYNC);
    engine->setCurrentRenderContext(&second);
    engine->getRenderer()->disable(OrvRenderer::VERTICAL_SYNC);
    EXPECT_EQ(first.intervals, std::vector<int>{1});
    EXPECT_EQ(second.intervals, std::vector<int>{0});
    engine->destroyRenderer();
}

TEST_F(EngineRootTest, FramesArePresentedOnTheCurrentContextOnly) {
    OrvMain* engine = OrvMain::getInstance();
    EXPECT_EQ(engine->getCurrentRenderContext(), nullptr);
    engine->swapBuffers();

    EXPECT_EQ(engine->createRenderContext(1), nullptr);
    OrvRenderContext* owned = engine->createRenderContext(OrvMain::KIND_OPENGL);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(engine->getCurrentRenderContext(), nullptr) << "a new context is not current";

    CountingContext counting;
    engine->setCurrentRenderContext(&counting);
    engine->setCurrentRenderContext(nullptr);
    EXPECT_EQ(engine->getCurrentRenderContext(), &counting);
    engine->swapBuffers();
    engine->swapBuffers();
    EXPECT_EQ(counting.madeCurrent, 1);
    EXPECT_EQ(counting.swaps, 2);

    // An empty context can be made current and swapped without effect.
    engine->setCurrentRenderContext(owned);
    engine->swapBuffers();
    EXPECT_EQ(counting.swaps, 2);

    // The stop deletes the contexts, so none is current afterwards.
    engine->terminate();
    EXPECT_EQ(engine->getCurrentRenderContext(), nullptr);
    engine->swapBuffers();
}

// A material made through the manager takes one id more than one made by the
// node manager alone: the manager's list entry. Its lookup by id takes none, so
// the ids and default names of everything made later stay where they are.
TEST_F(EngineRootTest, MaterialsMadeThroughTheManagerShiftNoLaterIds) {
    using MakeMaterial = OrvSceneNode* (*)();
    const MakeMaterial byNodeManager = [] { return createNode<OrvSceneNode>(ORV_NODE_MATERIAL); };
    const MakeMaterial byMaterialManager = []() -> OrvSceneNode* {
        return OrvMaterialMgr::getInstance()->getMaterial(nullptr);
    };
    // Light, material, light: the material's id and the second light's, counted
    // from the first light's.
    const auto idsAfterALight = [](MakeMaterial makeMaterial) {
        OrvLight* before = createNode<OrvLight>(ORV_NODE_LIGHT);
        OrvSceneNode* material = makeMaterial();
        OrvLight* after = createNode<OrvLight>(ORV_NODE_LIGHT);
        EXPECT_EQ(std::string(after->getName()), "light_" + std::to_string(after->getId()));
        return std::make_pair(material->getId() - before->getId(),
                              after->getId() - before->getId());
    };
    // The first light of the engine makes the default material; later rounds
    // compare like with like.
    idsAfterALight(byNodeManager);
    for (int round = 0; round < 3; ++round) {
        const auto alone = idsAfterALight(byNodeManager);
        const auto managed = idsAfterALight(byMaterialManager);
        EXPECT_EQ(managed.first, alone.first) << round;
        EXPECT_EQ(managed.second, alone.second + 1) << round;
    }
}
