#include "servers/gui/ServerOperationContext.h"

#include "ui/MessageBoxes.h"

namespace vpsdesk::servers {

void ShowOperationOutcome(const OperationOutcome& outcome, QWidget* owner) {
    switch (outcome.box) {
        case BoxKind::None:
            return;
        case BoxKind::Plain:
            ui::ShowPlainMessage(outcome.text, outcome.title, owner);
            return;
        case BoxKind::Toolkit:
            ui::ShowMessage(
                outcome.text, outcome.title,
                outcome.title == "错误" ? ui::MessageIcon::Error : ui::MessageIcon::None,
                ui::MessageButtons::Ok, owner);
            return;
        case BoxKind::Timed:
            ui::ShowSelfClosingMessage(outcome.text, outcome.title, kTimedBoxMs, owner);
            return;
    }
}

}  // namespace vpsdesk::servers
