// Qt is not built with the thread sanitizer. Its painting hands span fills to its own
// thread pool and synchronises that inside Qt, where the sanitizer cannot see it, so the
// memory Qt moves between its threads looks raced. The sanitizer sees Qt only where Qt
// calls the memory functions (malloc, free, memmove), so excusing reports that pass
// through the two libraries leaves every access made by our own code checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n";
}
#endif
