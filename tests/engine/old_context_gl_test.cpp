// Contexts that differ from the usual one. ctest runs these with Mesa's version and extension
// overrides in the environment; without those overrides they skip.
#include <cstdlib>
#include <cstring>
#include <memory>

#include <epoxy/gl.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "test_support.h"

namespace {

bool environmentIs(const char* name, const char* value) {
    const char* actual = std::getenv(name);
    return actual != nullptr && std::strcmp(actual, value) == 0;
}

}  // namespace

TEST(OldContext, TheEngineDoesNotStartBelowOpenGl2) {
    if (!displayAvailable() || !environmentIs("MESA_GL_VERSION_OVERRIDE", "1.5")) {
        GTEST_SKIP() << "needs a display and MESA_GL_VERSION_OVERRIDE=1.5";
    }
    ASSERT_TRUE(glfwStarted());
    HiddenWindow window(64, 64);
    ASSERT_TRUE(window.open());
    ASSERT_EQ(epoxy_gl_version(), 15);
    takeMessages();
    EXPECT_FALSE(h3dInit());
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages,
                            "OpenGL 2.0 is needed, but the context offers only "
                            "OpenGL 1.5"))
        << joined(messages);
    EXPECT_EQ(h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0), 0);
    h3dRelease();
}

class FramebufferExtensionOnly : public EngineGlTest {
  protected:
    void SetUp() override {
        if (!environmentIs("MESA_GL_VERSION_OVERRIDE", "2.1")) {
            GTEST_SKIP() << "needs MESA_GL_VERSION_OVERRIDE=2.1 and the FBO extension override";
        }
        EngineGlTest::SetUp();
    }
};

TEST_F(FramebufferExtensionOnly, TheEngineRunsOnOpenGl21WithTheExtFramebufferObject) {
    ASSERT_EQ(epoxy_gl_version(), 21);
    ASSERT_FALSE(epoxy_has_gl_extension("GL_ARB_framebuffer_object"));
    loadViewerContent();
    EXPECT_EQ(joined(takeMessages()), "");
    H3DNode camera = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    h3dSetNodeParamI(camera, H3DCamera::ViewportWidthI, kWidth);
    h3dSetNodeParamI(camera, H3DCamera::ViewportHeightI, kHeight);
    h3dResizePipelineBuffers(masterPipeline, kWidth, kHeight);
    h3dRender(camera);
    h3dFinalizeFrame();
    glReadBuffer(GL_BACK);
    // An empty scene: master's final pass paints its black sky target onto the screen.
    std::array<int, 4> color = pixelAt(10, 10);
    EXPECT_TRUE(sameColor(color, storedColor(0, 0, 0))) << describe(color);

    // The whole world draws as well: every shader compiles as GLSL 1.20.
    h3dAddNodes(H3DRootNode, neuroScene);
    h3dRender(camera);
    h3dFinalizeFrame();
    EXPECT_GT(h3dGetStat(H3DStats::DrawCallCount), 10.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(joined(takeMessages()), "");
}
