#include "app/register/undo_history.h"

#include <utility>

namespace sr::app {

UndoHistory::UndoHistory(SalaryRegister& salary_register, int depth)
    : register_(salary_register), depth_(depth < 1 ? 1 : depth) {
  register_.AddListener(this);
}

UndoHistory::~UndoHistory() { register_.RemoveListener(this); }

void UndoHistory::RegisterChanged(const RegisterChange& change) {
  if (change.kind == RegisterChange::Kind::kTitles) return;
  open_.push_back(change);
  if (recording_ == Recording::kUserAction && !in_action_) PushNewStep(std::exchange(open_, {}));
}

void UndoHistory::ActionBegins() {
  if (recording_ != Recording::kUserAction) return;
  in_action_ = true;
  saved_in_action_ = false;
}

void UndoHistory::ActionEnds() {
  if (recording_ != Recording::kUserAction) return;
  in_action_ = false;
  if (!open_.empty()) PushNewStep(std::exchange(open_, {}));
  if (saved_in_action_) saved_distance_ = 0;
  saved_in_action_ = false;
}

void UndoHistory::PushNewStep(Step step) {
  undo_.push_back(std::move(step));
  if (static_cast<int>(undo_.size()) > depth_) undo_.pop_front();
  redo_.clear();
  // A saved point among the steps just dropped from redo can no longer be reached.
  if (saved_distance_ && *saved_distance_ < 0) saved_distance_.reset();
  if (saved_distance_) ++*saved_distance_;
  StepsChanged();
}

void UndoHistory::MarkSaved() {
  if (in_action_) {
    saved_in_action_ = true;
  } else {
    saved_distance_ = 0;
  }
}

void UndoHistory::Reset() {
  undo_.clear();
  redo_.clear();
  open_.clear();
  saved_in_action_ = false;
  saved_distance_ = 0;
  StepsChanged();
}

std::optional<RegisterRange> UndoHistory::Undo() {
  if (undo_.empty()) return std::nullopt;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  const RegisterRange where = step.front().range;
  redo_.push_back(Revert(step, Recording::kUndoing));
  if (saved_distance_) --*saved_distance_;
  StepsChanged();
  return where;
}

std::optional<RegisterRange> UndoHistory::Redo() {
  if (redo_.empty()) return std::nullopt;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  const RegisterRange where = step.back().range;
  undo_.push_back(Revert(step, Recording::kRedoing));
  if (static_cast<int>(undo_.size()) > depth_) undo_.pop_front();
  if (saved_distance_) ++*saved_distance_;
  StepsChanged();
  return where;
}

UndoHistory::Step UndoHistory::Revert(const Step& step, Recording recording) {
  recording_ = recording;
  open_.clear();
  register_.BeginAction();
  for (auto change = step.rbegin(); change != step.rend(); ++change) ApplyInverse(*change);
  register_.EndAction();
  recording_ = Recording::kUserAction;
  return std::exchange(open_, {});
}

void UndoHistory::ApplyInverse(const RegisterChange& change) {
  const RegisterRange& range = change.range;
  switch (change.kind) {
    case RegisterChange::Kind::kTitles:
      break;  // never recorded
    case RegisterChange::Kind::kCells:
      register_.SetCellTexts(range, change.previous_texts);
      break;
    case RegisterChange::Kind::kRowsInserted:
      register_.RemoveRows(range.first_row, range.rows());
      break;
    case RegisterChange::Kind::kRowsRemoved:
      register_.InsertRows(range.first_row, change.previous_rows);
      break;
    case RegisterChange::Kind::kRowsReplaced:
      register_.ReplaceRows(change.previous_rows);
      break;
  }
}

void UndoHistory::StepsChanged() {
  if (on_steps_changed_) on_steps_changed_();
}

}  // namespace sr::app
