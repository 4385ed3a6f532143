// OrvLog::write with long and odd messages and any level: each accepted line
// is read back from "Orvane.log" and compared with what it must hold: the
// level's tag, 24 characters of time and "#", the message cut to what the
// line buffer holds, one newline. A rejected line creates no file.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "orv_fuzz_support.h"
#include "core/orv_log.h"

namespace {

const int kLevels[] = {OrvLog::CRITICAL,
                       OrvLog::WARNING,
                       OrvLog::NORMAL,
                       OrvLog::DEBUG,
                       OrvLog::DETAILED_DEBUG,
                       0,
                       3,
                       -1,
                       32,
                       INT32_MIN,
                       INT32_MAX};

struct Heard {
    int calls = 0;
    int level = 0;
    const char* format = nullptr;
};
Heard g_heard;

void listen(int level, const char* format, void*) {
    ++g_heard.calls;
    g_heard.level = level;
    g_heard.format = format;
}

std::string tagOf(int level) {
    switch (level) {
        case OrvLog::CRITICAL:
            return "<!!>[CRITICAL]#";
        case OrvLog::WARNING:
            return "<!>[WARNING]#";
        case OrvLog::NORMAL:
            return "<->[NORMAL]#";
        case OrvLog::DEBUG:
            return "<*>[DEBUG]#";
        case OrvLog::DETAILED_DEBUG:
            return "<**>[DETAILED_DEBUG]#";
        default:
            return "";
    }
}

// Every '%' doubled, so that the text is a format that prints itself.
std::string asFormat(const std::string& text) {
    std::string format;
    for (char c : text) {
        format += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return format;
}

std::string readLog() {
    std::ifstream in("Orvane.log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes one line in one of several forms and returns the message it must
// show before any cut; format is set to what was passed (null included).
std::string writeLine(FuzzedDataProvider& input, int level, const char** format) {
    const std::string first = input.ConsumeRandomLengthString(12000);
    const std::string second = input.ConsumeRandomLengthString(6000);
    OrvLog* log = OrvLog::getInstance();
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            *format = "%s";
            log->write(level, *format, first.c_str());
            return first.c_str();
        case 1: {
            *format = "%s|%d|%s";
            const int number = input.ConsumeIntegral<int>();
            log->write(level, *format, first.c_str(), number, second.c_str());
            return std::string(first.c_str()) + "|" + std::to_string(number) + "|" + second.c_str();
        }
        case 2: {
            static std::string own;
            own = asFormat(first.c_str());
            *format = own.c_str();
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-security"
            // The text is a format that prints itself.
            log->write(level, *format);
#pragma clang diagnostic pop
            return first.c_str();
        }
        default:
            *format = nullptr;
            log->write(level, nullptr);
            return "";
    }
}

void checkLine(const std::string& line, int level, const std::string& message) {
    const std::string tag = tagOf(level);
    const size_t room = OrvLog::kBufferSize - 2 - tag.size() - OrvLog::kTimeTextLength;
    const std::string kept = message.substr(0, std::min<size_t>(room, OrvLog::kBufferSize - 1));
    const size_t timeEnd = tag.size() + OrvLog::kTimeTextLength;
    orvFuzzCheck(line.size() == timeEnd + kept.size() + 1, "line length");
    orvFuzzCheck(line.compare(0, tag.size(), tag) == 0, "tag");
    orvFuzzCheck(line[timeEnd - 1] == '#', "time separator");
    orvFuzzCheck(line.compare(timeEnd, kept.size(), kept) == 0, "message");
    orvFuzzCheck(line.back() == '\n', "newline");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/orvane-fuzz-log-XXXXXX";
    orvFuzzCheck(mkdtemp(folder) != nullptr && chdir(folder) == 0, "temporary folder");
    OrvLog::getInstance()->setListener(listen, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    OrvLog* log = OrvLog::getInstance();
    const int maxLevel = input.PickValueInArray(kLevels);
    const int level = input.PickValueInArray(kLevels);
    log->setLevel(maxLevel);
    log->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER);
    log->close();
    std::remove("Orvane.log");
    g_heard = Heard();

    const char* format = nullptr;
    const std::string message = writeLine(input, level, &format);
    log->close();
    const bool accepted = level <= maxLevel && format != nullptr;
    const bool exists = access("Orvane.log", F_OK) == 0;
    orvFuzzCheck(exists == accepted, "a file exactly for an accepted line");
    if (accepted) {
        checkLine(readLog(), level, message);
        orvFuzzCheck(g_heard.calls >= 1 && g_heard.level == level && g_heard.format == format,
                     "the listener hears the level and the unexpanded format");
    }
    return 0;
}
