#pragma once
// Timing marks for a start-up trace. A build configured with
// MORVEL_STARTUP_TRACE=ON sends each mark to the debugger's output, which
// Wine prints with a time stamp (tools/bench.sh --trace); any other build
// compiles them to nothing.
#if defined(MORVEL_STARTUP_TRACE) && defined(_WIN32)
extern "C" __declspec(dllimport) void __stdcall OutputDebugStringA(const char*);
#define STARTUP_MARK(step) OutputDebugStringA("startup: " step)
#else
#define STARTUP_MARK(step) ((void)0)
#endif
