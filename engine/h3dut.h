// The engine's utility library: loading from disk and the message log.
#pragma once

#include "h3d.h"

// Loads every declared, unloaded resource from <contentDirectory>/<name>, together with
// everything those resources refer to. False when any of them failed to load.
bool h3dutLoadResourcesFromDisk(const char* contentDirectory);
// Queues a line of text for the current frame's overlays, drawn by the pipeline's overlay
// command with the font material's atlas. x, y: the top-left corner of the first character in
// fractions of the viewport (0, 0 is its top-left corner); size: the character height as a
// fraction of the viewport height; r, g, b: the text colour. h3dClearOverlays drops the queue.
void h3dutShowText(const char* text, float x, float y, float size, float r, float g, float b,
                   H3DRes fontMaterialResource);
// Writes the queued engine messages to standard error, one line each, and empties the queue.
bool h3dutDumpMessages();
// Writes the frame just rendered (after h3dFinalizeFrame, before the buffers are swapped) to a
// PNG file: the lower-left width by height pixels of the window or off-screen target. False,
// with a message naming the file, when it cannot be written.
bool h3dutScreenshot(const char* fileName, int width, int height);
