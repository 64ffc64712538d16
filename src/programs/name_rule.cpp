#include "programs/name_rule.h"

namespace velmark {

bool NameKeyAllowed(int key) {
  return key >= 0;
}

bool NameTextAllowed(const std::string& text) {
  return text.empty() || static_cast<unsigned char>(text.front()) < 0x80;
}

}  // namespace velmark
