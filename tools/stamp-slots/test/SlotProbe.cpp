// Prints the host and version label this binary's slots give, one per line.
#include <cstdio>

#include "app/SiteConstants.h"

int main() {
    std::printf("%s\n%s\n", vpsdesk::app::BuiltInSiteHost().c_str(),
                vpsdesk::app::BuiltInLocalVersion().c_str());
    return 0;
}
