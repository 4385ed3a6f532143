// Helpers shared by the scene tests: small node classes, a creator for them,
// and a fixture with the node manager and the log captured.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orv_logged_test.h"
#include "orvane.h"

// "node <type> [<id>][<name>]", the way the manager's lines name a node.
std::string nodeText(const OrvSceneNode* node);

inline constexpr char kPlainType[] = "TEST_NODE_PLAIN";
inline constexpr char kNamedType[] = "TEST_NODE_NAMED";
inline constexpr int kPlainKind = 40;
inline constexpr int kNamedKind = 41;

// A node class right below the base; it keeps the default "node_%d" and lets
// tests build child lists, which the engine itself never fills.
class PlainNode : public OrvSceneNode {
  public:
    PlainNode() { addKind(kPlainKind); }

    int getTypeId() const override { return kPlainKind; }
    const char* getTypeName() const override { return kPlainType; }
    void reset() override {}
    void release() override {}
    void apply() override {}
    void update(float) override {}

    void adopt(OrvSceneNode* child) { children.add(child); }
    int childCount() const { return children.getCount(); }
    std::vector<int> kindCodes();
};

// One class further down, with a default name of its own and a second copy of
// the name, as node classes that keep their name in a data record have.
class NamedNode : public PlainNode {
  public:
    NamedNode() {
        addKind(kNamedKind);
        setDefaultName("named");
    }

    int getTypeId() const override { return kNamedKind; }
    const char* getTypeName() const override { return kNamedType; }
    void setName(const char* newName) override;

    int setNameCalls = 0;
    std::string recordName;
};

template <typename Node>
class TestCreator : public OrvSceneNodeCreator {
  public:
    explicit TestCreator(const char* typeName) : typeName(typeName) {}

    OrvSceneNode* createNode() override { return ORV_NEW Node(); }
    const char* getTypeName() const override { return typeName; }

  private:
    const char* typeName;
};

// A fresh node manager with the two test creators registered, and the log
// captured at the DEBUG level, emptied once the set-up lines are written.
class NodeManagerTest : public OrvLoggedTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Forgets every line written so far.
    void clearLog();
    // The lines written since the last clearLog, each as its level tag
    // followed directly by the message: the time text between them is dropped.
    std::vector<std::string> logLines() const { return taggedLines(log); }

    OrvSceneNodeMgr* manager = OrvSceneNodeMgr::getInstance();
    TestCreator<PlainNode> plainCreator{kPlainType};
    TestCreator<NamedNode> namedCreator{kNamedType};
};
