// The main window as designed: the form's frame, every control with its
// place, caption and hint, the tray menu, and which handler each event
// runs. The handlers themselves are in Main.cpp.
#include "app/Main.h"
#include "i18n/LangSelect.h"

using namespace platform;

namespace app {

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, TRect r,
        const std::string& caption = {}, const std::string& hint = {}) {
  T* control = TComponent::Create<T>(owner, name, parent);
  control->SetBounds(r.Left, r.Top, r.Width, r.Height);
  control->SetCaption(caption);
  control->SetHint(hint);
  return control;
}

const char* const kDriveTypes[] = {"Uknown",           "No Root Directory", "Removable Drives",
                                   "Hard Disk Drives", "Network Drives",    "CD-ROM Drives",
                                   "RAM Disk Drives"};

std::vector<std::string> DriveLetters() {
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  return letters;
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetCaption("Morvel v 2.3");
  SetBounds(318, 254, 491, 227);
  IconFile = "";  // the program icon comes from the executable's resources
  BuildControls();
  BuildMenu();
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
  OnCanResize = [this](TObject* s, int& w, int& h, bool& resize) {
    FormCanResize(s, w, h, resize);
  };
  // FormCreate runs once the application owns the form under its name, so
  // that the language paths "Form1. ..." reach it.
}

void TForm1::BuildControls() {
  // Creation order is also the tab order and, for overlapping controls, the
  // order in which they are stacked.
  Panel2 = Make<TPanel>(this, this, "Panel2", {8, 16, 113, 20}, "Selected CD Drive");
  ComboBox2 =
      Make<TComboBox>(this, this, "ComboBox2", {24, 48, 73, 21}, {}, "Current selected drive");
  ComboBox2->SetText("drev");
  ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  BitBtn2 = Make<TBitBtn>(this, this, "BitBtn2", {8, 79, 113, 25}, "Open", "Open selected drive");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  BitBtn3 =
      Make<TBitBtn>(this, this, "BitBtn3", {8, 111, 113, 24}, "Close", "Close selected drive");
  BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
  BitBtn4 = Make<TBitBtn>(this, this, "BitBtn4", {8, 143, 113, 25}, "Run", "Run selected drive");
  BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };

  PageControl1 = Make<TPageControl>(this, this, "PageControl1", {129, 1, 240, 172});
  TabSheet1 = Make<TTabSheet>(this, PageControl1, "TabSheet1", {}, "Options");
  Panel1 = Make<TPanel>(this, TabSheet1, "Panel1", {0, 1, 233, 142});
  CheckBox1 = Make<TPolicyCheckBox>(this, Panel1, "CheckBox1", {8, 5, 201, 17}, "Start Morvel");
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CheckBox2 = Make<TPolicyCheckBox>(this, Panel1, "CheckBox2", {8, 24, 201, 17}, "Lyd auto");
  CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
  Bevel1 = Make<TBevel>(this, Panel1, "Bevel1", {6, 46, 222, 54});
  BitBtn5 =
      Make<TBitBtn>(this, Panel1, "BitBtn5", {12, 62, 89, 25}, "BitBtn5", "Autorun function on");
  BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
  BitBtn6 =
      Make<TBitBtn>(this, Panel1, "BitBtn6", {130, 62, 91, 25}, "BitBtn6", "Autorun function off");
  BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
  CheckBox3 = Make<TPolicyCheckBox>(this, Panel1, "CheckBox3", {8, 104, 177, 17}, "Taskbar");
  CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
  CheckBox5 = Make<TPolicyCheckBox>(this, Panel1, "CheckBox5", {8, 121, 201, 17}, "Ikon");
  CheckBox5->OnClick = [this](TObject* s) { CheckBox5Click(s); };

  TabSheet2 = Make<TTabSheet>(this, PageControl1, "TabSheet2", {}, "Extras");
  Bevel4 = Make<TBevel>(this, TabSheet2, "Bevel4", {1, 3, 224, 41});
  Label3 = Make<TLabel>(this, TabSheet2, "Label3", {8, 6, 114, 13}, "Default CD Audio Player");
  DefPlay =
      Make<TEdit>(this, TabSheet2, "DefPlay", {8, 20, 209, 21}, {}, "Default Audio CD Player");
  DefPlay->SetText("DefPlay");
  DefPlay->OnExit = [this](TObject* s) { DefPlayExit(s); };
  CheckBox4 = Make<TPolicyCheckBox>(this, TabSheet2, "CheckBox4", {5, 48, 212, 17},
                                    "CD-R/DVD-R Auto Start");
  CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
  Bevel3 = Make<TBevel>(this, TabSheet2, "Bevel3", {2, 69, 66, 74});
  Label2 = Make<TLabel>(this, TabSheet2, "Label2", {10, 70, 42, 13}, "Autostart");
  Label2->Centered = true;
  Label4 = Make<TLabel>(this, TabSheet2, "Label4", {16, 82, 30, 13}, "Drives");
  CheckListBox1 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox1", {8, 98, 49, 16}, {},
                                      "Auto Start Specific Drive (user)");
  CheckListBox2 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox2", {8, 119, 49, 16}, {},
                                      "Auto Start Specific Drive (system)");
  Bevel2 = Make<TBevel>(this, TabSheet2, "Bevel2", {72, 69, 153, 74});
  Label1 = Make<TLabel>(this, TabSheet2, "Label1", {111, 75, 57, 13}, "Drive Types");
  Label1->Centered = true;
  CheckListBox3 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox3", {80, 92, 137, 16}, {},
                                      "Auto Start Drive Type (user)");
  CheckListBox4 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox4", {80, 122, 137, 16}, {},
                                      "Auto Start Drive Type (system)");
  // Each pair: the user's setting, then the machine's.
  for (TCheckListBox* list : {CheckListBox1, CheckListBox2}) list->Items().Assign(DriveLetters());
  for (TCheckListBox* list : {CheckListBox3, CheckListBox4})
    list->Items().Assign(std::vector<std::string>(std::begin(kDriveTypes), std::end(kDriveTypes)));
  CheckListBox1->OnClickCheck = [this](TObject* s) { CheckListBox1ClickCheck(s); };
  CheckListBox2->OnClickCheck = [this](TObject* s) { CheckListBox2ClickCheck(s); };
  CheckListBox3->OnClickCheck = [this](TObject* s) { CheckListBox3ClickCheck(s); };
  CheckListBox4->OnClickCheck = [this](TObject* s) { CheckListBox4ClickCheck(s); };

  TabSheet3 = Make<TTabSheet>(this, PageControl1, "TabSheet3", {}, "XP");
  Bevel5 = Make<TBevel>(this, TabSheet3, "Bevel5", {2, 17, 223, 104});
  CheckBox7 = Make<TPolicyCheckBox>(this, TabSheet3, "CheckBox7", {8, 32, 217, 17},
                                    "Access to CD-ROM drives");
  CheckBox7->OnClick = [this](TObject* s) { CheckBox7Click(s); };
  CheckBox8 =
      Make<TPolicyCheckBox>(this, TabSheet3, "CheckBox8", {8, 64, 217, 17}, "Enable cd burning");
  CheckBox8->OnClick = [this](TObject* s) { CheckBox8Click(s); };
  CheckBox6 = Make<TCheckBox>(this, TabSheet3, "CheckBox6", {8, 96, 217, 17},
                              "Install from Removable Media");
  // A plain check box: its handler runs on every change, also from code.
  CheckBox6->OnClick = [this](TObject* s) { CheckBox6Click(s); };

  BitBtn1 = Make<TBitBtn>(this, this, "BitBtn1", {382, 23, 89, 25}, "BitBtn1", "About the program");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  // The frame first: of two painted controls the later one lies on top, and
  // the picture must sit over its frame.
  Shape1 = Make<TShape>(this, this, "Shape1", {398, 65, 71, 63});
  Image1 = Make<TImage>(this, this, "Image1", {397, 63, 73, 65});
  ComboBox1 = Make<TComboBox>(this, this, "ComboBox1", {382, 149, 89, 21}, {}, "Select Language");
  ComboBox1->Items().Assign({"Dansk", "Deutsch", "English", "Francais", "User"});
  ComboBox1->SetText("sprog");
  ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
  StatusBar1 = Make<TStatusBar>(this, this, "StatusBar1", {0, 174, 483, 19});

  cbDrives = Make<TComboBox>(this, this, "cbDrives", {8, 0, 121, 21});
  cbDrives->SetText("cbDrives");
  cbDrives->SetVisible(false);
  Drev = Make<TComboBox>(this, this, "Drev", {8, 32, 65, 21});
  Drev->SetText("Drev");
  Drev->SetVisible(false);

  Sprog = TComponent::Create<i18n::TLanguage>(this, "Sprog");
  Sprog->SetSeparator(i18n::kLanguageSeparator);
  Sprog->Properties().Assign(i18n::LanguagePaths());
  Timer1 = TComponent::Create<TTimer>(this, "Timer1");
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  MCDBurner1 = TComponent::Create<drives::TOpticalDrive>(this, "MCDBurner1");
}

void TForm1::BuildMenu() {
  PopupMenu1 = TComponent::Create<TPopupMenu>(this, "PopupMenu1");
  Restore1 = PopupMenu1->Add("Restore1", "Gendan", [this](TObject* s) { Restore1Click(s); });
  PopupMenu1->AddSeparator("N1");
  Open1 = PopupMenu1->Add("Open1",
                          "\xC5"
                          "ben",
                          [this](TObject* s) { BitBtn2Click(s); });
  Close1 = PopupMenu1->Add("Close1", "Luk", [this](TObject* s) { BitBtn3Click(s); });
  PopupMenu1->AddSeparator("N3");
  Run1 = PopupMenu1->Add("Run1", "K\xF8r", [this](TObject* s) { BitBtn4Click(s); });
  Explore1 = PopupMenu1->Add("Explore1", "Explore", [this](TObject* s) { Explore1Click(s); });
  PopupMenu1->AddSeparator("N2");
  Exit1 = PopupMenu1->Add("Exit1", "Exit", [this](TObject* s) { Exit1Click(s); });
  Restore1->Picture = "restore.ico";
  Open1->Picture = "open.ico";
  Close1->Picture = "close.ico";
  Run1->Picture = "run.ico";
  Explore1->Picture = "explore.ico";
  Exit1->Picture = "exit.ico";
}

}  // namespace app
