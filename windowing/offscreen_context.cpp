#include "windowing/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "windowing/adapter_state.h"

namespace windowing {

namespace {

EGLDisplay displayWithoutWindowSystem();
EGLConfig pixelBufferConfig(EGLDisplay display, const WindowRequest& request);
int bitsOrNone(int legacyBits);

}  // namespace

bool openOffscreenContext(const WindowRequest& request) {
    AdapterState& state = adapterState();
    if (!state.started || request.width <= 0 || request.height <= 0) {
        return false;
    }
    closeWindow();
    closeOffscreenContext();

    EGLDisplay display = displayWithoutWindowSystem();
    if (display == EGL_NO_DISPLAY) {
        return false;
    }
    EGLConfig config = pixelBufferConfig(display, request);
    const EGLint surfaceAttributes[] = {EGL_WIDTH, request.width, EGL_HEIGHT, request.height,
                                        EGL_NONE};
    EGLSurface surface =
        config ? eglCreatePbufferSurface(display, config, surfaceAttributes) : EGL_NO_SURFACE;
    // The legacy OpenGL API, as the windows' contexts have it; no version asked for.
    EGLContext context = surface != EGL_NO_SURFACE && eglBindAPI(EGL_OPENGL_API)
                             ? eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr)
                             : EGL_NO_CONTEXT;
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context)) {
        if (context != EGL_NO_CONTEXT) {
            eglDestroyContext(display, context);
        }
        if (surface != EGL_NO_SURFACE) {
            eglDestroySurface(display, surface);
        }
        eglTerminate(display);
        return false;
    }
    state.offscreen = {display, surface, context, request.width, request.height};
    return true;
}

void closeOffscreenContext() {
    OffscreenContext& offscreen = adapterState().offscreen;
    if (!offscreen.display) {
        return;
    }
    eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(offscreen.display, offscreen.context);
    eglDestroySurface(offscreen.display, offscreen.surface);
    eglTerminate(offscreen.display);
    offscreen = OffscreenContext{};
}

bool offscreenContextOpen() {
    return adapterState().offscreen.display != nullptr;
}

namespace {

// Mesa's surfaceless platform renders on a GPU's render node or in software, needing neither X
// nor Wayland; without it, EGL's default display.
EGLDisplay displayWithoutWindowSystem() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLint major = 0;
    EGLint minor = 0;
    if (getPlatformDisplay) {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, &major, &minor)) {
            return display;
        }
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, &major, &minor)) {
        return display;
    }
    return EGL_NO_DISPLAY;
}

EGLConfig pixelBufferConfig(EGLDisplay display, const WindowRequest& request) {
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 bitsOrNone(request.redBits),
                                 EGL_GREEN_SIZE,
                                 bitsOrNone(request.greenBits),
                                 EGL_BLUE_SIZE,
                                 bitsOrNone(request.blueBits),
                                 EGL_ALPHA_SIZE,
                                 bitsOrNone(request.alphaBits),
                                 EGL_DEPTH_SIZE,
                                 bitsOrNone(request.depthBits),
                                 EGL_STENCIL_SIZE,
                                 bitsOrNone(request.stencilBits),
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) {
        return nullptr;
    }
    return config;
}

// EGL takes sizes as minimums, 0 meaning any.
int bitsOrNone(int legacyBits) {
    return legacyBits > 0 ? legacyBits : 0;
}

}  // namespace

}  // namespace windowing
