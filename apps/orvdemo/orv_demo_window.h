// OrvDemoWindow: the demo's GTK 3 window on X11. A fixed-size window whose
// client area below the menu bar is a 1024 x 768 drawing area with a native X
// window for the render context; the File and Help menus; the About box; the
// loop that dispatches every pending event and otherwise renders an idle
// frame; and the routing of mouse events to the demo. The demo and the frame
// counter stay the caller's.
#pragma once

#include <gtk/gtk.h>

class OrvDemo;
class OrvFrameRateCounter;
struct _XDisplay;

class OrvDemoWindow {
  public:
    static constexpr int kClientWidth = 1024;
    static constexpr int kClientHeight = 768;
    static constexpr int kCommandAbout = 104;
    static constexpr int kCommandExit = 105;

    explicit OrvDemoWindow(OrvDemo* demo);
    // Destroys the window.
    ~OrvDemoWindow();

    OrvDemoWindow(const OrvDemoWindow&) = delete;
    OrvDemoWindow& operator=(const OrvDemoWindow&) = delete;

    // Opens the window and shows it; 0 on success, -1 when the drawing area
    // has no X window of its own.
    int create();
    // The X handles of the drawing area, for the render context.
    _XDisplay* getXDisplay() const;
    unsigned long getXWindow() const;

    // Runs until the window is closed; returns the program's exit code.
    int run(OrvFrameRateCounter* counter);

    // Shows the formatted text in a modal error box (when a display is open)
    // and writes it to standard error, where it is seen even without one.
    static void showError(const char* format, ...) __attribute__((format(printf, 1, 2)));

  private:
    GtkWidget* createMenuBar();
    void addMenuItem(GtkWidget* menu, const char* label, int command);
    GtkWidget* createDrawingArea();
    void onCommand(int command);
    void showAbout();

    static void onMenuItemActivate(GtkMenuItem* item, gpointer self);
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onButtonRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);

    OrvDemo* m_demo;
    GtkWidget* m_window;
    GtkWidget* m_drawingArea;
    GdkPixbuf* m_icon;
    bool m_closed;
};
