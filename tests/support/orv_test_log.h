// Test helper: runs a test inside a fresh temporary directory so that the
// engine's "Orvane.log" lands there, and reads the log back line by line;
// with the expected forms of its lines.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/orv_log.h"

class OrvTestLog {
  public:
    explicit OrvTestLog(int level = OrvLog::NORMAL) {
        char pattern[] = "/tmp/orvane-test-XXXXXX";
        m_dir = mkdtemp(pattern);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_dir);
        OrvLog* log = OrvLog::getInstance();
        log->close();
        log->setLevel(level);
        log->setOutputs(OrvLog::OUTPUT_FILE);
    }

    ~OrvTestLog() {
        OrvLog* log = OrvLog::getInstance();
        log->close();
        log->setLevel(OrvLog::NORMAL);
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    OrvTestLog(const OrvTestLog&) = delete;
    OrvTestLog& operator=(const OrvTestLog&) = delete;

    const std::string& dir() const { return m_dir; }
    std::string path() const { return m_dir + "/Orvane.log"; }
    bool exists() const { return std::filesystem::exists(path()); }

    std::string text() const {
        std::ifstream in(path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The messages of the log's lines: the part after the tag, the 24
    // characters of time and the "#".
    std::vector<std::string> messages() const {
        std::vector<std::string> result;
        std::ifstream in(path());
        std::string line;
        while (std::getline(in, line)) {
            result.push_back(messageOf(line));
        }
        return result;
    }

    static std::string messageOf(const std::string& line) {
        size_t tagEnd = line.find("]#");
        size_t timeStart = tagEnd == std::string::npos ? 0 : tagEnd + 2;
        return timeStart + 25 <= line.size() ? line.substr(timeStart + 25) : std::string();
    }

    // The messages that contain the text, in order.
    std::vector<std::string> messagesWith(const std::string& text) const {
        std::vector<std::string> result;
        for (const std::string& message : messages()) {
            if (message.find(text) != std::string::npos) {
                result.push_back(message);
            }
        }
        return result;
    }

    bool contains(const std::string& message) const {
        for (const std::string& m : messages()) {
            if (m == message) {
                return true;
            }
        }
        return false;
    }

  private:
    std::string m_dir;
    std::filesystem::path m_previous;
};

// "<*>[DEBUG]#" followed by the message.
inline std::string debugLine(const std::string& message) {
    return "<*>[DEBUG]#" + message;
}

// "<!>[WARNING]#" followed by the message.
inline std::string warningLine(const std::string& message) {
    return "<!>[WARNING]#" + message;
}

// The lines of the log, each as its level tag followed directly by the
// message (the time text between them dropped). A message that holds a line
// break (a compiler log) goes on as lines of its own.
inline std::vector<std::string> taggedLines(const OrvTestLog& log) {
    std::vector<std::string> result;
    std::ifstream file(log.path());
    std::string line;
    while (std::getline(file, line)) {
        size_t tagEnd = line.find("]#");
        if (line.rfind("<", 0) != 0 || tagEnd == std::string::npos) {
            result.push_back(line);
            continue;
        }
        result.push_back(line.substr(0, tagEnd + 2) + OrvTestLog::messageOf(line));
    }
    return result;
}
