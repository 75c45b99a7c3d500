// The pictures of a drive's tray icon: its letter, then the kinds its device
// entry names.
#pragma once

#include <string>

#include "platform/TrayIcon.h"

namespace drives {

using platform::TTrayIcon;

// Gives a new drive tray icon its images: the letter image first, then DVD,
// CD and rewriter images, each when the device entry (upper-cased, all of
// it) contains "DVD", "CD" or "RW". The base image is the last file loaded.
// A file that is missing adds no image; a drive left without any image
// shows the program's own icon, so that it still has an icon to click.
void LoadDriveImages(TTrayIcon& icon, char letter, const std::string& deviceEntry);

// Back to the letter and kind animation once the tray has opened: the base
// image is the letter image again (whatever a disc had put there), and the
// animation starts over on it. Without a letter image the program's own icon
// stands in, as at the start.
void RestoreDriveImages(TTrayIcon& icon, char letter);

// The icon the disc in the drive names in its Autorun.inf becomes the tray
// icon's base image, shown steadily: the animation stops until
// RestoreDriveImages. A program file's icon is extracted into `extracted`,
// which owns it, and copied from there. No autorun file, no entry, no file
// name, another kind of file or a program file without that icon change
// nothing. An index that is no integer raises the conversion error; an icon
// file that does not load raises "Cannot open file <path>".
void ApplyDiscIcon(TTrayIcon& icon, platform::TIcon& extracted, char letter);

}  // namespace drives
