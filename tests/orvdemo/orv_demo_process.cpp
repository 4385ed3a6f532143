#include "orv_demo_process.h"

#include "orv_test_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

const int kPollMilliseconds = 50;

std::vector<std::string> changedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        result.push_back(*entry);
    }
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('='));
        for (auto it = result.begin(); it != result.end();) {
            it = it->compare(0, name.size() + 1, name + "=") == 0 ? result.erase(it) : it + 1;
        }
        if (change.find('=') != std::string::npos) {
            result.push_back(change);
        }
    }
    return result;
}

// Runs in the child between fork and exec: the folder, the captured output,
// then the program.
[[noreturn]] void execInFolder(const std::string& program, const std::string& directory,
                               const std::vector<std::string>& environment) {
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    if (chdir(directory.c_str()) == 0) {
        int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execve(program.c_str(), argv, envp.data());
    }
    _exit(127);
}

std::string windowName(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return std::string();
    }
    std::string result(name);
    XFree(name);
    return result;
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

OrvDemoProcess::OrvDemoProcess() : m_display(nullptr), m_pid(0) {
    char pattern[] = "/tmp/orvdemo-e2e-XXXXXX";
    m_directory = mkdtemp(pattern);
}

OrvDemoProcess::~OrvDemoProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_directory, ignored);
}

std::string OrvDemoProcess::start(const std::string& program,
                                  const std::vector<std::string>& environment) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return "DISPLAY is not set: the end-to-end tests need an X server (scripts/test starts "
               "Xvfb)";
    }
    m_display = OrvTestDisplay::get();
    if (m_display == nullptr) {
        return std::string("cannot open X display ") + display;
    }
    // A window may vanish between finding it and asking about it.
    XSetErrorHandler(ignoreXErrors);
    const std::vector<std::string> childEnvironment = changedEnvironment(environment);
    m_pid = fork();
    if (m_pid < 0) {
        return "fork failed";
    }
    if (m_pid == 0) {
        execInFolder(program, m_directory, childEnvironment);
    }
    return "";
}

std::string OrvDemoProcess::readFile(const std::string& name) const {
    std::ifstream in(m_directory + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned long OrvDemoProcess::waitForWindow(const char* name, int timeoutMilliseconds) {
    for (int waited = 0; waited <= timeoutMilliseconds; waited += kPollMilliseconds) {
        for (Window window : childrenOf(m_display, DefaultRootWindow(m_display))) {
            if (windowName(m_display, window) == name && isViewable(m_display, window)) {
                return window;
            }
        }
        pause(kPollMilliseconds);
    }
    return 0;
}

bool OrvDemoProcess::windowExists(unsigned long window) {
    for (Window child : childrenOf(m_display, DefaultRootWindow(m_display))) {
        if (child == window && isViewable(m_display, window)) {
            return true;
        }
    }
    return false;
}

OrvScreenRect OrvDemoProcess::rectOf(unsigned long window) {
    OrvScreenRect rect;
    XWindowAttributes attributes;
    Window child = 0;
    if (XGetWindowAttributes(m_display, window, &attributes) == 0) {
        return rect;
    }
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &rect.x, &rect.y,
                          &child);
    rect.width = attributes.width;
    rect.height = attributes.height;
    return rect;
}

OrvScreenRect OrvDemoProcess::drawingAreaOf(unsigned long window) {
    for (Window child : childrenOf(m_display, window)) {
        OrvScreenRect rect = rectOf(child);
        if (rect.width == 1024 && rect.height == 768) {
            return rect;
        }
    }
    return OrvScreenRect();
}

OrvScreenPicture OrvDemoProcess::capture(const OrvScreenRect& rect) {
    OrvScreenPicture picture;
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), rect.x, rect.y,
                              static_cast<unsigned int>(rect.width),
                              static_cast<unsigned int>(rect.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return picture;
    }
    picture.width = rect.width;
    picture.height = rect.height;
    picture.rgb.reserve(static_cast<size_t>(3) * rect.width * rect.height);
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            picture.rgb.push_back(static_cast<uint8_t>((pixel & image->red_mask) >> 16));
            picture.rgb.push_back(static_cast<uint8_t>((pixel & image->green_mask) >> 8));
            picture.rgb.push_back(static_cast<uint8_t>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return picture;
}

int OrvDemoProcess::waitForExit(int timeoutMilliseconds) {
    for (int waited = 0; waited <= timeoutMilliseconds; waited += kPollMilliseconds) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = 0;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        pause(kPollMilliseconds);
    }
    return -1;
}

bool OrvDemoProcess::xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

void OrvDemoProcess::click(int x, int y) {
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

void OrvDemoProcess::pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
