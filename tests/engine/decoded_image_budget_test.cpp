#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

#include "engine/resources/decoded_image_budget.h"

using namespace engine;

namespace {

constexpr auto kBlockedLongEnough = std::chrono::milliseconds(100);

bool stillWaiting(const std::future<DecodedImageBudget::Reservation>& pending) {
    return pending.wait_for(kBlockedLongEnough) == std::future_status::timeout;
}

}  // namespace

TEST(DecodedImageBudget, ReservationsGiveTheirBytesBack) {
    DecodedImageBudget budget(100);
    {
        DecodedImageBudget::Reservation first = budget.reserve(60, 1);
        DecodedImageBudget::Reservation second = budget.reserve(40, 2);
        EXPECT_EQ(budget.reservedBytes(), 100u);
        DecodedImageBudget::Reservation moved = std::move(first);
        EXPECT_EQ(budget.reservedBytes(), 100u);
        second = DecodedImageBudget::Reservation();
        EXPECT_EQ(budget.reservedBytes(), 60u);
    }
    EXPECT_EQ(budget.reservedBytes(), 0u);
    // An image larger than the whole budget decodes when it is alone.
    DecodedImageBudget::Reservation alone = budget.reserve(1000, 3);
    EXPECT_EQ(budget.reservedBytes(), 1000u);
}

TEST(DecodedImageBudget, AThreadWaitsUntilItsImageFits) {
    DecodedImageBudget budget(100);
    auto held = std::make_unique<DecodedImageBudget::Reservation>(budget.reserve(80, 1));
    auto pending = std::async(std::launch::async, [&budget] { return budget.reserve(50, 2); });
    EXPECT_TRUE(stillWaiting(pending));
    held.reset();
    DecodedImageBudget::Reservation granted = pending.get();
    EXPECT_EQ(budget.reservedBytes(), 50u);
}

TEST(DecodedImageBudget, TheAwaitedResourceAndAFinishedLoaderNeverWait) {
    DecodedImageBudget budget(100);
    DecodedImageBudget::Reservation held = budget.reserve(100, 1);
    auto awaited = std::async(std::launch::async, [&budget] { return budget.reserve(50, 7); });
    auto other = std::async(std::launch::async, [&budget] { return budget.reserve(50, 8); });
    EXPECT_TRUE(stillWaiting(awaited));
    // The loader waits for resource 7, which may not wait for resource 1's upload.
    budget.awaitResource(7);
    DecodedImageBudget::Reservation seven = awaited.get();
    EXPECT_TRUE(stillWaiting(other));
    budget.stopWaiting();
    DecodedImageBudget::Reservation eight = other.get();
    EXPECT_EQ(budget.reservedBytes(), 200u);
}
