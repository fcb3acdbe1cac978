#include "gui/PanelModel.h"

#include "gui/QtFrontEnd.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QScrollBar>

namespace quorlin::gui {

QFont PanelFont(int pointSize) {
  QFont font = QFontDatabase::families().contains("Courier New") ? QFont("Courier New")
                                                                  : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(pointSize > 0 ? pointSize : 8);
  return font;
}

TPanelListModel::TPanelListModel(TPanelRule rule, QObject* parent) : QAbstractListModel(parent), PanelRule(rule) {
  ResultView.Panel1 = &Empty;
  ResultView.Panel2 = &Empty;
}

void TPanelListModel::Reset(const TResultView& view, const QString& header) {
  beginResetModel();
  ResultView = view;
  if (!ResultView.Panel1) ResultView.Panel1 = &Empty;
  if (!ResultView.Panel2) ResultView.Panel2 = &Empty;
  Header = header;
  // The widest row: the reference-number prefix is at most 8 characters for
  // listings of up to a million numbered lines, more only beyond that.
  size_t widest = static_cast<size_t>(header.size());
  const TStringList& list = PanelList(ResultView, PanelRule);
  const size_t prefix = list.size() >= 10'000'000 ? 10 : 8;
  for (std::string_view line : list) widest = std::max(widest, line.size() + prefix);
  Widest = static_cast<int>(std::min<size_t>(widest, 100'000));
  Marks = std::make_unique<TRowMarks>(ResultView);
  endResetModel();
}

void TPanelListModel::ShowMarks(bool on) {
  Marked = on;
  if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {MarksRole});
}

int TPanelListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(PanelList(ResultView, PanelRule).size());
}

QVariant TPanelListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() != 0) return {};
  const long row = index.row();
  switch (role) {
  case Qt::DisplayRole: {
    // Decoded per character: a cut or invalid sequence shows as U+FFFD.
    std::string text;
    ShownText(ResultView, PanelRule, row, text);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  case MarksRole: {
    if (!Marked || !Marks) return {};
    QVariantList marks;
    for (const TCharRange& r : Marks->ShownMarks(PanelRule, row))
      marks << QPoint(static_cast<int>(r.From), static_cast<int>(r.To));
    return marks.isEmpty() ? QVariant() : QVariant(marks);
  }
  case Qt::ForegroundRole: {
    const TLineColour colour = LineColour(ResultView, PanelRule, row);
    if (colour == TLineColour::Normal) return {};
    return ShownColour(colour, QPalette::Base);
  }
  default:
    return {};
  }
}

QVariant TPanelListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (section != 0 || orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return Header;
  if (role == Qt::ForegroundRole) return ShownColour(TLineColour::Navy);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

namespace {

/// Paints a row's changed characters on a stronger tint of the row's own
/// colour, then the row as usual.
class TMarkDelegate final : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QVariant marks = index.data(TPanelListModel::MarksRole);
    if (marks.isValid() && !(option.state & QStyle::State_Selected)) {
      QStyleOptionViewItem opt = option;
      initStyleOption(&opt, index);
      const QWidget* widget = option.widget;
      const QStyle* style = widget ? widget->style() : QApplication::style();
      const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
      const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
      const QFontMetrics metrics(opt.font);
      QColor tint = index.data(Qt::ForegroundRole).value<QColor>();
      if (!tint.isValid()) tint = option.palette.color(QPalette::Text);
      tint.setAlpha(64);
      for (const QVariant& mark : marks.toList()) {
        const QPoint range = mark.toPoint();
        const int x = text.left() + margin + metrics.horizontalAdvance(opt.text.left(range.x()));
        const int w = metrics.horizontalAdvance(opt.text.mid(range.x(), range.y() - range.x()));
        painter->fillRect(QRect(x, option.rect.top(), w, option.rect.height()), tint);
      }
    }
    QStyledItemDelegate::paint(painter, option, index);
  }
};

} // namespace

TPanelView::TPanelView(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new TMarkDelegate(this));
  setShowGrid(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // Several rows may be selected for Copy; navigation moves the current one.
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  SetFontSize(8);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) { emit TopLineChanged(value); });
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { emit LineClicked(index.row()); });
}

void TPanelView::SetPanelModel(TPanelListModel* model) {
  Model = model;
  setModel(model);
  FitColumn();
}

void TPanelView::ShowMarks(bool on) {
  if (Model) Model->ShowMarks(on);
  viewport()->update();
}

void TPanelView::SetFontSize(int points) {
  const QFont font = PanelFont(points);
  setFont(font);
  horizontalHeader()->setFont(font);
  // Every row one line of the font high, as a list of lines has.
  const int row = QFontMetrics(font).height();
  verticalHeader()->setMinimumSectionSize(row);
  verticalHeader()->setDefaultSectionSize(row);
  FitColumn();
}

void TPanelView::FitColumn() {
  if (!Model) return;
  const QFontMetrics metrics(font());
  horizontalHeader()->resizeSection(0, metrics.horizontalAdvance(QLatin1Char('X')) * (Model->WidestRow() + 2));
}

int TPanelView::TopLine() const { return verticalScrollBar()->value(); }

void TPanelView::SetTopLine(int top) { verticalScrollBar()->setValue(top); }

int TPanelView::WholeRowWidth() const {
  return horizontalHeader()->sectionSize(0) + verticalScrollBar()->sizeHint().width() + 2 * frameWidth() + 4;
}

int TPanelView::VisibleRows() const {
  return std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
}

int TPanelView::Selection() const {
  const QModelIndex current = currentIndex();
  return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

QRect TPanelView::SelectionRect() const {
  const int row = Selection();
  if (!Model || row < 0) return {};
  const QRect rect = visualRect(Model->index(row));
  return QRect(viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

void TPanelView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && event->modifiers() == Qt::NoModifier) {
    horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                                      : QAbstractSlider::SliderSingleStepAdd);
    event->accept();
    return;
  }
  if (event != QKeySequence::Copy || !Model) {
    QTableView::keyPressEvent(event);
    return;
  }
  QModelIndexList rows = selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  QStringList lines;
  for (const QModelIndex& row : rows) lines << row.data().toString();
  QApplication::clipboard()->setText(lines.join('\n') + (lines.isEmpty() ? "" : "\n"));
  event->accept();
}

QModelIndex TPanelView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  // One column: Home and End mean the first and the last row.
  if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
  return QTableView::moveCursor(action, modifiers);
}

void TPanelView::Select(int index) {
  if (!Model) return;
  if (index < 0 || index >= Model->rowCount()) {
    clearSelection();
    return;
  }
  const QModelIndex target = Model->index(index);
  setCurrentIndex(target);
  scrollTo(target);
}

} // namespace quorlin::gui
