#include "scene_test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

LogCapture::LogCapture(int level)
    : previousDir(std::filesystem::current_path()),
      previousLevel(OrvLog::getInstance()->getLevel()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane_scene_XXXXXX");
    dir = mkdtemp(pattern.data());
    std::filesystem::current_path(dir);
    // The log opens its file again at the next line, now in this directory.
    OrvLog::getInstance()->close();
    OrvLog::getInstance()->setLevel(level);
}

LogCapture::~LogCapture() {
    OrvLog::getInstance()->close();
    OrvLog::getInstance()->setLevel(previousLevel);
    std::filesystem::current_path(previousDir);
    std::filesystem::remove_all(dir);
}

void LogCapture::clear() {
    OrvLog::getInstance()->close();
    std::filesystem::remove(dir / "Orvane.log");
}

std::vector<std::string> LogCapture::lines() const {
    std::vector<std::string> result;
    std::ifstream file(dir / "Orvane.log");
    std::string line;
    while (std::getline(file, line)) {
        // The tag ends at its "#"; 24 characters of time and a "#" follow.
        size_t tagEnd = line.find('#') + 1;
        result.push_back(line.substr(0, tagEnd) + line.substr(tagEnd + OrvLog::kTimeTextLength));
    }
    return result;
}

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
    log.clear();
}

void SceneTest::TearDown() {
    // Deletes what a test left, before its creators go out of scope.
    manager->terminate();
}
