#pragma once
// "设置备注": the remark of the selected server. The row is read when the button is
// pressed; the window closes whatever the platform answers.
#include "servers/gui/OperationWindow.h"
#include "servers/gui/ServerOperationContext.h"

namespace vpsdesk::servers {

class SetRemarkWindow : public OperationWindow {
    Q_OBJECT
  public:
    SetRemarkWindow(ServerListPage& page, ServerOperationContext context, QWidget* parent);

    QLineEdit* RemarkEdit() const { return remark_; }
    QPushButton* SetButton() const { return set_; }

  private:
    void Submit();

    QLineEdit* remark_;
    QPushButton* set_;
};

}  // namespace vpsdesk::servers
