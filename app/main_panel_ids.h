// How other programs find the main window and its controls. These numbers
// and names are kept stable: the end-to-end tests drive the window by them.
//
// The window: class kForm1Class, caption "B". A control: GetDlgItem(form, id)
// or FindWindowExA by class and caption. A tick of the idle timer at once:
// post WM_TIMER with wParam kTimer1Id and lParam 0 to the window. A menu item
// without the pop-up: post WM_COMMAND with its id (high word 0, lParam 0).
#pragma once

namespace wendrel {

inline constexpr char kForm1Class[] = "WendrelIdler";
inline constexpr char kForm1Caption[] = "B";

// Above IDOK (1) and IDCANCEL (2), which Enter and Esc send to the window.
enum Form1Id : int {
  kCommand1Id = 101,  // "Idle On"
  kCommand2Id = 102,  // "Idle Off", outside the visible area
  kCommand3Id = 103,  // "Exit"
  kCommand4Id = 104,  // "Options"
  kCommand5Id = 105,  // "Enter PR"
  kCommand6Id = 106,  // "Idle Off"
  kText2Id = 120,     // the room box, "Room?"
  kLabel1Id = 201,    // minutes counter
  kLabel2Id = 202,    // "m/"
  kLabel3Id = 203,    // "-", minimise
  kLabel4Id = 204,    // title, drag and minimise
  kLabel5Id = 205,    // "x", exit
  kLabel6Id = 206,    // hours counter
  kLabel7Id = 207,    // days counter
  kLabel8Id = 208,    // "d/"
  kLabel9Id = 209,    // "h/"
  kMenuAbtId = 301,   // "about"
  kMenuGtsId = 302,   // "greets"
  kMenuCntId = 303,   // "contact"
  kMenuExtId = 304,   // "exit"
};

// Posted by the thread that talks to the client when Windows refuses our
// lines: the window tells the user.
inline constexpr unsigned kClientDeniedMessage = 0x8000 + 1;  // WM_APP + 1

// Timer1's id for SetTimer and WM_TIMER.
inline constexpr unsigned kTimer1Id = 1;
inline constexpr unsigned kTimer1IntervalMs = 60000;

}  // namespace wendrel
