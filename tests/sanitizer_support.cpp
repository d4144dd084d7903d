// Linked into every executable of a sanitizer build, the game included; never
// into a Release build.
//
// glfwTerminate unloads Mesa's software driver, and LeakSanitizer cannot name
// a library that is gone: the driver's own leftovers would then show up as
// anonymous leaks that no suppression can match. Keeping the driver loaded
// lets tests/lsan.supp suppress them by the driver's name.
#include <dlfcn.h>

#include <initializer_list>

namespace {

struct KeepGlDriverLoaded {
    KeepGlDriverLoaded() {
        for (const char* driver : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"})
            if (dlopen(driver, RTLD_LAZY | RTLD_NODELETE)) return;
    }
} keepGlDriverLoaded;

}  // namespace
