#include "engine/resources/decoded_image_budget.h"

#include <utility>

namespace engine {

DecodedImageBudget::Reservation DecodedImageBudget::reserve(std::size_t bytes, int handle) {
    if (bytes == 0) {
        return Reservation();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this, bytes, handle] {
        return stopped_ || reserved_ == 0 || reserved_ + bytes <= budget_ || awaited_ == handle;
    });
    reserved_ += bytes;
    return Reservation(this, bytes);
}

void DecodedImageBudget::awaitResource(int handle) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        awaited_ = handle;
    }
    released_.notify_all();
}

void DecodedImageBudget::stopWaiting() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    released_.notify_all();
}

std::size_t DecodedImageBudget::reservedBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reserved_;
}

void DecodedImageBudget::release(std::size_t bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reserved_ -= bytes;
    }
    released_.notify_all();
}

DecodedImageBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

DecodedImageBudget::Reservation& DecodedImageBudget::Reservation::operator=(
    Reservation&& other) noexcept {
    if (this != &other) {
        Reservation released(std::move(*this));
        budget_ = std::exchange(other.budget_, nullptr);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

DecodedImageBudget::Reservation::~Reservation() {
    if (budget_ != nullptr) {
        budget_->release(bytes_);
    }
}

}  // namespace engine
