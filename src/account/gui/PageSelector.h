#pragma once
// The row of entries at the top of the login window: "登录", "注册", "找回密码".
#include <QListWidget>

namespace vpsdesk::account {

class PageSelector : public QListWidget {
    Q_OBJECT
public:
    enum Entry { kLogin = 0, kRegister = 1, kRecover = 2 };

    explicit PageSelector(QWidget* parent = nullptr);

    // Marks `entry` as the shown one without announcing a choice.
    void ShowEntry(int entry);

signals:
    // The user clicked an entry, the one already shown included.
    void entryChosen(int entry);
};

}  // namespace vpsdesk::account
