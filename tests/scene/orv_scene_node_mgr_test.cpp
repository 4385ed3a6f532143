#include <string>
#include <vector>

#include "scene_test_support.h"

namespace {

using SceneNodeMgrTest = NodeManagerTest;

// Stands for a creator whose node allocation failed.
class FailingCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override { return nullptr; }
    const char* getTypeName() const override { return "TEST_NODE_FAILING"; }
};

class NamelessCreator : public OrvSceneNodeCreator {
  public:
    OrvSceneNode* createNode() override { return nullptr; }
    const char* getTypeName() const override { return nullptr; }
};

std::string created(const OrvSceneNode* node) {
    return debugLine("OrvSceneNodeMgr::createNode(): " + nodeText(node) + " created ok.");
}

TEST_F(SceneNodeMgrTest, GetInstanceReturnsOneManagerOutsideTheLeakReport) {
    EXPECT_EQ(OrvSceneNodeMgr::getInstance(), manager);
    // Untracked already, so there is no record left to take out.
    EXPECT_EQ(OrvMemoryAllocator::_track_heap_free(manager, nullptr, 0), 0);
}

TEST_F(SceneNodeMgrTest, CreateNodeNamesTagsAndListsTheNode) {
    struct Case {
        const char* typeName;
        const char* name;
        std::string defaultWord;  // used when name is null
    };
    const Case cases[] = {{kPlainType, "light1", ""},
                          {kPlainType, nullptr, "node_"},
                          {kNamedType, "lamp", ""},
                          {kNamedType, nullptr, "named_"}};
    for (const Case& c : cases) {
        int count = manager->getNodeCount();
        clearLog();
        OrvSceneNode* node = manager->createNode(c.typeName, c.name);

        ASSERT_NE(node, nullptr);
        std::string name = c.name ? c.name : c.defaultWord + std::to_string(node->getId());
        EXPECT_EQ(std::string(node->getName()), name);
        EXPECT_STREQ(node->getTypeName(), c.typeName);
        EXPECT_STREQ(node->getTag(), "OSNM");
        EXPECT_EQ(manager->getNodeCount(), count + 1);
        EXPECT_EQ(manager->isNode(node), 1);
        EXPECT_EQ(logLines(), std::vector<std::string>{created(node)});
    }
}

TEST_F(SceneNodeMgrTest, TheVirtualSetNameRunsOnlyForAGivenName) {
    auto* named = static_cast<NamedNode*>(manager->createNode(kNamedType, "lamp"));
    auto* unnamed = static_cast<NamedNode*>(manager->createNode(kNamedType, nullptr));

    // One call comes from the constructor's default name.
    EXPECT_EQ(named->setNameCalls, 2);
    EXPECT_EQ(named->recordName, "lamp");
    EXPECT_EQ(unnamed->setNameCalls, 1);
    EXPECT_EQ(unnamed->recordName, unnamed->getName());
}

TEST_F(SceneNodeMgrTest, CreateNodeRefusesTypesWithoutACreatorSilently) {
    FailingCreator failing;
    manager->registerCreator(&failing);
    manager->unregisterCreator(kNamedType);
    clearLog();

    const char* typeNames[] = {nullptr, "TEST_NODE_UNKNOWN", kNamedType, "TEST_NODE_FAILING"};
    for (const char* typeName : typeNames) {
        EXPECT_EQ(manager->createNode(typeName, "x"), nullptr) << (typeName ? typeName : "null");
    }
    EXPECT_EQ(manager->getNodeCount(), 0);
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SceneNodeMgrTest, DestroyNodeTwiceDeletesOnce) {
    OrvSceneNode* node = manager->createNode(kPlainType, "once");
    const std::vector<std::string> expected = {
        debugLine("OrvSceneNodeMgr::destroyNode(): " + nodeText(node) + " destroyed ok.")};
    size_t blocks = OrvMemoryAllocator::trackedBlockCount();
    clearLog();

    manager->destroyNode(node);
    size_t blocksAfterFirst = OrvMemoryAllocator::trackedBlockCount();
    manager->destroyNode(node);

    EXPECT_EQ(logLines(), expected);
    // The node, its two kind records with their list entries, its entry in
    // the manager's list, and the manager's index of list entries, which an
    // idle manager does not keep.
    EXPECT_EQ(blocksAfterFirst, blocks - 7);
    EXPECT_EQ(OrvMemoryAllocator::trackedBlockCount(), blocksAfterFirst);
    EXPECT_EQ(manager->getNodeCount(), 0);
}

TEST_F(SceneNodeMgrTest, DestroyNodeIgnoresNodesItDoesNotHold) {
    PlainNode stranger;
    manager->destroyNode(nullptr);
    manager->destroyNode(&stranger);

    EXPECT_EQ(manager->isNode(nullptr), 0);
    EXPECT_EQ(manager->isNode(&stranger), 0);
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SceneNodeMgrTest, KillAllNodesDeletesInCreationOrder) {
    std::vector<std::string> expected;
    for (const char* name : {"first", "second", "third"}) {
        OrvSceneNode* node = manager->createNode(kPlainType, name);
        expected.push_back(
            debugLine("OrvSceneNodeMgr::killAllNodes(): " + nodeText(node) + " destroyed ok."));
    }
    clearLog();

    manager->killAllNodes();
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(manager->getNodeCount(), 0);

    clearLog();
    manager->killAllNodes();
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SceneNodeMgrTest, InitDeletesNodesAndDropsCreators) {
    OrvSceneNode* first = manager->createNode(kPlainType, nullptr);
    OrvSceneNode* second = manager->createNode(kNamedType, nullptr);
    const std::vector<std::string> expected = {
        debugLine("OrvSceneNodeMgr::killAllNodes(): " + nodeText(first) + " destroyed ok."),
        debugLine("OrvSceneNodeMgr::killAllNodes(): " + nodeText(second) + " destroyed ok."),
        debugLine("OrvSceneNodeMgr::terminate(): ok."), debugLine("OrvSceneNodeMgr::init(): ok.")};
    clearLog();

    manager->init();

    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(manager->getNodeCount(), 0);
    EXPECT_EQ(manager->createNode(kPlainType, nullptr), nullptr);
    manager->registerCreator(&plainCreator);
    EXPECT_NE(manager->createNode(kPlainType, nullptr), nullptr);
}

TEST_F(SceneNodeMgrTest, CreatorLinesAreWrittenWordForWord) {
    manager->unregisterCreator(kPlainType);
    manager->unregisterCreator("TEST_NODE_NEVER_REGISTERED");
    manager->registerCreator(&plainCreator);

    const std::vector<std::string> expected = {
        debugLine("OrvSceneNodeMgr::unregisterCreator(): TEST_NODE_PLAIN unregistered ok."),
        debugLine("OrvSceneNodeMgr::unregisterCreator(): TEST_NODE_NEVER_REGISTERED "
                  "unregistered ok."),
        debugLine("OrvSceneNodeMgr::registerCreator(): TEST_NODE_PLAIN registered ok.")};
    EXPECT_EQ(logLines(), expected);
}

TEST_F(SceneNodeMgrTest, DebugLinesStayOutOfTheLogAtTheDefaultLevel) {
    OrvLog::getInstance()->setLevel(OrvLog::NORMAL);
    manager->destroyNode(manager->createNode(kPlainType, nullptr));
    manager->unregisterCreator(kPlainType);
    manager->init();
    EXPECT_TRUE(logLines().empty());
}

TEST_F(SceneNodeMgrTest, RegistrationsThatCannotWorkAreRefusedWithAWarning) {
    TestCreator<NamedNode> secondPlain{kPlainType};
    NamelessCreator nameless;
    struct Case {
        OrvSceneNodeCreator* creator;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {nullptr, {}},
        {&secondPlain,
         {warningLine("OrvSceneNodeMgr::registerCreator(): TEST_NODE_PLAIN already registered, "
                      "creator refused.")}},
        {&plainCreator,
         {warningLine("OrvSceneNodeMgr::registerCreator(): TEST_NODE_PLAIN already registered, "
                      "creator refused.")}},
        {&nameless,
         {warningLine("OrvSceneNodeMgr::registerCreator(): creator without type name refused.")}},
    };
    for (const Case& c : cases) {
        clearLog();
        manager->registerCreator(c.creator);
        EXPECT_EQ(logLines(), c.lines);
    }
    // The first creator still serves its type string.
    EXPECT_EQ(manager->createNode(kPlainType, nullptr)->getTypeId(), kPlainKind);
}

TEST_F(SceneNodeMgrTest, ATableWithoutRoomRefusesTheCreatorWithAWarning) {
    // A mode that gives the table no storage at all.
    manager->setMode(2);
    manager->registerCreator(&plainCreator);

    EXPECT_EQ(logLines(), std::vector<std::string>{
                              warningLine("OrvSceneNodeMgr::registerCreator(): TEST_NODE_PLAIN not "
                                          "registered.")});
    EXPECT_EQ(manager->createNode(kPlainType, nullptr), nullptr);
    manager->setMode(OrvHashTable::MODE_CHAINED);
}

TEST_F(SceneNodeMgrTest, CreatorsCanBeRegisteredAgainAfterTerminate) {
    // An engine stopped and started again in one process.
    manager->unregisterCreator(kPlainType);
    manager->terminate();
    manager->registerCreator(&plainCreator);

    EXPECT_NE(manager->createNode(kPlainType, nullptr), nullptr);
}

TEST_F(SceneNodeMgrTest, NothingIsLeftInTheLeakReportAfterTerminate) {
    auto* parent = static_cast<PlainNode*>(manager->createNode(kPlainType, "parent"));
    parent->adopt(manager->createNode(kNamedType, nullptr));
    manager->destroyNode(manager->createNode(kPlainType, nullptr));
    manager->unregisterCreator(kNamedType);
    manager->terminate();

    OrvLog::getInstance()->setLevel(OrvLog::DETAILED_DEBUG);
    clearLog();
    OrvMemoryAllocator::dumpMemoryLeaks();
    const char* prefix = "<**>[DETAILED_DEBUG]#OrvMemoryAllocator::dumpMemoryLeaks(): ";
    const std::vector<std::string> expected = {
        prefix + std::string("<----------------------- HEAP MEMORY LEAKS [START] "
                             "------------------------------>"),
        prefix + std::string("Yeah! No memory leak! Congratulations! You're a smart pointer "
                             "man ;)"),
        prefix + std::string("<----------------------- HEAP MEMORY LEAKS END "
                             "------------------------------>")};
    EXPECT_EQ(logLines(), expected);
}

}  // namespace
