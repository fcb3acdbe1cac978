// The virtual result panel: a list model whose data() asks the core's line
// model for the text and colour of each row it paints (the lists are never
// copied), and the view that shows it with a header row, uniform rows and a
// fixed-pitch font. The view keeps no record per row beyond its row
// header's size, so a panel of tens of millions of rows opens at once.
#pragma once

#include "viewers/ChangedChars.h"
#include "viewers/LineModel.h"

#include <QAbstractListModel>
#include <QFont>
#include <QTableView>

#include <memory>

namespace quorlin::gui {

/// The fixed-pitch font of the panels: "Courier New" where it is installed,
/// else the system's fixed font, at pointSize points.
QFont PanelFont(int pointSize);

class TPanelListModel final : public QAbstractListModel {
  Q_OBJECT
public:
  /// The role of a row's changed characters: a list of QPoint(from, to),
  /// character offsets into its display text.
  static constexpr int MarksRole = Qt::UserRole + 1;

  TPanelListModel(TPanelRule rule, QObject* parent = nullptr);

  /// Shows the lists of view (which must outlive the model or the next
  /// Reset) with header as the text of the header row.
  void Reset(const TResultView& view, const QString& header);
  const TResultView& View() const { return ResultView; }
  TPanelRule Rule() const { return PanelRule; }
  /// The longest display text in characters, for the column width.
  int WidestRow() const { return Widest; }
  /// Whether rows answer MarksRole ("Chg Chars").
  void ShowMarks(bool on);
  bool MarksShown() const { return Marked; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  TPanelRule PanelRule;
  TResultView ResultView;
  TStringList Empty;
  QString Header;
  int Widest = 0;
  bool Marked = true;
  std::unique_ptr<TRowMarks> Marks; ///< over ResultView, made anew by Reset
};

/// A result panel: one column, a header row that scrolls sideways with the
/// rows, one line per item, and the events the viewer models take (top line
/// changed, line clicked). Home and End go to the first and the last row,
/// Left and Right scroll sideways.
class TPanelView final : public QTableView {
  Q_OBJECT
public:
  explicit TPanelView(QWidget* parent = nullptr);

  void SetPanelModel(TPanelListModel* model);
  /// Marks on or off: the model's rows and a repaint.
  void ShowMarks(bool on);
  TPanelListModel* PanelModel() const { return Model; }
  /// Font size in points; the column width follows.
  void SetFontSize(int points);

  int TopLine() const;
  /// Scrolls so that line top is the first visible row (as far as the list allows).
  void SetTopLine(int top);
  /// Rows that fit in the viewport.
  int VisibleRows() const;
  /// The width that shows the widest row whole, scroll bar and frame included.
  int WholeRowWidth() const;
  /// The selected line, -1 when none.
  int Selection() const;
  /// Selects line index and scrolls it into view; -1 clears the selection.
  void Select(int index);
  /// The selected row on the screen (global coordinates); empty when none.
  QRect SelectionRect() const;

protected:
  /// Ctrl+C copies the selected rows as the panel shows them, one a line.
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

signals:
  void TopLineChanged(int top);
  void LineClicked(int index);

private:
  TPanelListModel* Model = nullptr;
  void FitColumn();
};

} // namespace quorlin::gui
