#pragma once
// The server page of the main window: the list, the empty-list notice over it, the page
// selector below it, and the context menu. Loads may come from any thread; each one
// rewrites the page in a single UI-thread call, so two loads never interleave.
#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/SiteConstants.h"
#include "servers/ServerMenuEntries.h"
#include "servers/ServerRow.h"

class QComboBox;
class QLabel;

namespace vpsdesk::servers {

class ServerContextMenu;
class ServerListView;
struct ServerPage;

class ServerListPage : public QWidget {
    Q_OBJECT
  public:
    using MenuLevel = servers::MenuLevel;

    explicit ServerListPage(QWidget* parent = nullptr);
    ~ServerListPage() override;

    // The platform the loads ask. Until it is set a load fails like an unreachable one.
    void SetSite(platform::SiteConstants site);

    // Any thread. Page 1 for `page` <= 1, else the page the selector shows. The request
    // runs on the calling thread. The page must outlive the call.
    void LoadServerPage(int page);
    // Any thread: loads the page the selector shows (a text that is no number gives 0).
    void RefreshServerList();

    // UI thread: sign-out. Rows, selection, notice and page entries go, the selector reads
    // "1" again, and a load still out for the previous customer is not applied.
    void ClearCustomer();

    // UI thread from here on.
    void SetPageText(const QString& text);
    QString PageText() const;

    std::optional<ServerRow> SelectedRow() const;
    std::optional<ServerRow> RowAt(int row) const;

    // Double-click on a row; nothing happens until a handler is set.
    void SetConnectHandler(std::function<void(const ServerRow&)> connect);
    // Runs before every menu entry's action; false stops the action.
    void SetMenuGate(std::function<bool()> pass);
    void AddMenuEntry(MenuLevel level, const QString& caption,
                      std::function<void(const ServerRow&)> action);
    void BuildContextMenu();
    // Called on the UI thread with the rows of every readable reply once they are shown
    // (none for an account without servers).
    void SetRowsShownHandler(std::function<void(const std::vector<ServerRow>&)> handler);

    int CellWriteCount() const;
    ServerListView* List() const { return list_; }
    QComboBox* PageSelector() const { return selector_; }
    QLabel* Notice() const { return notice_; }
    ServerContextMenu* ContextMenu() const { return menu_; }

    // Steps after the reply, on the UI thread: notice, selector entries, rows. A reply
    // that is not readable keeps everything as it is.
    void ApplyPage(const ServerPage& page);

    // True while a page chosen from the selector is being loaded.
    bool ChoiceLoading() const { return choice_loading_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PublishPageText();
    std::string PublishedPageText() const;
    void RebuildSelector(long long page_count);
    void RunMenuEntry(const std::function<void(const ServerRow&)>& action);
    void LoadChosenPage(int index);

    ServerListView* list_;
    QLabel* notice_;
    QComboBox* selector_;
    ServerContextMenu* menu_;
    std::function<void(const ServerRow&)> connect_;
    std::function<bool()> gate_;
    std::function<void(const std::vector<ServerRow>&)> rows_shown_;
    bool choice_loading_ = false;
    // Changes with every sign-out; a load applies its reply only if it has not changed.
    std::atomic<unsigned> customer_{0};

    // The selector's text as workers may read it; written on the UI thread only.
    mutable std::mutex page_text_mutex_;
    std::string page_text_;
    // The site as workers read it.
    mutable std::mutex site_mutex_;
    platform::SiteConstants site_;
};

}  // namespace vpsdesk::servers
