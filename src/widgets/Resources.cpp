#include "widgets/Resources.h"

#include <QtGlobal>

static void InitCompiledResources() {
    Q_INIT_RESOURCE(tresselby);
}

namespace tsb {

void InitResources() {
    static bool done = false;
    if (!done) {
        done = true;
        InitCompiledResources();
    }
}

} // namespace tsb
