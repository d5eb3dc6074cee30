#pragma once
// The server list's two-level context menu. Features register their entries; the menu
// keeps them in their fixed order and hands the chosen one back to the list, which decides
// whether and on which row it runs.
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "servers/ServerMenuEntries.h"
#include "servers/ServerRow.h"

class QWidget;

namespace vpsdesk::servers {

class ServerContextMenu : public QObject {
    Q_OBJECT
  public:
    using Action = std::function<void(const ServerRow&)>;
    // Receives the chosen entry's action; runs on the UI thread.
    using Dispatch = std::function<void(const Action&)>;

    static constexpr int kEntryWidth = 300;
    static constexpr int kEntryHeight = 28;

    ServerContextMenu(QWidget* owner, Dispatch dispatch);
    ~ServerContextMenu() override;

    // A caption registered again replaces the earlier action. "管理主机" cannot be
    // registered: it only opens the sub-menu and appears when that has entries.
    void AddEntry(MenuLevel level, const QString& caption, Action action);
    // Builds the menus afresh from the registered entries. Once built, a later
    // registration rebuilds them too.
    void Build();
    // Pops the top level up at `global_pos`; nothing when not built or without entries.
    void Popup(QPoint global_pos);

    QMenu* TopMenu() const { return top_; }

  private:
    struct Entry {
        MenuLevel level;
        QString caption;
        int position;   // place on its level; unknown captions follow the known ones
        long sequence;  // registration order, among unknown captions
        Action action;
    };

    QMenu* NewMenu(QWidget* parent) const;
    void Fill(QMenu* menu, MenuLevel level);

    QWidget* owner_;
    Dispatch dispatch_;
    std::vector<Entry> entries_;
    long next_sequence_ = 0;
    QPointer<QMenu> top_;
};

}  // namespace vpsdesk::servers
