#pragma once
// Runs a scenario: each line acts as a user would (clicks, typing, answers to message boxes,
// file choices, time passing) or checks what the program shows and sends. The run stops at the
// first line that fails, with "FILE:LINE: expected ..., saw ...".

#include <deque>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "ui/controls.h"
#include "ui/scenario_host.h"
#include "ui/scenario_parser.h"

namespace velmark::ui {

struct RunResult {
  bool passed = false;
  int steps = 0;        // lines carried out
  std::string message;  // the failure, "FILE:LINE: ..."; empty when passed
};

class ScenarioRunner {
 public:
  ScenarioRunner(ScenarioStage& stage, ScenarioHost& host);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  RunResult Run(const Script& script);

  // One verb of the language; `args` are the tokens after the verb.
  using Args = std::vector<Token>;
  struct Verb {
    const char* name;
    int min_args;
    int max_args;  // -1: any number
    void (ScenarioRunner::*run)(const Args&);
  };

 private:
  // Flow.
  void RunUntil(Window* modal);
  void Execute(const ScenarioLine& line);
  void DriveModal(Window& window);
  void Fail(std::string message);
  bool Failed() const { return !failure_.empty(); }
  void CollectFrames();
  void CheckLeftovers();

  // Lookup.
  Window* WindowOf(const Address& a, bool for_action);
  Control* ControlOf(const std::string& text, bool for_action);
  Control* ActionTarget(const std::string& text) { return ControlOf(text, true); }

  // Actions.
  void DoStart(const Args& a);
  void DoClock(const Args& a);
  void DoClick(const Args& a);
  void DoDblClick(const Args& a);
  void DoType(const Args& a);
  void DoKey(const Args& a);
  void DoSet(const Args& a);
  void DoSelect(const Args& a);
  void DoMenu(const Args& a);
  void DoMouse(const Args& a);
  void DoAnswer(const Args& a);
  void DoFile(const Args& a);
  void DoClose(const Args& a);
  void DoFocus(const Args& a);
  void DoScreenshot(const Args& a);

  // Checks.
  void CheckProperty(const Args& a);
  void CheckMessage(const Args& a);
  void CheckNoMessage(const Args& a);
  void CheckFrames(const Args& a);
  void CheckNoFrames(const Args& a);
  void CheckFile(const Args& a);

  static const Verb kVerbs[];

  ScenarioStage& stage_;
  ScenarioHost& host_;
  const Script* script_ = nullptr;
  std::size_t pc_ = 0;
  int line_ = 0;  // the line being carried out
  std::string failure_;
  int steps_ = 0;
  std::vector<Window*> modal_stack_;
  std::vector<velmark::Frame> frames_;  // sent since the last frame check
  std::size_t checked_messages_ = 0;    // boxes already matched by expect-message
  std::deque<int> answer_lines_;        // where each queued answer was given
  std::deque<int> file_lines_;          // where each queued file choice was given
  int held_buttons_ = 0;                // mouse buttons down, for move events
};

// Hex text of a frame, 26 digits, upper case.
std::string FrameHex(const velmark::Frame& frame);

}  // namespace velmark::ui
