#include "scene_test_support.h"

#include <filesystem>
#include <fstream>

std::string debugLine(const std::string& message) {
    return "<*>[DEBUG]#" + message;
}

std::string warningLine(const std::string& message) {
    return "<!>[WARNING]#" + message;
}

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

void SceneTest::SetUp() {
    manager->init();
    manager->registerCreator(&plainCreator);
    manager->registerCreator(&namedCreator);
    clearLog();
}

void SceneTest::TearDown() {
    // Deletes what a test left, before its creators go out of scope.
    manager->terminate();
}

void SceneTest::clearLog() {
    // The log opens its file again, emptied, at the next line.
    OrvLog::getInstance()->close();
    std::filesystem::remove(log.path());
}

std::vector<std::string> SceneTest::logLines() const {
    std::vector<std::string> result;
    std::ifstream file(log.path());
    std::string line;
    while (std::getline(file, line)) {
        size_t tagEnd = line.find('#') + 1;
        result.push_back(line.substr(0, tagEnd) + OrvTestLog::messageOf(line));
    }
    return result;
}
