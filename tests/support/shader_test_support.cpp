#include "shader_test_support.h"

#include <fstream>

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
