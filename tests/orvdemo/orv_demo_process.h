// OrvDemoProcess: the orvdemo program as an end-to-end test runs it. It starts
// the program in a folder of its own with its standard output and error
// captured there, finds its windows on the test's X display, takes pictures
// of the screen and drives the mouse through xdotool. There is no window
// manager on the test display, so the demo's window opens at the top-left
// corner and its menus drop down where GTK puts them.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

// A part of the screen as RGB bytes, rows top-down.
struct OrvScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
    // Pixels of the rectangle for which the test holds.
    template <typename Test>
    int count(int x0, int y0, int x1, int y1, Test test) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += test(at(x, y)) ? 1 : 0;
            }
        }
        return n;
    }
};

struct OrvScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class OrvDemoProcess {
  public:
    OrvDemoProcess();
    // Kills the program if it still runs and removes its folder.
    ~OrvDemoProcess();

    OrvDemoProcess(const OrvDemoProcess&) = delete;
    OrvDemoProcess& operator=(const OrvDemoProcess&) = delete;

    // Starts program in the process's folder with the environment changed by
    // the NAME=value entries (an entry "NAME" alone removes the variable).
    // Returns "" on success, else what failed.
    std::string start(const std::string& program, const std::vector<std::string>& environment);

    // The folder the program runs in; its "Orvane.log" lands there.
    const std::string& directory() const { return m_directory; }
    std::string readFile(const std::string& name) const;
    std::string standardError() const { return readFile("stderr.txt"); }

    // Waits for a viewable top-level window with exactly this name; 0 when
    // none appeared in time.
    unsigned long waitForWindow(const char* name, int timeoutMilliseconds);
    bool windowExists(unsigned long window);
    // The window's rectangle on the screen.
    OrvScreenRect rectOf(unsigned long window);
    // The demo's drawing area: the 1024 x 768 child of its window.
    OrvScreenRect drawingAreaOf(unsigned long window);

    OrvScreenPicture capture(const OrvScreenRect& rect);

    // Waits for the program to end; its exit code, or -1 when it did not end
    // in time (it is killed then) or was killed by a signal.
    int waitForExit(int timeoutMilliseconds);

    // Runs xdotool with the arguments; true when it succeeded.
    static bool xdotool(const std::string& arguments);
    static void click(int x, int y);
    static void pause(int milliseconds);

  private:
    _XDisplay* m_display;
    pid_t m_pid;
    std::string m_directory;
};
