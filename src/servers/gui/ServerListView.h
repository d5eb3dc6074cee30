#pragma once
// The multi-column list of the customer's servers. It holds texts only: other windows read
// a server's data back from the cells of a row.
#include <QPoint>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "servers/ServerRow.h"

namespace vpsdesk::servers {

class ServerListView : public QTableWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 703;
    static constexpr int kRowHeight = 45;
    static constexpr int kHeaderHeight = 30;
    static constexpr int kVisibleRows = 5;  // one page

    explicit ServerListView(QWidget* parent = nullptr);

    // Makes the list show `rows`: the rows are replaced only when their number changes,
    // and a cell is rewritten (in white) only when its text differs. Columns 5 and 7 are
    // never written.
    void ApplyRows(const std::vector<ServerRow>& rows);
    void DeleteAllRows();

    std::optional<ServerRow> RowAt(int row) const;
    int SelectedRowIndex() const;  // -1 when no row is selected
    // Cell texts written since the list was made, for tests and benchmarks.
    int CellWriteCount() const { return cell_writes_; }

  signals:
    // A double-click on `row`, or Enter on the selected row.
    void rowDoubleClicked(int row);
    // A right-click, the menu key or Shift+F10 on the selected `row`; the menu belongs
    // at `global_pos`.
    void rowMenuRequested(int row, QPoint global_pos);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void SetCell(int row, int column, const QString& text);
    // The menu key and Shift+F10: the menu opens over the selected row.
    void OpenMenuAtSelectedRow();

    int cell_writes_ = 0;
};

}  // namespace vpsdesk::servers
