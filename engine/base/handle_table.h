// Objects owned by the engine and named by handle: the handle is the slot's index, slot 0 is
// never used (0 means none), and a freed slot is not reused, so a stale handle stays invalid.
#pragma once

#include <climits>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace engine {

template <typename T>
class HandleTable {
  public:
    HandleTable() : slots_(1) {}

    // The new object's handle; 0 when the handle range is used up.
    int add(std::unique_ptr<T> object) {
        if (slots_.size() > static_cast<std::size_t>(INT_MAX)) {
            return 0;
        }
        slots_.push_back(std::move(object));
        return static_cast<int>(slots_.size() - 1);
    }

    T* find(int handle) const {
        if (handle <= 0 || static_cast<std::size_t>(handle) >= slots_.size()) {
            return nullptr;
        }
        return slots_[static_cast<std::size_t>(handle)].get();
    }

    void remove(int handle) {
        if (find(handle) != nullptr) {
            slots_[static_cast<std::size_t>(handle)].reset();
        }
    }

    void clear() {
        slots_.clear();
        slots_.resize(1);
    }

    // One past the highest handle given out; loops over handles may add objects meanwhile.
    int endHandle() const { return static_cast<int>(slots_.size()); }

    // Calls visit(handle, object) for every live object in handle order.
    template <typename Visit>
    void forEach(Visit&& visit) const {
        for (std::size_t index = 1; index < slots_.size(); ++index) {
            if (slots_[index]) {
                visit(static_cast<int>(index), *slots_[index]);
            }
        }
    }

  private:
    std::vector<std::unique_ptr<T>> slots_;
};

}  // namespace engine
