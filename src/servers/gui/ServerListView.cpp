#include "servers/gui/ServerListView.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <array>

#include "ui/Colour.h"
#include "ui/QtText.h"
#include "ui/Skin.h"

namespace vpsdesk::servers {
namespace {

struct ColumnLook {
    const char* title;
    int width;  // 0: present but not shown
};

constexpr std::array<ColumnLook, column::kCount> kColumns = {{
    {"产品类型", 130},
    {"名称", 0},
    {"IP/远程地址", 160},
    {"状态", 100},
    {"配置", 80},
    {"带宽", 0},
    {"到期日期", 120},
    {"类型", 0},
    {"ID", 0},
    {"密码", 0},
    {"备注", 100},
}};

// The columns a page fills, in the order they are compared and written.
constexpr std::array<std::size_t, 9> kFilledColumns = {
    column::kProductType, column::kName, column::kAddress,  column::kStatus, column::kConfiguration,
    column::kExpiry,      column::kId,   column::kPassword, column::kRemark};

constexpr std::uint32_t kCellText = 0xFFFFFFFF;

}  // namespace

ServerListView::ServerListView(QWidget* parent) : QTableWidget(0, column::kCount, parent) {
    setObjectName(QStringLiteral("serverList"));
    QStringList titles;
    for (const ColumnLook& look : kColumns) titles << QString::fromUtf8(look.title);
    setHorizontalHeaderLabels(titles);
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
        setColumnWidth(c, kColumns[c].width);
        setColumnHidden(c, kColumns[c].width == 0);
    }
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setFixedHeight(kHeaderHeight);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(false);
    setWordWrap(false);
    // Arrow keys move the selection, Enter connects, the menu key opens the menu.
    setFocusPolicy(Qt::StrongFocus);
    // Tab moves on to the next control instead of through the cells of a row.
    setTabKeyNavigation(false);
    setFont(ui::skin::Font(9));
    setFrameShape(QFrame::NoFrame);
    setFixedSize(kWidth, kHeaderHeight + kVisibleRows * kRowHeight);
    setStyleSheet(
        // No focus frame on the current cell: the whole row's selection already shows it.
        QStringLiteral("QTableWidget { background: %1; color: %2; border: none; outline: 0; }"
                       "QTableWidget::item:selected { background: #2F6BFF; }"
                       "QHeaderView { background: %1; }"
                       "QHeaderView::section { background: %1; color: %2; border: none;"
                       " border-bottom: 1px solid #3A4157; }")
            .arg(ui::StyleSheetColour(ui::skin::kPanel), ui::StyleSheetColour(ui::skin::kText)));
    connect(this, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { emit rowDoubleClicked(row); });
}

void ServerListView::ApplyRows(const std::vector<ServerRow>& rows) {
    const int wanted = static_cast<int>(rows.size());
    if (wanted != rowCount()) {
        DeleteAllRows();
        setRowCount(wanted);
    }
    for (int r = 0; r < wanted; ++r) {
        for (std::size_t c : kFilledColumns) SetCell(r, static_cast<int>(c), ui::Qs(rows[r][c]));
    }
}

void ServerListView::DeleteAllRows() {
    setRowCount(0);
}

void ServerListView::SetCell(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        // A fresh row's cells read as empty text, so an empty value leaves them alone.
        if (text.isEmpty()) return;
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    } else if (cell->text() == text) {
        return;
    }
    cell->setText(text);
    cell->setForeground(ui::ColourFromArgb(kCellText));
    ++cell_writes_;
}

std::optional<ServerRow> ServerListView::RowAt(int row) const {
    if (row < 0 || row >= rowCount()) return std::nullopt;
    ServerRow texts;
    for (int c = 0; c < columnCount() && c < static_cast<int>(texts.size()); ++c) {
        if (const QTableWidgetItem* cell = item(row, c)) texts[c] = ui::U8(cell->text());
    }
    return texts;
}

int ServerListView::SelectedRowIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ServerListView::mousePressEvent(QMouseEvent* event) {
    // The context-menu event selects for a right-click; below the rows it selects nothing.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void ServerListView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool menu_key =
        key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        // Enter on a row connects, as a double-click does.
        const int row = SelectedRowIndex();
        if (row >= 0) emit rowDoubleClicked(row);
        return;
    }
    if (menu_key) {
        event->accept();
        OpenMenuAtSelectedRow();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void ServerListView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard the menu belongs to the selected row, not to the pointer.
        OpenMenuAtSelectedRow();
        return;
    }
    const int row = rowAt(event->pos().y());
    if (row < 0) return;
    selectRow(row);
    if (selectionModel()->isRowSelected(row, QModelIndex()))
        emit rowMenuRequested(row, event->globalPos());
}

void ServerListView::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // Reached by the keyboard, the row the arrow keys start from shows selected; else the
    // first Down would pass over the first row.
    if (event->reason() == Qt::MouseFocusReason || SelectedRowIndex() >= 0) return;
    if (currentIndex().isValid()) selectRow(currentIndex().row());
}

void ServerListView::OpenMenuAtSelectedRow() {
    const int row = SelectedRowIndex();
    if (row < 0) return;
    scrollTo(model()->index(row, static_cast<int>(column::kProductType)));
    const QRect cell = visualRect(model()->index(row, static_cast<int>(column::kProductType)));
    emit rowMenuRequested(row, viewport()->mapToGlobal(cell.center()));
}

}  // namespace vpsdesk::servers
