#pragma once
// A control array indexed as the windows index it (Slider1(0..9), Label100(100..806)).
// Elements never move once created, so handlers may keep references to them.

#include <map>
#include <stdexcept>
#include <string>

namespace velmark::ui {

template <typename T>
class ControlArray {
 public:
  T& Add(int index) { return elements_.try_emplace(index).first->second; }
  bool Has(int index) const { return elements_.count(index) != 0; }
  T& operator()(int index) { return At(index); }
  const T& operator()(int index) const { return At(index); }
  T& operator[](int index) { return At(index); }
  const T& operator[](int index) const { return At(index); }
  int Count() const { return static_cast<int>(elements_.size()); }
  auto begin() { return elements_.begin(); }
  auto end() { return elements_.end(); }
  auto begin() const { return elements_.begin(); }
  auto end() const { return elements_.end(); }

 private:
  T& At(int index) {
    auto it = elements_.find(index);
    if (it == elements_.end())
      throw std::out_of_range("no control element " + std::to_string(index));
    return it->second;
  }
  const T& At(int index) const { return const_cast<ControlArray*>(this)->At(index); }
  std::map<int, T> elements_;
};

}  // namespace velmark::ui
