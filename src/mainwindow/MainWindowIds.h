#pragma once

// Control ids of the main window (template 102) and the commands of its context menus. Buttons report
// their id with notification code 1; menus and keys funnel into the same handlers by these ids.
namespace mainwindow {

enum ControlId : int {
    IdPrev = 1000,
    IdBackward = 1001,
    IdPlay = 1002,
    IdBright = 1003,
    IdNext = 1004,
    IdForward = 1005,
    IdPause = 1006,
    IdSpeed = 1007,
    IdVideo = 1008,
    IdGraph = 1009,
    IdList = 1010,
    IdVolOn = 1013,
    IdCapture = 1014,
    IdNightOff = 1015,
    IdRotate = 1016,
    IdNightOn = 1017,
    IdVolOff = 1021,
    IdMapOn = 1022,
    IdMapOff = 1023,
    IdListOn = 1024,
    IdListOff = 1025,
    IdDrive = 1026,
    IdFolder = 1027,
    IdDelete = 1028,
    IdCopy = 1029,
    IdEvent = 1030,
    IdOption = 1031,
    IdDropMap = 1032,
    IdVolume = 1033,
    IdZoomOff = 1034,
    IdZoomOn = 1035,
    IdUnitKmh = 1081,
    IdUnitMph = 1082,
};

enum DropListId : int { DropSpeed = 103, DropMapProvider = 104, DropRotation = 105 };

enum MenuCommand : int {
    CmdSelectFolder = 32792,
    CmdSelectDrive = 32793,
    CmdPlayPause = 32794,
    CmdBackward = 32795,
    CmdForward = 32796,
    CmdPrevious = 32797,
    CmdNext = 32798,
    CmdVolumeUp = 32799,
    CmdVolumeDown = 32800,
    CmdMute = 32801,
    CmdSaveEvents = 32802,
    CmdMapGoogle = 32803,
    CmdMapDaum = 32805,
    CmdMapNaver = 32806,
    CmdSettings = 32807,
    CmdExit = 32808,
    // The trips view (beside the designed commands): shows or hides the day strip.
    CmdTripTimeline = 32900,
};

enum ContextMenuId : int { MenuStandard = 129, MenuMapless = 130 };

enum TimerId : int { TimerAfterOpen = 0, TimerAfterPlay = 1, TimerRotationLock = 2, TimerStartup = 3, TimerGraph = 4 };

// The input lock after an open lasts this long.
inline constexpr int kInputLockMs = 200;

} // namespace mainwindow
