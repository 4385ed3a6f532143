#include "shader_test_support.h"

#include <fstream>

std::string warningLine(const std::string& message) {
    return "<!>[WARNING]#" + message;
}

std::string debugLine(const std::string& message) {
    return "<*>[DEBUG]#" + message;
}

std::vector<std::string> taggedLines(const OrvTestLog& log) {
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

int countStartingWith(const OrvTestLog& log, const std::string& prefix) {
    int count = 0;
    for (const std::string& line : taggedLines(log)) {
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return count;
}

std::string writeFile(const std::string& folder, const std::string& name,
                      const std::string& bytes) {
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}
