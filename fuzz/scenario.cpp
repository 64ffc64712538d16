// The scenario parser on any text: lines split into tokens, and every word that could be a
// control address parsed as one. A parsed script keeps its lines in order and numbered as the
// file numbers them; an address that parses prints as text that parses back to the same address.

#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "ui/scenario_parser.h"

namespace {

using namespace velmark;

void CheckAddress(const std::string& word) {
  const auto address = ui::ParseAddress(word);
  if (!address) return;
  FUZZ_CHECK(!address->window.empty());
  FUZZ_CHECK(address->unit >= -1 && address->index >= -1);
  const auto again = ui::ParseAddress(address->Text());
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK(again->window == address->window && again->unit == address->unit);
  FUZZ_CHECK(again->control == address->control && again->index == address->index);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string text = fuzz::AsText(in.Rest());
  const ui::ParseResult result = ui::ParseScript("fuzz.scn", text);
  if (!result.ok()) {
    FUZZ_CHECK(result.error.rfind("fuzz.scn:", 0) == 0);
    return 0;
  }
  int last = 0;
  for (const ui::ScenarioLine& line : result.script.lines) {
    FUZZ_CHECK(line.number > last);
    last = line.number;
    FUZZ_CHECK(!line.tokens.empty());
    for (const ui::Token& token : line.tokens) {
      if (!token.quoted) CheckAddress(token.text);
    }
  }
  return 0;
}
