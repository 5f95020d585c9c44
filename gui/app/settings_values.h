// The remembered values of the program ("LastModel", "ComPort", "LastFilePath",
// "Language", "LastWinPos") in their stored text forms, and the command-line
// switches. Plain C++ so that every parsing rule is tested without a window.
#pragma once

#include "model/identity.h"
#include "model/model_info.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl::gui {

inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 20;

// "LastModel": eight hexadecimal bytes separated by ':' (one or two digits each).
// A well-formed value gets bits 7 and 5 of byte 6 set: no option board is ever
// remembered. nullopt for anything else.
std::optional<ModelIdentity> parseLastModel(std::string_view text);
// The stored form "%02X:%02X:%02X:%02X:%01X:%02X:%02X:%02X".
std::string formatLastModel(const ModelIdentity& id);

// "ComPort": 1 when absent or outside 1-20.
int comPortFromSetting(std::optional<long long> stored);

// "Language": a negative index becomes 0 (the language table drops an index beyond
// its last language when it loads).
int languageFromSetting(std::optional<long long> stored);

// "LastWinPos": placement flags, show state, minimized x/y, maximized x/y and the
// normal rectangle (left, top, right, bottom).
struct WindowPlacement {
    static constexpr int kRestoreToMaximized = 2; // placement flag
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int flags = 0;
    int showState = kShowNormal;
    int minX = -1, minY = -1, maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const WindowPlacement&) const = default;
};

// Exactly ten integers separated by ':'; nullopt otherwise.
std::optional<WindowPlacement> parseWindowPlacement(std::string_view text);
std::string formatWindowPlacement(const WindowPlacement& p);

// How a remembered placement opens the window: a window closed minimized opens
// maximized when it was to be restored maximized, else normal. A normal rectangle
// without area cannot show a window and opens maximized too.
enum class StartShow { Normal, Maximized };
StartShow startShowFor(const WindowPlacement& p);

// Command-line switches. A switch is a whole argument: "/STEP" or "--step" (1.25 kHz
// VHF step), "/SCR" or "--scr" (SCR board offered), in any letter case. A path
// such as "/scratch/x.dat" is not a switch; file names are ignored.
StartOptions parseSwitches(const std::vector<std::string>& args);

// "LastFilePath": the folder of a data file with its trailing separator ('/' or '\').
std::string folderWithSeparator(std::string_view filePath);

// The data folder: the remembered folder when it exists, else the executable's
// folder, or its "DATA" sub-folder when there is one. A folder that `usable` refuses
// (not writable, or a build tree) gives way to `userFolder` when that is given: a
// fresh user does not save into the program's own folder. Ends with a separator.
std::string dataFolder(std::string_view lastFilePath, std::string_view exeDir,
                       const std::function<bool(const std::string&)>& isDirectory,
                       std::string_view userFolder = {},
                       const std::function<bool(const std::string&)>& usable = {});

// "VRL-73M  [ <label with ':' as ' : '> <VHF/UHF> : <band> ] [ <text 83> : <file>]".
std::string buildTitle(std::string_view label, std::string_view vhfUhf, std::string_view band,
                       std::string_view fileCaption, std::string_view fileName);

} // namespace vrl::gui
