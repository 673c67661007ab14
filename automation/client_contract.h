// What the chat client presents to us: window classes, captions, menu texts,
// addresses and message numbers. Kept in one place so that the finders, the
// sender, room entry and the simulated client agree byte for byte.
#pragma once

namespace wendrel {

// Window classes.
inline constexpr char kFrameClass[] = "AOL Frame25";
inline constexpr char kMdiClientClass[] = "MDIClient";
inline constexpr char kChildClass[] = "AOL Child";       // rooms and "Keyword"
inline constexpr char kToolbarClass[] = "AOL Toolbar";
inline constexpr char kInnerToolbarClass[] = "_AOL_Toolbar";
inline constexpr char kComboboxClass[] = "_AOL_Combobox";
inline constexpr char kEditClass[] = "Edit";             // keyword box, 4 and 5
inline constexpr char kIconClass[] = "_AOL_Icon";
inline constexpr char kListboxClass[] = "_AOL_Listbox";
inline constexpr char kRichTextClass[] = "RICHCNTL";     // room view and input, 4 and 5
inline constexpr char kViewClass[] = "_AOL_View";        // room view, 2.5 and 3
inline constexpr char kOldEditClass[] = "_AOL_Edit";     // room input, 2.5 and 3
inline constexpr char kDialogClass[] = "#32770";
inline constexpr char kButtonClass[] = "Button";
inline constexpr char kStaticClass[] = "Static";
inline constexpr char kBuddyListClass[] = "_Oscar_BuddyListWin";

// Captions.
inline constexpr char kHotlineCaption[] = "AOL Hotline";
inline constexpr char kNewerRoomExcludedPrefix[] = "AOL";
inline constexpr char kKeywordCaption[] = "Keyword";
inline constexpr char kErrorDialogCaption[] = "America Online";
inline constexpr char kOkCaption[] = "OK";

// Menu texts that name the version (compared lower-cased, as substrings).
inline constexpr char kVersion5MenuText[] = "&What's New in AOL 5.0";
inline constexpr char kVersion25MenuText[] = "&LOGGING...";

// Versions.
inline constexpr char kVersion5[] = "5";
inline constexpr char kVersion4[] = "4";
inline constexpr char kVersion3[] = "3";
inline constexpr char kVersion25[] = "2.5";

// The private-room address; the room name follows with its spaces removed.
inline constexpr char kPrivateRoomAddress[] = "aol://2719:2-2-";

// Toolbar icons that open "Keyword" on the older clients (1-based places).
inline constexpr int kKeywordIcon25 = 13;
inline constexpr int kKeywordIcon3 = 18;

// Window messages.
inline constexpr unsigned kWmSetText = 0x000C;
inline constexpr unsigned kWmGetText = 0x000D;
inline constexpr unsigned kWmGetTextLength = 0x000E;
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmKeyUp = 0x0101;
inline constexpr unsigned kWmChar = 0x0102;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;

inline constexpr unsigned char kCharEnter = 13;
inline constexpr unsigned char kCharSpace = 32;
inline constexpr unsigned kVkSpace = 0x20;

// Flags given to GetMenuStringA when reading the version item. Without
// MF_BYPOSITION (0x400) the item is addressed by its command identifier.
inline constexpr unsigned kMenuStringFlags = 1;
inline constexpr int kMenuStringCapacity = 100;

}  // namespace wendrel
