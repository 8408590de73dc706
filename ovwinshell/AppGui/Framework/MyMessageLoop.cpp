#include "MyMessageLoop.h"

namespace Glob {

CMyMessageLoop& CMyMessageLoop::Instance() {
    static CMyMessageLoop loop;
    return loop;
}

bool CMyMessageLoop::PreTranslateMessage(MSG* message) {
    CallScope scope(*this);
    const std::vector<IMessageFilter*>& filters = Filters();
    for (size_t i = 0; i < filters.size(); ++i) {
        if (filters[i] && filters[i]->PreTranslateMessage(message)) return true;
    }
    return false;
}

}  // namespace Glob
