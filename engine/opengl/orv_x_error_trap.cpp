#include "opengl/orv_x_error_trap.h"

namespace {
// The live traps, newest first.
OrvXErrorTrap* g_newest = nullptr;
// The handler the traps stand in for.
XErrorHandler g_previous = nullptr;
}  // namespace

OrvXErrorTrap::OrvXErrorTrap(Display* display, XID resource)
    : m_display(display), m_resource(resource), m_older(g_newest), m_errorCode(0) {
    // Errors of requests made before the trap belong to whoever made them.
    XSync(m_display, False);
    // A handler the program installed over the traps' since becomes the
    // one they stand in for.
    XErrorHandler previous = XSetErrorHandler(handleError);
    if (previous != handleError) {
        g_previous = previous;
    }
    g_newest = this;
}

OrvXErrorTrap::~OrvXErrorTrap() {
    XSync(m_display, False);
    OrvXErrorTrap** link = &g_newest;
    while (*link != this) {
        link = &(*link)->m_older;
    }
    *link = m_older;
    if (g_newest != nullptr) {
        return;
    }
    // A handler the program installed over the traps' meanwhile stays.
    XErrorHandler current = XSetErrorHandler(g_previous);
    if (current != handleError) {
        XSetErrorHandler(current);
    }
    g_previous = nullptr;
}

bool OrvXErrorTrap::failed() {
    XSync(m_display, False);
    return m_errorCode != 0;
}

bool OrvXErrorTrap::claims(Display* display, const XErrorEvent& event) const {
    return display == m_display && (m_resource == 0 || event.resourceid == m_resource);
}

// The newest trap that claims the error records it; an error none claims
// goes to the handler the traps stand in for.
int OrvXErrorTrap::handleError(Display* display, XErrorEvent* event) {
    for (OrvXErrorTrap* trap = g_newest; trap != nullptr; trap = trap->m_older) {
        if (trap->claims(display, *event)) {
            if (trap->m_errorCode == 0) {
                trap->m_errorCode = event->error_code;
            }
            return 0;
        }
    }
    return g_previous != nullptr ? g_previous(display, event) : 0;
}
