#include "servers/gui/ServerListPage.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>
#include <climits>

#include "net/Text.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListView.h"
#include "ui/PumpedCall.h"
#include "ui/QtText.h"
#include "ui/Skin.h"
#include "ui/UiThread.h"

namespace vpsdesk::servers {

ServerListPage::ServerListPage(QWidget* parent)
    : QWidget(parent),
      list_(new ServerListView(this)),
      notice_(new QLabel(this)),
      selector_(new QComboBox(this)),
      menu_(new ServerContextMenu(this, [this](const auto& action) { RunMenuEntry(action); })) {
    notice_->setObjectName(QStringLiteral("emptyListNotice"));
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setFont(ui::skin::Font(12));
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    // Editable only so that its text can name a page that has no entry (yet): the text is
    // never typed, and rebuilding the entries leaves it alone.
    selector_->setObjectName(QStringLiteral("pageSelector"));
    selector_->setEditable(true);
    selector_->lineEdit()->setReadOnly(true);
    selector_->lineEdit()->installEventFilter(this);
    selector_->setInsertPolicy(QComboBox::NoInsert);
    selector_->setFont(ui::skin::Font(10));
    selector_->setFixedWidth(80);
    connect(selector_, &QComboBox::editTextChanged, this, [this] { PublishPageText(); });
    connect(selector_, &QComboBox::activated, this, [this](int index) { LoadChosenPage(index); });

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(list_, 0, 0);
    layout->addWidget(notice_, 0, 0);  // drawn over the list
    layout->addWidget(selector_, 1, 0, Qt::AlignRight);
    setFixedWidth(ServerListView::kWidth);

    connect(list_, &ServerListView::rowDoubleClicked, this, [this](int row) {
        if (!connect_) return;
        if (std::optional<ServerRow> texts = list_->RowAt(row)) connect_(*texts);
    });
    connect(list_, &ServerListView::rowMenuRequested, this,
            [this](int, QPoint at) { menu_->Popup(at); });
}

ServerListPage::~ServerListPage() {
    // The children outlive this part of the object: the selector reports its text being
    // cleared as it goes, and nothing of ours may hear that.
    selector_->lineEdit()->removeEventFilter(this);
    selector_->disconnect(this);
    list_->disconnect(this);
}

void ServerListPage::SetSite(platform::SiteConstants site) {
    const std::lock_guard lock(site_mutex_);
    site_ = std::move(site);
}

void ServerListPage::LoadServerPage(int page) {
    const unsigned customer = customer_.load();
    const long long number = ServerPageNumber(page, PublishedPageText());
    platform::SiteConstants site;
    {
        const std::lock_guard lock(site_mutex_);
        site = site_;
    }
    const ServerPage parsed = ParseServerPage(FetchServerPage(site, number));
    ui::OnUiThread([&] {
        if (customer_.load() == customer) ApplyPage(parsed);
    });
}

void ServerListPage::LoadChosenPage(int index) {
    PublishPageText();
    // The request runs on a worker while the window goes on handling events; the selector
    // stays shut until it is back, so only one choice is ever out.
    selector_->setEnabled(false);
    choice_loading_ = true;
    const QPointer<ServerListPage> self(this);
    ui::CallKeepingWindowResponsive([this, index] {
        LoadServerPage(index + 1);
        return true;
    });
    if (self.isNull()) return;
    choice_loading_ = false;
    selector_->setEnabled(true);
}

void ServerListPage::ClearCustomer() {
    ++customer_;
    list_->DeleteAllRows();
    notice_->clear();
    const QSignalBlocker quiet(selector_);
    selector_->clear();
    SetPageText(QStringLiteral("1"));
}

void ServerListPage::RefreshServerList() {
    const long long number = net::TextToInt(PublishedPageText());
    LoadServerPage(static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX)));
}

void ServerListPage::ApplyPage(const ServerPage& page) {
    if (!page.readable) return;
    if (page.Empty()) {
        list_->DeleteAllRows();
        notice_->setText(ui::Qs(kEmptyListNotice));
        if (rows_shown_) rows_shown_({});
        return;
    }
    notice_->clear();
    RebuildSelector(page.page_count);
    list_->ApplyRows(page.rows);
    if (rows_shown_) rows_shown_(page.rows);
}

void ServerListPage::SetRowsShownHandler(
    std::function<void(const std::vector<ServerRow>&)> handler) {
    rows_shown_ = std::move(handler);
}

void ServerListPage::RebuildSelector(long long page_count) {
    // Only this page fills the selector, always with "1".."n": the same number of entries
    // means the same entries.
    if (selector_->count() == page_count) return;
    const QString text = selector_->currentText();
    const QSignalBlocker quiet(selector_);
    selector_->clear();
    QStringList entries;
    for (long long i = 1; i <= page_count; ++i) entries << QString::number(i);
    selector_->addItems(entries);
    selector_->setEditText(text);
}

bool ServerListPage::eventFilter(QObject* watched, QEvent* event) {
    // A click on the text opens the entries, as on a selector that cannot be typed in.
    // Opened on the release: a popup opened on the press would take that release as a
    // click outside itself and close again.
    if (watched == selector_->lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress) return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            selector_->showPopup();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ServerListPage::SetPageText(const QString& text) {
    selector_->setEditText(text);
    PublishPageText();
}

QString ServerListPage::PageText() const {
    return selector_->currentText();
}

void ServerListPage::PublishPageText() {
    std::string text = ui::U8(selector_->currentText());
    std::lock_guard lock(page_text_mutex_);
    page_text_ = std::move(text);
}

std::string ServerListPage::PublishedPageText() const {
    std::lock_guard lock(page_text_mutex_);
    return page_text_;
}

std::optional<ServerRow> ServerListPage::SelectedRow() const {
    return list_->RowAt(list_->SelectedRowIndex());
}

std::optional<ServerRow> ServerListPage::RowAt(int row) const {
    return list_->RowAt(row);
}

void ServerListPage::SetConnectHandler(std::function<void(const ServerRow&)> connect) {
    connect_ = std::move(connect);
}

void ServerListPage::SetMenuGate(std::function<bool()> pass) {
    gate_ = std::move(pass);
}

void ServerListPage::AddMenuEntry(MenuLevel level, const QString& caption,
                                  std::function<void(const ServerRow&)> action) {
    menu_->AddEntry(level, caption, std::move(action));
}

void ServerListPage::BuildContextMenu() {
    menu_->Build();
}

int ServerListPage::CellWriteCount() const {
    return list_->CellWriteCount();
}

void ServerListPage::RunMenuEntry(const std::function<void(const ServerRow&)>& action) {
    const int row = list_->SelectedRowIndex();
    if (gate_ && !gate_()) return;
    // The gate may have shown windows while a refresh ran: the row is read as it is now.
    std::optional<ServerRow> texts = list_->RowAt(row);
    if (texts && action) action(*texts);
}

}  // namespace vpsdesk::servers
