#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "fakes/Fakes.h"
#include "platform/Accessibility.h"
#include "platform/Forms.h"
#include "policies/PolicyCheckBox.h"

using namespace platform;

namespace {

class FrameworkTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  TApplication App;
  TForm* Form = App.CreateForm<TForm>("Form1");
  int Clicks = 0;
};

TEST_F(FrameworkTest, PolicyCheckBoxRunsItsHandlerOnlyAfterALeftButtonPress) {
  auto* box = TComponent::Create<policies::TPolicyCheckBox>(Form, "CheckBox3", Form);
  box->OnClick = [this](TObject*) { ++Clicks; };

  box->SetChecked(true);  // from the program
  box->UserToggled();     // space bar: the box toggles itself, no press before
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(box->Checked());

  box->UserMouseDown();
  box->UserToggled();
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(box->Checked());

  // One press, one handler: the mark is gone after the click.
  box->UserToggled();
  EXPECT_EQ(Clicks, 1);

  // A press released outside the box leaves the mark for the next change,
  // whatever makes it.
  ASSERT_FALSE(box->Checked());
  box->UserMouseDown();
  box->SetChecked(false);  // no change of state: no click, the mark stays
  EXPECT_TRUE(box->MouseClick());
  box->SetChecked(true);
  EXPECT_EQ(Clicks, 2);
  EXPECT_FALSE(box->MouseClick());
}

TEST_F(FrameworkTest, PolicyCheckBoxClearsItsMarkWhenTheHandlerFails) {
  auto* box = TComponent::Create<policies::TPolicyCheckBox>(Form, "CheckBox5", Form);
  box->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
  box->UserMouseDown();
  box->UserToggled();
  EXPECT_FALSE(box->MouseClick());
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "'x' is not a valid integer value");
}

TEST_F(FrameworkTest, APlainCheckBoxClicksOnEveryRealChange) {
  auto* box = TComponent::Create<TCheckBox>(Form, "CheckBox6", Form);
  box->OnClick = [this](TObject*) { ++Clicks; };
  box->SetChecked(true);
  box->SetChecked(true);
  box->UserToggled();
  EXPECT_EQ(Clicks, 2);
}

TEST_F(FrameworkTest, ProgrammaticTextsAndMarksFireNoEvents) {
  auto* combo = TComponent::Create<TComboBox>(Form, "ComboBox1", Form);
  auto* list = TComponent::Create<TCheckListBox>(Form, "CheckListBox1", Form);
  auto* edit = TComponent::Create<TEdit>(Form, "DefPlay", Form);
  combo->OnChange = list->OnClickCheck = edit->OnExit = [this](TObject*) { ++Clicks; };
  combo->Items().Assign({"Dansk", "English"});
  combo->SetText("English");
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->Text(), "Dansk");
  list->Items().Assign({"A", "B"});
  list->SetChecked(1, true);
  edit->SetText("cdplayer.exe");
  EXPECT_EQ(Clicks, 0);

  combo->UserEdited("Eng");
  EXPECT_EQ(combo->ItemIndex(), -1);
  list->UserToggled(1);
  EXPECT_FALSE(list->Checked(1));
  edit->UserLeft();
  EXPECT_EQ(Clicks, 3);
}

TEST_F(FrameworkTest, AnErrorInAHandlerIsReportedWithTheTitleAndTheProgramGoesOn) {
  App.SetTitle("Morvel");
  auto* button = TComponent::Create<TButton>(Form, "BitBtn2", Form);
  button->OnClick = [](TObject*) { throw EConvertError("Not a valid drive ID"); };
  // A failing close query keeps the form open, whatever it had answered.
  Form->OnCloseQuery = [](TObject*, bool& canClose) {
    canClose = true;
    throw EConvertError("Not a valid drive ID");
  };
  Form->OnCanResize = [](TObject*, int&, int&, bool&) { throw EConvertError("x"); };
  int width = 0, height = 0;
  const std::function<void()> dispatches[] = {[&] { button->UserClicked(); },
                                              [&] { Form->UserClose(); },
                                              [&] { EXPECT_TRUE(Form->CanResize(width, height)); }};
  for (std::size_t i = 0; i < std::size(dispatches); ++i) {
    EXPECT_NO_THROW(dispatches[i]()) << i;
    ASSERT_EQ(System.Dialogs.Asked.size(), i + 1);
    EXPECT_EQ(System.Dialogs.Asked[i].Caption, "Morvel");
    EXPECT_EQ(System.Dialogs.Asked[i].Flags, kMbOk | kMbIconStop);
    EXPECT_FALSE(App.Terminated()) << i;
  }
}

TEST_F(FrameworkTest, PropertiesAreFoundByNameInAnyCaseThroughTheBaseTables) {
  auto* combo = TComponent::Create<TComboBox>(Form, "ComboBox1", Form);
  const TPropInfo* caption = combo->FindProperty("cAPTION");
  const TPropInfo* items = combo->FindProperty("items");
  ASSERT_NE(caption, nullptr);
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->Kind, TPropKind::Strings);
  items->Set(*combo, "Dansk\r\nEnglish\nUser");
  EXPECT_EQ(combo->Items().Items(), (std::vector<std::string>{"Dansk", "English", "User"}));
  EXPECT_EQ(items->Get(*combo), "Dansk\r\nEnglish\r\nUser\r\n");
  EXPECT_EQ(combo->FindProperty("Checked"), nullptr);
  EXPECT_EQ(Form->FindComponent("combobox1"), combo);
}

TEST_F(FrameworkTest, DisablingAPageDisablesWhatItHolds) {
  auto* pages = TComponent::Create<TPageControl>(Form, "PageControl1", Form);
  auto* sheet = TComponent::Create<TTabSheet>(Form, "TabSheet3", pages);
  auto* box = TComponent::Create<TCheckBox>(Form, "CheckBox7", sheet);
  sheet->SetEnabled(false);
  EXPECT_TRUE(box->Enabled());
  EXPECT_FALSE(box->EffectivelyEnabled());
  box->UserToggled();  // as the system gives a disabled box no input
  EXPECT_FALSE(box->Checked());
}

TEST_F(FrameworkTest, ClosingTheMainFormAsksFirstAndEndsTheApplication) {
  bool allow = false;
  Form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  Form->Show();
  EXPECT_TRUE(System.AppHost.AppWindowShown);
  Form->UserClose();
  EXPECT_FALSE(App.Terminated());
  allow = true;
  Form->UserClose();
  EXPECT_TRUE(App.Terminated());
}

// A system that refuses every window, or one that makes windows that do
// nothing but have handles of their own.
class TStubPeers : public TPeerFactory {
 public:
  explicit TStubPeers(bool refuse) : FRefuse(refuse) {}
  std::unique_ptr<TPeer> Create(TForm&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TPanel&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TTabSheet&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TPageControl&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TButton&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TCheckBox&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TComboBox&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TEdit&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TCheckListBox&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TLabel&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TBevel&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TShape&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TImage&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TStatusBar&) override { return Make(); }
  std::unique_ptr<TPeer> Create(TTimer&) override { return Make(); }
  std::unique_ptr<TMenuPeer> Create(TPopupMenu&) override {
    throw Exception("Error creating menu");
  }

 private:
  struct TStub : TPeer {
    explicit TStub(THandle handle) : FHandle(handle) {}
    void Changed(TChange) override {}
    THandle Handle() const override { return FHandle; }
    THandle FHandle;
  };
  std::unique_ptr<TPeer> Make() {
    if (FRefuse) throw Exception("Error creating window");
    return std::make_unique<TStub>(++FLast);
  }
  bool FRefuse;
  THandle FLast = 100;
};

class TCreatedForm : public TForm {
 public:
  explicit TCreatedForm(TComponent* owner) : TForm(owner) {
    OnCreate = [this](TObject*) { Created = true; };
    DoCreate();
  }
  bool Created = false;
};

TEST(FormCreation, AWindowTheSystemRefusesIsReportedAndTheFormStillCreates) {
  fakes::TFakeSystem system;
  TStubPeers peers(true);
  TServices services = Services();
  services.Peers = &peers;
  TScopedServices scope(services);
  TApplication app;
  TCreatedForm* form = nullptr;
  ASSERT_NO_THROW(form = app.CreateForm<TCreatedForm>("Form1"));
  EXPECT_TRUE(form->Created);
  ASSERT_EQ(system.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(system.Dialogs.Asked[0].Text, "Error creating window");
}

// Screen readers hear each drawn item's mark: every change of a mark or of
// an item's availability reaches the annotation, once the list has a window.
TEST(CheckListAccessibility, EachMarkAndAvailabilityChangeAnnotatesItsItem) {
  struct TRecorder : TAccessibility {
    void SetItemState(THandle window, unsigned childId, unsigned role, unsigned state) override {
      Calls.push_back({window, childId, role, state});
    }
    std::vector<std::array<unsigned long long, 4>> Calls;
  } recorder;
  fakes::TFakeSystem system;
  TStubPeers peers(false);
  TServices services = Services();
  services.Peers = &peers;
  services.Accessibility = &recorder;
  TScopedServices scope(services);
  TApplication app;
  TForm* form = app.CreateForm<TForm>("Form1");
  auto* list = TComponent::Create<TCheckListBox>(form, "CheckListBox1", form);
  list->Items().Assign({"C:", "D:", "E:"});
  list->SetChecked(1, true);
  list->SetItemEnabled(2, false);
  ASSERT_TRUE(recorder.Calls.empty());  // no window yet: nothing to annotate

  constexpr unsigned base = kAccStateFocusable | kAccStateSelectable, r = kAccRoleCheckButton;
  const unsigned long long h = 0;  // the list's handle, filled in below
  const struct {
    const char* step;
    std::function<void()> act;
    std::vector<std::array<unsigned long long, 4>> expected;
  } steps[] = {
      {"window made",
       [&] {
         form->SetVisible(true);
         list->CreateHandle();
       },
       {{h, 1, r, base},
        {h, 2, r, base | kAccStateChecked},
        {h, 3, r, base | kAccStateUnavailable}}},
      {"mark set", [&] { list->SetChecked(0, true); }, {{h, 1, r, base | kAccStateChecked}}},
      {"mark cleared", [&] { list->SetChecked(1, false); }, {{h, 2, r, base}}},
      {"toggled by the user", [&] { list->UserToggled(1); }, {{h, 2, r, base | kAccStateChecked}}},
      {"disabled item refuses the toggle", [&] { list->UserToggled(2); }, {}},
      {"item disabled",
       [&] { list->SetItemEnabled(0, false); },
       {{h, 1, r, base | kAccStateChecked | kAccStateUnavailable}}},
      {"item enabled again", [&] { list->SetItemEnabled(2, true); }, {{h, 3, r, base}}},
  };
  for (const auto& step : steps) {
    recorder.Calls.clear();
    step.act();
    auto expected = step.expected;
    for (auto& call : expected) call[0] = list->Handle();
    EXPECT_EQ(recorder.Calls, expected) << step.step;
  }
}

}  // namespace
