/// @file
/// OrvLog, the engine's one text log, and the listener type that can hear it.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>

/// A function that hears the log's accepted lines: the line's Level, the text
/// (the caller's format text, or with OrvLog::OUTPUT_FORMATTED the formatted
/// message; valid only during the call) and the user pointer given to setListener.
typedef void (*OrvLogListener)(int level, const char* text, void* user);

/// OrvLog: the engine's one text log. The single instance lives until the
/// process ends; it is allocated with plain malloc so that it never appears in
/// the allocator's leak report.
///
/// The file. Lines go to "Orvane.log" in the current directory unless the
/// program names another with setPath; the engine reads no configuration from
/// outside the program, so there is no environment variable for it. A relative
/// path is taken from the current directory at the moment the file opens, which is at
/// the first accepted line and again at the first line after close() or
/// setPath(). The first open of a file in a process empties it (an old run's
/// log goes); every later open of the same file appends, so a second
/// OrvMain::init, or a line written after OrvMain::terminate, never destroys the
/// session's log and leak report. Only the last file emptied is remembered: a
/// program that moves the log to another file and back empties it again.
///
/// The file is opened without blocking and must be a regular file, or a FIFO
/// that a reader already holds open; anything else (a FIFO without a reader, a
/// directory, a device, a folder the program cannot write to) is not opened.
/// Then one WARNING line says so on standard error, the lines go on to the
/// listener without the file, and the next line tries again. The standard
/// error line comes once until the file opens or the path changes.
///
/// The listener. A program can hear every accepted line as well as, or instead
/// of, the file: setListener installs a function and its user pointer, and the
/// output mask selects it. With OUTPUT_LISTENER it gets the level and the format
/// text as passed by the caller, placeholders unexpanded; adding
/// OUTPUT_FORMATTED gives it the formatted message instead, without the tag,
/// time and newline of the file's line:
///
///     OrvLog::getInstance()->setListener(showLine, window);
///     OrvLog::getInstance()->setOutputs(OrvLog::OUTPUT_FILE | OrvLog::OUTPUT_LISTENER |
///                                       OrvLog::OUTPUT_FORMATTED);
///
/// Threads. Every operation may be called from any thread; each line reaches
/// the file whole, in one piece. The listener is called on the thread that
/// wrote the line, after the log has let go of its lock, so it may write to the
/// log itself or allocate (the allocator's traces come from inside operator
/// new and delete); it must be safe to call from several threads at once when
/// the program logs from several. A listener removed with setListener(nullptr,
/// nullptr) may still be finishing a call on another thread.
class OrvLog {
  public:
    /// How serious a line is, and its tag in the file. The values are compared as
    /// numbers, not as a mask: setLevel keeps a level and every smaller one. The
    /// allocator's traces and leak report are DETAILED_DEBUG lines.
    enum Level {
        CRITICAL = 1,        ///< Tagged `<!!>[CRITICAL]#`.
        WARNING = 2,         ///< Tagged `<!>[WARNING]#`.
        NORMAL = 4,          ///< Tagged `<->[NORMAL]#`; the level a new log keeps.
        DEBUG = 8,           ///< Tagged `<*>[DEBUG]#`.
        DETAILED_DEBUG = 16  ///< Tagged `<**>[DETAILED_DEBUG]#`.
    };
    /// Where accepted lines go, as a mask for setOutputs.
    enum Output {
        OUTPUT_FILE = 1,      ///< The log file; the only output of a new log.
        OUTPUT_LISTENER = 2,  ///< The listener, with the caller's format text.
        OUTPUT_FORMATTED = 4  ///< With OUTPUT_LISTENER: the listener gets the formatted message.
    };
    /// Bytes of a line (tag, time, message and newline; a longer message is cut to
    /// fit) and of a formatted message; a log file path must be shorter.
    static constexpr int kBufferSize = 4096;
    /// The time's share of a line: ctime's 24 characters of local time and `#`.
    static constexpr int kTimeTextLength = 25;

    /// The one log, made at the first call; never null and never destroyed.
    static OrvLog* getInstance();

    /// Writes a line of printf-style text at the level to the outputs selected.
    /// Nothing is written for a level above getLevel() or a null format.
    void write(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    /// The highest Level written; lines of a higher value are dropped. NORMAL at first.
    ///@{
    void setLevel(int maxLevel) { m_maxLevel.store(maxLevel, std::memory_order_relaxed); }
    int getLevel() const { return m_maxLevel.load(std::memory_order_relaxed); }
    ///@}
    /// Selects the outputs, a mask of Output values; 0 writes nowhere.
    void setOutputs(int mask) {
        m_outputs.store(static_cast<uint32_t>(mask), std::memory_order_relaxed);
    }
    /// Installs the function that hears lines when OUTPUT_LISTENER is selected, and
    /// the user pointer passed to it; a null listener hears nothing.
    void setListener(OrvLogListener listener, void* user);
    /// Lets the log accept lines. The log is enabled from the start and nothing
    /// disables it, so a call changes nothing.
    void enable() { m_flags.fetch_or(kEnabled, std::memory_order_relaxed); }
    /// Closes the file; the next accepted line opens it again and appends to it.
    void close();

    /// Chooses the log file; null or "" goes back to the default.
    /// An open file is closed so that the next line goes to the new one. Returns 0;
    /// gives -1 and changes nothing for a path of kBufferSize characters or more,
    /// with the WARNING line "OrvLog::setPath(): Path too long; the log file stays
    /// where it was."
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
