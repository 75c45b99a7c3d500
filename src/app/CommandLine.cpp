#include "app/CommandLine.h"

#include <array>
#include <utility>
#include <vector>

namespace app {

namespace {

struct TSwitch {
  const char* Name;
  TCommandKind Kind;
};

constexpr std::array<TSwitch, 7> kSwitches{{
    {"open", TCommandKind::Open},
    {"close", TCommandKind::Close},
    {"run", TCommandKind::Run},
    {"explore", TCommandKind::Explore},
    {"show", TCommandKind::Show},
    {"exit", TCommandKind::Exit},
    {"?", TCommandKind::Usage},
}};

// Only ASCII letters change: a switch is ASCII, and the code page of the
// text is not known here.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Split at blanks; quotation marks group blanks into a word and are dropped.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, inWord = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::exchange(word, {}));
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// "D:" or "D:\": the upper-case letter; '\0' for anything else.
char DriveOf(const std::string& word) {
  if (word.size() < 2 || word.size() > 3 || !IsAsciiLetter(word[0]) || word[1] != ':') return '\0';
  if (word.size() == 3 && word[2] != '\\') return '\0';
  return AsciiUpper(word[0]);
}

}  // namespace

bool IsDriveCommand(TCommandKind kind) {
  return kind == TCommandKind::Open || kind == TCommandKind::Close || kind == TCommandKind::Run ||
         kind == TCommandKind::Explore;
}

TCommandLine ParseCommandLine(const std::string& arguments) {
  const std::vector<std::string> words = Words(arguments);
  if (words.empty()) return {};
  const TCommandLine wrong{TCommandKind::Wrong};
  const std::string& first = words[0];
  if (first.size() < 2 || (first[0] != '/' && first[0] != '-')) return wrong;
  std::string name;
  for (std::size_t i = 1; i < first.size(); ++i) name += AsciiLower(first[i]);
  TCommandLine command = wrong;
  for (const TSwitch& s : kSwitches)
    if (name == s.Name) command.Kind = s.Kind;
  if (command.Kind == TCommandKind::Wrong || words.size() == 1) return command;
  if (words.size() > 2 || !IsDriveCommand(command.Kind)) return wrong;
  command.Drive = DriveOf(words[1]);
  return command.Drive ? command : wrong;
}

std::string UsageText(const std::function<std::string(const std::string&)>& translate) {
  static constexpr std::array<std::pair<const char*, const char*>, 7> kLines{{
      {"morvel.exe /open [X:]     ", "open the tray of drive X (default: the current drive)"},
      {"morvel.exe /close [X:]    ", "close it"},
      {"morvel.exe /run [X:]      ", "run the disc, as the Run button does"},
      {"morvel.exe /explore [X:]  ", "explore the drive"},
      {"morvel.exe /show          ", "show the main window of the running copy"},
      {"morvel.exe /exit          ", "end the running copy, without the exit question"},
      {"morvel.exe /?             ", "the usage text"},
  }};
  std::string text;
  for (const auto& [command, description] : kLines)
    text += std::string(command) + translate(description) + "\r\n";
  return text;
}

std::string EncodeCommand(const TCommandLine& command) {
  std::string data(1, static_cast<char>('0' + static_cast<int>(command.Kind)));
  if (command.Drive) data += command.Drive;
  return data;
}

bool DecodeCommand(const std::string& data, TCommandLine& command) {
  if (data.empty() || data.size() > 2 || data[0] < '0' ||
      data[0] > '0' + static_cast<int>(TCommandKind::Exit))
    return false;
  TCommandLine decoded{static_cast<TCommandKind>(data[0] - '0')};
  if (decoded.Kind == TCommandKind::None) return false;
  if (data.size() == 2) {
    if (!IsDriveCommand(decoded.Kind) || data[1] < 'A' || data[1] > 'Z') return false;
    decoded.Drive = data[1];
  }
  command = decoded;
  return true;
}

}  // namespace app
