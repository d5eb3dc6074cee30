#pragma once
// "功能设置": the remote-desktop preferences. It fills its controls from config.ini when
// it is created, answers every click with a balloon tip, and saves the whole record when
// it closes; there is no save or cancel button. When the save fails it says so and stays
// open unless the customer chooses to give his changes up. Run it modally with exec().
#include <QStringList>
#include <memory>
#include <string_view>

#include "rdpsettings/SettingsForm.h"
#include "ui/SkinnedWindow.h"

namespace vpsdesk::rdpsettings {

class SettingsControls;

class SettingsWindow : public ui::SkinnedWindow {
    Q_OBJECT
  public:
    // Centred on `centre_on` (the login window, hidden but in place) when given.
    explicit SettingsWindow(QWidget* centre_on = nullptr, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // Where the drive list comes from; an empty lister means this computer's mounted
    // drives. Tests put in their own drives before creating a window.
    static void SetDriveLister(DriveLister lister);

    SettingsControls& Controls() { return *controls_; }
    const SettingsControls& Controls() const { return *controls_; }
    // Every balloon tip this window has shown, oldest first.
    const QStringList& TipsShown() const { return tips_; }

    // Closing by any route saves: the close caption, close(), accept() or reject().
    void done(int result) override;

  private:
    void LoadSettingsWindow();
    // Saves the record; false when the save failed and the customer keeps the window.
    bool StoreSettingsWindow();
    void FillDriveList();
    void SyncColourSlider();
    void SyncSizeSlider();
    void ShowTip(std::string_view text);

    void ConnectDisplay();
    void ConnectDriveMapping();
    void ConnectPlainBoxes();
    void ConnectOptions();
    void SetDriveMapping(bool on);

    std::unique_ptr<SettingsControls> controls_;
    QStringList tips_;
};

}  // namespace vpsdesk::rdpsettings
