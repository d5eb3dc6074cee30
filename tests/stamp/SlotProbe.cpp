// Prints the host and version label this binary's slots give, one per line.
#include <cstdio>

#include "platform/SiteConstants.h"

int main() {
    std::printf("%s\n%s\n", vpsdesk::platform::BuiltInSiteHost().c_str(),
                vpsdesk::platform::BuiltInLocalVersion().c_str());
    return 0;
}
