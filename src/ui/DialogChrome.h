#pragma once
// The frame shared by the small modal windows that open over the main window: a thin
// edge that sets them apart from it, and their title in the top-left corner.
#include <QString>

class QLabel;
class QWidget;

namespace vpsdesk::ui {

// Call once the window has its final size. Returns the title label.
QLabel* AddDialogChrome(QWidget* window, const QString& title, const QString& title_object_name);

}  // namespace vpsdesk::ui
