#include "ui/BalanceLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

#include "ui/CaptionLabel.h"
#include "ui/QtText.h"

namespace vpsdesk::ui {

BalanceLine::BalanceLine(std::function<std::string()> balance, bool with_link, QWidget* parent)
    : QWidget(parent), balance_(std::move(balance)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("balanceValue"));
    row->addWidget(label_, 1);
    if (with_link) {
        link_ = new CaptionLabel(QStringLiteral("充值"), QStringLiteral("rechargeLink"), this);
        link_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        link_->setFont(label_->font());
        row->addWidget(link_);
        connect(link_, &CaptionLabel::clicked, this, &BalanceLine::rechargeClicked);
    }
    // Only a local read of the kept profile: the keep-alive is what asks the platform.
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &BalanceLine::Refresh);
    timer_->start();
    Refresh();
}

void BalanceLine::Refresh() {
    const QString text =
        QStringLiteral("当前余额:") + Qs(balance_ ? balance_() : std::string());
    if (label_->text() != text) label_->setText(text);
}

}  // namespace vpsdesk::ui
