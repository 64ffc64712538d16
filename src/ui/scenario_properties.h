#pragma once
// The properties a scenario can check, read as the texts a scenario writes: numbers in decimal,
// flags as 1 and 0, colours as R + 256 G + 65536 B.

#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/window.h"

namespace velmark::ui {

struct PropertyValue {
  std::string value;
  std::string error;  // set when the control has no such property or the arguments are wrong
};

// `args` are the words between the property name and the expected value (`cell 2`, `list 0`).
PropertyValue ReadControlProperty(const Control& control, const std::string& property,
                                  const std::vector<std::string>& args);
PropertyValue ReadWindowProperty(const Window& window, bool active, const std::string& property);

// The expected value in the form the reader produces: true/false as 1/0, and for colour
// properties "R,G,B" as the colour number.
std::string NormalizeExpected(const std::string& property, const std::string& value);

}  // namespace velmark::ui
