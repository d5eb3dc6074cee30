#include "ui/Skin.h"

#include <QStringList>

#include "ui/Colour.h"

namespace vpsdesk::ui::skin {

QFont Font(int point_size) {
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("sans-serif")});
    font.setPointSize(point_size);
    return font;
}

QString DarkStyleSheet() {
    const QString text = StyleSheetColour(kText);
    const QString panel = StyleSheetColour(kPanel);
    return QStringLiteral(
               "QLabel, QCheckBox, QRadioButton, QGroupBox { color: %1; background: transparent; }"
               "QLineEdit { color: %1; background: %2; border: 1px solid #3A4157; border-radius: 3px;"
               " padding: 2px 4px; }"
               "QPushButton { color: %1; background: #2F6BFF; border: none; border-radius: 3px;"
               " padding: 4px 12px; }"
               "QPushButton:disabled { background: #4A5066; color: #B3B3B3; }"
               "QTableWidget, QTableView, QListWidget, QComboBox, QTabWidget::pane {"
               " color: %1; background: %2; }"
               "QHeaderView::section { color: %1; background: %2; }"
               // A drop-down's list is a window of its own and would otherwise keep the
               // light system base under the skin's white text.
               "QComboBox QAbstractItemView { color: %1; background: %2;"
               " selection-background-color: #2F6BFF; }")
        .arg(text, panel);
}

}  // namespace vpsdesk::ui::skin
