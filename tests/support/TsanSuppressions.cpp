// Libraries the thread sanitizer cannot see into, shared by every test program it runs.
// Qt, OpenSSL and the HTTP server library under the reference platform are not built
// with it: their reference counts and locks are atomics
// inside the libraries, so an object handed between threads and freed by the last user
// looks raced. OpenSSL frees a TLS session's certificate list once the last of the
// threads sharing it through libcurl lets go. The sanitizer sees these libraries only
// where they call the memory functions, so excusing reports that pass through them leaves
// every access our own code makes checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n"
           "race:libcrypto.so.3\n"
           // A connection's thread in the server library's own request parsing; no frame
           // of ours takes part.
           "race:libcpp-httplib.so\n";
}
#endif
