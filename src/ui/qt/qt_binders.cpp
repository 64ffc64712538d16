// Binders of the kinds Qt has a standard widget for.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>

#include "ui/controls.h"
#include "ui/qt/qt_binder.h"

namespace velmark::ui::qt {

namespace {

// A binder of control type C shown on widget type W.
template <class C, class W>
class Typed : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;

 protected:
  C& Ctl() { return static_cast<C&>(*control_); }
  W* Wid() { return static_cast<W*>(Widget()); }
};

class LabelBinder : public Typed<Label, MouseWidget<QLabel>> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new MouseWidget<QLabel>(parent);
    w->setWordWrap(true);
    w->setMouseTracking(true);
    w->mouse = [this](int phase, QMouseEvent* e) { ForwardMouse(phase, e, true); };
    return w;
  }
  void Sync() override {
    const QString text = ToQ(Ctl().Caption());
    if (Wid()->text() != text) Wid()->setText(text);
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    const Qt::Alignment a = kAlign[static_cast<int>(Ctl().TextAlignment())] | Qt::AlignTop;
    if (Wid()->alignment() != a) Wid()->setAlignment(a);
  }
};

class ButtonBinder : public Typed<Button, QPushButton> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QPushButton(parent);
    QObject::connect(w, &QPushButton::clicked, [this] { User([this] { Ctl().UserClick(); }); });
    return w;
  }
  void Sync() override { Wid()->setText(ToQ(Ctl().Caption())); }
};

// The line edit hands every typed character, Enter and Backspace to the control, which runs
// the key-press handler and edits its own text; cursor keys, Delete and the clipboard keys
// stay with the line edit, whose edit then replaces the control's text.
class KeyLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<bool(int key)> key;  // true when the control took the key

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (key && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      int code = 0;
      if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        code = kKeyEnter;
      } else if (e->key() == Qt::Key_Backspace) {
        code = kKeyBackspace;
      } else if (e->text().size() == 1 && e->text()[0].isPrint()) {
        const char16_t ch = e->text()[0].unicode();
        code = ch < 128 ? ch : -static_cast<int>(ch);
      }
      if (code != 0 && key(code)) return;
    }
    QLineEdit::keyPressEvent(e);
  }
};

class TextBinder : public Typed<TextBox, KeyLineEdit> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new KeyLineEdit(parent);
    w->key = [this](int code) {
      User([&] {
        PushSelection();
        Ctl().UserKey(code);
      });
      return true;
    };
    QObject::connect(w, &QLineEdit::textEdited, [this](const QString& text) {
      User([&] { Ctl().UserReplace(FromQ(text)); });
    });
    QObject::connect(w, &QLineEdit::cursorPositionChanged, [this] { PushSelection(); });
    QObject::connect(w, &QLineEdit::selectionChanged, [this] { PushSelection(); });
    return w;
  }
  void Sync() override {
    const QString text = ToQ(Ctl().Text());
    if (Wid()->text() != text) Wid()->setText(text);
    const std::string& t = Ctl().Text();
    const int start = CharOffset(t, Ctl().SelStart());
    const int length = CharOffset(t, Ctl().SelStart() + Ctl().SelLength()) - start;
    if (length > 0) {
      Wid()->setSelection(start, length);
    } else if (Wid()->cursorPosition() != start || Wid()->hasSelectedText()) {
      Wid()->setCursorPosition(start);
    }
  }

 private:
  // The caret and selection a person set with the mouse or cursor keys, told to the control.
  void PushSelection() {
    if (!control_) return;
    const QString text = Wid()->text();
    if (Wid()->hasSelectedText()) {
      const int start = ByteOffset(text, Wid()->selectionStart());
      const int end = ByteOffset(text, Wid()->selectionEnd());
      Ctl().SetSelection(start, end - start);
    } else {
      Ctl().SetCaret(ByteOffset(text, Wid()->cursorPosition()));
    }
  }
};

class SliderBinder : public Typed<Slider, QSlider> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QSlider(parent);
    QObject::connect(w, &QSlider::valueChanged,
                     [this](int v) { User([&] { Ctl().UserSetValue(v); }); });
    return w;
  }
  void Sync() override {
    // The program's sliders have their minimum at the top; keys and wheel follow the picture.
    const bool horizontal = Ctl().Horizontal();
    Wid()->setOrientation(horizontal ? Qt::Horizontal : Qt::Vertical);
    Wid()->setInvertedAppearance(!horizontal);
    Wid()->setInvertedControls(!horizontal);
    Wid()->setRange(Ctl().Min(), Ctl().Max());
    Wid()->setValue(Ctl().Value());
  }
};

class CheckBinder : public Typed<CheckBox, QCheckBox> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QCheckBox(parent);
    QObject::connect(w, &QCheckBox::clicked, [this] { User([this] { Ctl().UserClick(); }); });
    return w;
  }
  void Sync() override {
    Wid()->setText(ToQ(Ctl().Caption()));
    Wid()->setChecked(Ctl().Value() != 0);
    // The box itself stays light on the program's dark frames, so that an empty one shows.
    QPalette pal = Wid()->palette();
    if (pal.color(QPalette::Base) != kBoxFace || pal.color(QPalette::Text) != Qt::black) {
      pal.setColor(QPalette::Base, kBoxFace);
      pal.setColor(QPalette::Text, Qt::black);
      Wid()->setPalette(pal);
    }
  }

 private:
  inline static const QColor kBoxFace{226, 228, 232};
};

// The group logic lives in the controls; the radio buttons only show it.
class OptionBinder : public Typed<OptionButton, QRadioButton> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QRadioButton(parent);
    w->setAutoExclusive(false);
    QObject::connect(w, &QRadioButton::clicked, [this] { User([this] { Ctl().UserClick(); }); });
    return w;
  }
  void Sync() override {
    Wid()->setText(ToQ(Ctl().Caption()));
    Wid()->setChecked(Ctl().Value());
  }
};

// Shared by the combo box and the list box: refill only when the entries changed.
template <class W>
bool SameItems(const std::vector<std::string>& items, W* w) {
  if (w->count() != static_cast<int>(items.size())) return false;
  for (int i = 0; i < w->count(); ++i) {
    if constexpr (std::is_same_v<W, QComboBox>) {
      if (w->itemText(i) != ToQ(items[static_cast<std::size_t>(i)])) return false;
    } else {
      if (w->item(i)->text() != ToQ(items[static_cast<std::size_t>(i)])) return false;
    }
  }
  return true;
}

class ComboBinder : public Typed<ComboBox, QComboBox> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QComboBox(parent);
    w->setMaxVisibleItems(16);
    QObject::connect(w, &QComboBox::activated,
                     [this](int i) { User([&] { Ctl().UserSelect(i); }); });
    return w;
  }
  void Sync() override {
    if (!SameItems(Ctl().Items(), Wid())) {
      Wid()->clear();
      for (const auto& item : Ctl().Items()) Wid()->addItem(ToQ(item));
    }
    Wid()->setCurrentIndex(Ctl().ListIndex());
  }
};

class ListBinder : public Typed<ListBox, QListWidget> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QListWidget(parent);
    QObject::connect(w, &QListWidget::currentRowChanged, [this](int row) {
      if (row >= 0) User([&] { Ctl().UserSelect(row); });
    });
    QObject::connect(w, &QListWidget::itemDoubleClicked,
                     [this] { User([this] { Ctl().UserDblClick(); }); });
    return w;
  }
  void Sync() override {
    if (!SameItems(Ctl().Items(), Wid())) {
      Wid()->clear();
      for (const auto& item : Ctl().Items()) Wid()->addItem(ToQ(item));
    }
    // Several columns: the entries run down and then on to the next column.
    const int columns = Ctl().Columns();
    Wid()->setFlow(QListView::TopToBottom);
    Wid()->setWrapping(columns > 0);
    if (columns > 0) {
      const int width = std::max(1, Wid()->width() - 4) / columns;
      Wid()->setGridSize(QSize(width, Wid()->fontMetrics().height() + 4));
    }
    if (Wid()->currentRow() != Ctl().ListIndex()) Wid()->setCurrentRow(Ctl().ListIndex());
  }
};

// A frame without a border is a plain panel: the group box paints nothing of its own.
class PanelBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;
  bool border = true;

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (border) QGroupBox::paintEvent(e);
  }
};

class FrameBinder : public Typed<Frame, PanelBox> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override { return new PanelBox(parent); }
  void Sync() override {
    Wid()->border = Ctl().Border();
    Wid()->setTitle(Ctl().Border() ? ToQ(Ctl().Caption()) : QString());
    Wid()->update();
  }
};

class ProgressBinder : public Typed<ProgressBar, QProgressBar> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QProgressBar(parent);
    w->setTextVisible(false);
    return w;
  }
  // QProgressBar repaints itself at once on a new value; the program advances its bars
  // between exchanges with a unit, where that paint would hold up the next request. The new
  // value is painted with the rest of the window instead, while the port waits.
  void Sync() override {
    Wid()->setUpdatesEnabled(false);
    Wid()->setRange(0, Ctl().Max());
    Wid()->setValue(Ctl().Value());
    Wid()->setUpdatesEnabled(true);
  }
};

class GridBinder : public Typed<Grid, QTableWidget> {
 public:
  using Typed::Typed;
  QWidget* Build(QWidget* parent) override {
    auto* w = new QTableWidget(parent);
    w->horizontalHeader()->hide();
    w->verticalHeader()->hide();
    w->setSelectionBehavior(QAbstractItemView::SelectRows);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setShowGrid(false);
    w->horizontalHeader()->setStretchLastSection(true);
    w->verticalHeader()->setDefaultSectionSize(w->fontMetrics().height() + 6);
    QObject::connect(w, &QTableWidget::cellDoubleClicked,
                     [this](int row, int) { User([&] { Ctl().UserDblClick(row); }); });
    QObject::connect(w, &QTableWidget::currentCellChanged, [this](int row, int, int, int) {
      if (row >= 0 && row < Ctl().Rows()) User([&] { Ctl().SetRow(row); });
    });
    return w;
  }
  void Sync() override {
    Grid& g = Ctl();
    if (Wid()->rowCount() != g.Rows()) Wid()->setRowCount(g.Rows());
    if (Wid()->columnCount() != g.Cols()) Wid()->setColumnCount(g.Cols());
    for (int c = 0; c < g.Cols(); ++c) {
      if (g.ColWidth(c) > 0) Wid()->setColumnWidth(c, geometry_.Px(g.ColWidth(c)));
    }
    for (int r = 0; r < g.Rows(); ++r) {
      for (int c = 0; c < g.Cols(); ++c) {
        const QString text = ToQ(g.TextMatrix(r, c));
        QTableWidgetItem* item = Wid()->item(r, c);
        if (!item) {
          Wid()->setItem(r, c, new QTableWidgetItem(text));
        } else if (item->text() != text) {
          item->setText(text);
        }
      }
    }
    if (g.Rows() > 0 && Wid()->currentRow() != g.Row()) Wid()->setCurrentCell(g.Row(), 0);
  }
};

template <class B>
std::unique_ptr<ControlBinder> Make(Control& c, const Geometry& g) {
  return std::make_unique<B>(c, g);
}

struct Maker {
  ControlKind kind;
  std::unique_ptr<ControlBinder> (*make)(Control&, const Geometry&);
};
constexpr Maker kMakers[] = {
    {ControlKind::Label, Make<LabelBinder>},    {ControlKind::Button, Make<ButtonBinder>},
    {ControlKind::TextBox, Make<TextBinder>},   {ControlKind::Slider, Make<SliderBinder>},
    {ControlKind::CheckBox, Make<CheckBinder>}, {ControlKind::OptionButton, Make<OptionBinder>},
    {ControlKind::ComboBox, Make<ComboBinder>}, {ControlKind::ListBox, Make<ListBinder>},
    {ControlKind::Frame, Make<FrameBinder>},    {ControlKind::ProgressBar, Make<ProgressBinder>},
    {ControlKind::Grid, Make<GridBinder>},
};

}  // namespace

std::unique_ptr<ControlBinder> MakeStandardBinder(Control& control, const Geometry& geometry) {
  for (const Maker& m : kMakers) {
    if (m.kind == control.Kind()) return m.make(control, geometry);
  }
  return nullptr;
}

}  // namespace velmark::ui::qt
