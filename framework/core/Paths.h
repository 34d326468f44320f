#pragma once
// Where files live. Every folder rule of the program is answered here, once.
#include <string>
#include <sys/types.h>
#include <vector>

// Folder of the running executable, without the trailing '/'.
std::string ProgramFolder();

// Replaces the program folder (tests; an empty text restores the real one).
void SetProgramFolderForTesting(const std::string& folder);

// Per-user configuration folder "$XDG_CONFIG_HOME/KeloServo/" (default "~/.config/KeloServo/"),
// with the trailing '/'. Created (0700) when missing; empty when neither variable gives a home.
std::string UserConfigFolder();

// Full path of a file the program keeps "in the program folder": the program folder when it is
// writable, else the per-user configuration folder (a system install). A leading '/' of the name is
// ignored, so "/comfile.ini" and "comfile.ini" name the same file.
std::string ProgramFolderFile(const std::string& name);

// The temporary folder, always with the trailing '/': $XDG_RUNTIME_DIR when set and writable, else
// ${TMPDIR:-/tmp}/keloservo-<uid>/, created 0700 and checked to be a real folder owned by the user.
// Empty when no safe folder can be had; callers then treat the file as absent.
std::string TempFolder();

// Full path of a file in the temporary folder (empty when there is no safe temporary folder).
std::string TempFolderFile(const std::string& name);

// Folder holding the virtual ports: TempFolder() + "ports/" (empty when TempFolder() is).
std::string VirtualPortsFolder();
// The same folder, created (0700) when missing; empty when it cannot be had.
std::string EnsureVirtualPortsFolder();

// The per-user profile "$XDG_CONFIG_HOME/KeloServo/profile.ini" (empty without a home).
std::string ProfilePath();

// open(2) that never follows a symbolic link in the last component and never leaks the descriptor
// into started programs. Returns the descriptor or -1 (errno set).
int OpenNoFollow(const std::string& path, int flags, mode_t mode = 0600);

// Whether the folder exists and this process may create files in it.
bool IsWritableFolder(const std::string& folder);

// Ensures a trailing '/' (an empty text stays empty).
std::string WithTrailingSlash(std::string folder);

// The font files of the faces the dialog templates and painted labels are laid out for (Tahoma and
// MS Sans Serif, in metric-compatible free versions). Searched in the folders of $KELO_FONT_DIRS
// (colon-separated; set but empty means none, which runs the program with the fallback face), else
// in the folder Debian's fonts-wine installs them to, which fontconfig does not index. Only files
// that exist are returned.
std::vector<std::string> TemplateFontFiles();
