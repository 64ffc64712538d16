// The text box: typing key by key through the key handlers, with UTF-8 texts, a caret and a
// selection, and a length limit that holds back only what a person types.

#include <algorithm>
#include <cstdint>

#include "ui/controls.h"

namespace velmark::ui {

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text a key inserts: printable ASCII as itself, characters beyond ASCII (negative codes,
// or codes from 128 up) as their UTF-8 bytes, control codes nothing.
std::string KeyText(int key) {
  std::string out;
  if (key >= 32 && key < 127) {
    out += static_cast<char>(key);
  } else if (key < 0 && key >= -0x10FFFF) {
    AppendUtf8(out, static_cast<std::uint32_t>(-key));
  } else if (key >= 128 && key <= 0x10FFFF) {
    AppendUtf8(out, static_cast<std::uint32_t>(key));
  }
  return out;
}

// The code a key down reports: letters as their capital, everything else as typed.
int KeyDownCode(int key) {
  return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
}

}  // namespace

std::vector<int> KeysOf(const std::string& text) {
  std::vector<int> keys;
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    int len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (len == 1 || i + static_cast<std::size_t>(len) > text.size()) {
      keys.push_back(c < 0x80 ? c : -static_cast<int>(c));  // stray byte: taken as Latin-1
      ++i;
      continue;
    }
    std::uint32_t cp = c & (0xFF >> (len + 1));
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    keys.push_back(-static_cast<int>(cp));
    i += static_cast<std::size_t>(len);
  }
  return keys;
}

void TextBox::Assign(std::string text, int caret) {
  sel_length_ = 0;
  if (text_ == text) {
    caret_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
    Changed();
    return;
  }
  text_ = std::move(text);
  caret_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
  Changed();
  if (OnChange) OnChange();
}

void TextBox::SetText(std::string text) {
  const int end = static_cast<int>(text.size());
  if (text_ == text) return;
  Assign(std::move(text), end);
}

void TextBox::SetCaret(int pos) {
  caret_ = std::clamp(pos, 0, static_cast<int>(text_.size()));
  sel_length_ = 0;
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  caret_ = start + length;
  sel_length_ = length;
  Changed();
}

std::string TextBox::SelText() const {
  return text_.substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(sel_length_));
}

void TextBox::UserKey(int key) {
  if (!EffectiveEnabled()) return;
  if (OnKeyDown) {
    int code = KeyDownCode(key);
    OnKeyDown(code, 0);
  }
  if (OnKeyPress) OnKeyPress(key);
  if (key == 0 || key == kKeyEnter) return;
  // A handler may have rewritten the text; work on what is there now.
  const int size = static_cast<int>(text_.size());
  int start = std::clamp(SelStart(), 0, size);
  int end = std::clamp(start + sel_length_, start, size);
  std::string next = text_;
  if (key == kKeyBackspace) {
    if (start == end) {
      if (start == 0) return;
      do {
        --start;
      } while (start > 0 && IsContinuation(next[static_cast<std::size_t>(start)]));
    }
    next.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    Assign(std::move(next), start);
    return;
  }
  const std::string insert = KeyText(key);
  if (insert.empty()) return;  // control keys other than Backspace insert nothing
  next.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
  if (max_length_ > 0 && next.size() + insert.size() > static_cast<std::size_t>(max_length_)) {
    return;
  }
  next.insert(static_cast<std::size_t>(start), insert);
  Assign(std::move(next), start + static_cast<int>(insert.size()));
}

void TextBox::UserType(const std::string& text) {
  for (int key : KeysOf(text)) UserKey(key);
}

void TextBox::UserReplace(const std::string& text) {
  if (!EffectiveEnabled()) return;
  std::string next = text;
  if (max_length_ > 0 && static_cast<int>(next.size()) > max_length_) {
    std::size_t cut = static_cast<std::size_t>(max_length_);
    while (cut > 0 && IsContinuation(next[cut])) --cut;  // never split a character
    next.resize(cut);
  }
  const int end = static_cast<int>(next.size());
  Assign(std::move(next), end);
}

}  // namespace velmark::ui
