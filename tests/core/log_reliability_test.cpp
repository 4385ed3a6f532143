// The log under misuse: several threads at once, a FIFO or a folder in place
// of the file, lines after close(), a path chosen by the program or the
// environment, and a listener that hears each formatted line.
//
// The thread tests also run cleanly under ThreadSanitizer (a build with
// -fsanitize=thread instead of ORVANE_SANITIZE); they only need the log and
// the allocator's traces.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/orv_log.h"
#include "core/orv_memory_allocator.h"
#include "orv_test_log.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNormalTag = "<->[NORMAL]#";
constexpr const char* kTraceTag = "<**>[DETAILED_DEBUG]#";
constexpr const char* kTracePrefix = "OrvMemoryAllocator::";

// Only a guard against a hung log; a healthy run takes milliseconds.
constexpr auto kHangLimit = std::chrono::seconds(10);

// Starts `count` threads that run `work` with their index as close together as
// possible, and waits for all of them.
void runTogether(int count, const std::function<void(int)>& work) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&, i] {
            ready.fetch_add(1);
            while (ready.load() < count) {
                std::this_thread::yield();
            }
            work(i);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

// Runs `work` on a thread of its own. When it has not ended within the limit,
// `release` is called to free it and the answer is false.
bool endsInTime(const std::function<void()>& work, const std::function<void()>& release) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        work();
        done.store(true);
    });
    auto end = std::chrono::steady_clock::now() + kHangLimit;
    while (!done.load() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    bool inTime = done.load();
    if (!inTime) {
        release();
    }
    thread.join();
    return inTime;
}

int openDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const fs::directory_entry& entry :
         fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// True for a whole line of the file: one known tag, 24 characters of time,
// "#", then a message holding no other line's tag.
bool isWholeLine(const std::string& line) {
    for (const char* tag : {kNormalTag, kTraceTag}) {
        size_t tagLength = std::strlen(tag);
        if (line.compare(0, tagLength, tag) == 0) {
            return line.size() > tagLength + 25 && line[tagLength + 24] == '#' &&
                   line.find("]#", tagLength) == std::string::npos;
        }
    }
    return false;
}

std::vector<std::string> fileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// Each test restores what it may change on the single log.
class OrvLogReliabilityTest : public ::testing::Test {
  protected:
    void TearDown() override {
        OrvLog* log = OrvLog::getInstance();
        log->setListener(nullptr, nullptr);
        log->setPath(nullptr);
    }
};

struct HeardLines {
    std::atomic<int> count{0};
};

// Allocates, as a program's listener would, so that the allocator's lock is
// taken from inside the listener while other threads log.
void countHeardLine(int, const char* text, void* user) {
    std::string copy(text);
    static_cast<HeardLines*>(user)->count.fetch_add(copy.empty() ? 0 : 1);
}

TEST_F(OrvLogReliabilityTest, LinesFromSeveralThreadsStayWholeAndInOrder) {
    constexpr int kWriters = 3;
    constexpr int kLinesEach = 4000;
    constexpr int kAllocations = 500;
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    OrvLog* log = OrvLog::getInstance();
    HeardLines heard;
    log->setListener(countHeardLine, &heard);
    log->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER | OrvLog::OUTPUT_FORMATTED);

    // The last thread allocates: every tracked block gives two trace lines.
    runTogether(kWriters + 1, [&](int thread) {
        for (int i = 0; thread < kWriters && i < kLinesEach; ++i) {
            log->write(OrvLog::NORMAL, "thread %d line %d", thread, i);
        }
        for (int i = 0; thread == kWriters && i < kAllocations; ++i) {
            delete[] ORV_NEW char[16];
        }
    });
    log->close();

    std::vector<int> nextLine(kWriters, 0);
    int traces = 0;
    std::vector<std::string> lines = fileLines(capture.path());
    for (const std::string& line : lines) {
        ASSERT_TRUE(isWholeLine(line)) << line;
        std::string message = OrvTestLog::messageOf(line);
        if (message.rfind(kTracePrefix, 0) == 0) {
            ++traces;
            continue;
        }
        int thread = -1;
        int index = -1;
        ASSERT_EQ(std::sscanf(message.c_str(), "thread %d line %d", &thread, &index), 2) << line;
        ASSERT_TRUE(thread >= 0 && thread < kWriters) << line;
        ASSERT_EQ(index, nextLine[thread]++) << line;
    }
    EXPECT_EQ(nextLine, std::vector<int>(kWriters, kLinesEach));
    EXPECT_EQ(traces, 2 * kAllocations);
    EXPECT_EQ(heard.count.load(), static_cast<int>(lines.size()));
}

TEST_F(OrvLogReliabilityTest, FirstLinesOnSeveralThreadsOpenOneFile) {
    constexpr int kRounds = 40;
    constexpr int kThreads = 4;
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    int descriptorsBefore = openDescriptorCount();

    // Each round starts with the file closed, so every thread's line may be
    // the one that opens it.
    for (int round = 0; round < kRounds; ++round) {
        log->close();
        runTogether(kThreads, [&](int thread) {
            log->write(OrvLog::NORMAL, "round %d thread %d", round, thread);
        });
    }
    log->close();

    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
    std::vector<std::string> messages = capture.messages();
    EXPECT_EQ(messages.size(), static_cast<size_t>(kRounds * kThreads));
    EXPECT_EQ(messages.front().rfind("round 0 ", 0), 0u) << messages.front();
}

// The engine's stop and start, as far as they reach the log and the
// allocator, looping on one thread while two others allocate at level 16.
TEST_F(OrvLogReliabilityTest, StopAndStartWhileOthersAllocateNeverDeadlock) {
    constexpr int kCycles = 150;
    OrvTestLog capture(OrvLog::DETAILED_DEBUG);
    OrvLog* log = OrvLog::getInstance();
    std::atomic<bool> stopping{false};

    bool ended = endsInTime(
        [&] {
            runTogether(3, [&](int thread) {
                while (thread > 0 && !stopping.load()) {
                    delete[] ORV_NEW char[32];
                }
                for (int cycle = 0; thread == 0 && cycle < kCycles; ++cycle) {
                    log->write(OrvLog::NORMAL, "Orvane - init ok.");
                    OrvMemoryAllocator::dumpMemoryLeaks();
                    OrvMemoryAllocator::terminate();
                    log->write(OrvLog::NORMAL, "Orvane - terminate ok.");
                    log->close();
                }
                stopping.store(true);
            });
        },
        [] {
            ADD_FAILURE() << "the log deadlocked; nothing can end the stuck threads";
            std::abort();
        });
    ASSERT_TRUE(ended);

    int stops = 0;
    for (const std::string& line : fileLines(capture.path())) {
        ASSERT_TRUE(isWholeLine(line)) << line;
        stops += OrvTestLog::messageOf(line) == "Orvane - terminate ok." ? 1 : 0;
    }
    // Every cycle's lines stay: reopening after close() appends.
    EXPECT_EQ(stops, kCycles);
}

TEST_F(OrvLogReliabilityTest, LinesAfterCloseAppendToTheSessionsLog) {
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    // A session, a second session in the same process, then a stray line after
    // the last stop (a second terminate). Only the first open empties the file
    // (OrvLogTest.FirstAcceptedLineTruncatesAnOldLog).
    log->write(OrvLog::NORMAL, "Orvane - terminate ok.");
    log->close();
    log->write(OrvLog::NORMAL, "Orvane - init ok.");
    log->close();
    log->write(OrvLog::NORMAL, "Orvane - terminate ok.");
    log->close();

    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"Orvane - terminate ok.", "Orvane - init ok.",
                                        "Orvane - terminate ok."}));
}

std::string openFailureLine(const std::string& path, const std::string& reason) {
    return "OrvLog::write(): Could not open log file [" + path + "] (" + reason +
           "); lines are not written to it.\n";
}

// Writes two lines and gives what standard error heard meanwhile.
std::string standardErrorOfTwoLines() {
    testing::internal::CaptureStderr();
    OrvLog::getInstance()->write(OrvLog::NORMAL, "first");
    OrvLog::getInstance()->write(OrvLog::NORMAL, "second");
    return testing::internal::GetCapturedStderr();
}

// The test runs as root on the build machines, where a folder without write
// permission is still writable; a missing folder stands in for it.
TEST_F(OrvLogReliabilityTest, AFileThatCannotBeOpenedIsReportedOnceOnStandardError) {
    struct Case {
        const char* name;
        std::function<std::string(const OrvTestLog&)> prepare;
        const char* reason;
    };
    const Case cases[] = {
        {"folder that is not there",
         [](const OrvTestLog& capture) {
             std::string path = capture.dir() + "/missing/Orvane.log";
             OrvLog::getInstance()->setPath(path.c_str());
             return path;
         },
         "No such file or directory"},
        {"directory in place of the file",
         [](const OrvTestLog& capture) {
             mkdir(capture.path().c_str(), 0700);
             return std::string("Orvane.log");
         },
         "Is a directory"},
        {"FIFO without a reader",
         [](const OrvTestLog& capture) {
             mkfifo(capture.path().c_str(), 0600);
             return std::string("Orvane.log");
         },
         "a FIFO without a reader"},
        {"device",
         [](const OrvTestLog&) {
             OrvLog::getInstance()->setPath("/dev/null");
             return std::string("/dev/null");
         },
         "neither a regular file nor a FIFO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrvTestLog capture;
        std::string path = c.prepare(capture);
        std::string heard;
        // A FIFO that blocks the open is freed by becoming its reader.
        int reader = -1;
        bool ended = endsInTime([&] { heard = standardErrorOfTwoLines(); },
                                [&] { reader = open(capture.path().c_str(), O_RDONLY); });
        if (reader >= 0) {
            close(reader);
        }
        ASSERT_TRUE(ended);
        // One line, whole, for two lines that found no file.
        EXPECT_EQ(heard.rfind("<!>[WARNING]#", 0), 0u) << heard;
        EXPECT_EQ(OrvTestLog::messageOf(heard), openFailureLine(path, c.reason));
        EXPECT_FALSE(fs::is_regular_file(capture.path()));
        OrvLog::getInstance()->setPath(nullptr);
    }
}

TEST_F(OrvLogReliabilityTest, AFifoWithAReaderGetsTheLinesAndItsReaderMayLeave) {
    OrvTestLog capture;
    ASSERT_EQ(mkfifo(capture.path().c_str(), 0600), 0);
    int reader = open(capture.path().c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::NORMAL, "to the reader");

    char buffer[256] = {};
    ssize_t got = read(reader, buffer, sizeof(buffer) - 1);
    ASSERT_GT(got, 0);
    EXPECT_EQ(OrvTestLog::messageOf(buffer), "to the reader\n");

    // Writing into a FIFO whose reader has gone raises SIGPIPE, which must not
    // end the program; the next line finds no reader and says so once.
    close(reader);
    testing::internal::CaptureStderr();
    log->write(OrvLog::NORMAL, "nobody reads this");
    log->write(OrvLog::NORMAL, "nor this");
    std::string heard = testing::internal::GetCapturedStderr();
    EXPECT_EQ(OrvTestLog::messageOf(heard),
              openFailureLine("Orvane.log", "a FIFO without a reader"));
}

TEST_F(OrvLogReliabilityTest, TheFileIsTheProgramsChoiceElseTheDefault) {
    struct Case {
        const char* chosen;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "Orvane.log"},
        {"", "Orvane.log"},
        {"chosen.log", "chosen.log"},
        {"sub/chosen.log", "sub/chosen.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen ? c.chosen : "(null)");
        OrvTestLog capture;
        fs::create_directory(capture.dir() + "/sub");
        OrvLog* log = OrvLog::getInstance();
        ASSERT_EQ(log->setPath(c.chosen), 0);
        log->write(OrvLog::NORMAL, "where am I");
        log->close();

        std::vector<std::string> files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(capture.dir())) {
            if (entry.is_regular_file()) {
                files.push_back(fs::relative(entry.path(), capture.dir()).string());
            }
        }
        EXPECT_EQ(files, std::vector<std::string>{c.expected});
        EXPECT_EQ(fileLines(capture.dir() + "/" + c.expected).size(), 1u);
    }
}

TEST_F(OrvLogReliabilityTest, ChoosingAPathMovesAnOpenLogAndATooLongOneIsRefused) {
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::NORMAL, "in the default file");
    ASSERT_EQ(log->setPath("moved.log"), 0);
    log->write(OrvLog::NORMAL, "in the chosen file");

    std::string tooLong(OrvLog::kBufferSize, 'a');
    EXPECT_EQ(log->setPath(tooLong.c_str()), -1);
    log->close();

    EXPECT_EQ(capture.messages(), std::vector<std::string>{"in the default file"});
    std::vector<std::string> moved = fileLines(capture.dir() + "/moved.log");
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(OrvTestLog::messageOf(moved[0]), "in the chosen file");
    EXPECT_EQ(moved[1].rfind("<!>[WARNING]#", 0), 0u);
    EXPECT_EQ(OrvTestLog::messageOf(moved[1]),
              "OrvLog::setPath(): Path too long; the log file stays where it was.");
}

}  // namespace
