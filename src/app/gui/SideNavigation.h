#pragma once
// The main window's side navigation: 产品列表, 财务信息, 购买产品, 客服中心, 卡密激活.
// Choosing an entry shows its page and renews the sign-in with the platform; the server
// list and card activation are only for users who passed the real-name verification.
#include <QListWidget>
#include <functional>

namespace vpsdesk::app {

class SideNavigation : public QListWidget {
    Q_OBJECT
  public:
    enum Entry {
        kServers = 0,
        kFinance = 1,
        kPurchase = 2,
        kService = 3,
        kCards = 4,
        kEntryCount = 5
    };

    explicit SideNavigation(QWidget* parent = nullptr);

    // Clears the list and adds the five entries, nothing selected.
    void Build();
    // Selects `entry` as a click would, with everything the choice runs.
    void Select(int entry);

    // The real-name gate; false keeps the page. Without one every entry opens.
    void SetGate(std::function<bool(QWidget*)> gate) { gate_ = std::move(gate); }
    // The silent re-login; its reply does not matter. Runs on the UI thread.
    void SetRelogin(std::function<void()> relogin) { relogin_ = std::move(relogin); }
    // Loads the server list; started on a new worker each time the list is chosen.
    void SetServerLoader(std::function<void()> load) { load_servers_ = std::move(load); }
    // Loads the finance records' first page; run on a worker when "财务信息" is chosen.
    void SetFinanceLoader(std::function<void()> load) { load_finance_ = std::move(load); }

    // The entry whose page is shown (-1 before the first choice).
    int ShownEntry() const { return shown_; }

    static QString Caption(int entry);

  signals:
    // Switch the main window to page `page`.
    void pageChosen(int page);

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    void Choose(int entry);
    void Revert();
    void Relogin();

    std::function<bool(QWidget*)> gate_;
    std::function<void()> relogin_;
    std::function<void()> load_servers_;
    std::function<void()> load_finance_;
    int shown_ = -1;
    int choosing_ = -1;  // the entry whose choice is under way
};

}  // namespace vpsdesk::app
