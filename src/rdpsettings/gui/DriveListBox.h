#pragma once
// The settings window's drive list: one row per fixed drive with its entry, volume label
// and file-system type, and a check box in the first column; and, unseen, the chosen
// drives that are not mounted now.
#include <QTableWidget>
#include <string>
#include <utility>
#include <vector>

#include "rdpsettings/SettingsForm.h"

namespace vpsdesk::rdpsettings {

class DriveListBox : public QTableWidget {
    Q_OBJECT
  public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // Replaces every row.
    void SetRows(const std::vector<DriveRow>& rows);
    // The rows as shown, with their check boxes' states.
    std::vector<DriveRow> Rows() const;
    void SetTicked(int row, bool ticked);

    // The chosen drives that are not mounted now: kept with the list, never shown.
    void SetUnlisted(std::vector<std::string> entries) { unlisted_ = std::move(entries); }
    const std::vector<std::string>& Unlisted() const { return unlisted_; }

  private:
    std::vector<std::string> unlisted_;
};

}  // namespace vpsdesk::rdpsettings
