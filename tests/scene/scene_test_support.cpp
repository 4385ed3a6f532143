#include "scene_test_support.h"

#include <filesystem>

std::string nodeText(const OrvSceneNode* node) {
    return std::string("node ") + node->getTypeName() + " [" + std::to_string(node->getId()) +
           "][" + node->getName() + "]";
}

std::vector<int> PlainNode::kindCodes() {
    std::vector<int> codes;
    for (OrvLinkedListNode* n = kinds.first(0); n != nullptr; n = kinds.next()) {
        codes.push_back(static_cast<OrvSceneNodeKind*>(n->data)->code);
    }
    return codes;
}

void NamedNode::setName(const char* newName) {
    OrvSceneNode::setName(newName);
    ++setNameCalls;
    recordName = getName();
}

void NodeManagerTest::SetUp() {
    manager->init();
    manager->registerCreator(&plainCreator);
    manager->registerCreator(&namedCreator);
    clearLog();
}

void NodeManagerTest::TearDown() {
    // Deletes what a test left, before its creators go out of scope.
    manager->terminate();
}

void NodeManagerTest::clearLog() {
    // The log opens its file again, emptied, at the next line.
    OrvLog::getInstance()->close();
    std::filesystem::remove(log.path());
}
