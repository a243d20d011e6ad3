// The Xlib error handler is global to the process and GLFW 3 resets it, so a query about a
// window that has just gone would end the test program. XCB reports such errors per request.
#include "tests/windowing/x_display_driver.h"

#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

const int kConnectAttempts = 10;
const auto kConnectRetryPause = std::chrono::milliseconds(20);

xcb_connection_t* sharedConnection();
xcb_connection_t* connectWithRetries();
xcb_screen_t* defaultScreen(xcb_connection_t* connection);
xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name);
xcb_window_t findWindowBelow(xcb_connection_t* connection, xcb_window_t parent,
                             const std::string& title);
std::string windowTitle(xcb_connection_t* connection, xcb_window_t window);
std::string outputOf(const std::string& command, int* exitStatus);
bool displayWasRefused(const std::string& xdotoolOutput);

}  // namespace

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

bool runXdotool(const std::string& arguments) {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        int exitStatus = -1;
        const std::string output = outputOf("xdotool " + arguments + " 2>&1", &exitStatus);
        if (exitStatus == 0) {
            return true;
        }
        if (!displayWasRefused(output)) {
            return false;
        }
        std::this_thread::sleep_for(kConnectRetryPause);
    }
    return false;
}

unsigned long findWindowByTitle(const std::string& title) {
    xcb_connection_t* connection = sharedConnection();
    if (!connection) {
        return 0;
    }
    return findWindowBelow(connection, defaultScreen(connection)->root, title);
}

bool requestWindowClose(unsigned long window) {
    xcb_connection_t* connection = sharedConnection();
    if (!connection) {
        return false;
    }
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window);
    event.type = atomNamed(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atomNamed(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent =
        xcb_send_event_checked(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                               reinterpret_cast<const char*>(&event));
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
        xcb_request_check(connection, sent), &std::free);
    return !error;
}

ScreenSize defaultScreenSize() {
    xcb_connection_t* connection = sharedConnection();
    if (!connection) {
        return {};
    }
    const xcb_screen_t* screen = defaultScreen(connection);
    return {screen->width_in_pixels, screen->height_in_pixels};
}

bool retryWhileDisplayRefuses(bool (*connect)()) {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        if (connect()) {
            return true;
        }
        std::this_thread::sleep_for(kConnectRetryPause);
    }
    return false;
}

namespace {

// One connection for the whole test program: looking for windows again and again must not
// open and close connections in quick succession.
xcb_connection_t* sharedConnection() {
    static xcb_connection_t* connection = connectWithRetries();
    return connection;
}

xcb_connection_t* connectWithRetries() {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(connection)) {
            return connection;
        }
        xcb_disconnect(connection);
        std::this_thread::sleep_for(kConnectRetryPause);
    }
    return nullptr;
}

xcb_screen_t* defaultScreen(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t findWindowBelow(xcb_connection_t* connection, xcb_window_t parent,
                             const std::string& title) {
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
    if (!tree) {
        return 0;  // the window went away meanwhile
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int childCount = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < childCount; ++i) {
        if (windowTitle(connection, children[i]) == title) {
            return children[i];
        }
        if (const xcb_window_t found = findWindowBelow(connection, children[i], title)) {
            return found;
        }
    }
    return 0;
}

std::string windowTitle(xcb_connection_t* connection, xcb_window_t window) {
    const uint32_t maximumLength = 1024;
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, maximumLength);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 8) {
        return {};
    }
    const char* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(text, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

std::string outputOf(const std::string& command, int* exitStatus) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    const int status = pclose(pipe);
    *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

bool displayWasRefused(const std::string& xdotoolOutput) {
    return xdotoolOutput.find("Can't open display") != std::string::npos;
}

}  // namespace
