#include <climits>
#include <cstring>
#include <string>

#include "scene_test_support.h"

namespace {

using SceneNodeTest = NodeManagerTest;

TEST_F(SceneNodeTest, IdsComeFromTheSharedCounterAndNameTheNode) {
    uint32_t before = OrvMemoryAllocator::nextUniqueId();
    OrvSceneNode* first = manager->createNode(kPlainType, nullptr);
    OrvSceneNode* second = manager->createNode(kPlainType, nullptr);
    OrvSceneNode* named = manager->createNode(kNamedType, nullptr);

    // The base's kind record is listed before the id is taken.
    EXPECT_EQ(first->getId(), static_cast<int>(before) + 2);
    // Between two nodes: the first's own kind record, its entry in the
    // manager's list, then the second's base kind record.
    EXPECT_EQ(second->getId(), first->getId() + 4);
    EXPECT_EQ(std::string(first->getName()), "node_" + std::to_string(first->getId()));
    EXPECT_EQ(std::string(second->getName()), "node_" + std::to_string(second->getId()));
    EXPECT_EQ(std::string(named->getName()), "named_" + std::to_string(named->getId()));
}

TEST_F(SceneNodeTest, FlagsOutsideTheRangeAreIgnored) {
    struct Case {
        int index;
        bool stored;
    };
    const Case cases[] = {{0, true},   {12, true},       {-1, false},
                          {13, false}, {INT_MIN, false}, {INT_MAX, false}};
    for (const Case& c : cases) {
        PlainNode node;
        const std::string name = node.getName();
        const int id = node.getId();
        EXPECT_EQ(node.setFlag(c.index, 7), c.index);
        EXPECT_EQ(node.getFlag(c.index), c.stored ? 7 : 0) << c.index;
        int others = 0;
        for (int i = 0; i < OrvSceneNode::kFlagCount; ++i) {
            others += i == c.index ? 0 : node.getFlag(i);
        }
        EXPECT_EQ(others, 0) << c.index;
        // The fields around the flags stay untouched.
        EXPECT_EQ(node.getId(), id) << c.index;
        EXPECT_EQ(node.getName(), name) << c.index;
    }
}

TEST_F(SceneNodeTest, NamesAreCutTo127Characters) {
    struct Case {
        std::string name;
        std::string stored;
    };
    const Case cases[] = {{std::string(200, 'a'), std::string(127, 'a')},
                          {std::string(128, 'b'), std::string(127, 'b')},
                          {std::string(127, 'c'), std::string(127, 'c')},
                          {"", ""},
                          {"box", "box"}};
    for (const Case& c : cases) {
        PlainNode node;
        node.setName(c.name.c_str());
        EXPECT_EQ(std::string(node.getName()), c.stored);
    }
}

TEST_F(SceneNodeTest, NullNamesAndTagsChangeNothing) {
    PlainNode node;
    node.setName("keep");
    node.setTag("OSNM");
    node.setName(nullptr);
    node.setTag(nullptr);
    EXPECT_STREQ(node.getName(), "keep");
    EXPECT_STREQ(node.getTag(), "OSNM");
}

TEST_F(SceneNodeTest, ANodeCanBeGivenItsOwnName) {
    PlainNode node;
    node.setName("twin");
    node.setName(node.getName());
    EXPECT_STREQ(node.getName(), "twin");
}

TEST_F(SceneNodeTest, TagsKeepFourCharactersAndClearTheRest) {
    PlainNode node;
    node.setTag("OSNMXYZ");
    EXPECT_STREQ(node.getTag(), "OSNM");
    node.setTag("AB");
    EXPECT_EQ(std::memcmp(node.getTag(), "AB\0\0\0", 5), 0);
}

TEST_F(SceneNodeTest, KindsHoldTheClassChainBaseFirst) {
    NamedNode named;
    PlainNode plain;
    EXPECT_EQ(named.kindCodes(), (std::vector<int>{ORV_KIND_NODE, kPlainKind, kNamedKind}));
    EXPECT_EQ(named.isKindOf(ORV_KIND_NODE), 1);
    EXPECT_EQ(named.isKindOf(kPlainKind), 1);
    EXPECT_EQ(named.isKindOf(kNamedKind), 1);
    EXPECT_EQ(named.isKindOf(ORV_KIND_SCENE_OBJECT), 0);
    EXPECT_EQ(plain.isKindOf(kNamedKind), 0);
}

// A parent with children a and b, where a has a child c, all from the manager.
struct Tree {
    explicit Tree(OrvSceneNodeMgr* manager)
        : parent(static_cast<PlainNode*>(manager->createNode(kPlainType, "parent"))),
          a(static_cast<PlainNode*>(manager->createNode(kPlainType, "a"))),
          b(static_cast<PlainNode*>(manager->createNode(kPlainType, "b"))),
          c(static_cast<PlainNode*>(manager->createNode(kPlainType, "c"))) {
        parent->adopt(a);
        parent->adopt(b);
        a->adopt(c);
    }

    PlainNode* parent;
    PlainNode* a;
    PlainNode* b;
    PlainNode* c;
};

TEST_F(SceneNodeTest, DetachAllChildrenEmptiesTheSubtreeAndDeletesNothing) {
    Tree tree(manager);
    tree.parent->detachAllChildren(nullptr);

    EXPECT_EQ(tree.parent->childCount(), 0);
    EXPECT_EQ(tree.a->childCount(), 0);
    for (OrvSceneNode* node : {tree.parent, tree.a, tree.b, tree.c}) {
        EXPECT_EQ(manager->isNode(node), 1);
    }
}

TEST_F(SceneNodeTest, DetachAllChildrenWithARootLeavesTheCallerAlone) {
    Tree tree(manager);
    tree.b->detachAllChildren(tree.a);

    EXPECT_EQ(tree.a->childCount(), 0);
    EXPECT_EQ(tree.parent->childCount(), 2);
}

TEST_F(SceneNodeTest, DestroyAllChildrenDestroysChildrenBeforeParents) {
    Tree tree(manager);
    const std::vector<std::string> expected = {
        debugLine("OrvSceneNodeMgr::destroyNode(): " + nodeText(tree.c) + " destroyed ok."),
        debugLine("OrvSceneNodeMgr::destroyNode(): " + nodeText(tree.a) + " destroyed ok."),
        debugLine("OrvSceneNodeMgr::destroyNode(): " + nodeText(tree.b) + " destroyed ok.")};
    clearLog();

    tree.parent->destroyAllChildren(nullptr);

    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(tree.parent->childCount(), 0);
    EXPECT_EQ(manager->getNodeCount(), 1);
    EXPECT_EQ(manager->isNode(tree.parent), 1);
}

TEST_F(SceneNodeTest, DestroyAllChildrenWithARootDestroysOnlyItsSubtree) {
    Tree tree(manager);
    tree.b->destroyAllChildren(tree.a);

    EXPECT_EQ(manager->isNode(tree.c), 0);
    EXPECT_EQ(manager->getNodeCount(), 3);
    EXPECT_EQ(tree.a->childCount(), 0);
    EXPECT_EQ(tree.parent->childCount(), 2);
}

TEST_F(SceneNodeTest, NullChildrenAreSkipped) {
    auto* parent = static_cast<PlainNode*>(manager->createNode(kPlainType, "parent"));
    parent->adopt(nullptr);
    parent->adopt(nullptr);
    parent->destroyAllChildren(nullptr);
    EXPECT_EQ(parent->childCount(), 0);

    parent->adopt(nullptr);
    parent->detachAllChildren(nullptr);
    EXPECT_EQ(parent->childCount(), 0);
}

TEST_F(SceneNodeTest, DestroyingAParentKeepsItsChildren) {
    auto* parent = static_cast<PlainNode*>(manager->createNode(kPlainType, "parent"));
    OrvSceneNode* child = manager->createNode(kPlainType, "child");
    parent->adopt(child);
    manager->destroyNode(parent);

    EXPECT_EQ(manager->isNode(child), 1);
    EXPECT_STREQ(child->getName(), "child");
}

}  // namespace
