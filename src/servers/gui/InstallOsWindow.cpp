#include "servers/gui/InstallOsWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "servers/gui/ServerListPage.h"
#include "ui/QtText.h"
#include "ui/Waiting.h"

namespace vpsdesk::servers {

InstallOsWindow::InstallOsWindow(ServerListPage& page, ServerOperationContext context,
                                 const ServerRow& row, QWidget* parent)
    : OperationWindow(page, std::move(context), QStringLiteral("安装系统"),
                      QStringLiteral("installOsWindow"), 460, 260, parent),
      target_(row[column::kId]) {
    AddCaption(QStringLiteral("操作系统："), 70);
    os_box_ = new QComboBox(this);
    os_box_->setObjectName(QStringLiteral("osNameBox"));
    os_box_->setGeometry(kLeft + kCaptionWidth, 70, width() - 2 * kLeft - kCaptionWidth,
                         kRowHeight);
    auto* notice = new QLabel(ui::Qs(kReinstallNotice), this);
    notice->setObjectName(QStringLiteral("reinstallNotice"));
    notice->setWordWrap(true);
    notice->setGeometry(kLeft, 115, width() - 2 * kLeft, 60);
    install_ = AddButton(QStringLiteral("安装"), QStringLiteral("installButton"), 190);
    install_->setEnabled(false);
    connect(os_box_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) choice_.Choose(static_cast<std::size_t>(index));
    });
    connect(install_, &QPushButton::clicked, this, [this] { Install(); });
    // Fetched once the window runs, so that it is on screen while the platform answers.
    QTimer::singleShot(0, this, [this] { LoadOsList(); });
}

void InstallOsWindow::LoadOsList() {
    const OperationRequest request = OsListRequest(target_);
    const std::optional<OperationReply> reply = Send(install_, request);
    if (!reply) return;
    choice_ = OsChoice::FromReply(reply->text);
    {
        const QSignalBlocker quiet(os_box_);
        os_box_->clear();
        for (const std::string& name : choice_.Names()) os_box_->addItem(ui::Qs(name));
        os_box_->setCurrentIndex(choice_.Names().empty() ? -1 : 0);
    }
    loading_ = false;
}

void InstallOsWindow::Install() {
    if (loading_) return;
    StartInstall(page_, context_, choice_.ChosenId(), target_);
    close();
}

bool InstallOsWindow::StartInstall(ServerListPage& page, const ServerOperationContext& context,
                                   std::string os_id, std::string server_id) {
    return ui::RunInBackground(
        [&page, context, os_id = std::move(os_id), server_id = std::move(server_id)] {
            if (os_id.empty()) {
                context.show(InstallWithoutOsOutcome(), nullptr);
                return;
            }
            const OperationReply reply = context.send(InstallRequest(os_id, server_id));
            const OperationOutcome outcome =
                WithNetworkFailure(InstallOutcome(reply.text), reply.network_failed);
            context.show(outcome, nullptr);
            page.RefreshServerList();
        });
}

}  // namespace vpsdesk::servers
