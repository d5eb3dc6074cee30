// OpenSSL is not built with the thread sanitizer. Threads share TLS sessions through
// libcurl, and OpenSSL frees a session's certificate list once its last user drops it,
// counting users with atomics inside libcrypto that the sanitizer cannot see; so a list
// read by one thread's handshake and freed later by another looks raced. The sanitizer
// sees OpenSSL only where it calls the memory functions (malloc, free, memcpy), so
// excusing reports that pass through libcrypto leaves every access our own code makes
// checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:libcrypto.so.3\n";
}
#endif
