// What a frame cost: triangles and draw calls over all of its passes, and the CPU time of
// posing what moves. The figures of the frame
// being drawn grow with every draw; finishing the frame makes them the latest finished ones.
#pragma once

#include <cstdint>

namespace engine {

struct FrameFigures {
    std::uint64_t triangles = 0;
    std::uint64_t drawCalls = 0;
    // Bringing world matrices and skinned meshes' poses up to date.
    double poseMilliseconds = 0.0;
};

class FrameStats {
  public:
    void countDraw(std::uint64_t triangles) {
        current_.triangles += triangles;
        ++current_.drawCalls;
    }
    void countPosing(double milliseconds) { current_.poseMilliseconds += milliseconds; }
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
