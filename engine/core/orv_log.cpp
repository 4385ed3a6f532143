// The log composes each line in the object's own buffers, so accepted lines
// allocate nothing and rejected ones return after a few comparisons.
#include "core/orv_log.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

namespace {
constexpr const char* kLogFileName = "Orvane.log";
}

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
      m_listenerUser(nullptr) {
    std::memset(m_line, 0, sizeof(m_line));
    std::memset(m_message, 0, sizeof(m_message));
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
    m_listener = listener;
    m_listenerUser = user;
}

void OrvLog::write(int level, const char* format, ...) {
    if (!(m_flags & kEnabled) || level > m_maxLevel || format == nullptr) {
        return;
    }
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

    va_list args;
    va_start(args, format);
    std::vsnprintf(m_message, sizeof(m_message), format, args);
    va_end(args);

    // A long message is cut so that the newline still fits in the line buffer.
    size_t messageLength = std::strlen(m_message);
    size_t room = sizeof(m_line) - 1 - length - 1;
    if (messageLength > room) {
        messageLength = room;
    }
    std::memcpy(m_line + length, m_message, messageLength);
    length += messageLength;
    m_line[length++] = '\n';

    if (m_outputs & OUTPUT_FILE) {
        if (m_file == nullptr) {
            m_file = std::fopen(kLogFileName, "w");
        }
        // A log that cannot be opened drops the line; the next line tries again.
        if (m_file != nullptr) {
            std::fwrite(m_line, 1, length, m_file);
            std::fflush(m_file);
        }
    }
    if ((m_outputs & OUTPUT_LISTENER) && m_listener != nullptr) {
        m_listener(level, format, m_listenerUser);
    }
}

void OrvLog::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}
