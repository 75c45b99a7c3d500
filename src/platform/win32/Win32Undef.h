// <windows.h> renames some names the services use (GetDriveType becomes
// GetDriveTypeA ...). Headers that declare service implementations include
// the system header first and then take those macros back, so that the
// include order of a file never matters.
#pragma once

#include <windows.h>

#undef GetDriveType
#undef SetCurrentDirectory
#undef GetCurrentDirectory
#undef OpenMutex
#undef CreateMutex
#undef PostMessage
#undef CallWindowProc
#undef MessageBox
