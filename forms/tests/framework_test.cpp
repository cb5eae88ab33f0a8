// The framework: modal windows, closing, message boxes and fatal runtime errors.
#include "forms/framework.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gbk.h"
#include "forms/main_form.h"
#include "forms/secondary_forms.h"
#include "forms/tests/recording_handlers.h"
#include "platform/headless/headless_backend.h"
#include "runtime/convert/fatal_error.h"

namespace sr::forms {
namespace {

Text G(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

class TaxRateRecorder : public TaxRateWindowHandlers {
 public:
  std::vector<std::string> calls;
  Framework* framework = nullptr;
  bool close_on_save = true;

  void OnCreated(TaxRateForm& form) override {
    calls.push_back("Created rows=" + std::to_string(form.grid().RowCount()));
    form.grid().SetRowCount(20);  // a later load must start from the form's 14 rows again
  }
  void OnCloseQuery(TaxRateForm& form) override { calls.push_back("CloseQuery"); }
  void OnSaveClicked(TaxRateForm& form) override {
    calls.push_back("Save");
    if (close_on_save) framework->Close(form);
  }
};

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() : framework_(backend_), main_(main_handlers_) {
    tax_.framework = &framework_;
    framework_.LoadMain(main_);
  }

  headless::HeadlessWindow* Peer(const Window& window) {
    return backend_.FindWindow(window.name());
  }

  headless::HeadlessBackend backend_;
  Framework framework_;
  RecordingHandlers main_handlers_;
  MainForm main_;
  TaxRateRecorder tax_;
};

TEST_F(FrameworkTest, ModalWindowDisablesTheOthersAndRestoresThem) {
  bool main_enabled_inside = true;
  bool main_peer_enabled_inside = true;
  backend_.QueueModalScript([&] {
    main_enabled_inside = main_.enabled();
    main_peer_enabled_inside = Peer(main_)->enabled();
    EXPECT_EQ(backend_.active_window()->caption(), G(u8"税率表"));
    backend_.active_window()->Find(G(u8"按钮税率保存"))->events()->OnClicked();
  });
  {
    TaxRateForm form(tax_);
    framework_.ShowModal(form);
    EXPECT_FALSE(form.is_open());
  }
  EXPECT_FALSE(main_enabled_inside);
  EXPECT_FALSE(main_peer_enabled_inside);
  EXPECT_TRUE(main_.enabled());
  EXPECT_TRUE(Peer(main_)->enabled());
  // Save closes the window; the close query then runs once more, not again for the nested close.
  EXPECT_EQ(tax_.calls, (std::vector<std::string>{"Created rows=14", "Save", "CloseQuery"}));
}

TEST_F(FrameworkTest, AWindowThatWasDisabledStaysDisabledAfterTheModalWindow) {
  main_.SetEnabled(false);
  TaxRateForm form(tax_);
  framework_.ShowModal(form);  // no script: closed by its close box
  EXPECT_FALSE(main_.enabled());
  EXPECT_FALSE(Peer(main_)->enabled());
  EXPECT_EQ(tax_.calls, (std::vector<std::string>{"Created rows=14", "CloseQuery"}));
}

TEST_F(FrameworkTest, NestedModalWindowsRestoreInOrder) {
  FindForm find;
  bool main_enabled_in_inner = true;
  bool tax_enabled_in_inner = true;
  bool tax_enabled_after_inner = false;
  backend_.QueueModalScript([&] {  // the tax rate window opens the find window
    backend_.QueueModalScript([&] {
      main_enabled_in_inner = Peer(main_)->enabled();
      tax_enabled_in_inner = backend_.FindWindow(G(u8"税率表"))->enabled();
    });
    framework_.ShowModal(find);
    tax_enabled_after_inner = backend_.FindWindow(G(u8"税率表"))->enabled();
  });
  TaxRateForm form(tax_);
  framework_.ShowModal(form);
  EXPECT_FALSE(main_enabled_in_inner);
  EXPECT_FALSE(tax_enabled_in_inner);
  EXPECT_TRUE(tax_enabled_after_inner);
  EXPECT_TRUE(main_.enabled());
}

TEST_F(FrameworkTest, LoadingAgainCreatesTheWindowAfresh) {
  for (int i = 0; i < 2; ++i) {
    TaxRateForm form(tax_);
    framework_.ShowModal(form);
  }
  EXPECT_EQ(tax_.calls, (std::vector<std::string>{"Created rows=14", "CloseQuery",
                                                  "Created rows=14", "CloseQuery"}));
  // Shown twice, closed twice; the main window is the only one left.
  ASSERT_EQ(backend_.windows().size(), 1u);
  EXPECT_EQ(backend_.windows()[0]->state().name, main_.name());
}

TEST_F(FrameworkTest, AWindowClosedByItsCreatedHandlerRunsNoLoop) {
  struct Closing : TaxRateRecorder {
    void OnCreated(TaxRateForm& form) override {
      calls.push_back("Created");
      framework->Close(form);
    }
  } closing;
  closing.framework = &framework_;
  bool script_ran = false;
  backend_.QueueModalScript([&] { script_ran = true; });
  TaxRateForm form(closing);
  framework_.ShowModal(form);
  EXPECT_FALSE(form.is_open());
  EXPECT_FALSE(script_ran);
  EXPECT_EQ(backend_.pending_modal_scripts(), 1u);
  EXPECT_TRUE(main_.enabled());
  EXPECT_EQ(closing.calls, (std::vector<std::string>{"Created", "CloseQuery"}));
}

TEST_F(FrameworkTest, MessageBoxWithoutTitleGetsTheDefaultTitle) {
  framework_.ShowMessage("x");
  backend_.QueueAnswer(ui::MessageAnswer::kNo);
  EXPECT_EQ(framework_.ShowMessage("q", "t", ui::MessageButtons::kYesNo), ui::MessageAnswer::kNo);
  std::vector<headless::ScreenEvent> boxes;
  for (const auto& e : backend_.screen_log()) {
    if (e.kind == headless::ScreenEvent::Kind::kMessageBox) boxes.push_back(e);
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].title, G(u8"信息："));
  EXPECT_TRUE(boxes[0].message.task_modal);
  EXPECT_EQ(boxes[1].title, "t");
  EXPECT_EQ(boxes[1].message.icon, ui::MessageIcon::kNone);
  // A question nobody answered is a script error, not a silent answer.
  EXPECT_THROW(framework_.ShowMessage("q", "t", ui::MessageButtons::kYesNo), headless::ScriptError);
}

TEST_F(FrameworkTest, FatalRuntimeErrorIsShownOnceAndEndsWithMinusOne) {
  main_.menu().Bind(kMenuSort, [] { RaiseFatalError(kErrorNumberRequired); });
  int shown_before = 0;
  for (const auto& e : backend_.screen_log())
    shown_before += e.kind == headless::ScreenEvent::Kind::kMessageBox;
  try {
    main_.menu().Choose(kMenuSort);
    FAIL() << "the program went on after a fatal error";
  } catch (const headless::Terminated& t) {
    EXPECT_EQ(t.exit_code, -1);
  }
  EXPECT_TRUE(backend_.terminated());
  EXPECT_EQ(backend_.exit_code(), -1);
  std::vector<Text> texts;
  for (const auto& e : backend_.screen_log()) {
    if (e.kind == headless::ScreenEvent::Kind::kMessageBox) texts.push_back(e.text);
  }
  ASSERT_EQ(texts.size(), static_cast<size_t>(shown_before + 1));
  EXPECT_EQ(texts.back(),
            FatalErrorMessage({kErrorNumberRequired, NumberedErrorText(kErrorNumberRequired)}));
}

TEST_F(FrameworkTest, FatalErrorInsideAModalWindowEndsTheProgramToo) {
  class Failing : public TaxRateRecorder {
    void OnCreated(TaxRateForm&) override { RaiseFatalError(0, "bad"); }
  } failing;
  TaxRateForm form(failing);
  EXPECT_THROW(framework_.ShowModal(form), headless::Terminated);
  EXPECT_EQ(backend_.exit_code(), -1);
}

TEST_F(FrameworkTest, SettingsWindowWiresEveryBinding) {
  struct Recorder : SettingsWindowHandlers {
    std::vector<std::string> calls;
    Framework* framework;
    void OnCreated(SettingsForm&) override { calls.push_back("Created"); }
    void OnEditBoxChanged(SettingsForm& f) override {
      calls.push_back("Edit " + f.edit_box().text());
    }
    void OnGridClicked(SettingsForm&, int x, int y) override { calls.push_back("Clicked"); }
    void OnGridDoubleClick(SettingsForm&) override { calls.push_back("DoubleClick"); }
    void OnConfirmClicked(SettingsForm&) override { calls.push_back("Confirm"); }
    void OnCancelClicked(SettingsForm& f) override {
      calls.push_back("Cancel");
      framework->Close(f);
    }
  } recorder;
  recorder.framework = &framework_;
  SettingsForm form(recorder);
  backend_.QueueModalScript([&] {
    headless::HeadlessWindow* w = backend_.active_window();
    w->Find("编辑框1")->events()->OnTextEdited("abc");
    form.grid().PressButton(1, 1, 5, 5, 0);
    form.grid().ReleaseButton(1, 1, 5, 5, 0);
    form.grid().DoubleClickButton(1, 1, 5, 5, 0);
    w->Find("按钮确认修改")->events()->OnClicked();
    w->Find("按钮2")->events()->OnClicked();
  });
  framework_.ShowModal(form);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Created", "Edit abc", "Clicked",
                                                      "DoubleClick", "Confirm", "Cancel"}));
  // The edit box sits inside the shape box.
  EXPECT_EQ(form.edit_box().container(), &form.edit_frame());
}

TEST(SecondaryForms, CaptionsSizesAndControlsFollowTheirForms) {
  FindForm find;
  EXPECT_EQ(find.caption(), G(u8"查找"));
  EXPECT_EQ(find.rect(), (ui::Rect{50, 50, 362, 148}));
  EXPECT_EQ(find.prompt_label().caption(), G(u8"请输入要查找的内容"));
  EXPECT_EQ(find.find_button().caption(), G(u8"开始查找"));
  EXPECT_EQ(find.edit_box().rect(), (ui::Rect{72, 48, 120, 24}));

  struct NoSettings : SettingsWindowHandlers {
    void OnCreated(SettingsForm&) override {}
    void OnEditBoxChanged(SettingsForm&) override {}
    void OnGridClicked(SettingsForm&, int, int) override {}
    void OnGridDoubleClick(SettingsForm&) override {}
    void OnConfirmClicked(SettingsForm&) override {}
    void OnCancelClicked(SettingsForm&) override {}
  } none;
  SettingsForm settings(none);
  EXPECT_EQ(settings.caption(), G(u8"设置工资项目及免税项目"));
  EXPECT_EQ(settings.rect(), (ui::Rect{50, 50, 364, 400}));
  EXPECT_EQ(settings.help_label().caption(),
            G(u8"  要改变工资项目名称，请单击左边要修改的名称，然后在上面修改区内进行修改。\r\n\r\n"
              u8"  要设置某工资项为免税项目，双击该工资项。\r\n\r\n"
              u8"  要取消某工资项免税，双击该工资项。\r\n"));
  EXPECT_EQ(settings.grid().RowCount(), 16);
  EXPECT_EQ(settings.grid().ColumnCount(), 2);
  EXPECT_EQ(settings.confirm_button().caption(), G(u8"确认"));
  EXPECT_EQ(settings.cancel_button().caption(), G(u8"放弃"));

  struct NoSummary : SummaryWindowHandlers {
    void OnCreated(SummaryForm&) override {}
    void OnPrintClicked(SummaryForm&) override {}
  } no_summary;
  SummaryForm summary(no_summary);
  EXPECT_EQ(summary.caption(), G(u8"工资汇总"));
  EXPECT_EQ(summary.rect(), (ui::Rect{50, 50, 350, 487}));
  EXPECT_EQ(summary.grid().RowCount(), 20);
  EXPECT_EQ(summary.grid().ColumnCount(), 3);
  EXPECT_EQ(summary.print_button().caption(), G(u8"打印"));

  TaxRateRecorder tax;
  TaxRateForm tax_form(tax);
  EXPECT_EQ(tax_form.caption(), G(u8"税率表"));
  EXPECT_EQ(tax_form.rect(), (ui::Rect{50, 50, 563, 439}));
  EXPECT_EQ(tax_form.grid().RowCount(), 14);
  EXPECT_TRUE(tax_form.grid().Editable());
  EXPECT_EQ(tax_form.save_button().caption(), G(u8"保存"));
}

}  // namespace
}  // namespace sr::forms
