// The log composes each line in the object's own buffers under its lock, so
// accepted lines allocate nothing and rejected ones return after a few
// comparisons. The listener is called once the lock is released.
#include "core/orv_log.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "core/orv_string.h"

namespace {

constexpr const char* kDefaultFileName = "Orvane.log";

// Writes `path` made absolute against the current directory into `out`; false
// when the current directory is unknown or the result does not fit.
bool absolutePath(const char* path, char* out, size_t size) {
    if (path[0] == '/') {
        return static_cast<size_t>(std::snprintf(out, size, "%s", path)) < size;
    }
    if (getcwd(out, size) == nullptr) {
        return false;
    }
    size_t used = std::strlen(out);
    return static_cast<size_t>(std::snprintf(out + used, size - used, "/%s", path)) < size - used;
}

bool isPipeSignalPending() {
    sigset_t pending;
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}

}  // namespace

OrvLog* OrvLog::getInstance() {
    // Plain malloc keeps the log out of the leak report, and the object is
    // never destroyed so that shutdown can write to it until the very end.
    static OrvLog* instance = new (std::malloc(sizeof(OrvLog))) OrvLog();
    return instance;
}

OrvLog::OrvLog()
    : m_flags(0),
      m_maxLevel(NORMAL),
      m_outputs(OUTPUT_FILE),
      m_file(nullptr),
      m_listener(nullptr),
      m_listenerUser(nullptr),
      m_fileIsFifo(false),
      m_openFailureReported(false) {
    std::memset(m_line, 0, sizeof(m_line));
    std::memset(m_message, 0, sizeof(m_message));
    std::memset(m_path, 0, sizeof(m_path));
    std::memset(m_emptiedPath, 0, sizeof(m_emptiedPath));
    enable();
}

const char* OrvLog::tagFor(int level) {
    switch (level) {
        case CRITICAL:
            return "<!!>[CRITICAL]#";
        case WARNING:
            return "<!>[WARNING]#";
        case NORMAL:
            return "<->[NORMAL]#";
        case DEBUG:
            return "<*>[DEBUG]#";
        case DETAILED_DEBUG:
            return "<**>[DETAILED_DEBUG]#";
        default:
            return "";
    }
}

void OrvLog::setListener(OrvLogListener listener, void* user) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_listener = listener;
    m_listenerUser = user;
}

bool OrvLog::accepts(int level, const char* format) const {
    return (m_flags.load(std::memory_order_relaxed) & kEnabled) != 0 &&
           level <= m_maxLevel.load(std::memory_order_relaxed) && format != nullptr;
}

void OrvLog::write(int level, const char* format, ...) {
    if (!accepts(level, format)) {
        return;
    }
    const uint32_t outputs = m_outputs.load(std::memory_order_relaxed);
    char heardText[kBufferSize];
    Hearing hearing;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if ((outputs & OUTPUT_FILE) && m_file == nullptr) {
            _openFile();
        }
        va_list args;
        va_start(args, format);
        size_t length = _composeLine(level, format, args);
        va_end(args);
        if ((outputs & OUTPUT_FILE) && m_file != nullptr) {
            _writeToFile(length);
        }
        hearing = _hearing(outputs, format, heardText);
    }
    if (hearing.listener != nullptr) {
        hearing.listener(level, hearing.text, hearing.user);
    }
}

// Fills the line buffer with tag, time, message and newline; gives its length.
size_t OrvLog::_composeLine(int level, const char* format, va_list args) {
    std::memset(m_line, 0, sizeof(m_line));
    std::memset(m_message, 0, sizeof(m_message));

    size_t length = std::strlen(tagFor(level));
    std::memcpy(m_line, tagFor(level), length);

    // ctime gives 24 characters of local time and a newline; the newline
    // becomes the separator before the message.
    time_t now = std::time(nullptr);
    char timeText[64];
    if (ctime_r(&now, timeText) == nullptr || std::strlen(timeText) != kTimeTextLength) {
        std::memset(timeText, '?', kTimeTextLength);
    }
    timeText[kTimeTextLength - 1] = '#';
    std::memcpy(m_line + length, timeText, kTimeTextLength);
    length += kTimeTextLength;

    std::vsnprintf(m_message, sizeof(m_message), format, args);

    // A long message is cut so that the newline still fits in the line buffer.
    size_t messageLength = std::strlen(m_message);
    size_t room = sizeof(m_line) - 1 - length - 1;
    if (messageLength > room) {
        messageLength = room;
    }
    std::memcpy(m_line + length, m_message, messageLength);
    length += messageLength;
    m_line[length++] = '\n';
    return length;
}

// What the listener is to hear of the line just composed. The formatted text
// is copied out of the shared buffer, which other threads reuse as soon as the
// lock is released.
OrvLog::Hearing OrvLog::_hearing(uint32_t outputs, const char* format, char* copy) const {
    if (!(outputs & OUTPUT_LISTENER) || m_listener == nullptr) {
        return Hearing{nullptr, nullptr, nullptr};
    }
    if (!(outputs & OUTPUT_FORMATTED)) {
        return Hearing{m_listener, m_listenerUser, format};
    }
    std::memcpy(copy, m_message, sizeof(m_message));
    return Hearing{m_listener, m_listenerUser, copy};
}

void OrvLog::_warnOnStandardError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    size_t length = _composeLine(WARNING, format, args);
    va_end(args);
    std::fwrite(m_line, 1, length, stderr);
}

const char* OrvLog::_currentPath() const {
    if (m_path[0] != '\0') {
        return m_path;
    }
    return kDefaultFileName;
}

// A log that cannot be opened drops the file's part of the line; the next line
// tries again, and standard error hears of it once.
void OrvLog::_openFile() {
    const char* path = _currentPath();
    const char* reason = nullptr;
    m_file = _openWithoutBlocking(path, &reason);
    if (m_file != nullptr) {
        m_openFailureReported = false;
        return;
    }
    if (!m_openFailureReported) {
        m_openFailureReported = true;
        _warnOnStandardError(
            "OrvLog::write(): Could not open log file [%s] (%s); lines are not written to it.",
            path, reason);
    }
}

// A blocking open of a FIFO waits for a reader, possibly for ever; without
// blocking, a FIFO nobody reads refuses the writer with ENXIO instead.
FILE* OrvLog::_openWithoutBlocking(const char* path, const char** reason) {
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        *reason = errno == ENXIO ? "a FIFO without a reader" : std::strerror(errno);
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
        ::close(fd);
        *reason = "neither a regular file nor a FIFO";
        return nullptr;
    }
    m_fileIsFifo = S_ISFIFO(info.st_mode);
    if (!m_fileIsFifo) {
        _emptyAtFirstOpen(fd, path);
    }
    // From here on a slow reader of a FIFO makes the writer wait rather than
    // lose lines.
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) {
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    FILE* file = fdopen(fd, "a");
    if (file == nullptr) {
        *reason = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

// Only the first open of a file in this process empties it, so that reopening
// after close() appends to the session's log. When the file's absolute path
// cannot be told, the log appends: keeping old lines is the safe side.
void OrvLog::_emptyAtFirstOpen(int fd, const char* path) {
    char absolute[sizeof(m_emptiedPath)];
    if (!absolutePath(path, absolute, sizeof(absolute)) ||
        std::strcmp(absolute, m_emptiedPath) == 0) {
        return;
    }
    if (ftruncate(fd, 0) == 0) {
        std::memcpy(m_emptiedPath, absolute, sizeof(m_emptiedPath));
    }
}

bool OrvLog::_writeLine(size_t length) {
    bool written = std::fwrite(m_line, 1, length, m_file) == length;
    return std::fflush(m_file) == 0 && written;
}

void OrvLog::_writeToFile(size_t length) {
    if (!m_fileIsFifo) {
        _writeLine(length);
        return;
    }
    _writeToFifo(length);
}

// A FIFO whose reader has gone answers a write with SIGPIPE, which would end
// the process. The signal is held back while the line is written and, when
// the write fails, while the file is dropped (closing flushes again); a
// signal raised meanwhile is taken away. The next line opens the file again.
void OrvLog::_writeToFifo(size_t length) {
    sigset_t pipeOnly;
    sigset_t previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    bool pendingBefore = isPipeSignalPending();

    if (!_writeLine(length)) {
        _closeFile();
    }
    if (!pendingBefore && isPipeSignalPending()) {
        const timespec noWait = {0, 0};
        sigtimedwait(&pipeOnly, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void OrvLog::_closeFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void OrvLog::close() {
    std::lock_guard<std::mutex> lock(m_lock);
    _closeFile();
}

int OrvLog::setPath(const char* path) {
    size_t length = path != nullptr ? strnlen(path, sizeof(m_path)) : 0;
    if (length >= sizeof(m_path)) {
        write(WARNING, "OrvLog::setPath(): Path too long; the log file stays where it was.");
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    orvCopyBounded(m_path, sizeof(m_path), path != nullptr ? path : "");
    _closeFile();
    m_openFailureReported = false;
    return 0;
}
