#pragma once
// The install-OS window's choice: the platform's OS names and ids as two parallel lists,
// and the id of the chosen name. The first OS is chosen as soon as the list arrives.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vpsdesk::servers {

class OsChoice {
  public:
    // Reads the OS-list reply ("count", "data[i].osname", "data[i].osid"). A failed or
    // empty list leaves both lists and the chosen id empty.
    static OsChoice FromReply(std::string_view reply);

    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::string>& Ids() const { return ids_; }
    const std::string& ChosenId() const { return chosen_id_; }

    // The id at the chosen name's index; an index outside the list changes nothing.
    void Choose(std::size_t index);

  private:
    std::vector<std::string> names_;
    std::vector<std::string> ids_;
    std::string chosen_id_;
};

}  // namespace vpsdesk::servers
