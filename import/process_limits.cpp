#include "import/process_limits.h"

#include <algorithm>
#include <cstdint>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kMostAddressSpace = std::uint64_t{16} << 30;

// Sanitizer builds reserve terabytes of address space for their shadow memory up front.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSpaceLimited = false;
#else
constexpr bool kAddressSpaceLimited = true;
#endif
#else
constexpr bool kAddressSpaceLimited = true;
#endif

void limit(int resource, std::uint64_t most) {
    rlimit value{};
    value.rlim_cur = static_cast<rlim_t>(most);
    value.rlim_max = static_cast<rlim_t>(most);
    setrlimit(resource, &value);
}

}  // namespace

void limitThisProcess() {
    limit(RLIMIT_CPU, kMostProcessorSeconds);
    limit(RLIMIT_CORE, 0);
    if (kAddressSpaceLimited) {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        const std::uint64_t memory =
            pages > 0 && pageSize > 0
                ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize)
                : kMostAddressSpace;
        limit(RLIMIT_AS, std::min(kMostAddressSpace, memory / 4 * 3));
    }
}
