#pragma once
// An iconv converter for one conversion. Opening one costs more than converting a
// request's worth of text, so each thread keeps the converters it opened and lends one to
// a conversion at a time, back in the initial shift state. A conversion begun while the
// thread's converter is lent out opens one of its own.
#include <iconv.h>

namespace vpsdesk::net {

class ThreadConverter {
  public:
    // `to` and `from` are iconv names that outlive the thread (string literals).
    ThreadConverter(const char* to, const char* from);
    ~ThreadConverter();
    ThreadConverter(const ThreadConverter&) = delete;
    ThreadConverter& operator=(const ThreadConverter&) = delete;

    // Null when iconv has no such conversion.
    iconv_t Get() const { return cd_; }

  private:
    struct Kept;
    iconv_t cd_ = nullptr;
    Kept* kept_ = nullptr;  // the thread's converter, or null for one of its own
};

}  // namespace vpsdesk::net
