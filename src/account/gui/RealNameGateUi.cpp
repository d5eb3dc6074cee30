#include "account/gui/RealNameGateUi.h"

#include "account/RealNameGate.h"
#include "account/gui/PersonalWindow.h"
#include "ui/MessageBoxes.h"

namespace vpsdesk::account {

bool PassRealNameGate(const AccountContext& context, QWidget* parent) {
    if (!RealNameBlocks(context.session.RealNameStatus())) return true;
    // The toolkit's box: a plain one under a skinned owner inherits white-on-light text.
    ui::ShowMessage("您还未实名认证，请先进行实名", "提示", ui::MessageIcon::None,
                    ui::MessageButtons::Ok, parent);
    PersonalWindow window(context, parent);
    window.exec();
    return false;
}

}  // namespace vpsdesk::account
