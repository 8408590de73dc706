#include "handles.h"

namespace ovsim {

OVHANDLE allocateHandle() {
    // Start well away from small numbers so that ids and handles are not confused.
    static OVHANDLE next = 0x00010000;
    ++next;
    if (next == 0) next = 0x00010000;  // 0 is never valid
    return next;
}

}  // namespace ovsim
