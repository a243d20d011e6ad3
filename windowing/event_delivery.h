// Events reach the 2.x callbacks only after GLFW 3's poll has returned: GLFW 3 forbids
// destroying a window inside its own callbacks, and the shell's F1 handler does exactly that.
#pragma once

struct GLFWwindow;

namespace windowing {

// GLFW 3's callbacks for the window only collect its key, cursor and close events.
void collectEventsOf(GLFWwindow* window);

// Polls GLFW 3, then hands the collected events to the 2.x callbacks in arrival order and
// follows a held cursor.
void pollAndDeliverEvents();

}  // namespace windowing
