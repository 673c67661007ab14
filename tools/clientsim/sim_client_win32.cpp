#include "tools/clientsim/sim_client_win32.h"

#include <cstring>

#include "automation/client_contract.h"
#include "tools/clientsim/transcript_format.h"

namespace wendrel::clientsim {

struct Room {
  ChildPlan plan;
  HWND window = nullptr;
  HWND view = nullptr;
  HWND input = nullptr;
};

// What a control window is to the client; kept in its GWLP_USERDATA.
struct Control {
  enum Kind { kView, kInput, kKeywordBox, kIcon, kOther };
  int kind = kOther;
  SimClient* client = nullptr;
  Room* room = nullptr;   // kView, kInput
  int icon = 0;           // kIcon: its place in the toolbar, from 1
  WNDPROC base = nullptr; // the "Edit" procedure underneath
  bool pressed = false;
  unsigned enters = 0;    // kInput: Enters since it last took a line
};

namespace {

constexpr char kSimFrameCaption[] = "clientsim";
constexpr UINT_PTR kTimerHang = 1;
constexpr UINT_PTR kTimerQuit = 2;
constexpr UINT_PTR kTimerPrivateRoom = 3;
constexpr UINT_PTR kTimerDialogMessage = 4;
// Posted to the frame so that a window is not destroyed from inside the
// handler of one of its own children.
constexpr UINT kAppCloseKeyword = WM_APP + 1;
constexpr int kToolbarHeight = 34;
constexpr int kOlderToolbarIcons = 20;
constexpr int kIdOk = 1;
constexpr int kIdIconSlot = 1088;
constexpr int kIdMessage = 0xFFFF;

WNDPROC g_edit_proc = nullptr;
WNDPROC g_rich_text_proc = nullptr;
WNDPROC g_listbox_proc = nullptr;

Control* ControlOf(HWND hwnd) {
  return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

SimClient* ClientOf(HWND hwnd) {
  return reinterpret_cast<SimClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

std::string TextOf(HWND hwnd) {
  // Not sized by the length the box claims: it may be told to claim wrong.
  // A real client's box holds far longer lines than a chat takes.
  std::string text(1024 * 1024, '\0');
  const int n = GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

// Lines arrive dressed in font tags; the room shows what a reader would see.
std::string StripMarkup(const std::string& line) {
  std::string out;
  bool in_tag = false;
  for (char c : line) {
    if (c == '<') in_tag = true;
    else if (c == '>' && in_tag) in_tag = false;
    else if (!in_tag) out += c;
  }
  return out;
}

void AppendToView(HWND view, const std::string& text) {
  // The view is for the eye, and laying out a line of many kilobytes would
  // keep the client from answering for seconds: it shows a line's start.
  constexpr std::size_t kShownLength = 2000;
  int end = GetWindowTextLengthA(view);
  SendMessageA(view, EM_SETSEL, end, end);
  std::string line = (end > 0 ? "\r\n" : "") + text.substr(0, kShownLength);
  SendMessageA(view, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

// What the client keeps of a text set into its input box: by default all
// of it, as the system's controls do whatever their limit.
std::string KeptOfSet(const Options& o, const char* text) {
  std::string kept;
  for (const char* c = text; *c; ++c)
    if (!(o.squeeze_blanks && *c == ' ' && !kept.empty() && kept.back() == ' ')) kept += *c;
  if (o.keep_first && kept.size() > o.keep_first) kept.resize(o.keep_first);
  return kept;
}

// The idler types with WM_SETTEXT and then WM_CHAR; as in a box the user
// typed into, further characters go at the end. `base` is the control
// underneath: the system's Edit or rich edit.
LRESULT InputLike(WNDPROC base, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c = ControlOf(hwnd);
  if (c && msg == WM_CHAR && wp == kCharEnter) {
    if (c->kind == Control::kInput) {
      c->client->OnInputEnter(*c);
      return 0;
    }
    if (c->kind == Control::kKeywordBox) {
      c->client->OnKeywordEnter(hwnd);
      return 0;
    }
  }
  if (c && c->kind == Control::kInput && msg == WM_GETTEXTLENGTH) {
    // A box that claims more than it holds, as some rich edit controls do.
    const Options& o = c->client->options();
    if (o.claim_length) return *o.claim_length;
    return CallWindowProcA(base, hwnd, msg, wp, lp) + o.claim_extra;
  }
  if (c && c->kind == Control::kInput && (msg == WM_GETTEXT || msg == WM_SETTEXT))
    c->client->OnInputText(msg == WM_SETTEXT);
  if (c && msg == WM_SETTEXT && c->kind != Control::kView) {
    const char* text = reinterpret_cast<const char*>(lp);
    std::string kept;
    if (c->kind == Control::kInput && text) {
      kept = KeptOfSet(c->client->options(), text);
      lp = reinterpret_cast<LPARAM>(kept.c_str());
    }
    LRESULT r = CallWindowProcA(base, hwnd, msg, wp, lp);
    if (c->kind == Control::kInput) c->client->OnInputSet(text);
    int end = GetWindowTextLengthA(hwnd);
    CallWindowProcA(base, hwnd, EM_SETSEL, end, end);
    return r;
  }
  return CallWindowProcA(base, hwnd, msg, wp, lp);
}

// The older rooms' boxes and the keyword box, on the system's Edit.
LRESULT CALLBACK EditLikeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c = ControlOf(hwnd);
  return InputLike(c && c->base ? c->base : g_edit_proc, hwnd, msg, wp, lp);
}

// The newer rooms' view and input box: Edit, or with --real-controls the
// system's rich edit, as the real client's are.
LRESULT CALLBACK RichTextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return InputLike(g_rich_text_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK ListboxLikeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(g_listbox_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK IconProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c = ControlOf(hwnd);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (c) c->pressed = true;
      return 0;
    case WM_LBUTTONUP:
      // A press and a release make a click, wherever the pointer is: the
      // idler sends both with lParam 0.
      if (c && c->pressed) {
        c->pressed = false;
        c->client->OnIconClick(*c);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
      std::string text = TextOf(hwnd);
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    // A panel holds one child (the toolbar chain of the newer clients):
    // it fills the panel, less a margin.
    HWND child = GetWindow(hwnd, GW_CHILD);
    if (child && !GetWindow(child, GW_HWNDNEXT))
      MoveWindow(child, 2, 2, LOWORD(lp) - 4, HIWORD(lp) - 4, TRUE);
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void LayOutRoom(HWND room, int w, int h) {
  HWND view = FindWindowExA(room, nullptr, kRichTextClass, nullptr);
  HWND input = view ? FindWindowExA(room, view, kRichTextClass, nullptr) : nullptr;
  if (!view) {
    view = FindWindowExA(room, nullptr, kViewClass, nullptr);
    input = FindWindowExA(room, nullptr, kOldEditClass, nullptr);
  }
  HWND list = FindWindowExA(room, nullptr, kListboxClass, nullptr);
  HWND icon = FindWindowExA(room, nullptr, kIconClass, nullptr);
  HWND combo = FindWindowExA(room, nullptr, kComboboxClass, nullptr);
  int side = 130, bottom = 34;
  if (view) MoveWindow(view, 4, 4, w - side - 8, h - bottom - 8, TRUE);
  if (list) MoveWindow(list, w - side, 4, side - 4, h - bottom - 8, TRUE);
  if (input) MoveWindow(input, 4, h - bottom, w - side - 8, bottom - 6, TRUE);
  if (icon) MoveWindow(icon, w - side, h - bottom, 60, bottom - 6, TRUE);
  if (combo) MoveWindow(combo, w - side + 64, h - bottom, side - 68, bottom - 6, TRUE);
  if (!view && input) MoveWindow(input, 4, 4, w - 8, 24, TRUE);  // "Keyword"
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      LayOutRoom(hwnd, LOWORD(lp), HIWORD(lp));
      break;  // DefMDIChildProc needs WM_SIZE too
    case WM_DESTROY:
      if (SimClient* client = ClientOf(hwnd)) client->OnChildDestroyed(hwnd);
      break;
  }
  return DefMDIChildProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  SimClient* client = ClientOf(hwnd);
  HWND mdi = FindWindowExA(hwnd, nullptr, kMdiClientClass, nullptr);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
      break;
    }
    case WM_SIZE: {
      HWND toolbar = FindWindowExA(hwnd, nullptr, kToolbarClass, nullptr);
      int w = LOWORD(lp), h = HIWORD(lp);
      if (toolbar) MoveWindow(toolbar, 0, 0, w, kToolbarHeight, TRUE);
      if (mdi) MoveWindow(mdi, 0, kToolbarHeight, w, h - kToolbarHeight, TRUE);
      return 0;
    }
    case WM_TIMER:
      if (client) client->OnFrameTimer(wp);
      return 0;
    case kAppCloseKeyword:
      if (client) client->OnFrameApp(wp);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefFrameProcA(hwnd, mdi, msg, wp, lp);
}

LRESULT CALLBACK BuddyListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(dlg, DWLP_USER, lp);
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    auto* client = reinterpret_cast<SimClient*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (client) client->OnDialogCommand(LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

bool RegisterClasses(HINSTANCE instance, bool rich_edit) {
  static bool done = false;
  // Whether "RICHCNTL" stands on rich edit now; -1 before it is registered.
  static int rich_text_on_rich_edit = -1;

  // The client's own text controls behave like the system's: make them
  // superclasses of those, under the client's class names.
  auto superclass = [&](const char* base, const char* name, WNDPROC proc,
                        WNDPROC& base_proc) {
    WNDCLASSA sc{};
    if (!GetClassInfoA(nullptr, base, &sc)) return false;
    base_proc = sc.lpfnWndProc;
    sc.lpfnWndProc = proc;
    sc.hInstance = instance;
    sc.lpszClassName = name;
    sc.style &= ~CS_GLOBALCLASS;
    return RegisterClassA(&sc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  };

  if (!done) {
    WNDCLASSA wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);

    auto reg = [&](const char* name, WNDPROC proc, HBRUSH background) {
      wc.lpszClassName = name;
      wc.lpfnWndProc = proc;
      wc.hbrBackground = background;
      return RegisterClassA(&wc) != 0 ||
             GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    };
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    if (!reg(kFrameClass, FrameProc, GetSysColorBrush(COLOR_APPWORKSPACE)) ||
        !reg(kChildClass, ChildProc, face) || !reg(kToolbarClass, PanelProc, face) ||
        !reg(kInnerToolbarClass, PanelProc, face) ||
        !reg(kComboboxClass, PanelProc, face) || !reg(kIconClass, IconProc, face) ||
        !reg(kBuddyListClass, BuddyListProc, GetSysColorBrush(COLOR_WINDOW)))
      return false;
    if (!superclass("Edit", kViewClass, EditLikeProc, g_edit_proc) ||
        !superclass("Edit", kOldEditClass, EditLikeProc, g_edit_proc) ||
        !superclass("ListBox", kListboxClass, ListboxLikeProc, g_listbox_proc))
      return false;
    done = true;
  }

  // One process may run clients of both kinds one after the other (the
  // tests do): the class is made again on the other control, once the
  // windows of the last client are gone.
  if (rich_text_on_rich_edit != static_cast<int>(rich_edit)) {
    if (rich_text_on_rich_edit != -1 && !UnregisterClassA(kRichTextClass, instance)) return false;
    rich_text_on_rich_edit = -1;
    if (rich_edit && !LoadLibraryA("riched20.dll")) return false;
    if (!superclass(rich_edit ? "RichEdit20A" : "Edit", kRichTextClass, RichTextProc,
                    g_rich_text_proc))
      return false;
    rich_text_on_rich_edit = rich_edit;
  }
  return true;
}

// A dialog template in memory: the client's error box has no resource file.
// Children in this order: an empty "Static" (the icon's place), "OK", and
// the "Static" that holds the message.
std::vector<WORD> ErrorDialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto text = [&](const char* s) {
    while (*s) t.push_back(static_cast<unsigned char>(*s++));
    t.push_back(0);
  };
  auto align = [&] {
    if (t.size() % 2) t.push_back(0);
  };
  auto item = [&](DWORD style, short x, short y, short cx, short cy, WORD id,
                  WORD atom, const char* caption) {
    align();
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    t.push_back(x);
    t.push_back(y);
    t.push_back(cx);
    t.push_back(cy);
    t.push_back(id);
    t.push_back(0xFFFF);
    t.push_back(atom);
    text(caption);
    t.push_back(0);  // no creation data
  };
  dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE);
  dword(0);
  t.push_back(3);  // items
  t.push_back(0);
  t.push_back(0);
  t.push_back(200);
  t.push_back(60);
  t.push_back(0);  // no menu
  t.push_back(0);  // default class
  text(kErrorDialogCaption);
  item(SS_ICON, 8, 8, 20, 20, kIdIconSlot, 0x0082, "");
  item(BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 40, 50, 14, kIdOk, 0x0080, kOkCaption);
  item(SS_LEFT, 36, 8, 156, 28, kIdMessage, 0x0082, "");
  return t;
}

struct MenuPlan {
  const char* title;
  std::vector<const char*> items;  // "-" is a separator
};

// The bars differ where the version is read: the fifth menu's tenth entry
// on the newer clients; the count of menus and the second (eight menus) or
// first menu's ninth entry on the older ones. Separators take places too.
std::vector<MenuPlan> MenuBarFor(const std::string& version) {
  const char* whats_new =
      version == "5" ? kVersion5MenuText : "&What's New in AOL 4.0";
  if (version == "5" || version == "4") {
    return {
        {"&File", {"&New", "&Open...", "&Save", "Save &As...", "-", "&Print...", "-", "E&xit"}},
        {"&Edit", {"&Undo", "-", "Cu&t", "&Copy", "&Paste", "Select &All"}},
        {"&Window", {"&Cascade", "&Tile", "Arrange &Icons", "Close &All"}},
        {"&Sign Off", {"&Sign Off", "S&witch Name"}},
        {"&Help", {"&Help Topics", "&Search...", "-", "&Keyboard", "&Accessibility",
                   "&Offline Help", "&Services", "-", "&Controls", whats_new, "&About"}},
    };
  }
  std::vector<MenuPlan> bar = {
      {"&File", {"&New", "&Open...", "&Save", "Save &As...", "-", "&Print...",
                 "Print Se&tup", "-", "E&xit"}},
      {"&Edit", {"&Undo", "-", "Cu&t", "&Copy", "&Paste", "Select &All", "-",
                 "&Find...", "&Logging...", "&Spelling"}},
      {"&Go To", {"&Keyword...", "&Lobby"}},
      {"&Mail", {"&Compose", "&Read"}},
      {"&Members", {"&Profile", "&Locate"}},
      {"&Window", {"&Cascade", "&Tile"}},
      {"&Sign Off", {"&Sign Off"}},
      {"&Help", {"&Help Topics", "&About"}},
  };
  // Version 3 has a ninth menu, so its first menu is read: the logging item
  // of the second menu must then not count.
  if (version == "3") bar.push_back({"&Services", {"&Directory"}});
  return bar;
}

}  // namespace

SimClient::SimClient(const Options& options, HINSTANCE instance)
    : options_(options), instance_(instance) {}

SimClient::~SimClient() {
  if (dialog_) DestroyWindow(dialog_);
  if (buddy_list_) DestroyWindow(buddy_list_);
  if (frame_ && IsWindow(frame_)) {
    SetWindowLongPtrA(frame_, GWLP_USERDATA, 0);
    DestroyWindow(frame_);
  }
  if (transcript_) std::fclose(transcript_);
}

std::unique_ptr<SimClient> SimClient::Create(const Options& options,
                                             HINSTANCE instance) {
  std::unique_ptr<SimClient> client(new SimClient(options, instance));
  if (!client->Build()) return nullptr;
  return client;
}

bool SimClient::Build() {
  if (!options_.transcript.empty()) {
    transcript_ = std::fopen(options_.transcript.c_str(), "ab");
    if (!transcript_) return false;
  }
  if (!RegisterClasses(instance_, options_.real_controls)) return false;

  std::string caption = std::string(kSimFrameCaption) + " " + options_.version;
  frame_ = CreateWindowExA(0, kFrameClass, caption.c_str(),
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 820, 600,
                           nullptr, nullptr, instance_, this);
  if (!frame_ || !BuildMenu() || !BuildToolbar()) return false;

  CLIENTCREATESTRUCT ccs{};
  ccs.idFirstChild = 50000;
  mdi_ = CreateWindowExA(WS_EX_CLIENTEDGE, kMdiClientClass, nullptr,
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                         0, kToolbarHeight, 800, 500, frame_, nullptr, instance_, &ccs);
  if (!mdi_) return false;

  // A new MDI child goes on top of its siblings: make them from the bottom
  // up so that they stand in the order given, the first one topmost.
  for (auto it = options_.children.rbegin(); it != options_.children.rend(); ++it)
    if (!MakeRoom(*it)) return false;

  if (options_.buddy_list) {
    buddy_list_ = CreateWindowExA(0, kBuddyListClass, options_.buddy_caption.c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 880, 40, 180, 400,
                                  nullptr, nullptr, instance_, nullptr);
    if (!buddy_list_) return false;
    HWND buddies = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, 0, 0, 170, 370,
                                   buddy_list_, nullptr, instance_, nullptr);
    for (const char* name : {"Buddies (2/3)", "  lurker", "  insomniac"})
      SendMessageA(buddies, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }

  if (options_.hang_after_ms) SetTimer(frame_, kTimerHang, options_.hang_after_ms, nullptr);
  if (options_.quit_after_ms) SetTimer(frame_, kTimerQuit, options_.quit_after_ms, nullptr);

  ShowWindow(frame_, SW_SHOWNORMAL);
  Record("ready", options_.version);
  return true;
}

bool SimClient::BuildMenu() {
  HMENU bar = CreateMenu();
  UINT id = 100;
  for (const MenuPlan& m : MenuBarFor(options_.version)) {
    HMENU sub = CreatePopupMenu();
    for (const char* item : m.items) {
      if (std::strcmp(item, "-") == 0) AppendMenuA(sub, MF_SEPARATOR, 0, nullptr);
      else AppendMenuA(sub, MF_STRING, id++, item);
    }
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), m.title);
  }
  return SetMenu(frame_, bar) != FALSE;
}

bool SimClient::BuildToolbar() {
  toolbar_ = MakeChild(frame_, kToolbarClass, "", WS_CLIPCHILDREN, nullptr);
  if (!toolbar_) return false;
  if (FamilyOf(options_.version) == Family::kNewer) {
    HWND inner = MakeChild(toolbar_, kInnerToolbarClass, "", WS_CLIPCHILDREN, nullptr);
    HWND combo = inner ? MakeChild(inner, kComboboxClass, "", WS_CLIPCHILDREN, nullptr)
                       : nullptr;
    if (!combo) return false;
    Control* box = NewControl(Control::kKeywordBox);
    HWND edit = MakeChild(combo, kEditClass, "", WS_BORDER | ES_AUTOHSCROLL, box);
    if (!edit) return false;
    box->base = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditLikeProc)));
    MoveWindow(inner, 4, 4, 300, kToolbarHeight - 8, TRUE);
    return true;
  }
  for (int i = 1; i <= kOlderToolbarIcons; ++i) {
    Control* icon = NewControl(Control::kIcon);
    icon->icon = i;
    std::string label = std::to_string(i);
    HWND h = MakeChild(toolbar_, kIconClass, label.c_str(), 0, icon);
    if (!h) return false;
    MoveWindow(h, 4 + (i - 1) * 32, 3, 30, kToolbarHeight - 6, TRUE);
  }
  return true;
}

Control* SimClient::NewControl(int kind) {
  controls_.push_back(std::make_unique<Control>());
  controls_.back()->kind = kind;
  controls_.back()->client = this;
  return controls_.back().get();
}

HWND SimClient::MakeChild(HWND parent, const char* cls, const char* text,
                          DWORD style, Control* control) {
  HWND h = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           parent, nullptr, instance_, nullptr);
  if (h && control)
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  return h;
}

// Child windows stack in the order they are made, the first on top, so the
// first "RICHCNTL" made is the view and the second the input box.
Room* SimClient::MakeRoom(const ChildPlan& plan) {
  auto room = std::make_unique<Room>();
  room->plan = plan;
  int offset = 24 * (next_cascade_++ % 8);
  room->window = CreateWindowExA(WS_EX_MDICHILD, kChildClass, plan.caption.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 offset, offset, 520, 330, mdi_, nullptr, instance_, nullptr);
  if (!room->window) return nullptr;
  SetWindowLongPtrA(room->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  Control* view = NewControl(Control::kView);
  Control* input = NewControl(Control::kInput);
  view->room = input->room = room.get();
  const DWORD view_style = WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
  const DWORD input_style = WS_BORDER | ES_AUTOHSCROLL;
  bool newer = plan.family == Family::kNewer;
  HWND w = room->window;
  room->view = MakeChild(w, newer ? kRichTextClass : kViewClass, "", view_style, view);
  if (!plan.partial) {
    HWND list = MakeChild(w, kListboxClass, "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                          nullptr);
    if (list) {
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(options_.screen_name.c_str()));
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("lurker"));
    }
  }
  MakeChild(w, kIconClass, "Send", 0, nullptr);
  if (newer) MakeChild(w, kComboboxClass, "", 0, nullptr);
  room->input = MakeChild(w, newer ? kRichTextClass : kOldEditClass, "", input_style, input);
  if (!room->view || !room->input) return nullptr;
  // A client with a limit of its own binds the user's typing with it too.
  if (options_.keep_first) SendMessageA(room->input, EM_LIMITTEXT, options_.keep_first, 0);

  RECT r;
  GetClientRect(w, &r);
  LayOutRoom(w, r.right, r.bottom);
  rooms_.push_back(std::move(room));
  return rooms_.back().get();
}

bool SimClient::PreTranslate(MSG& msg) {
  return dialog_ && IsDialogMessageA(dialog_, &msg);
}

void SimClient::Record(const char* tag, const std::string& payload) {
  if (!transcript_) return;
  std::string rec = EncodeRecord(tag, payload);
  std::fwrite(rec.data(), 1, rec.size(), transcript_);
  // Tests read the transcript while the client runs.
  std::fflush(transcript_);
}

// Stops answering for the fault's time. The transcript tells when, so that
// a test waits on the client, not on a clock of its own.
void SimClient::Hang() {
  Record("hang", std::to_string(options_.hang_ms));
  Sleep(options_.hang_ms);
  Record("woke", "");
}

// Stops answering inside the handler, before the box is read or set: the
// message under way completes once the client wakes.
void SimClient::OnInputText(bool set) {
  unsigned& count = set ? input_sets_ : input_reads_;
  if (++count == (set ? options_.hang_on_set : options_.hang_on_read)) Hang();
}

void SimClient::OnInputSet(const char* text) {
  if (!own_set_) Record("set", text ? text : "");
}

void SimClient::OnInputEnter(Control& input) {
  Record("enter", "");
  Room* room = input.room;
  std::string line = TextOf(room->input);
  if (options_.sticky_input || line.empty()) return;
  if (!options_.refuse.empty() && line.find(options_.refuse) != std::string::npos) return;
  if (++input.enters < options_.take_every) return;
  input.enters = 0;
  ++lines_taken_;
  if (room->plan.role == ChildPlan::Role::kRoom) Record("chat", line);
  else Record("stray", room->plan.caption + "\t" + line);
  AppendToView(room->view, options_.screen_name + ": " + StripMarkup(line));
  if (lines_taken_ == options_.quit_on_line) ExitProcess(3);
  if (lines_taken_ == options_.hang_on_line) Hang();
  if (lines_taken_ == options_.close_on_line) {
    // Nothing of the room may be touched after this: it is gone.
    SendMessageA(mdi_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(room->window), 0);
    return;
  }
  own_set_ = true;
  SetWindowTextA(room->input, "");
  own_set_ = false;
}

void SimClient::OnKeywordEnter(HWND edit) {
  const std::string typed = TextOf(edit);
  // The newer clients' box is sent a space before Enter; the address is
  // what comes before it.
  std::string address = typed;
  while (!address.empty() && address.back() == ' ') address.pop_back();
  SetWindowTextA(edit, "");
  if (keyword_window_ && GetParent(edit) == keyword_window_)
    PostMessageA(frame_, kAppCloseKeyword, 0, 0);
  if (address.empty()) return;
  Record("keyword", typed);
  OpenAddress(address);
}

void SimClient::OnIconClick(Control& icon) {
  Record("icon", std::to_string(icon.icon));
  int keyword_icon = options_.version == "2.5" ? kKeywordIcon25 : kKeywordIcon3;
  if (icon.icon == keyword_icon && !options_.no_keyword_window) OpenKeywordWindow();
}

void SimClient::OpenKeywordWindow() {
  if (keyword_window_) {
    SendMessageA(mdi_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(keyword_window_), 0);
    return;
  }
  keyword_window_ = CreateWindowExA(WS_EX_MDICHILD, kChildClass, kKeywordCaption,
                                    WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                    200, 120, 320, 70, mdi_, nullptr, instance_, nullptr);
  if (!keyword_window_) return;
  SetWindowLongPtrA(keyword_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Control* box = NewControl(Control::kKeywordBox);
  MakeChild(keyword_window_, kOldEditClass, "", WS_BORDER | ES_AUTOHSCROLL, box);
  RECT r;
  GetClientRect(keyword_window_, &r);
  LayOutRoom(keyword_window_, r.right, r.bottom);
}

void SimClient::OpenAddress(const std::string& address) {
  const std::size_t prefix = std::strlen(kPrivateRoomAddress);
  if (address.compare(0, prefix, kPrivateRoomAddress) != 0) return;
  std::string name = address.substr(prefix);
  switch (options_.private_room) {
    case PrivateRoomOutcome::kNothing:
      return;
    case PrivateRoomOutcome::kError:
      ShowErrorDialog();
      return;
    case PrivateRoomOutcome::kOpen:
      pending_room_ = options_.private_room_caption.empty() ? name
                                                            : options_.private_room_caption;
      if (options_.private_room_delay_ms)
        SetTimer(frame_, kTimerPrivateRoom, options_.private_room_delay_ms, nullptr);
      else
        OpenPrivateRoom(pending_room_);
      return;
  }
}

// The user moves: the new room opens on top, then the rooms left behind close.
void SimClient::OpenPrivateRoom(const std::string& caption) {
  std::vector<HWND> left;
  for (const auto& r : rooms_)
    if (r->window && r->plan.role == ChildPlan::Role::kRoom) left.push_back(r->window);
  ChildPlan plan;
  plan.caption = caption;
  plan.family = FamilyOf(options_.version);
  if (!MakeRoom(plan)) return;
  for (HWND w : left) SendMessageA(mdi_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(w), 0);
  Record("room-opened", caption);
}

void SimClient::ShowErrorDialog() {
  if (dialog_) DestroyWindow(dialog_);
  std::vector<WORD> tpl = ErrorDialogTemplate();
  dialog_ = CreateDialogIndirectParamA(instance_, reinterpret_cast<LPCDLGTEMPLATEA>(tpl.data()),
                                       frame_, DialogProc, reinterpret_cast<LPARAM>(this));
  if (!dialog_) return;
  dialog_message_ = GetDlgItem(dialog_, kIdMessage);
  Record("dialog-shown", options_.error_message);
  if (options_.error_message_delay_ms) {
    SetTimer(frame_, kTimerDialogMessage, options_.error_message_delay_ms, nullptr);
  } else {
    SetWindowTextA(dialog_message_, options_.error_message.c_str());
  }
}

void SimClient::OnDialogCommand(int) {
  std::string message = TextOf(dialog_message_);
  DestroyWindow(dialog_);
  dialog_ = dialog_message_ = nullptr;
  Record("dialog-closed", message);
}

void SimClient::OnFrameTimer(UINT_PTR id) {
  KillTimer(frame_, id);
  switch (id) {
    case kTimerHang:
      Hang();
      break;
    case kTimerQuit:
      ExitProcess(3);
    case kTimerPrivateRoom:
      OpenPrivateRoom(pending_room_);
      break;
    case kTimerDialogMessage:
      if (dialog_) SetWindowTextA(dialog_message_, options_.error_message.c_str());
      break;
  }
}

void SimClient::OnFrameApp(WPARAM) {
  if (keyword_window_)
    SendMessageA(mdi_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(keyword_window_), 0);
}

void SimClient::OnChildDestroyed(HWND child) {
  if (child == keyword_window_) keyword_window_ = nullptr;
  for (auto& r : rooms_)
    if (r->window == child) r->window = r->view = r->input = nullptr;
}

int PumpClient(SimClient& client) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (client.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

int RunClient(const Options& options, HINSTANCE instance) {
  std::unique_ptr<SimClient> client = SimClient::Create(options, instance);
  if (!client) return 1;
  return PumpClient(*client);
}

}  // namespace wendrel::clientsim
