#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "core/orv_log.h"
#include "orv_test_log.h"

namespace {

// A line is the tag, 24 characters of ctime text, "#", the message, "\n".
void expectLineShape(const std::string& line, const std::string& tag, const std::string& message) {
    ASSERT_EQ(line.size(), tag.size() + 25 + message.size() + 1) << line;
    EXPECT_EQ(line.substr(0, tag.size()), tag);
    std::string time = line.substr(tag.size(), 24);
    EXPECT_EQ(time[3], ' ') << time;
    EXPECT_EQ(time[13], ':') << time;
    EXPECT_EQ(time[16], ':') << time;
    EXPECT_EQ(line[tag.size() + 24], '#');
    EXPECT_EQ(line.substr(tag.size() + 25, message.size()), message);
    EXPECT_EQ(line.back(), '\n');
}

TEST(OrvLogTest, LineShapePerLevel) {
    struct Case {
        int level;
        const char* tag;
    };
    const Case cases[] = {
        {OrvLog::CRITICAL, "<!!>[CRITICAL]#"},
        {OrvLog::WARNING, "<!>[WARNING]#"},
        {OrvLog::NORMAL, "<->[NORMAL]#"},
        {OrvLog::DEBUG, "<*>[DEBUG]#"},
        {OrvLog::DETAILED_DEBUG, "<**>[DETAILED_DEBUG]#"},
        // Levels that are not single known bits pass the filter with no tag.
        {3, ""},
        {0, ""},
        {-5, ""},
    };
    for (const Case& c : cases) {
        OrvTestLog capture(OrvLog::DETAILED_DEBUG);
        OrvLog::getInstance()->write(c.level, "value %d and %s", 42, "text");
        expectLineShape(capture.text(), c.tag, "value 42 and text");
    }
}

TEST(OrvLogTest, FirstAcceptedLineTruncatesAnOldLog) {
    OrvTestLog capture;
    {
        std::ofstream old(capture.path());
        old << "left over from an earlier run\n";
    }
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::NORMAL, "Orvane - init ok.");
    log->write(OrvLog::NORMAL, "second line");
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"Orvane - init ok.", "second line"}));
}

TEST(OrvLogTest, RejectedMessagesCreateNoFile) {
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    log->write(OrvLog::DEBUG, "filtered");
    log->write(OrvLog::DETAILED_DEBUG, "filtered");
    log->write(OrvLog::NORMAL, nullptr);
    EXPECT_FALSE(capture.exists());
}

TEST(OrvLogTest, EmbeddedNewlinesAreKeptAndOneIsAppended) {
    OrvTestLog capture;
    OrvLog::getInstance()->write(OrvLog::NORMAL, "a\nb");
    std::string text = capture.text();
    EXPECT_EQ(text.substr(text.size() - 4), "a\nb\n");
}

TEST(OrvLogTest, LongMessagesAreCutToTheLineBuffer) {
    OrvTestLog capture;
    std::string huge(3 * OrvLog::kBufferSize, 'x');
    OrvLog::getInstance()->write(OrvLog::WARNING, "%s", huge.c_str());
    OrvLog::getInstance()->write(OrvLog::WARNING, "next");
    std::string text = capture.text();
    size_t firstEnd = text.find('\n');
    // The whole line, newline included, fits the 4096-character buffer.
    EXPECT_EQ(firstEnd + 1, static_cast<size_t>(OrvLog::kBufferSize - 1));
    EXPECT_EQ(capture.messages().back(), "next");
}

TEST(OrvLogTest, UnopenableFileDropsTheLineAndRetriesLater) {
    OrvTestLog capture;
    // A directory in the way makes fopen fail.
    ASSERT_EQ(mkdir(capture.path().c_str(), 0700), 0);
    OrvLog::getInstance()->write(OrvLog::NORMAL, "lost");
    ASSERT_EQ(rmdir(capture.path().c_str()), 0);
    OrvLog::getInstance()->write(OrvLog::NORMAL, "kept");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"kept"});
}

struct ListenerRecord {
    int calls = 0;
    int level = 0;
    std::string text;
};

void recordListener(int level, const char* text, void* user) {
    ListenerRecord* record = static_cast<ListenerRecord*>(user);
    ++record->calls;
    record->level = level;
    record->text = text;
}

TEST(OrvLogTest, ListenerGetsTheUnformattedTextOnlyWhenSelected) {
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    ListenerRecord record;
    log->setListener(recordListener, &record);
    log->write(OrvLog::NORMAL, "file only %d", 1);
    EXPECT_EQ(record.calls, 0);

    log->setOutputs(OrvLog::OUTPUT_LISTENER);
    log->write(OrvLog::WARNING, "node %s [%d]", "a", 2);
    log->setListener(nullptr, nullptr);

    EXPECT_EQ(record.calls, 1);
    EXPECT_EQ(record.level, OrvLog::WARNING);
    EXPECT_EQ(record.text, "node %s [%d]");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"file only 1"});
}

TEST(OrvLogTest, ListenerHearsFormattedLinesAlongsideTheFileWhenAsked) {
    OrvTestLog capture;
    OrvLog* log = OrvLog::getInstance();
    ListenerRecord record;
    log->setListener(recordListener, &record);
    log->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER | OrvLog::OUTPUT_FORMATTED);
    log->write(OrvLog::WARNING, "node %s [%d][%s] created ok.", "box", 7, "mesh");
    log->write(OrvLog::DEBUG, "filtered %d", 8);
    log->setListener(nullptr, nullptr);

    EXPECT_EQ(record.calls, 1);
    EXPECT_EQ(record.level, OrvLog::WARNING);
    EXPECT_EQ(record.text, "node box [7][mesh] created ok.");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"node box [7][mesh] created ok."});
}

}  // namespace
