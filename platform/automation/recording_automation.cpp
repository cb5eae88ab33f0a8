#include "platform/automation/recording_automation.h"

#include <cstdio>
#include <stdexcept>

namespace sr::automation {

namespace {

std::string Hex(DispId id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(id));
  return buffer;
}

std::string ArgumentText(const Variant& v);

class RecordingObject : public CountedDispatch {
 public:
  explicit RecordingObject(std::shared_ptr<RecordingAutomation::State> state)
      : state_(std::move(state)), number_(state_->next_number++) {
    ++state_->live;
  }
  ~RecordingObject() override {
    --state_->live;
    state_->calls.push_back(Name() + " free");
  }

  std::string Name() const { return "#" + std::to_string(number_); }

  Status Invoke(DispId member, InvokeKind kind, const std::vector<Variant>& args,
                Variant* result) override {
    *result = Variant();
    std::string line = Name() +
                       (kind == InvokeKind::kMethod        ? " call "
                        : kind == InvokeKind::kPropertyGet ? " get "
                                                           : " put ") +
                       Hex(member) + "(";
    for (size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + ArgumentText(args[i]);
    line += ")";
    if (state_->throwing.count(member)) {
      state_->calls.push_back(line + " throws");
      throw std::runtime_error("scripted automation failure");
    }
    if (state_->failing.count(member)) {
      state_->calls.push_back(line + " fails");
      return Status::Error(kException, "scripted failure");
    }
    if (kind == InvokeKind::kPropertyGet) {
      auto* child = new RecordingObject(state_);
      line += " -> " + child->Name();
      *result = Variant::Object(DispatchRef::Adopt(child));
    }
    state_->calls.push_back(line);
    return Status::Ok();
  }

 private:
  std::shared_ptr<RecordingAutomation::State> state_;
  int number_;
};

std::string ArgumentText(const Variant& v) {
  switch (v.type) {
    case Variant::Type::kEmpty:
      return "empty";
    case Variant::Type::kI4:
      return std::to_string(v.i4);
    case Variant::Type::kBstr:
      return "\"" + v.bstr + "\"";
    case Variant::Type::kBool:
      return v.boolean ? "true" : "false";
    case Variant::Type::kError:
      return v.i4 == kParamNotFound ? "missing" : "error " + Hex(v.i4);
    case Variant::Type::kDispatch:
      return v.object ? static_cast<RecordingObject*>(v.object.get())->Name() : "nothing";
  }
  return "?";
}

}  // namespace

RecordingAutomation::RecordingAutomation() : state_(std::make_shared<State>()) {}

Status RecordingAutomation::CreateObject(const Text& prog_id, DispatchRef* object) {
  if (!create_result.ok()) {
    state_->calls.push_back("create " + prog_id + " fails");
    return create_result;
  }
  auto* created = new RecordingObject(state_);
  state_->calls.push_back("create " + prog_id + " -> " + created->Name());
  *object = DispatchRef::Adopt(created);
  return Status::Ok();
}

}  // namespace sr::automation
