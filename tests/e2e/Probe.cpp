// Stands in for a disc's setup program: the tray tests put it on a disc and
// name it in the disc's Autorun.inf. It leaves behind where it was started
// and with what, which is all a test can see of a program that came and went.
//
// The update scenario also makes it the web browser, to see which address
// the program opened.
//
//   probe-ran.txt, in the folder MORVEL_PROBE_DIR names, else in the
//   current directory:
//     line 1: the current directory
//     line 2: the command line after the program's own name
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The command line without the program's name (quoted or not) and the
// blanks after it: what the starter passed as parameters.
const char* Parameters(const char* Line) {
  if (*Line == '"') {
    const char* Close = std::strchr(Line + 1, '"');
    Line = Close ? Close + 1 : Line + std::strlen(Line);
  } else {
    while (*Line && *Line != ' ' && *Line != '\t') ++Line;
  }
  while (*Line == ' ' || *Line == '\t') ++Line;
  return Line;
}

}  // namespace

// A window program, so that no console comes and goes with it.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char Folder[MAX_PATH + 1] = "";
  if (!GetCurrentDirectoryA(sizeof Folder, Folder)) return 2;
  char Dir[MAX_PATH + 1] = "";
  const DWORD DirLength = GetEnvironmentVariableA("MORVEL_PROBE_DIR", Dir, sizeof Dir);
  std::string Base = DirLength > 0 && DirLength < sizeof Dir ? std::string(Dir) + "\\" : "";
  // Written under a temporary name and renamed, so that a test that sees the
  // file never reads half of it.
  FILE* Out = std::fopen((Base + "probe-ran.tmp").c_str(), "wb");
  if (!Out) return 3;
  std::fprintf(Out, "%s\r\n%s\r\n", Folder, Parameters(GetCommandLineA()));
  if (std::fclose(Out) != 0) return 4;
  return MoveFileExA((Base + "probe-ran.tmp").c_str(), (Base + "probe-ran.txt").c_str(),
                     MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 5;
}
