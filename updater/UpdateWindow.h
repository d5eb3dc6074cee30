#pragma once
// The updater's window: a busy progress bar while the update runs on a worker thread, and
// a message box when it fails.
#include <QWidget>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

class QLabel;
class QProgressBar;

namespace vpsdesk::updater {

enum class UpdateStage;

class UpdateWindow : public QWidget {
public:
    UpdateWindow(std::filesystem::path folder, std::string ca_file_override);
    ~UpdateWindow() override;

    // Starts the update; the application's event loop ends with 0 once the new client
    // runs, else with 1 after the user has read the message.
    void Start();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowStage(UpdateStage stage);
    void Finish(bool ok);

    std::filesystem::path folder_;
    std::string ca_file_override_;
    QLabel* label_;
    QProgressBar* progress_;
    std::thread worker_;
    std::atomic<bool> cancelled_{false};
    std::string failure_;  // written by the worker before it posts Finish
    bool finished_ = false;
};

}  // namespace vpsdesk::updater
