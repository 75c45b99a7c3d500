#include <gtest/gtest.h>

#include <array>
#include <functional>

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

// A system that refuses every window.
class TRefusingPeers : public TPeerFactory {
 public:
  std::unique_ptr<TPeer> Create(TForm&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TPanel&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TTabSheet&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TPageControl&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TButton&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TCheckBox&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TComboBox&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TEdit&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(THotKey&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TCheckListBox&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TLabel&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TBevel&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TShape&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TImage&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TStatusBar&) override { return Refuse(); }
  std::unique_ptr<TPeer> Create(TTimer&) override { return Refuse(); }
  std::unique_ptr<TMenuPeer> Create(TPopupMenu&) override {
    throw Exception("Error creating menu");
  }

 private:
  static std::unique_ptr<TPeer> Refuse() { throw Exception("Error creating window"); }
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
  TRefusingPeers peers;
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
      EXPECT_EQ(role, kAccRoleCheckButton);
      Calls.push_back({window, childId, state});
    }
    std::vector<std::array<THandle, 3>> Calls;
  } recorder;
  struct TListPeers : TRefusingPeers {
    struct TStub : TPeer {
      void Changed(TChange) override {}
      THandle Handle() const override { return 7; }
    };
    std::unique_ptr<TPeer> Create(TCheckListBox&) override { return std::make_unique<TStub>(); }
  } peers;
  fakes::TFakeSystem system;
  TServices services = Services();
  services.Peers = &peers;
  services.Accessibility = &recorder;
  TScopedServices scope(services);
  TComponent owner(nullptr);
  auto* list = TComponent::Create<TCheckListBox>(&owner, "CheckListBox1", nullptr);
  list->Items().Assign({"C:", "D:", "E:"});
  list->SetChecked(1, true);
  list->SetItemEnabled(2, false);
  EXPECT_TRUE(recorder.Calls.empty());  // no window yet

  constexpr THandle base = kAccStateFocusable | kAccStateSelectable, on = kAccStateChecked,
                    off = kAccStateUnavailable;
  const struct {
    std::function<void()> act;
    std::vector<std::array<THandle, 3>> calls;
  } steps[] = {
      {[&] { list->CreateHandle(); }, {{7, 1, base}, {7, 2, base | on}, {7, 3, base | off}}},
      {[&] { list->SetChecked(0, true); }, {{7, 1, base | on}}},
      {[&] { list->SetChecked(1, false); }, {{7, 2, base}}},
      {[&] { list->UserToggled(1); }, {{7, 2, base | on}}},
      {[&] { list->UserToggled(2); }, {}},  // a disabled item keeps its mark
      {[&] { list->SetItemEnabled(0, false); }, {{7, 1, base | on | off}}},
      {[&] { list->SetItemEnabled(2, true); }, {{7, 3, base}}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    recorder.Calls.clear();
    steps[i].act();
    EXPECT_EQ(recorder.Calls, steps[i].calls) << i;
  }
}

}  // namespace
