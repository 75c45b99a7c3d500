// Starts morvel.exe (window mode, then tray mode) and the minimal program in
// turn, N rounds, and times each from CreateProcess until what a user waits
// for: the visible main window, or the first icon drawn in the taskbar's
// notification area. It also reads each process's peak memory once it is
// idle, then ends it. All runs share this process's Wine session, so each
// start meets the same running wineserver and desktop. Given an earlier
// morvel.exe too, it times that one in the same rounds, taking turns in
// which of the two goes first, so that both meet the same conditions.
//
//   bench_runner.exe N MORVEL_EXE MINIMAL_EXE [EARLIER_MORVEL_EXE]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MorvelProcess.h"

namespace {

using namespace std::chrono_literals;

enum TWait : unsigned { KWindow = 1, KTray = 2 };

struct TSample {
  double WindowMs = -1;
  double TrayMs = -1;
  double IdleMs = -1;
  double PeakWorkingSetMb = 0;
  double PeakPagefileMb = 0;
};

double NowMs() {
  static const double PerMs = [] {
    LARGE_INTEGER F;
    QueryPerformanceFrequency(&F);
    return static_cast<double>(F.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER T;
  QueryPerformanceCounter(&T);
  return static_cast<double>(T.QuadPart) / PerMs;
}

// GetWindowTextA reads another process's window title without sending it
// a message: a program busy starting up is not asked anything.
bool VisibleWindowTitled(DWORD Pid, const char* Title) {
  for (HWND Wnd : e2e::TopWindowsOf(Pid)) {
    char Text[64] = "";
    if (IsWindowVisible(Wnd) && GetWindowTextA(Wnd, Text, sizeof Text) >= 0 &&
        std::string(Text) == Title)
      return true;
  }
  return false;
}

// One start; false when the program did not get there within 30 s. The
// label names the start in a trace.
bool RunOnce(const std::string& Exe, const char* Title, unsigned Waits, const char* Label,
             TSample& Sample) {
  // The previous run's icons leave the taskbar on the taskbar's own time.
  e2e::WaitUntil([] { return e2e::TrayIconCount() == 0; }, 10s);
  const std::string Folder = Exe.substr(0, Exe.find_last_of("\\/"));
  std::string CommandLine = "\"" + Exe + "\"";
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Info{};
  // The zero of a start-up trace (tools/bench.sh --trace).
  OutputDebugStringA((std::string("bench: start ") + Label).c_str());
  const double Start = NowMs();
  if (!CreateProcessA(Exe.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      Folder.c_str(), &Startup, &Info)) {
    std::fprintf(stderr, "cannot start %s: %lu\n", Exe.c_str(), GetLastError());
    return false;
  }
  while (NowMs() - Start < 30000 && WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) {
    if ((Waits & KWindow) && Sample.WindowMs < 0 && VisibleWindowTitled(Info.dwProcessId, Title)) {
      Sample.WindowMs = NowMs() - Start;
      OutputDebugStringA("bench: window seen");
    }
    if ((Waits & KTray) && Sample.TrayMs < 0 && e2e::TrayIconCount() > 0) {
      Sample.TrayMs = NowMs() - Start;
      OutputDebugStringA("bench: tray icon seen");
    }
    if (((Waits & KWindow) == 0 || Sample.WindowMs >= 0) &&
        ((Waits & KTray) == 0 || Sample.TrayMs >= 0))
      break;
    Sleep(1);
  }
  // Start-up is over once the program waits for input: its window is
  // painted, and whatever it does after showing it is done.
  if (WaitForInputIdle(Info.hProcess, 30000) == 0) Sample.IdleMs = NowMs() - Start;
  PROCESS_MEMORY_COUNTERS Memory{};
  Memory.cb = sizeof Memory;
  if (GetProcessMemoryInfo(Info.hProcess, &Memory, sizeof Memory)) {
    Sample.PeakWorkingSetMb = Memory.PeakWorkingSetSize / 1048576.0;
    Sample.PeakPagefileMb = Memory.PeakPagefileUsage / 1048576.0;
  }
  TerminateProcess(Info.hProcess, 0);
  WaitForSingleObject(Info.hProcess, 10000);
  CloseHandle(Info.hThread);
  CloseHandle(Info.hProcess);
  const bool Reached = ((Waits & KWindow) == 0 || Sample.WindowMs >= 0) &&
                       ((Waits & KTray) == 0 || Sample.TrayMs >= 0);
  if (!Reached) std::fprintf(stderr, "%s did not get there in time\n", Exe.c_str());
  return Reached;
}

double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  const size_t Mid = Values.size() / 2;
  return Values.size() % 2 ? Values[Mid] : (Values[Mid - 1] + Values[Mid]) / 2;
}

template <class Field>
std::vector<double> Column(const std::vector<TSample>& Samples, Field Member) {
  std::vector<double> Values;
  for (const TSample& S : Samples) Values.push_back(S.*Member);
  return Values;
}

void PrintRow(const char* Name, const std::vector<TSample>& Samples, double TSample::*Time) {
  const std::vector<double> Times = Column(Samples, Time);
  std::printf("%-21s %8.1f %8.1f %8.1f %9.1f %9.1f\n", Name, Median(Times),
              *std::min_element(Times.begin(), Times.end()),
              *std::max_element(Times.begin(), Times.end()),
              Median(Column(Samples, &TSample::PeakWorkingSetMb)),
              Median(Column(Samples, &TSample::PeakPagefileMb)));
}

}  // namespace

int main(int Argc, char** Argv) {
  if ((Argc != 4 && Argc != 5) || std::atoi(Argv[1]) < 1) {
    std::fprintf(stderr, "usage: bench_runner N MORVEL_EXE MINIMAL_EXE [EARLIER_MORVEL_EXE]\n");
    return 2;
  }
  const int Rounds = std::atoi(Argv[1]);
  const std::string Morvel = Argv[2], Minimal = Argv[3], Earlier = Argc == 5 ? Argv[4] : "";
  std::vector<TSample> Window, Tray, EarlierWindow, EarlierTray, Yardstick;
  const auto Both = [](const std::string& Exe, const char* Name, TSample& W, TSample& T) {
    const std::string WindowLabel = std::string(Name) + "window",
                      TrayLabel = std::string(Name) + "tray";
    return e2e::WriteSetting("Tray", "Nej") &&
           RunOnce(Exe, e2e::KMainTitle, KWindow, WindowLabel.c_str(), W) &&
           e2e::WriteSetting("Tray", "Ja") && RunOnce(Exe, "", KTray, TrayLabel.c_str(), T);
  };
  // Round 0 warms the file cache and Wine's shared state and is not counted.
  for (int Round = 0; Round <= Rounds; ++Round) {
    TSample W, T, EW, ET, M;
    bool Ok = true;
    if (!Earlier.empty() && Round % 2 == 0) Ok = Both(Earlier, "earlier ", EW, ET);
    Ok = Ok && Both(Morvel, "", W, T);
    if (!Earlier.empty() && Round % 2 == 1) Ok = Ok && Both(Earlier, "earlier ", EW, ET);
    Ok = Ok && RunOnce(Minimal, "Minimal", KWindow | KTray, "minimal", M);
    if (!Ok) return 1;
    if (Round == 0) continue;
    Window.push_back(W);
    Tray.push_back(T);
    EarlierWindow.push_back(EW);
    EarlierTray.push_back(ET);
    Yardstick.push_back(M);
  }
  e2e::WriteSetting("Tray", "Nej");

  std::printf("%d runs each, ms from CreateProcess; peak memory in MB (medians)\n", Rounds);
  std::printf("%-21s %8s %8s %8s %9s %9s\n", "", "median", "min", "max", "peak WS", "peak PF");
  PrintRow("morvel window", Window, &TSample::WindowMs);
  if (!Earlier.empty()) PrintRow("earlier window", EarlierWindow, &TSample::WindowMs);
  PrintRow("minimal window", Yardstick, &TSample::WindowMs);
  PrintRow("morvel tray icon", Tray, &TSample::TrayMs);
  if (!Earlier.empty()) PrintRow("earlier tray icon", EarlierTray, &TSample::TrayMs);
  PrintRow("minimal tray icon", Yardstick, &TSample::TrayMs);
  PrintRow("morvel idle (window)", Window, &TSample::IdleMs);
  PrintRow("minimal idle", Yardstick, &TSample::IdleMs);
  const auto Ratio = [](const std::vector<TSample>& A, const std::vector<TSample>& B,
                        double TSample::*Field) {
    return Median(Column(A, Field)) / Median(Column(B, Field));
  };
  std::printf("ratio window    %.2f\n", Ratio(Window, Yardstick, &TSample::WindowMs));
  std::printf("ratio tray icon %.2f\n", Ratio(Tray, Yardstick, &TSample::TrayMs));
  std::printf("ratio idle      %.2f\n", Ratio(Window, Yardstick, &TSample::IdleMs));
  std::printf("ratio peak WS   %.2f\n", Ratio(Window, Yardstick, &TSample::PeakWorkingSetMb));
  if (!Earlier.empty()) {
    std::printf("earlier: ratio window %.2f, ratio tray icon %.2f, peak WS %.1f MB\n",
                Ratio(EarlierWindow, Yardstick, &TSample::WindowMs),
                Ratio(EarlierTray, Yardstick, &TSample::TrayMs),
                Median(Column(EarlierWindow, &TSample::PeakWorkingSetMb)));
  }
  return 0;
}
