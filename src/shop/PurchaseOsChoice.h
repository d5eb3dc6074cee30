#pragma once
// The purchase window's operating systems: names and ids as two parallel lists, and the id
// of the chosen name. The first is chosen as soon as the list arrives.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::shop {

inline constexpr std::string_view kOsCaption = "操作系统：";

class PurchaseOsChoice {
  public:
    // Reads "count", then "data[i].osname" and "data[i].osid" for each i below it; the
    // chosen name and id are those at "data[0]". An empty, unreadable or empty list
    // leaves everything empty, and the order then goes out with an empty "osid".
    static PurchaseOsChoice FromReply(std::string_view reply);

    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::string>& Ids() const { return ids_; }
    const std::string& ChosenName() const { return chosen_name_; }
    const std::string& ChosenId() const { return chosen_id_; }

    // The name and id at `index`; an index outside the list changes nothing.
    void Choose(std::size_t index);

  private:
    std::vector<std::string> names_;
    std::vector<std::string> ids_;
    std::string chosen_name_;
    std::string chosen_id_;
};

}  // namespace vpsdesk::shop
