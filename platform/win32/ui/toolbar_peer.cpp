#include "platform/win32/ui/toolbar_peer.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace sr::win32 {
namespace {

// Button command ids: the entry's index above this.
constexpr int kFirstButtonCommand = 40000;

class ToolbarPeer : public ControlPeerBase {
 public:
  ToolbarPeer(const ui::ControlSpec& info, ui::ControlEvents* events, HWND parent, int id)
      : ControlPeerBase(events, id), entries_(info.toolbar_entries) {
    // Docked across the whole width, under the labels that share its row: clipped by the
    // siblings in front of it (ControlPeerBase::Create keeps it behind them all).
    Create(TOOLBARCLASSNAMEW, TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP | WS_CLIPSIBLINGS, info,
           parent);
    SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(window_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ToolbarImages()));
    for (const ui::ToolbarEntrySpec& entry : entries_) {
      captions_.push_back(ShownText(entry.caption));
      tooltips_.push_back(ShownText(entry.tooltip));
    }
    std::vector<TBBUTTON> buttons(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
      TBBUTTON& button = buttons[i];
      button.idCommand = kFirstButtonCommand + static_cast<int>(i);
      if (entries_[i].separator) {
        button.fsStyle = BTNS_SEP;
        continue;
      }
      button.iBitmap = entries_[i].image;
      button.fsState = NativeToolbarState(entries_[i].state);
      button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
      button.iString = reinterpret_cast<INT_PTR>(captions_[i].c_str());
    }
    SendMessageW(window_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(window_, TB_AUTOSIZE, 0, 0);
  }

  // Docked: the form's rectangle does not apply; the control follows its window's width.
  void SetRect(const ui::Rect&) override { SendMessageW(window_, TB_AUTOSIZE, 0, 0); }
  void SetText(const ui::Text&) override {}
  void SetToolbarButtonState(int index, int state) override {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    SendMessageW(window_, TB_SETSTATE, kFirstButtonCommand + index,
                 MAKELONG(NativeToolbarState(state), 0));
  }

  void OnCommand(int id, int) override {
    const int index = id - kFirstButtonCommand;
    if (index >= 0 && index < static_cast<int>(entries_.size())) {
      events_->OnToolbarButtonClicked(index);
    }
  }
  bool OnNotify(NMHDR* header, LRESULT* result) override {
    if (header->code != TTN_GETDISPINFOW) return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const int index = static_cast<int>(header->idFrom) - kFirstButtonCommand;
    if (index < 0 || index >= static_cast<int>(tooltips_.size())) return false;
    info->lpszText = const_cast<wchar_t*>(tooltips_[index].c_str());
    *result = 0;
    return true;
  }

 private:
  std::vector<ui::ToolbarEntrySpec> entries_;
  std::vector<std::wstring> captions_;
  std::vector<std::wstring> tooltips_;
};

}  // namespace

BYTE NativeToolbarState(int state) {
  BYTE native = (state & ui::kToolbarDisabled) ? 0 : TBSTATE_ENABLED;
  if (state & ui::kToolbarChecked) native |= TBSTATE_CHECKED;
  if (state & ui::kToolbarPressed) native |= TBSTATE_PRESSED;
  if (state & ui::kToolbarIndeterminate) native |= TBSTATE_INDETERMINATE;
  return native;
}

std::unique_ptr<ControlPeerBase> MakeToolbar(const ui::ControlSpec& info, ui::ControlEvents* events,
                                             HWND parent, int id) {
  return std::make_unique<ToolbarPeer>(info, events, parent, id);
}

}  // namespace sr::win32
