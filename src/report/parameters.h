#pragma once
// Every parameter of one configuration as a flat, ordered list: a stable key for scripts
// ("out2.eq.band3.gain"), a label for people ("Out 2 EQ band 3 gain"), the value as a number,
// a switch or a word, and the text the edit window shows for it. The list is built from an
// image decoded by the program's own decoder, so a dump says what the window would say.

#include <string>
#include <variant>
#include <vector>

#include "model/image.h"

namespace velmark {

using ParamValue = std::variant<double, bool, std::string>;

struct Parameter {
  std::string key;
  std::string label;
  ParamValue value;
  std::string shown;  // the edit window's text: "2.5", "2:1", "Bell"; "on"/"off" for a switch
  std::string unit;   // "dB", "dBu", "Hz", "ms", "m", "s", "%"; empty when there is none

  bool operator==(const Parameter&) const = default;
};

using ParameterList = std::vector<Parameter>;

// Any 1651 bytes give the same list of keys, in the same order.
ParameterList ImageParameters(const ParamImage& image);

// The text of a parameter for people: the window's text and its unit, a plus sign on a
// positive level ("+2.5 dB"), the word itself for a choice ("No cut-off"), with control
// characters of a name shown as "?".
std::string ParameterText(const Parameter& p);

}  // namespace velmark
