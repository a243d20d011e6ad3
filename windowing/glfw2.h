// The 2.x-style windowing interface the shell is written against: one window, callbacks
// delivered from inside glfwSwapBuffers, integer mouse positions and 2.x key codes.
#pragma once

#define GLFW_RELEASE 0
#define GLFW_PRESS 1

#define GLFW_WINDOW 0x00010001
#define GLFW_FULLSCREEN 0x00010002
// An extension of the 2.x modes: no window at all, but an off-screen context of the requested
// size (EGL on Mesa's surfaceless platform), so pictures can be rendered without a display. It
// needs glfwInit to have been called, not to have found a display.
#define GLFW_OFFSCREEN 0x00010003

#define GLFW_MOUSE_CURSOR 0x00030001

// Key codes: printable keys are their upper-case character; special keys start at 256.
#define GLFW_KEY_UNKNOWN -1
#define GLFW_KEY_SPACE 32
#define GLFW_KEY_SPECIAL 256
#define GLFW_KEY_ESC (GLFW_KEY_SPECIAL + 1)
#define GLFW_KEY_F1 (GLFW_KEY_SPECIAL + 2)
#define GLFW_KEY_F2 (GLFW_KEY_SPECIAL + 3)
#define GLFW_KEY_F3 (GLFW_KEY_SPECIAL + 4)
#define GLFW_KEY_F4 (GLFW_KEY_SPECIAL + 5)
#define GLFW_KEY_F5 (GLFW_KEY_SPECIAL + 6)
#define GLFW_KEY_F6 (GLFW_KEY_SPECIAL + 7)
#define GLFW_KEY_F7 (GLFW_KEY_SPECIAL + 8)
#define GLFW_KEY_F8 (GLFW_KEY_SPECIAL + 9)
#define GLFW_KEY_F9 (GLFW_KEY_SPECIAL + 10)
#define GLFW_KEY_F10 (GLFW_KEY_SPECIAL + 11)
#define GLFW_KEY_F11 (GLFW_KEY_SPECIAL + 12)
#define GLFW_KEY_F12 (GLFW_KEY_SPECIAL + 13)
#define GLFW_KEY_F13 (GLFW_KEY_SPECIAL + 14)
#define GLFW_KEY_F14 (GLFW_KEY_SPECIAL + 15)
#define GLFW_KEY_F15 (GLFW_KEY_SPECIAL + 16)
#define GLFW_KEY_F16 (GLFW_KEY_SPECIAL + 17)
#define GLFW_KEY_F17 (GLFW_KEY_SPECIAL + 18)
#define GLFW_KEY_F18 (GLFW_KEY_SPECIAL + 19)
#define GLFW_KEY_F19 (GLFW_KEY_SPECIAL + 20)
#define GLFW_KEY_F20 (GLFW_KEY_SPECIAL + 21)
#define GLFW_KEY_F21 (GLFW_KEY_SPECIAL + 22)
#define GLFW_KEY_F22 (GLFW_KEY_SPECIAL + 23)
#define GLFW_KEY_F23 (GLFW_KEY_SPECIAL + 24)
#define GLFW_KEY_F24 (GLFW_KEY_SPECIAL + 25)
#define GLFW_KEY_F25 (GLFW_KEY_SPECIAL + 26)
#define GLFW_KEY_UP (GLFW_KEY_SPECIAL + 27)
#define GLFW_KEY_DOWN (GLFW_KEY_SPECIAL + 28)
#define GLFW_KEY_LEFT (GLFW_KEY_SPECIAL + 29)
#define GLFW_KEY_RIGHT (GLFW_KEY_SPECIAL + 30)
#define GLFW_KEY_LSHIFT (GLFW_KEY_SPECIAL + 31)
#define GLFW_KEY_RSHIFT (GLFW_KEY_SPECIAL + 32)
#define GLFW_KEY_LCTRL (GLFW_KEY_SPECIAL + 33)
#define GLFW_KEY_RCTRL (GLFW_KEY_SPECIAL + 34)
#define GLFW_KEY_LALT (GLFW_KEY_SPECIAL + 35)
#define GLFW_KEY_RALT (GLFW_KEY_SPECIAL + 36)
#define GLFW_KEY_TAB (GLFW_KEY_SPECIAL + 37)
#define GLFW_KEY_ENTER (GLFW_KEY_SPECIAL + 38)
#define GLFW_KEY_BACKSPACE (GLFW_KEY_SPECIAL + 39)
#define GLFW_KEY_INSERT (GLFW_KEY_SPECIAL + 40)
#define GLFW_KEY_DEL (GLFW_KEY_SPECIAL + 41)
#define GLFW_KEY_PAGEUP (GLFW_KEY_SPECIAL + 42)
#define GLFW_KEY_PAGEDOWN (GLFW_KEY_SPECIAL + 43)
#define GLFW_KEY_HOME (GLFW_KEY_SPECIAL + 44)
#define GLFW_KEY_END (GLFW_KEY_SPECIAL + 45)
#define GLFW_KEY_KP_0 (GLFW_KEY_SPECIAL + 46)
#define GLFW_KEY_KP_1 (GLFW_KEY_SPECIAL + 47)
#define GLFW_KEY_KP_2 (GLFW_KEY_SPECIAL + 48)
#define GLFW_KEY_KP_3 (GLFW_KEY_SPECIAL + 49)
#define GLFW_KEY_KP_4 (GLFW_KEY_SPECIAL + 50)
#define GLFW_KEY_KP_5 (GLFW_KEY_SPECIAL + 51)
#define GLFW_KEY_KP_6 (GLFW_KEY_SPECIAL + 52)
#define GLFW_KEY_KP_7 (GLFW_KEY_SPECIAL + 53)
#define GLFW_KEY_KP_8 (GLFW_KEY_SPECIAL + 54)
#define GLFW_KEY_KP_9 (GLFW_KEY_SPECIAL + 55)
#define GLFW_KEY_KP_DIVIDE (GLFW_KEY_SPECIAL + 56)
#define GLFW_KEY_KP_MULTIPLY (GLFW_KEY_SPECIAL + 57)
#define GLFW_KEY_KP_SUBTRACT (GLFW_KEY_SPECIAL + 58)
#define GLFW_KEY_KP_ADD (GLFW_KEY_SPECIAL + 59)
#define GLFW_KEY_KP_DECIMAL (GLFW_KEY_SPECIAL + 60)
#define GLFW_KEY_KP_EQUAL (GLFW_KEY_SPECIAL + 61)
#define GLFW_KEY_KP_ENTER (GLFW_KEY_SPECIAL + 62)
#define GLFW_KEY_KP_NUM_LOCK (GLFW_KEY_SPECIAL + 63)
#define GLFW_KEY_CAPS_LOCK (GLFW_KEY_SPECIAL + 64)
#define GLFW_KEY_SCROLL_LOCK (GLFW_KEY_SPECIAL + 65)
#define GLFW_KEY_PAUSE (GLFW_KEY_SPECIAL + 66)
#define GLFW_KEY_LSUPER (GLFW_KEY_SPECIAL + 67)
#define GLFW_KEY_RSUPER (GLFW_KEY_SPECIAL + 68)
#define GLFW_KEY_MENU (GLFW_KEY_SPECIAL + 69)
#define GLFW_KEY_LAST GLFW_KEY_MENU

#define GLFW_MOUSE_BUTTON_1 0
#define GLFW_MOUSE_BUTTON_2 1
#define GLFW_MOUSE_BUTTON_3 2
#define GLFW_MOUSE_BUTTON_LAST 7
#define GLFW_MOUSE_BUTTON_LEFT GLFW_MOUSE_BUTTON_1
#define GLFW_MOUSE_BUTTON_RIGHT GLFW_MOUSE_BUTTON_2
#define GLFW_MOUSE_BUTTON_MIDDLE GLFW_MOUSE_BUTTON_3

struct GLFWvidmode {
    int Width, Height;
    int RedBits, BlueBits, GreenBits;
};

typedef int (*GLFWwindowclosefun)(void);
typedef void (*GLFWkeyfun)(int key, int action);
typedef void (*GLFWmouseposfun)(int x, int y);
typedef void (*GLFWmousebuttonfun)(int button, int action);
// The wheel's position: the sum of its steps since the window opened, up positive.
typedef void (*GLFWmousewheelfun)(int position);
// An extension in the 2.x style: files dropped onto the window, as local paths.
typedef void (*GLFWdropfun)(int count, const char** paths);

int glfwInit(void);
void glfwTerminate(void);

// Opens the one window and makes its context current; 1 on success. Every callback is
// cleared and every key reads as released afterwards.
int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode);
void glfwCloseWindow(void);
void glfwSetWindowTitle(const char* title);
void glfwGetWindowSize(int* width, int* height);

void glfwSwapInterval(int interval);
// Swaps the buffers, then polls events and delivers them to the callbacks in their order.
void glfwSwapBuffers(void);
void glfwPollEvents(void);

int glfwGetKey(int key);
void glfwSetWindowCloseCallback(GLFWwindowclosefun callback);
void glfwSetKeyCallback(GLFWkeyfun callback);
// Registering calls the callback at once with the current position.
void glfwSetMousePosCallback(GLFWmouseposfun callback);
void glfwGetMousePos(int* x, int* y);
int glfwGetMouseButton(int button);
void glfwSetMouseButtonCallback(GLFWmousebuttonfun callback);
int glfwGetMouseWheel(void);
void glfwSetMouseWheelCallback(GLFWmousewheelfun callback);
void glfwSetDropCallback(GLFWdropfun callback);

void glfwEnable(int token);
void glfwDisable(int token);

void glfwGetDesktopMode(GLFWvidmode* mode);
double glfwGetTime(void);
