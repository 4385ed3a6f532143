// OrvLog: the engine's one text log, "Orvane.log" in the current directory.
// The single instance lives until the process ends; it is allocated with plain
// malloc so that it never appears in the allocator's leak report.
#pragma once

#include <cstdint>
#include <cstdio>

typedef void (*OrvLogListener)(int level, const char* format, void* user);

class OrvLog {
  public:
    enum Level { CRITICAL = 1, WARNING = 2, NORMAL = 4, DEBUG = 8, DETAILED_DEBUG = 16 };
    enum Output { OUTPUT_FILE = 1, OUTPUT_LISTENER = 2 };
    static constexpr int kBufferSize = 4096;
    static constexpr int kTimeTextLength = 25;

    static OrvLog* getInstance();

    void write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void setLevel(int maxLevel) { m_maxLevel = maxLevel; }
    int getLevel() const { return m_maxLevel; }
    void setOutputs(int mask) { m_outputs = static_cast<uint32_t>(mask); }
    void setListener(OrvLogListener listener, void* user);
    void enable() { m_flags |= kEnabled; }
    void close();

  private:
    static constexpr uint32_t kEnabled = 1;

    OrvLog();
    static const char* tagFor(int level);

    uint32_t m_flags;
    int32_t m_maxLevel;
    uint32_t m_outputs;
    FILE* m_file;
    OrvLogListener m_listener;
    void* m_listenerUser;
    char m_line[kBufferSize];
    char m_message[kBufferSize];
};
