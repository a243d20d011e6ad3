#include "app/animation_player.h"

#include <cmath>
#include <cstdio>

AnimationPlayer::AnimationPlayer(std::vector<PlayedAnimation> animations)
    : animations_(std::move(animations)) {}

void AnimationPlayer::advance(double seconds) {
    if (empty() || paused_ || !(seconds > 0.0)) {
        return;
    }
    const double duration = animations_[static_cast<std::size_t>(current_)].duration;
    // Kept in double until wrapped, so that a long session does not lose the time's precision.
    const double moved = static_cast<double>(time_) + seconds;
    time_ = duration > 0.0 ? static_cast<float>(std::fmod(moved, duration)) : 0.0f;
}

void AnimationPlayer::togglePause() {
    paused_ = !paused_;
}

void AnimationPlayer::playNext() {
    if (empty()) {
        return;
    }
    current_ = (current_ + 1) % static_cast<int>(animations_.size());
    time_ = 0.0f;
}

std::string AnimationPlayer::describe() const {
    if (empty()) {
        return "";
    }
    const PlayedAnimation& played = animations_[static_cast<std::size_t>(current_)];
    char figures[64];
    std::snprintf(figures, sizeof figures, " %.2f/%.2f s%s", static_cast<double>(time_),
                  static_cast<double>(played.duration), paused_ ? " (paused)" : "");
    return played.name + figures;
}
