#pragma once
// Appends parameters to a list under a common key and label prefix; shared by the parts of
// the list (unit-wide, channels, routing).

#include <string>
#include <string_view>

#include "model/program_state.h"
#include "report/parameters.h"

namespace velmark::report {

// What the decoder left for unit 0: the image (names centred, a bad source byte rewritten), the
// record and the channel names.
struct Decoded {
  explicit Decoded(const ProgramState& st)
      : img(st.DeviceImages[0]), rec(st.DeviceRecords[0]), names(st.ChannelNames[0]) {}
  const ParamImage& img;
  const DeviceSettings& rec;
  const std::array<std::string, kChannelCount>& names;
};

class ParamBuilder {
 public:
  explicit ParamBuilder(ParameterList& out) : out_(out) {}

  // Everything added from here on is keyed "prefix.key" and labelled "Prefix label".
  void Prefix(std::string key, std::string label) {
    key_ = std::move(key);
    label_ = std::move(label);
  }

  // A number whose window text is `shown`; the value is the number that text reads as.
  void Number(const std::string& key, const std::string& label, const std::string& shown,
              const std::string& unit);
  void Switch(const std::string& key, const std::string& label, bool on);
  // A word (a name, an entry of a list): `shown` exactly as the window shows it, the value
  // without the blanks some list entries are padded with.
  void Word(const std::string& key, const std::string& label, std::string_view shown);
  void Add(const std::string& key, const std::string& label, ParamValue value, std::string shown,
           std::string unit);

 private:
  ParameterList& out_;
  std::string key_, label_;
};

// Channel 0..7 as keys and labels: "ina" / "In A" … "out4" / "Out 4".
std::string ChannelKey(int channel);
std::string ChannelLabel(int channel);

// The parts of the list, in their order.
void AddUnitParameters(ParamBuilder& b, const Decoded& d);
void AddChannelParameters(ParamBuilder& b, const Decoded& d, int channel);
void AddRoutingParameters(ParamBuilder& b, const Decoded& d);

}  // namespace velmark::report
