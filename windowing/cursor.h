// The 2.x mouse position. With the cursor shown it is the cursor's window coordinates; while
// the cursor is held (hidden, 2.x's disabled cursor) it is unbounded and moves by the cursor's
// displacement from the window centre, where the real cursor is put back after every poll.
#pragma once

namespace windowing {

// A new window reports from (0, 0); a full-screen one opens with the cursor held.
void startCursorForNewWindow(bool held);

// glfwDisable(GLFW_MOUSE_CURSOR).
void holdCursor();
// glfwEnable(GLFW_MOUSE_CURSOR): shows the cursor at the window centre and reports that
// position if it differs from the last one.
void releaseCursor();

// After every poll: adds a held cursor's displacement to the position and re-centres it.
void followHeldCursor();
// A cursor position from GLFW 3, in window coordinates; ignored while the cursor is held.
void followWindowCursor(int x, int y);

// Sets the position and calls the 2.x callback when it changed.
void reportMousePosition(int x, int y);

int windowCoordinate(double glfw3Coordinate);

}  // namespace windowing
