// Plays a model's animations: the first from the start, looping at real time; Space pauses and
// resumes, N moves to the next (wrapping round) from its start.
#pragma once

#include <string>
#include <vector>

struct PlayedAnimation {
    std::string name;
    float duration = 0.0f;
};

class AnimationPlayer {
  public:
    explicit AnimationPlayer(std::vector<PlayedAnimation> animations = {});

    bool empty() const { return animations_.empty(); }
    // -1 when there is none.
    int current() const { return empty() ? -1 : current_; }
    float time() const { return time_; }
    bool paused() const { return paused_; }

    // Moves the time on by seconds of real time unless paused, looping within the duration.
    void advance(double seconds);
    void togglePause();
    void playNext();
    // "walk 1.25/3.00 s", with " (paused)" while paused; empty without animations.
    std::string describe() const;

  private:
    std::vector<PlayedAnimation> animations_;
    int current_ = 0;
    float time_ = 0.0f;
    bool paused_ = false;
};
