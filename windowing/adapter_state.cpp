#include "windowing/adapter_state.h"

namespace windowing {

AdapterState& adapterState() {
    static AdapterState state;
    return state;
}

}  // namespace windowing
