#include "orv_demo_window.h"

#include <gdk/gdkx.h>

#include <cstdarg>
#include <cstdio>

#include "orv_demo.h"
#include "orv_frame_rate_counter.h"
#include "orvdemo_icon.xpm"

namespace {

const char kTitle[] = "OrvaneDemo";
const char kErrorTitle[] = "Orvane Demo Error";
const char kCommandKey[] = "orvdemo-command";
const int kErrorTextSize = 4096;

// The Control key and the left button as the demo's mouse flags. GDK reports
// the modifier state from before the event, so a press or release of the
// left button itself is added or removed by the caller.
int mouseFlags(guint state) {
    int flags = 0;
    if ((state & GDK_BUTTON1_MASK) != 0) {
        flags |= OrvDemo::kMouseLeftButton;
    }
    if ((state & GDK_CONTROL_MASK) != 0) {
        flags |= OrvDemo::kMouseControl;
    }
    return flags;
}

int32_t mousePosition(double x, double y) {
    return OrvDemo::packPosition(static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

OrvDemoWindow::OrvDemoWindow(OrvDemo* demo)
    : m_demo(demo), m_window(nullptr), m_drawingArea(nullptr), m_icon(nullptr), m_closed(false) {}

OrvDemoWindow::~OrvDemoWindow() {
    if (m_window != nullptr) {
        gtk_widget_destroy(m_window);
    }
    if (m_icon != nullptr) {
        g_object_unref(m_icon);
    }
}

int OrvDemoWindow::create() {
    m_icon = gdk_pixbuf_new_from_xpm_data(orvdemo_icon_xpm);
    gdk_set_program_class(kTitle);

    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(m_window), kTitle);
    gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
    gtk_window_set_icon(GTK_WINDOW(m_window), m_icon);
    gtk_window_move(GTK_WINDOW(m_window), 0, 0);
    g_signal_connect(m_window, "delete-event", G_CALLBACK(onDelete), this);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), createMenuBar(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), createDrawingArea(), FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(m_window), box);
    gtk_widget_show_all(m_window);

    // The render context covers this X window with one of its own, so the
    // drawing area must be a real X window rather than a part of the toplevel.
    GdkWindow* area = gtk_widget_get_window(m_drawingArea);
    if (area == nullptr || !GDK_IS_X11_WINDOW(area) || !gdk_window_ensure_native(area)) {
        return -1;
    }
    // Let the server map the window before a GL surface goes on it.
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }
    return 0;
}

GtkWidget* OrvDemoWindow::createMenuBar() {
    GtkWidget* bar = gtk_menu_bar_new();
    const struct {
        const char* title;
        const char* item;
        int command;
    } menus[] = {
        {"_File", "E_xit", kCommandExit},
        {"_Help", "_About ...", kCommandAbout},
    };
    for (const auto& entry : menus) {
        GtkWidget* title = gtk_menu_item_new_with_mnemonic(entry.title);
        GtkWidget* menu = gtk_menu_new();
        addMenuItem(menu, entry.item, entry.command);
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(title), menu);
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), title);
    }
    return bar;
}

void OrvDemoWindow::addMenuItem(GtkWidget* menu, const char* label, int command) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    g_object_set_data(G_OBJECT(item), kCommandKey, GINT_TO_POINTER(command));
    g_signal_connect(item, "activate", G_CALLBACK(onMenuItemActivate), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
}

GtkWidget* OrvDemoWindow::createDrawingArea() {
    m_drawingArea = gtk_drawing_area_new();
    gtk_widget_set_size_request(m_drawingArea, kClientWidth, kClientHeight);
    gtk_widget_add_events(m_drawingArea, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                             GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK);
    g_signal_connect(m_drawingArea, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(m_drawingArea, "button-press-event", G_CALLBACK(onButtonPress), this);
    g_signal_connect(m_drawingArea, "button-release-event", G_CALLBACK(onButtonRelease), this);
    g_signal_connect(m_drawingArea, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(m_drawingArea, "scroll-event", G_CALLBACK(onScroll), this);
    return m_drawingArea;
}

_XDisplay* OrvDemoWindow::getXDisplay() const {
    return GDK_DISPLAY_XDISPLAY(gtk_widget_get_display(m_drawingArea));
}

unsigned long OrvDemoWindow::getXWindow() const {
    return GDK_WINDOW_XID(gtk_widget_get_window(m_drawingArea));
}

int OrvDemoWindow::run(OrvFrameRateCounter* counter) {
    counter->start(m_demo->elapsedMilliseconds(0));
    while (!m_closed) {
        if (!gtk_events_pending()) {
            counter->idleFrame(m_demo->elapsedMilliseconds(0), m_demo);
            continue;
        }
        // Everything waiting is dispatched before the next frame, also after
        // the window was closed.
        while (gtk_events_pending()) {
            gtk_main_iteration_do(FALSE);
        }
    }
    return 0;
}

void OrvDemoWindow::onCommand(int command) {
    if (command == kCommandAbout) {
        showAbout();
    } else if (command == kCommandExit) {
        m_closed = true;
    }
}

// The About box is modal for input, but the loop goes on rendering behind
// it: the GL surface takes no expose events, so a scene left standing would
// keep whatever the menu and the box drew over it.
void OrvDemoWindow::showAbout() {
    GtkWidget* dialog = gtk_dialog_new();
    gtk_window_set_title(GTK_WINDOW(dialog), "About");
    gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(m_window));
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);

    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
    gtk_container_set_border_width(GTK_CONTAINER(row), 12);
    gtk_box_pack_start(GTK_BOX(row), gtk_image_new_from_pixbuf(m_icon), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), gtk_label_new("orvdemo Version 1.0"), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row, TRUE, TRUE,
                       0);
    gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    // OK, Escape and the window manager's close all end in a response.
    g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show_all(dialog);
}

void OrvDemoWindow::showError(const char* format, ...) {
    char text[kErrorTextSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);

    std::fprintf(stderr, "%s: %s\n", kErrorTitle, text);
    if (gdk_display_get_default() == nullptr) {
        return;
    }
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                               GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(dialog), kErrorTitle);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

void OrvDemoWindow::onMenuItemActivate(GtkMenuItem* item, gpointer self) {
    int command = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kCommandKey));
    static_cast<OrvDemoWindow*>(self)->onCommand(command);
}

gboolean OrvDemoWindow::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<OrvDemoWindow*>(self)->m_closed = true;
    return TRUE;
}

gboolean OrvDemoWindow::onDraw(GtkWidget*, cairo_t*, gpointer self) {
    // An exposed window is redrawn at once with a fixed step; such frames
    // stay out of the rate and the frame timer.
    static_cast<OrvDemoWindow*>(self)->m_demo->frame(0.016f);
    return TRUE;
}

gboolean OrvDemoWindow::onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    OrvDemo* demo = static_cast<OrvDemoWindow*>(self)->m_demo;
    // A double click arrives as two presses plus an extra event; only the
    // presses count.
    if (event->type != GDK_BUTTON_PRESS) {
        return TRUE;
    }
    int flags = mouseFlags(event->state);
    int32_t position = mousePosition(event->x, event->y);
    if (event->button == GDK_BUTTON_PRIMARY) {
        demo->onLeftButtonDown(flags | OrvDemo::kMouseLeftButton, position);
    } else {
        demo->onMouseOther(flags, position);
    }
    return TRUE;
}

gboolean OrvDemoWindow::onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
    OrvDemo* demo = static_cast<OrvDemoWindow*>(self)->m_demo;
    int flags = mouseFlags(event->state);
    int32_t position = mousePosition(event->x, event->y);
    if (event->button == GDK_BUTTON_PRIMARY) {
        demo->onLeftButtonUp(flags & ~OrvDemo::kMouseLeftButton, position);
    } else {
        demo->onMouseOther(flags, position);
    }
    return TRUE;
}

gboolean OrvDemoWindow::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
    static_cast<OrvDemoWindow*>(self)->m_demo->onMouseMove(mouseFlags(event->state),
                                                           mousePosition(event->x, event->y));
    return TRUE;
}

gboolean OrvDemoWindow::onScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
    static_cast<OrvDemoWindow*>(self)->m_demo->onMouseOther(mouseFlags(event->state),
                                                            mousePosition(event->x, event->y));
    return TRUE;
}
