#include "SessionOrder.h"

namespace kickmark {

bool happenedBefore(const SessionFile& a, const SessionFile& b) {
    return a.status.modified != b.status.modified ? a.status.modified < b.status.modified
                                                  : a.path < b.path;
}

} // namespace kickmark
