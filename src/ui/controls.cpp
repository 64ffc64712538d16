#include "ui/controls.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "ui/services.h"

namespace velmark::ui {

void Label::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void Label::SetAlignment(Alignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  Changed();
}

void Label::UserClick() {
  if (EffectiveEnabled() && OnClick) OnClick();
}

void Label::UserDblClick() {
  if (EffectiveEnabled() && OnDblClick) OnDblClick();
}

// ---- Button

void Button::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void Button::UserClick() {
  if (EffectiveEnabled() && OnClick) OnClick();
}

// ---- RangeControl

void RangeControl::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  const int clamped = std::clamp(value_, min_, max_);
  const bool moved = clamped != value_;
  value_ = clamped;
  Changed();
  if (moved && OnChange) OnChange();
}

void RangeControl::UserSetValue(int v) {
  if (EffectiveEnabled()) SetValue(v);
}

void Slider::SetHorizontal(bool on) {
  if (horizontal_ == on) return;
  horizontal_ = on;
  Changed();
}

void RangeControl::SetValue(int v) {
  v = std::clamp(v, min_, max_);
  if (v == value_) return;
  value_ = v;
  Changed();
  if (OnChange) OnChange();
}

// ---- CheckBox / OptionButton

void CheckBox::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void CheckBox::UserClick() {
  if (EffectiveEnabled()) SetValue(value_ == 0 ? 1 : 0);
}

void CheckBox::SetValue(int v) {
  v = v != 0 ? 1 : 0;
  if (v == value_) return;
  value_ = v;
  Changed();
  if (OnClick) OnClick();
}

void OptionButton::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void OptionButton::UserClick() {
  if (EffectiveEnabled()) SetValue(true);
}

void OptionButton::SetGroup(OptionGroup& group) {
  group_ = &group;
  group.Add(*this);
}

void OptionButton::SetValue(bool on) {
  if (!on) {
    if (!value_) return;
    value_ = false;
    Changed();
    return;
  }
  if (value_) return;
  if (group_) {
    for (OptionButton* other : group_->Members()) {
      if (other != this) other->SetValue(false);
    }
  }
  value_ = true;
  Changed();
  if (OnClick) OnClick();
}

// ---- ListControl

void ListControl::Clear() {
  items_.clear();
  list_index_ = -1;
  Changed();
}

void ListControl::AddItem(std::string text) {
  items_.push_back(std::move(text));
  Changed();
}

void ListControl::RemoveItem(int i) {
  List(i);
  items_.erase(items_.begin() + i);
  if (list_index_ == i) {
    list_index_ = -1;
  } else if (list_index_ > i) {
    --list_index_;
  }
  Changed();
}

const std::string& ListControl::List(int i) const {
  if (i < 0 || i >= ListCount()) throw std::out_of_range("list index " + std::to_string(i));
  return items_[static_cast<std::size_t>(i)];
}

void ListControl::SetListIndex(int i) {
  if (i < -1 || i >= ListCount()) throw std::out_of_range("list index " + std::to_string(i));
  if (i == list_index_) return;
  list_index_ = i;
  Changed();
  if (OnClick) OnClick();
}

std::string ListControl::Text() const {
  return list_index_ < 0 ? std::string() : List(list_index_);
}

void ListControl::UserSelect(int i) {
  if (EffectiveEnabled()) SetListIndex(i);
}

void ListControl::UserDblClick() {
  if (EffectiveEnabled() && OnDblClick) OnDblClick();
}

// ---- Image, Frame, Shape, ProgressBar

void Image::SetPicture(std::string id) {
  if (picture_ == id) return;
  picture_ = std::move(id);
  Changed();
}

void Image::UserClick() {
  if (EffectiveEnabled() && OnClick) OnClick();
}

void Image::UserDblClick() {
  if (EffectiveEnabled() && OnDblClick) OnDblClick();
}

void Frame::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void Frame::SetBorder(bool on) {
  if (border_ == on) return;
  border_ = on;
  Changed();
}

void Shape::SetFillColor(Colour c) {
  if (fill_ == c) return;
  fill_ = c;
  Changed();
}

void ProgressBar::SetValue(int v) {
  v = std::clamp(v, 0, max_);
  if (v == value_) return;
  value_ = v;
  Changed();
}

void ProgressBar::SetMax(int m) {
  max_ = std::max(1, m);
  value_ = std::min(value_, max_);
  Changed();
}

// ---- PictureBox

void PictureBox::SetScale(double width, double height) {
  scale_width_ = width;
  scale_height_ = height;
  Changed();
}

void PictureBox::Cls() {
  lines_.clear();
  Changed();
}

void PictureBox::Line(double x1, double y1, double x2, double y2) {
  Line(x1, y1, x2, y2, pen_);
}

void PictureBox::Line(double x1, double y1, double x2, double y2, Colour colour) {
  lines_.push_back(DrawnLine{x1, y1, x2, y2, colour, draw_width_});
  Changed();
}

void PictureBox::UserClick() {
  if (EffectiveEnabled() && OnClick) OnClick();
}

void PictureBox::UserDblClick() {
  if (EffectiveEnabled() && OnDblClick) OnDblClick();
}

// ---- Grid

void Grid::SetRows(int rows) {
  rows = std::max(0, rows);
  cells_.resize(static_cast<std::size_t>(rows), std::vector<std::string>(cols_));
  row_ = std::min(row_, std::max(0, rows - 1));
  Changed();
}

void Grid::SetCols(int cols) {
  cols_ = std::max(1, cols);
  for (auto& row : cells_) row.resize(static_cast<std::size_t>(cols_));
  col_widths_.resize(static_cast<std::size_t>(cols_), 0);
  Changed();
}

int Grid::ColWidth(int col) const {
  if (col < 0 || col >= cols_) throw std::out_of_range("grid column " + std::to_string(col));
  return col_widths_[static_cast<std::size_t>(col)];
}

void Grid::SetColWidth(int col, int width) {
  if (col < 0 || col >= cols_) throw std::out_of_range("grid column " + std::to_string(col));
  col_widths_[static_cast<std::size_t>(col)] = width;
  Changed();
}

const std::string& Grid::TextMatrix(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= cols_) {
    throw std::out_of_range("grid cell " + std::to_string(row) + "," + std::to_string(col));
  }
  return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void Grid::SetTextMatrix(int row, int col, std::string text) {
  if (row < 0 || row >= Rows() || col < 0 || col >= cols_) {
    throw std::out_of_range("grid cell " + std::to_string(row) + "," + std::to_string(col));
  }
  cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
  Changed();
}

void Grid::SetRow(int row) {
  if (row < 0 || row >= Rows()) throw std::out_of_range("grid row " + std::to_string(row));
  row_ = row;
  Changed();
}

void Grid::UserDblClick(int row) {
  if (!EffectiveEnabled()) return;
  SetRow(row);
  if (OnDblClick) OnDblClick();
}

// ---- Menu

void Menu::SetCaption(std::string text) {
  caption_ = std::move(text);
  Changed();
}

void Menu::SetItems(std::vector<std::string> captions) {
  items_.clear();
  for (auto& c : captions) items_.push_back(Item{std::move(c)});
  Changed();
}

const Menu::Item& Menu::ItemAt(int i) const {
  if (i < 0 || i >= ItemCount()) throw std::out_of_range("menu item " + std::to_string(i));
  return items_[static_cast<std::size_t>(i)];
}

void Menu::SetChecked(int i, bool on) {
  ItemAt(i);
  items_[static_cast<std::size_t>(i)].checked = on;
  Changed();
}

void Menu::SetItemEnabled(int i, bool on) {
  ItemAt(i);
  items_[static_cast<std::size_t>(i)].enabled = on;
  Changed();
}

void Menu::UserChoose(int i) {
  const Item& item = ItemAt(i);
  if (EffectiveEnabled() && item.enabled && item.visible && OnClick) OnClick(i);
}

// ---- Timer

Timer::~Timer() {
  if (running_ && service_) service_->Cancel(*this);
}

void Timer::SetInterval(int ms) {
  interval_ = std::max(0, ms);
  Reschedule();
}

void Timer::SetTimerEnabled(bool on) {
  running_ = on;
  Reschedule();
}

void Timer::Reschedule() {
  if (!service_) return;
  if (running_ && interval_ > 0) {
    service_->Schedule(*this, interval_);
  } else {
    service_->Cancel(*this);
  }
}

void Timer::Fire() {
  if (running_ && interval_ > 0 && OnTimer) OnTimer();
}

}  // namespace velmark::ui
