#include "UpdateWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QVBoxLayout>

#include <utility>

#include "UpdateJob.h"
#include "net/WebRequest.h"

namespace vpsdesk::updater {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

UpdateWindow::UpdateWindow(std::filesystem::path folder, std::string ca_file_override)
    : folder_(std::move(folder)),
      ca_file_override_(std::move(ca_file_override)),
      label_(new QLabel(this)),
      progress_(new QProgressBar(this)) {
    setWindowTitle(Q("更新"));
    setObjectName("updateWindow");
    label_->setObjectName("stageLabel");
    progress_->setObjectName("progressBar");
    // The request reports no progress, so the bar only shows that work goes on.
    progress_->setRange(0, 0);
    progress_->setTextVisible(false);
    progress_->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(progress_);
}

UpdateWindow::~UpdateWindow() {
    if (worker_.joinable()) {
        net::CancelAllRequests();
        worker_.join();
    }
}

void UpdateWindow::Start() {
    UpdateRun run;
    run.folder = folder_;
    run.ca_file_override = ca_file_override_;
    run.cancelled = &cancelled_;
    run.on_stage = [this](UpdateStage stage) {
        QMetaObject::invokeMethod(this, [this, stage] { ShowStage(stage); }, Qt::QueuedConnection);
    };
    run.on_failure = [this](const std::string& message) { failure_ = message; };
    worker_ = std::thread([this, run] {
        bool ok = RunUpdate(run);
        QMetaObject::invokeMethod(this, [this, ok] { Finish(ok); }, Qt::QueuedConnection);
    });
}

void UpdateWindow::ShowStage(UpdateStage stage) {
    switch (stage) {
        case UpdateStage::kReadSettings: label_->setText(Q("正在读取更新配置…")); break;
        case UpdateStage::kDownload: label_->setText(Q("正在下载新版本…")); break;
        case UpdateStage::kReplace: label_->setText(Q("正在安装新版本…")); break;
        case UpdateStage::kStart: label_->setText(Q("正在启动新版本…")); break;
    }
}

void UpdateWindow::Finish(bool ok) {
    worker_.join();
    finished_ = true;
    if (!ok && !cancelled_.load()) {
        QMessageBox::critical(this, Q("更新失败"), Q(failure_));
    }
    QApplication::exit(ok ? 0 : 1);
}

void UpdateWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    // Closing asks the worker to stop; the window goes when it has.
    event->ignore();
    if (!cancelled_.exchange(true)) {
        label_->setText(Q("正在取消…"));
        net::CancelAllRequests();
    }
}

}  // namespace vpsdesk::updater
