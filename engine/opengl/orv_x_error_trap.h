/// @file
/// OrvXErrorTrap, which keeps the engine's X errors from ending the process.
#pragma once

#include <X11/Xlib.h>

/// OrvXErrorTrap: while one lives, the X errors raised on its display (or
/// only those about one resource of it) are recorded instead of reaching the
/// process's error handler, whose default (Xlib's) prints the error and ends
/// the process. Library code must not end its program, and a window the
/// application destroyed under the engine makes every later X and GLX call on
/// it fail; so each of the engine's X and GLX calls runs inside a trap and
/// looks at the result, and a render context watches its drawing window for
/// as long as it has one, since the driver queries the window from inside
/// ordinary GL calls too.
///
/// Xlib keeps one error handler for the whole process. The first trap installs
/// the traps' handler and the last one gives the previous handler back, each
/// after waiting for the server to answer every request made so far, so that
/// no error of the engine's arrives after its trap is gone. Errors no trap
/// claims go on to that previous handler. Traps may end in any order; like
/// Xlib's handler they belong to the one thread that makes the engine's X
/// calls.
class OrvXErrorTrap {
  public:
    /// Traps every error of display, or with a resource only the errors about
    /// that window or other resource. Waits first for the server's answer to
    /// the requests made so far, whose errors are not the trap's. An error
    /// goes to the newest live trap that claims it; older traps do not see
    /// it. @p display must stay open for as long as the trap lives.
    explicit OrvXErrorTrap(Display* display, XID resource = 0);
    /// Waits for the server's answer to every request made so far, then
    /// stops trapping; the last trap to end gives the previous handler back.
    ~OrvXErrorTrap();

    OrvXErrorTrap(const OrvXErrorTrap&) = delete;
    OrvXErrorTrap& operator=(const OrvXErrorTrap&) = delete;

    /// Waits for the server's answer to every request made so far; true when
    /// an error was trapped since the trap was set.
    bool failed();
    /// The X error code of the first error trapped, 0 for none (answers
    /// without waiting for the server).
    int errorCode() const { return m_errorCode; }

  private:
    static int handleError(Display* display, XErrorEvent* event);
    bool claims(Display* display, const XErrorEvent& event) const;

    Display* m_display;
    XID m_resource;
    /// The next older live trap.
    OrvXErrorTrap* m_older;
    int m_errorCode;
};
