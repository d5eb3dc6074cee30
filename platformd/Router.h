#pragma once
// Maps method and path (without the query) to a handler.
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace platformd {

class Exchange;

class Router {
  public:
    using Handler = std::function<void(Exchange&)>;

    void Get(const std::string& path, Handler handler) { Add("GET", path, std::move(handler)); }
    void Post(const std::string& path, Handler handler) { Add("POST", path, std::move(handler)); }
    // Both methods: some pages are opened in a browser as well as requested by the client.
    void Any(const std::string& path, const Handler& handler) {
        Add("GET", path, handler);
        Add("POST", path, handler);
    }
    void Add(const std::string& method, const std::string& path, Handler handler) {
        routes_[{method, path}] = std::move(handler);
    }
    const Handler* Find(const std::string& method, const std::string& path) const {
        auto it = routes_.find({method, path});
        return it == routes_.end() ? nullptr : &it->second;
    }

  private:
    std::map<std::pair<std::string, std::string>, Handler> routes_;
};

}  // namespace platformd
