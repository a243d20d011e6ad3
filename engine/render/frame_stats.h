// What a frame cost: triangles and draw calls over all of its passes. The figures of the frame
// being drawn grow with every draw; finishing the frame makes them the latest finished ones.
#pragma once

#include <cstdint>

namespace engine {

struct FrameFigures {
    std::uint64_t triangles = 0;
    std::uint64_t drawCalls = 0;
};

class FrameStats {
  public:
    void countDraw(std::uint64_t triangles) {
        current_.triangles += triangles;
        ++current_.drawCalls;
    }
    void finishFrame() {
        finished_ = current_;
        current_ = FrameFigures();
    }
    const FrameFigures& finished() const { return finished_; }

  private:
    FrameFigures current_;
    FrameFigures finished_;
};

}  // namespace engine
