// Text overlays drawn through a pipeline's drawOverlays command, checked by reading pixels back.
#include <epoxy/gl.h>

#include <vector>

#include "engine/core/engine_instance.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "overlay_test_content.h"
#include "test_support.h"

using TextOverlays = EngineGlTest;

namespace {

// 16 columns x 6 rows of 8x16 cells: every cell opaque in its top half, clear below.
const char* kTestMetrics =
    "cell_width 8\ncell_height 16\ncolumns 16\nfirst_char 32\nchar_count 95\nadvance 0.5\n";

std::string halfFilledAtlas() {
    return encodedPng(128, 96, [](int, int y) {
        return Rgba{255, 255, 255, static_cast<std::uint8_t>(y % 16 < 8 ? 255 : 0)};
    });
}

// A left, top, right, bottom rectangle of window pixels, counted from the top left.
struct PixelRectangle {
    int left;
    int top;
    int right;
    int bottom;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// "HELLO" at (0.25, 0.25), 0.1 of the height: 24-pixel characters 12 pixels wide.
constexpr PixelRectangle kHelloRectangle{80, 60, 140, 84};

void showHello(H3DRes font, float r, float g, float b) {
    h3dutShowText("HELLO", 0.25f, 0.25f, 0.1f, r, g, b, font);
}

std::array<int, 4> background() {
    return storedColor(kBackground[0], kBackground[1], kBackground[2]);
}

// Every pixel of the window, top row first.
std::vector<std::array<int, 4>> windowPixels(int width, int height) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(width * height * 4));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    std::vector<std::array<int, 4>> pixels;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &bytes[static_cast<std::size_t>((y * width + x) * 4)];
            pixels.push_back({p[0], p[1], p[2], p[3]});
        }
    }
    return pixels;
}

// Pixels outside the rectangle grown by a pixel that are not the background.
int pixelsDrawnOutside(const PixelRectangle& rectangle, int width, int height) {
    const PixelRectangle grown{rectangle.left - 1, rectangle.top - 1, rectangle.right + 1,
                               rectangle.bottom + 1};
    std::vector<std::array<int, 4>> pixels = windowPixels(width, height);
    int drawn = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!grown.contains(x, y) && !sameColor(pixels[y * width + x], background())) {
                ++drawn;
            }
        }
    }
    return drawn;
}

class OverlayScene {
  public:
    OverlayScene(const std::string& atlasFile, const std::string& metricsFile) {
        writeOverlayContent(directory, atlasFile, metricsFile);
        pipeline = h3dAddResource(H3DResTypes::Pipeline, "overlay.pipeline.xml", 0);
        font = h3dAddResource(H3DResTypes::Material, "font.material.xml", 0);
    }

    ScratchDirectory directory;
    H3DRes pipeline = 0;
    H3DRes font = 0;
};

}  // namespace

TEST_F(TextOverlays, TextDrawsInsideItsRectangleAndNowhereElse) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    scene.directory.write("atlas.png", halfFilledAtlas());
    scene.directory.write("atlas.metrics", kTestMetrics);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()))
        << joined(takeMessages());
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    showHello(scene.font, 1.0f, 0.5f, 0.0f);
    renderOverlayFrame(camera);
    const std::array<int, 4> orange = storedColor(1.0f, 0.5f, 0.0f);
    for (int x : {82, 100, 137}) {
        std::array<int, 4> drawn = pixelFromTop(x, 64, kHeight);
        EXPECT_TRUE(sameColor(drawn, orange)) << x << ": " << describe(drawn);
    }
    // The clear lower half of every cell shows what lies beneath.
    std::array<int, 4> clear = pixelFromTop(100, 80, kHeight);
    EXPECT_TRUE(sameColor(clear, background())) << describe(clear);
    EXPECT_EQ(pixelsDrawnOutside(kHelloRectangle, kWidth, kHeight), 0);
    EXPECT_EQ(joined(takeMessages()), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextOverlays, ClearedOverlaysAreGoneFromTheNextFrame) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    scene.directory.write("atlas.png", halfFilledAtlas());
    scene.directory.write("atlas.metrics", kTestMetrics);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    for (int frame = 0; frame < 3; ++frame) {
        showHello(scene.font, 1.0f, 1.0f, 1.0f);
        renderOverlayFrame(camera);
        h3dClearOverlays();
        std::array<int, 4> drawn = pixelFromTop(100, 64, kHeight);
        EXPECT_TRUE(sameColor(drawn, storedColor(1, 1, 1))) << frame << ": " << describe(drawn);
    }
    renderOverlayFrame(camera);
    std::array<int, 4> gone = pixelFromTop(100, 64, kHeight);
    EXPECT_TRUE(sameColor(gone, background())) << describe(gone);
    EXPECT_EQ(pixelsDrawnOutside({0, 0, 0, 0}, kWidth, kHeight), 0);
}

TEST_F(TextOverlays, LaterTextDrawsOverEarlierTextInItsOwnColour) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    scene.directory.write("atlas.png", halfFilledAtlas());
    scene.directory.write("atlas.metrics", kTestMetrics);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    // A shadow one character to the right of the text, as the viewer's status line has.
    h3dutShowText("HELLO", 0.25f + 12.0f / kWidth, 0.25f, 0.1f, 0, 0, 1, scene.font);
    showHello(scene.font, 1.0f, 0.0f, 0.0f);
    renderOverlayFrame(camera);
    std::array<int, 4> text = pixelFromTop(100, 64, kHeight);
    std::array<int, 4> shadow = pixelFromTop(146, 64, kHeight);
    EXPECT_TRUE(sameColor(text, storedColor(1, 0, 0))) << describe(text);
    EXPECT_TRUE(sameColor(shadow, storedColor(0, 0, 1))) << describe(shadow);
}

TEST_F(TextOverlays, TheTextsOfOneFontDrawInOneCall) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    scene.directory.write("atlas.png", halfFilledAtlas());
    scene.directory.write("atlas.metrics", kTestMetrics);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    for (int frame = 0; frame < 2; ++frame) {
        h3dutShowText("AB C", 0.0f, 0.0f, 0.1f, 1, 1, 1, scene.font);
        h3dutShowText("DE", 0.0f, 0.5f, 0.1f, 0, 1, 0, scene.font);
        showHello(scene.font, 1.0f, 0.0f, 0.0f);
        renderOverlayFrame(camera);
        h3dClearOverlays();
        // Ten characters but the space: two triangles each.
        EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f) << frame;
        EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 20.0f) << frame;
    }
}

TEST_F(TextOverlays, AMissingAtlasIsReportedAndTheTextShowsTheStandIn) {
    OverlayScene scene("missing.png", "atlas.metrics");
    scene.directory.write("atlas.metrics", kTestMetrics);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "cannot load texture 'missing.png'")) << joined(messages);
    EXPECT_TRUE(anyContains(messages, "missing.png': file not found")) << joined(messages);
    EXPECT_TRUE(h3dIsResLoaded(scene.font));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    showHello(scene.font, 1.0f, 1.0f, 1.0f);
    renderOverlayFrame(camera);
    int magenta = 0;
    for (int y = kHelloRectangle.top + 1; y < kHelloRectangle.bottom - 1; y += 2) {
        for (int x = kHelloRectangle.left + 1; x < kHelloRectangle.right - 1; x += 2) {
            std::array<int, 4> drawn = pixelFromTop(x, y, kHeight);
            bool isMagenta = sameColor(drawn, storedColor(1, 0, 1));
            ASSERT_TRUE(isMagenta || sameColor(drawn, storedColor(0, 0, 0)))
                << x << ", " << y << ": " << describe(drawn);
            magenta += isMagenta ? 1 : 0;
        }
    }
    EXPECT_GT(magenta, 0);
    EXPECT_EQ(pixelsDrawnOutside(kHelloRectangle, kWidth, kHeight), 0);
}

TEST_F(TextOverlays, ABrokenAtlasIsReportedAndTheTextShowsTheStandIn) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    scene.directory.write("atlas.png", "this is no image");
    scene.directory.write("atlas.metrics", kTestMetrics);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    EXPECT_TRUE(anyContains(
        takeMessages(), "'atlas.png' from '" + scene.directory.path() +
                            "/atlas.png': not a PNG, JPEG, WebP, Radiance HDR or OpenEXR file"));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    // 'L' sits on a magenta check of the stand-in.
    h3dutShowText("L", 0.25f, 0.25f, 0.1f, 1, 1, 1, scene.font);
    renderOverlayFrame(camera);
    std::array<int, 4> drawn = pixelFromTop(86, 72, kHeight);
    EXPECT_TRUE(sameColor(drawn, storedColor(1, 0, 1))) << describe(drawn);
}

TEST_F(TextOverlays, MissingMetricsAreReportedAndTheTextStillDraws) {
    OverlayScene scene("atlas.png", "missing.metrics");
    scene.directory.write("atlas.png", halfFilledAtlas());
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(scene.directory.path().c_str()));
    EXPECT_TRUE(anyContains(takeMessages(), "cannot load font metrics 'missing.metrics'"));
    EXPECT_TRUE(h3dIsResLoaded(scene.font));
    H3DNode camera = overlayCamera(scene.pipeline, kWidth, kHeight);

    showHello(scene.font, 1.0f, 1.0f, 1.0f);
    renderOverlayFrame(camera);
    EXPECT_EQ(pixelsDrawnOutside(kHelloRectangle, kWidth, kHeight), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextOverlays, BadCallsAreReportedAndQueueNothing) {
    OverlayScene scene("atlas.png", "atlas.metrics");
    h3dutShowText(nullptr, 0, 0, 0.1f, 1, 1, 1, scene.font);
    EXPECT_TRUE(anyContains(takeMessages(), "h3dutShowText: the text is missing"));
    h3dutShowText("x", 0, 0, 0.1f, 1, 1, 1, scene.pipeline);
    EXPECT_EQ(takeMessages().size(), 1u);
    h3dutShowText("x", 0, 0, 0.1f, 1, 1, 1, 999);
    EXPECT_EQ(takeMessages().size(), 1u);
    h3dutShowText("x", 0, 0, 0.0f, 1, 1, 1, scene.font);
    EXPECT_TRUE(anyContains(takeMessages(), "size above 0"));
    EXPECT_TRUE(engine::runningEngine()->renderer.overlays().empty());

    h3dRelease();
    h3dutShowText("x", 0, 0, 0.1f, 1, 1, 1, scene.font);
    EXPECT_TRUE(anyContains(takeMessages(), "h3dutShowText"));
    ASSERT_TRUE(h3dInit());
}

TEST_F(TextOverlays, TheViewersFontDrawsText) {
    loadViewerContent();
    EXPECT_EQ(joined(takeMessages()), "");
    H3DRes font = h3dFindResource(H3DResTypes::Material, "font.material.xml");
    ASSERT_TRUE(h3dIsResLoaded(font));
    ASSERT_TRUE(h3dIsResLoaded(h3dFindResource(H3DResTypes::Texture, "font.png")));
    H3DNode camera = overlayCamera(simplePipeline, kWidth, kHeight);

    renderOverlayFrame(camera);
    std::vector<std::array<int, 4>> before = windowPixels(kWidth, kHeight);
    showHello(font, 1.0f, 0.0f, 1.0f);
    renderOverlayFrame(camera);
    std::vector<std::array<int, 4>> after = windowPixels(kWidth, kHeight);
    int changedInside = 0;
    int changedOutside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            bool changed = !sameColor(before[y * kWidth + x], after[y * kWidth + x]);
            bool inside = PixelRectangle{79, 59, 141, 85}.contains(x, y);
            (inside ? changedInside : changedOutside) += changed ? 1 : 0;
        }
    }
    // Glyphs cover part of their cells; five letters should change well over a hundred pixels.
    EXPECT_GT(changedInside, 100);
    EXPECT_EQ(changedOutside, 0);
}
