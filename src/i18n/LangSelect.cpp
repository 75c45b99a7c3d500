#include "i18n/LangSelect.h"

namespace i18n {

namespace {

std::vector<std::string> BuildPaths() {
  std::vector<std::string> paths{"Form1.Panel2.Caption"};
  const auto numbered = [&paths](const char* kind, int count, const char* property) {
    for (int i = 1; i <= count; ++i)
      paths.push_back(std::string("Form1.") + kind + std::to_string(i) + "." + property);
  };
  numbered("BitBtn", 6, "Caption");
  numbered("BitBtn", 6, "Hint");
  numbered("Label", 4, "Caption");
  numbered("CheckBox", 8, "Caption");
  numbered("CheckBox", 8, "Hint");
  paths.insert(paths.end(), {"Form1.ComboBox1.Hint", "Form1.ComboBox2.Hint", "Form1.DefPlay.Hint"});
  numbered("CheckListBox", 4, "Hint");
  paths.insert(paths.end(),
               {"Form1.Restore1.Caption", "Form1.Open1.Caption", "Form1.Close1.Caption",
                "Form1.Run1.Caption", "Form1.Exit1.Caption", "Form1.TabSheet1.Caption",
                "Form1.TabSheet2.Caption", "Form1.TabSheet3.Caption", "AboutBox.LinkLabel1.Caption",
                "AboutBox.Button1.Caption", "AboutBox.Button2.Caption", "AboutBox.Button3.Caption",
                // The list has always ended with a blank entry; the pass skips it.
                " "});
  return paths;
}

}  // namespace

const std::vector<std::string>& LanguagePaths() {
  static const std::vector<std::string> paths = BuildPaths();
  return paths;
}

std::string LangFileName(const std::string& programDir, const std::string& name) {
  std::string lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return programDir + lower + ".lng";
}

}  // namespace i18n
