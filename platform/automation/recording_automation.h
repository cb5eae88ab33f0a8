#ifndef SALARY_PLATFORM_AUTOMATION_RECORDING_AUTOMATION_H_
#define SALARY_PLATFORM_AUTOMATION_RECORDING_AUTOMATION_H_

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/automation/automation.h"

namespace sr::automation {

// An automation seam for tests. Every object it makes is numbered (#1, #2, ...) and every call
// is kept as one line in `calls()`:
//   "create Excel.Application -> #1"
//   "#1 get 0x23C() -> #2"          a property get returns a new object
//   "#2 call 0xB5(missing)"         methods and puts return nothing
//   "#4 put 0x6(\"text\")"           arguments: 5, "text", true, missing, #n
//   "#3 free"                        the last reference went
// AddRef and Release themselves are counted, not logged; `live_objects()` tells what is held.
class RecordingAutomation : public AutomationSeam {
 public:
  RecordingAutomation();

  // Script: CreateObject fails with this status when it is not ok.
  Status create_result;
  // Calls of a member (by dispatch id) fail with kException, or throw, from now on.
  void FailMember(DispId member) { state_->failing.insert(member); }
  void ThrowOnMember(DispId member) { state_->throwing.insert(member); }

  const std::vector<std::string>& calls() const { return state_->calls; }
  void ClearCalls() { state_->calls.clear(); }
  int live_objects() const { return state_->live; }

  Status CreateObject(const Text& prog_id, DispatchRef* object) override;

  struct State {
    std::vector<std::string> calls;
    int next_number = 1;
    int live = 0;
    std::set<DispId> failing;
    std::set<DispId> throwing;
  };

 private:
  // Objects keep the state alive, so they may outlive the seam.
  std::shared_ptr<State> state_;
};

}  // namespace sr::automation

#endif  // SALARY_PLATFORM_AUTOMATION_RECORDING_AUTOMATION_H_
