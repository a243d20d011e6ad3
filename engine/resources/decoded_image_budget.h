// Bounds the bytes of decoded images that the loading threads hold at once: 32 threads each
// decoding a large image would otherwise take gigabytes. A thread reserves an image's decoded
// size before decoding and keeps it until the image is uploaded.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace engine {

// A few of the largest images (8192x8192 with mipmaps is 341 MiB) and any number of small ones.
inline constexpr std::size_t kDecodedImageBudget = 384u * 1024 * 1024;

class DecodedImageBudget {
  public:
    // Gives its bytes back when destroyed.
    class Reservation {
      public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;
        ~Reservation();

      private:
        friend class DecodedImageBudget;
        Reservation(DecodedImageBudget* budget, std::size_t bytes)
            : budget_(budget), bytes_(bytes) {}

        DecodedImageBudget* budget_ = nullptr;
        std::size_t bytes_ = 0;
    };

    explicit DecodedImageBudget(std::size_t bytes) : budget_(bytes) {}
    DecodedImageBudget(const DecodedImageBudget&) = delete;
    DecodedImageBudget& operator=(const DecodedImageBudget&) = delete;

    // Waits until the bytes fit beside what is reserved. Three cases never wait, so that
    // nothing deadlocks: nothing else is reserved (an image larger than the budget decodes
    // alone), the loader waits for this very resource, or the loader has finished.
    Reservation reserve(std::size_t bytes, int handle);
    // The loader now waits for this resource's outcome.
    void awaitResource(int handle);
    // The loader is done: every waiting thread goes on.
    void stopWaiting();

    std::size_t reservedBytes() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    const std::size_t budget_;
    std::size_t reserved_ = 0;
    int awaited_ = 0;
    bool stopped_ = false;

    void release(std::size_t bytes);
};

}  // namespace engine
