// The log-out test paints widgets; Qt, not built with the thread sanitizer, synchronises
// its painting threads out of the sanitizer's sight. Our own accesses stay checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n";
}
#endif
