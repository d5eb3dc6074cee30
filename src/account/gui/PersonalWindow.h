#pragma once
// The personal-information window: the profile as the platform last reported it, the
// greeting that says whether the user is verified, and the way to verification.
#include "account/AccountContext.h"
#include "ui/SkinnedWindow.h"

class QLabel;

namespace vpsdesk::ui {
class BalanceLine;
class CaptionLabel;
}  // namespace vpsdesk::ui

namespace vpsdesk::account {

class PersonalWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    // Refreshes the profile (keeping the window responsive while it is on its way) and
    // fills the labels. The stored real-name status is shown as it is: the keep-alive and
    // a verification change it, not this window.
    explicit PersonalWindow(AccountContext context, QWidget* parent = nullptr);

    QLabel* GreetingLabel() const { return greeting_; }
    ui::CaptionLabel* RealNameLink() const { return real_name_link_; }
    QLabel* BalanceLabel() const;
    // Null when the context gives no way to recharge.
    ui::CaptionLabel* RechargeLink() const;

  private:
    QLabel* AddValueRow(const QString& caption, const QString& object_name, int row);
    void Fill();
    void OpenRealNameWindow();
    void OpenRechargeWindow();

    AccountContext context_;
    QLabel* greeting_ = nullptr;
    ui::CaptionLabel* real_name_link_ = nullptr;
    ui::BalanceLine* balance_ = nullptr;
    QLabel* member_id_ = nullptr;
    QLabel* name_ = nullptr;
    QLabel* mobile_ = nullptr;
    QLabel* qq_ = nullptr;
    QLabel* email_ = nullptr;
};

}  // namespace vpsdesk::account
