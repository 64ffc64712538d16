#pragma once
// One cell of the fault matrix: a user operation against a simulator with one fault, and the
// checks every cell must pass.
//
//  - time: the operation ends within what its exchanges' time-outs allow (TimeBoundMs), and it
//    makes no more exchanges than it makes on a fault-free line;
//  - the failure shown as the program's rules say: during the connection nothing but the demo
//    question when no unit answers; the first full read at most "could not be read completely";
//    later operations at most the engine's one " The system will be close the communication
//    ..." message, after which the row reads off-line, the unit is marked for a reconnection
//    and its edit window is closed. A fault the operation cannot escape (a muted command it
//    sends, a line that stalls or hangs up inside it) must be told exactly once;
//  - afterwards the program's image equals the unit's memory, or the unit is marked for a
//    reconnection and a double click against a fault-free simulator started on the unit's
//    saved memory makes them equal.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "faults/fault_rig.h"

namespace velmark::faults {

struct CellPlan {
  Op op = Op::Connect;
  std::string fault;                  // its name in the table: "none", "drop 0.3", "stall @2", ...
  std::vector<std::string> sim_args;  // the fault's velmark-sim options
  bool pacing = true;
  int latency_ms = 2;
  bool forced = false;  // the fault always hits the operation
  // From the fault-free run of the same operation: exchanges, or none when this is that run.
  std::optional<std::size_t> baseline_exchanges;
};

struct CellResult {
  bool pass = false;
  std::string reason;  // the first check that failed
  std::string limit;   // set when the cell met a limit of the line itself, not of the program
  double elapsed_ms = 0;
  double bound_ms = 0;
  std::size_t before = 0;  // exchanges made before the operation (its preparation)
  std::size_t exchanges = 0;
  std::vector<std::uint8_t> codes;       // command codes the operation sent, in order of first use
  std::vector<std::uint8_t> prep_codes;  // and those its preparation sent
  std::string shown;                     // the messages it showed, " | " between them
  std::string afterwards;                // "image = unit", "reconnected, image = unit", ...
};

// Runs in the calling process; the matrix runs each cell in a child of its own.
CellResult RunCell(const CellPlan& plan);

// One line of text and back, for the way from a cell's child process to the matrix.
std::string EncodeResult(const CellResult& r);
std::optional<CellResult> DecodeResult(const std::string& line);

}  // namespace velmark::faults
