#pragma once
// Storing the current configuration into one of a unit's 32 program memories, and recalling a
// memory into the unit's parameter image. These are the unit-facing steps only: the windows add
// the decoding and the caption, the command-line tool uses them as they are.
//
// Both stop at the first failed exchange; what was already sent stays in the unit. In demo mode
// nothing is sent: a store still updates record, image and Eeprom.txt, a recall leaves the
// image as it is.

#include <string>

#include "link/rx_tx.h"
#include "model/program_state.h"

namespace velmark {

// Shows how far a store or recall got (the windows' progress bars).
class ProgramProgress {
 public:
  virtual ~ProgramProgress() = default;
  // The bar is shown at 0 with this maximum.
  virtual void Start(int /*max*/) {}
  virtual void Advance() {}
};

inline constexpr int kStoreSteps = 10;      // maximum of the store's bar
inline constexpr int kRecallSteps = 104;    // maximum of the recall's bar
inline constexpr int kNameFieldAddr = 832;  // unit memory of image 768..783, the current name
inline constexpr int kProgramNumberUnitAddr = 863;
inline constexpr std::uint8_t kEmptyProgramAnswer = 255;  // r4 after 0x41 for an empty memory

struct StoreOutcome {
  bool link_failed = false;  // an exchange failed; the store ended there
  std::string dump_error;    // Eeprom.txt could not be written (the unit did store)
  bool Stored() const { return !link_failed; }
};

enum class RecallOutcome {
  Recalled,    // image 0..799 holds the memory (unchanged when nothing could be sent)
  LinkFailed,  // an exchange failed; the image is unchanged
  Empty,       // the unit answered that the memory holds nothing
};

// `name` padded (or cut) to 16 characters, as the unit stores it.
std::string PaddedProgramName(const std::string& name);

// Memory k (0..31) of CurUnit := the current configuration named `name`: record and image take
// the name and number, four name writes, the number write and the store command go out, then
// Eeprom.txt is written into st.DataFolder. A k outside 0..31 does nothing and reports failure.
StoreOutcome StoreProgram(ProgramState& st, RxTx& link, int k, const std::string& name,
                          ProgramProgress& progress);

// The unit of CurUnit loads memory k; its 800 parameter bytes are read back into image
// 0..799 and the link mask becomes 0. Decoding is the caller's.
RecallOutcome RecallProgram(ProgramState& st, RxTx& link, int k, ProgramProgress& progress);

// "ID:07 " or "USB " + type name + " - program loaded: " + name: the edit window's caption.
std::string ProgramLoadedCaption(const ProgramState& st, int unit, const std::string& name);

}  // namespace velmark
