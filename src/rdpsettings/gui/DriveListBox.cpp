#include "rdpsettings/gui/DriveListBox.h"

#include <QHeaderView>

#include "ui/QtText.h"

namespace vpsdesk::rdpsettings {

DriveListBox::DriveListBox(QWidget* parent) : QTableWidget(0, 3, parent) {
    setObjectName(QStringLiteral("driveList"));
    setHorizontalHeaderLabels(
        {QStringLiteral("盘符"), QStringLiteral("卷标"), QStringLiteral("类型")});
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 120);
    setColumnWidth(1, 80);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
}

void DriveListBox::SetRows(const std::vector<DriveRow>& rows) {
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rowCount(); ++i) {
        const DriveRow& row = rows[static_cast<size_t>(i)];
        auto* root = new QTableWidgetItem(ui::Qs(row.root));
        root->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        root->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
        // Long mount points stay readable in full.
        root->setToolTip(root->text());
        setItem(i, 0, root);
        for (int column : {1, 2}) {
            auto* cell = new QTableWidgetItem(ui::Qs(column == 1 ? row.label : row.type));
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(i, column, cell);
        }
    }
}

std::vector<DriveRow> DriveListBox::Rows() const {
    std::vector<DriveRow> rows;
    for (int i = 0; i < rowCount(); ++i) {
        auto text = [&](int column) -> std::string {
            return item(i, column) ? ui::U8(item(i, column)->text()) : "";
        };
        rows.push_back({text(0), text(1), text(2),
                        item(i, 0) != nullptr && item(i, 0)->checkState() == Qt::Checked});
    }
    return rows;
}

void DriveListBox::SetTicked(int row, bool ticked) {
    if (QTableWidgetItem* root = item(row, 0))
        root->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace vpsdesk::rdpsettings
