#pragma once
// The real-name verification window: the person's name and ID-card number go to the
// platform together with the account's mobile number.
#include "account/AccountContext.h"
#include "ui/SkinnedWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vpsdesk::account {

inline constexpr std::string_view kVerifiedMessage = "认证成功！";
inline constexpr std::string_view kMismatchMessage =
    "认证信息不匹配，请确保手机号码与本人身份信息一致，如有问题请联系客服！";

class RealNameWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    explicit RealNameWindow(AccountContext context, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* IdEdit() const { return id_number_; }
    QPushButton* SubmitButton() const { return submit_; }

  private:
    void Submit();

    AccountContext context_;
    QLabel* account_ = nullptr;
    QLabel* mobile_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* id_number_ = nullptr;
    QPushButton* submit_ = nullptr;
};

}  // namespace vpsdesk::account
