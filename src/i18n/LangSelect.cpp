#include "i18n/LangSelect.h"

namespace i18n {

const std::vector<std::string>& LanguagePaths() {
  // Every text the language files may change, in the order it is applied.
  static const std::vector<std::string> paths{
      // The main window: the drive panel and the buttons beside it.
      "Form1.Panel2.Caption",
      "Form1.BitBtn1.Caption",
      "Form1.BitBtn2.Caption",
      "Form1.BitBtn3.Caption",
      "Form1.BitBtn4.Caption",
      "Form1.BitBtn5.Caption",
      "Form1.BitBtn6.Caption",
      "Form1.BitBtn1.Hint",
      "Form1.BitBtn2.Hint",
      "Form1.BitBtn3.Hint",
      "Form1.BitBtn4.Hint",
      "Form1.BitBtn5.Hint",
      "Form1.BitBtn6.Hint",
      // The headings and check boxes of the option pages.
      "Form1.Label1.Caption",
      "Form1.Label2.Caption",
      "Form1.Label3.Caption",
      "Form1.Label4.Caption",
      "Form1.CheckBox1.Caption",
      "Form1.CheckBox2.Caption",
      "Form1.CheckBox3.Caption",
      "Form1.CheckBox4.Caption",
      "Form1.CheckBox5.Caption",
      "Form1.CheckBox6.Caption",
      "Form1.CheckBox7.Caption",
      "Form1.CheckBox8.Caption",
      "Form1.CheckBox1.Hint",
      "Form1.CheckBox2.Hint",
      "Form1.CheckBox3.Hint",
      "Form1.CheckBox4.Hint",
      "Form1.CheckBox5.Hint",
      "Form1.CheckBox6.Hint",
      "Form1.CheckBox7.Hint",
      "Form1.CheckBox8.Hint",
      // The language box, the drive box, the player box and the AutoRun lists.
      "Form1.ComboBox1.Hint",
      "Form1.ComboBox2.Hint",
      "Form1.DefPlay.Hint",
      "Form1.CheckListBox1.Hint",
      "Form1.CheckListBox2.Hint",
      "Form1.CheckListBox3.Hint",
      "Form1.CheckListBox4.Hint",
      // The tray menu; Explore1 keeps its design text in every language.
      "Form1.Restore1.Caption",
      "Form1.Open1.Caption",
      "Form1.Close1.Caption",
      "Form1.Run1.Caption",
      "Form1.Exit1.Caption",
      // The tabs of the option pages.
      "Form1.TabSheet1.Caption",
      "Form1.TabSheet2.Caption",
      "Form1.TabSheet3.Caption",
      // The page of the global hot keys and the names of its fields.
      "Form1.TabSheet4.Caption",
      "Form1.Label5.Caption",
      "Form1.Label6.Caption",
      "Form1.Label7.Caption",
      // The about box, made after the main window: it runs the pass again.
      "AboutBox.LinkLabel1.Caption",
      "AboutBox.Button1.Caption",
      "AboutBox.Button2.Caption",
      "AboutBox.Button3.Caption",
      // The list has always ended with a blank entry; the pass skips it.
      " ",
  };
  return paths;
}

std::string LangFileName(const std::string& programDir, const std::string& name) {
  std::string lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return programDir + lower + ".lng";
}

}  // namespace i18n
