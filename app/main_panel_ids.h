// How other programs find the main window and its controls. The numbers,
// the class name and the captions stay as they are: other programs and the
// end-to-end tests find and drive the window by them.
//
// The window: class kMainPanelClass, caption "B". A control: GetDlgItem(panel, id)
// or FindWindowExA by class and caption. A tick of the idle timer at once:
// post WM_TIMER with wParam kIdleTimer and lParam 0 to the window. A menu item
// without the pop-up: post WM_COMMAND with its id (high word 0, lParam 0).
#pragma once

namespace wendrel {

inline constexpr char kMainPanelClass[] = "WendrelIdler";
inline constexpr char kMainPanelCaption[] = "B";

// Above IDOK (1) and IDCANCEL (2), which Enter and Esc send to the window.
enum MainPanelId : int {
  kIdleOnButton = 101,         // "Idle On"
  kHiddenIdleOffButton = 102,  // "Idle Off", outside the visible area
  kExitButton = 103,           // "Exit"
  kOptionsButton = 104,        // "Options"
  kEnterRoomButton = 105,      // "Enter PR"
  kIdleOffButton = 106,        // "Idle Off"
  kRoomBox = 120,              // "Room?"
  kMinutesLabel = 201,         // the counters read "0" at first
  kMinutesMarkLabel = 202,     // "m/"
  kMinimiseLabel = 203,        // "-"
  kTitleLabel = 204,           // dragged, and a click minimises
  kExitLabel = 205,            // "x"
  kHoursLabel = 206,
  kDaysLabel = 207,
  kDaysMarkLabel = 208,    // "d/"
  kHoursMarkLabel = 209,   // "h/"
  kAboutMenuItem = 301,    // "about"
  kGreetsMenuItem = 302,   // "greets"
  kContactMenuItem = 303,  // "contact"
  kExitMenuItem = 304,     // "exit"
};

// Posted by the thread that talks to the client when Windows refuses our
// lines: the window tells the user.
inline constexpr unsigned kClientDeniedMessage = 0x8000 + 1;  // WM_APP + 1

// The idle timer's id for SetTimer and WM_TIMER.
inline constexpr unsigned kIdleTimer = 1;
inline constexpr unsigned kIdleTimerIntervalMs = 60000;

}  // namespace wendrel
