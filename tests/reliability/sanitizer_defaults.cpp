// The sanitizers' default options for every program of the sanitizer build,
// so that no environment is needed to run a test the way scripts/test does.
// ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS still override them.
#include <cstdlib>

extern "C" {

// A request too large for the heap returns null, as it does without ASan,
// since the engine's refusal of huge input is among what the tests check.
// The leak checker does not follow __tls_get_addr: this runtime misreads the
// dynamic TLS of libraries loaded at run time (the GL driver's) under this
// C library, and its tracer crashes now and then on the bogus range.
const char* __asan_default_options() {
    return "check_initialization_order=1:strict_init_order=1:allocator_may_return_null=1:"
           "intercept_tls_get_addr=0";
}

// What the suppressions matched is memory of the driver and fontconfig, the
// same in every run; its table on standard error would only stand between a
// program's own words and the tests that read them (orvrender's are checked
// to be empty on success).
const char* __lsan_default_options() {
    return "suppressions=" ORVANE_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}

// Mesa unloads its driver when a display connection closes. A leak report
// cannot name code of a library that is gone, nor can a suppression match
// it, and memory the driver still reached through its own globals would be
// reported as lost. So in this build no library is ever unloaded.
int dlclose(void*) {
    return 0;
}
}

// GTK's accessibility bridge keeps a bus connection for the life of the
// process and never frees it; no test needs a screen reader, so programs of
// this build run without the bridge unless the environment asks for it.
__attribute__((constructor)) static void orvaneWithoutAccessibilityBridge() {
    setenv("NO_AT_BRIDGE", "1", 0);
}
