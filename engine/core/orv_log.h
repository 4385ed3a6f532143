// OrvLog: the engine's one text log. The single instance lives until the
// process ends; it is allocated with plain malloc so that it never appears in
// the allocator's leak report.
//
// The file. Lines go to "Orvane.log" in the current directory unless the
// program names another with setPath; the engine reads no configuration from
// outside the program, so there is no environment variable for it. A relative
// path is taken from the current directory at the moment the file opens, which is at
// the first accepted line and again at the first line after close() or
// setPath(). The first open of a file in a process empties it (an old run's
// log goes); every later open of the same file appends, so a second
// OrvMain::init, or a line written after OrvMain::terminate, never destroys the
// session's log and leak report. Only the last file emptied is remembered: a
// program that moves the log to another file and back empties it again.
//
// The file is opened without blocking and must be a regular file, or a FIFO
// that a reader already holds open; anything else (a FIFO without a reader, a
// directory, a device, a folder the program cannot write to) is not opened.
// Then one WARNING line says so on standard error, the lines go on to the
// listener without the file, and the next line tries again. The standard
// error line comes once until the file opens or the path changes.
//
// The listener. A program can hear every accepted line as well as, or instead
// of, the file: setListener installs a function and its user pointer, and the
// output mask selects it. With OUTPUT_LISTENER it gets the level and the format
// text as passed by the caller, placeholders unexpanded; adding
// OUTPUT_FORMATTED gives it the formatted message instead, without the tag,
// time and newline of the file's line:
//
//     OrvLog::getInstance()->setListener(showLine, window);
//     OrvLog::getInstance()->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER |
//                                       OrvLog::OUTPUT_FORMATTED);
//
// Threads. Every operation may be called from any thread; each line reaches
// the file whole, in one piece. The listener is called on the thread that
// wrote the line, after the log has let go of its lock, so it may write to the
// log itself or allocate (the allocator's traces come from inside operator
// new and delete); it must be safe to call from several threads at once when
// the program logs from several. A listener removed with setListener(nullptr,
// nullptr) may still be finishing a call on another thread.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>

typedef void (*OrvLogListener)(int level, const char* text, void* user);

class OrvLog {
  public:
    enum Level { CRITICAL = 1, WARNING = 2, NORMAL = 4, DEBUG = 8, DETAILED_DEBUG = 16 };
    enum Output { OUTPUT_FILE = 1, OUTPUT_LISTENER = 2, OUTPUT_FORMATTED = 4 };
    static constexpr int kBufferSize = 4096;
    static constexpr int kTimeTextLength = 25;

    static OrvLog* getInstance();

    void write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void setLevel(int maxLevel) { m_maxLevel.store(maxLevel, std::memory_order_relaxed); }
    int getLevel() const { return m_maxLevel.load(std::memory_order_relaxed); }
    void setOutputs(int mask) {
        m_outputs.store(static_cast<uint32_t>(mask), std::memory_order_relaxed);
    }
    void setListener(OrvLogListener listener, void* user);
    void enable() { m_flags.fetch_or(kEnabled, std::memory_order_relaxed); }
    void close();

    // Chooses the log file; null or "" goes back to the default.
    // An open file is closed so that the next line goes to the new one. Gives
    // -1 and changes nothing for a path of kBufferSize characters or more.
    int setPath(const char* path);

  private:
    static constexpr uint32_t kEnabled = 1;

    // The listener as it was when a line was written, called once the lock is
    // released.
    struct Hearing {
        OrvLogListener listener;
        void* user;
        const char* text;
    };

    OrvLog();
    static const char* tagFor(int level);
    bool accepts(int level, const char* format) const;
    size_t _composeLine(int level, const char* format, va_list args);
    Hearing _hearing(uint32_t outputs, const char* format, char* copy) const;
    void _warnOnStandardError(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const char* _currentPath() const;
    void _openFile();
    FILE* _openWithoutBlocking(const char* path, const char** reason);
    void _emptyAtFirstOpen(int fd, const char* path);
    bool _writeLine(size_t length);
    void _writeToFile(size_t length);
    void _writeToFifo(size_t length);
    void _closeFile();

    std::atomic<uint32_t> m_flags;
    std::atomic<int32_t> m_maxLevel;
    std::atomic<uint32_t> m_outputs;
    FILE* m_file;
    OrvLogListener m_listener;
    void* m_listenerUser;
    char m_line[kBufferSize];
    char m_message[kBufferSize];

    // Guards everything that is not atomic: the file, the listener, the
    // buffers and the path. It is held only around the C library's own calls,
    // never while the listener runs, so it never nests inside itself or around
    // the allocator's lock, which is taken before it when the allocator logs.
    std::mutex m_lock;
    char m_path[kBufferSize];
    // Where the file last emptied was, as an absolute path.
    char m_emptiedPath[2 * kBufferSize];
    bool m_fileIsFifo;
    bool m_openFailureReported;
};
