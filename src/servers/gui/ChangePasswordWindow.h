#pragma once
// "修改密码": a new administrator password for the selected server, typed twice. Only
// the equality is checked here; the platform judges length and strength.
#include "servers/gui/OperationWindow.h"
#include "servers/gui/ServerOperationContext.h"

namespace vpsdesk::servers {

class ChangePasswordWindow : public OperationWindow {
    Q_OBJECT
  public:
    ChangePasswordWindow(ServerListPage& page, ServerOperationContext context, QWidget* parent);

    QLineEdit* PasswordEdit() const { return password_; }
    QLineEdit* RepeatEdit() const { return repeat_; }
    QPushButton* ChangeButton() const { return change_; }

  protected:
    bool focusNextPrevChild(bool next) override;

  private:
    void Submit();

    QLineEdit* password_;
    QLineEdit* repeat_;
    QPushButton* change_;
};

}  // namespace vpsdesk::servers
