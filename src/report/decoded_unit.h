#pragma once
// One configuration decoded away from any line or screen: the image goes through the edit
// window's own decoder (record, window controls, every band, filter and channel response) in
// a program state of its own, with headless platform services and a port that never opens.
// What the window would show and draw for that image can then be read from here.

#include <memory>

#include "editor/frm_kvr.h"
#include "model/image.h"
#include "model/responses.h"

namespace velmark {

class DecodedUnit {
 public:
  DecodedUnit();
  ~DecodedUnit();
  DecodedUnit(const DecodedUnit&) = delete;
  DecodedUnit& operator=(const DecodedUnit&) = delete;

  // Replaces the configuration: unit 0 takes `image` and is decoded. Nothing is sent.
  void Decode(const ParamImage& image);

  ProgramState& State();
  const UnitResponses& Responses();
  // The edit window of the decoded unit (created, never shown).
  FrmKVRxxxA& Window();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace velmark
