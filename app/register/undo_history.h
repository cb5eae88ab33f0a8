#ifndef SALARY_APP_REGISTER_UNDO_HISTORY_H_
#define SALARY_APP_REGISTER_UNDO_HISTORY_H_

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/register/salary_register.h"

namespace sr::app {

// Undo and redo of the register's cells and rows, one step per user action (the changes between
// ActionBegins and ActionEnds, or a single change made outside any action), however many cells
// it touched. Undoing a step applies what its changes replaced, newest first; the changes that
// makes are kept as the step that redoes it, and the other way round.
//
// Column titles are not part of it: they name the fields of the register file and change with
// that file (settings window, New, Open), never by an edit of the grid.
//
// It also knows where the register matches its file (the saved point), so that the modified flag
// can follow undo and redo.
class UndoHistory : public RegisterListener {
 public:
  static constexpr int kDefaultDepth = 100;

  // Listens to `salary_register`, which must outlive the history. Keeps the newest `depth` steps.
  explicit UndoHistory(SalaryRegister& salary_register, int depth = kDefaultDepth);
  ~UndoHistory() override;
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  int UndoSteps() const { return static_cast<int>(undo_.size()); }

  // Undoes (redoes) the newest step as one action of the register. Returns the cells where the
  // step began (for the cursor), or nothing when there was no step.
  // REQUIRES: not called while an action of the register is open.
  std::optional<RegisterRange> Undo();
  std::optional<RegisterRange> Redo();

  // The register now matches its file (after a save, or a sort that rewrote the file). Inside an
  // action it means the register as the action leaves it.
  void MarkSaved();
  // A register was started or loaded: no step is kept, and the register as it is now is saved.
  void Reset();
  // Whether the register is as it was at the saved point (then it holds no unsaved change).
  bool AtSavedPoint() const { return saved_distance_ == 0; }

  // Called whenever CanUndo() or CanRedo() may have changed (to enable the menu entries).
  void SetOnStepsChanged(std::function<void()> callback) { on_steps_changed_ = std::move(callback); }

  void RegisterChanged(const RegisterChange& change) override;
  void ActionBegins() override;
  void ActionEnds() override;

 private:
  using Step = std::vector<RegisterChange>;
  enum class Recording { kUserAction, kUndoing, kRedoing };

  // Applies the inverse of `step` and returns the step that inverts that again.
  Step Revert(const Step& step, Recording recording);
  void ApplyInverse(const RegisterChange& change);
  void PushNewStep(Step step);
  void StepsChanged();

  SalaryRegister& register_;
  const int depth_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
  Step open_;               // the changes of the action under way
  bool in_action_ = false;
  bool saved_in_action_ = false;
  Recording recording_ = Recording::kUserAction;
  // Steps from the saved point to the register as it is: positive after new steps or redo,
  // negative after undo; none when the saved point can no longer be reached.
  std::optional<int> saved_distance_ = 0;
  std::function<void()> on_steps_changed_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_UNDO_HISTORY_H_
