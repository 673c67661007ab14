#include "automation/fake_desktop.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "automation/client_contract.h"
#include "automation/ini_reader.h"

namespace wendrel {
namespace {

// The real layer hands text over as a C string, so nothing after a NUL
// reaches the window.
std::string AsCString(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string UpperPath(std::string path) {
  for (char& c : path) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return path;
}

bool Matches(const std::string& value, const char* wanted) {
  return wanted == nullptr || value == wanted;
}

constexpr unsigned kMenuByPosition = 0x400;  // MF_BYPOSITION
constexpr unsigned kNoItem = ~0u;

}  // namespace

// --- FakeWindow ----------------------------------------------------------------

FakeWindow FakeWindow::AddChild(const std::string& cls, const std::string& text, Z z) const {
  if (!desktop_ || !desktop_->Find(hwnd_)) return {};
  return desktop_->Create(hwnd_, cls, text, z);
}

FakeWindow FakeWindow::Child(const std::string& cls, int nth) const {
  if (!desktop_) return {};
  const FakeDesktop::Node* node = desktop_->Find(hwnd_);
  if (!node) return {};
  for (Hwnd child : node->children) {
    if (desktop_->windows_.at(child).cls == cls && nth-- == 0) return {desktop_, child};
  }
  return {};
}

FakeWindow FakeWindow::Parent() const {
  if (!desktop_) return {};
  const FakeDesktop::Node* node = desktop_->Find(hwnd_);
  if (!node || node->parent == 0) return {};
  return {desktop_, node->parent};
}

std::string FakeWindow::Class() const {
  if (!desktop_) return "";
  auto it = desktop_->windows_.find(hwnd_);
  return it == desktop_->windows_.end() ? "" : it->second.cls;
}

std::string FakeWindow::Text() const {
  if (!desktop_) return "";
  auto it = desktop_->windows_.find(hwnd_);
  return it == desktop_->windows_.end() ? "" : it->second.text;
}

void FakeWindow::SetText(const std::string& text) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) node->text = text;
}

bool FakeWindow::Alive() const { return desktop_ && desktop_->Find(hwnd_); }

void FakeWindow::Destroy() const {
  if (desktop_) desktop_->DestroyTree(hwnd_);
}

void FakeWindow::Raise(Z z) const {
  if (!desktop_) return;
  FakeDesktop::Node* node = desktop_->Find(hwnd_);
  if (!node) return;
  std::vector<Hwnd>* siblings = desktop_->Siblings(node->parent);
  siblings->erase(std::find(siblings->begin(), siblings->end(), hwnd_));
  if (z == Z::kTop) {
    siblings->insert(siblings->begin(), hwnd_);
  } else {
    siblings->push_back(hwnd_);
  }
}

void FakeWindow::SetHung(bool hung) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) node->hung = hung;
}

void FakeWindow::ClaimLength(std::intptr_t claimed) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) {
    node->claimed_length = [claimed](std::size_t) { return claimed; };
  }
}

void FakeWindow::ClaimExtraLength(std::intptr_t delta) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) {
    node->claimed_length = [delta](std::size_t actual) {
      return static_cast<std::intptr_t>(actual) + delta;
    };
  }
}

void FakeWindow::OnMessage(std::function<void(const SentMessage&)> fn) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) node->on_message = std::move(fn);
}

void FakeWindow::OnClick(std::function<void()> fn) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) node->on_click = std::move(fn);
}

void FakeWindow::PostAfterEnters(int n) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) {
    node->enters_to_post = n;
    node->enters_seen = 0;
  }
}

void FakeWindow::KeepTextAfterPost(bool keep) const {
  if (!desktop_) return;
  if (FakeDesktop::Node* node = desktop_->Find(hwnd_)) node->keep_text = keep;
}

std::vector<SentMessage> FakeWindow::Messages() const {
  std::vector<SentMessage> out;
  if (!desktop_) return out;
  for (const SentMessage& m : desktop_->log_) {
    if (m.hwnd == hwnd_) out.push_back(m);
  }
  return out;
}

// --- FakeMenu ------------------------------------------------------------------

FakeMenu FakeMenu::AddSubMenu(const std::string& text) const {
  FakeMenu sub = desktop_->NewMenu();
  FakeDesktop::MenuItem item;
  item.text = text;
  item.id = kNoItem;
  item.submenu = sub.handle_;
  desktop_->menus_[handle_].push_back(item);
  return sub;
}

void FakeMenu::AddItem(const std::string& text, unsigned id) const {
  FakeDesktop::MenuItem item;
  item.text = text;
  item.id = id;
  desktop_->menus_[handle_].push_back(item);
}

void FakeMenu::AddSeparator() const {
  FakeDesktop::MenuItem item;
  item.separator = true;
  desktop_->menus_[handle_].push_back(item);
}

void FakeMenu::SetItemText(int position, const std::string& text) const {
  std::vector<FakeDesktop::MenuItem>& items = desktop_->menus_[handle_];
  if (position >= 0 && static_cast<std::size_t>(position) < items.size()) {
    items[position].text = text;
  }
}

// --- FakeRoom, FakeClient --------------------------------------------------------

std::vector<std::string> FakeRoom::Lines() const {
  if (!window.desktop()) return {};
  return window.desktop()->LinesIn(window.hwnd());
}

FakeWindow FakeClient::Icon(int place) const { return toolbar_.Child(kIconClass, place - 1); }

FakeMenu FakeClient::MenuBar() const { return FakeMenu(desktop_, menu_bar_); }

FakeRoom FakeClient::AddRoom(const std::string& caption, Z z) const {
  return desktop_->BuildRoom(*this, caption, z, newer());
}

FakeRoom FakeClient::AddRoomOfOtherFamily(const std::string& caption, Z z) const {
  return desktop_->BuildRoom(*this, caption, z, !newer());
}

FakeWindow FakeClient::AddChildWindow(const std::string& caption, Z z) const {
  return mdi_.AddChild(kChildClass, caption, z);
}

FakeWindow FakeClient::AddKeywordWindow(Z z) const {
  FakeWindow window = mdi_.AddChild(kChildClass, kKeywordCaption, z);
  FakeWindow edit = desktop_->Create(window.hwnd(), kOldEditClass, "", Z::kBottom,
                                     FakeDesktop::Kind::kKeywordEdit);
  desktop_->Find(edit.hwnd())->client_frame = frame_.hwnd();
  return window;
}

void FakeClient::OpenKeywordWindowOnIcon(unsigned delay_ms) const {
  const int place = version_ == "2.5" ? kKeywordIcon25 : kKeywordIcon3;
  FakeClient self = *this;
  Icon(place).OnClick([self, delay_ms]() {
    if (delay_ms == 0) {
      self.AddKeywordWindow();
    } else {
      self.desktop_->After(delay_ms, [self]() { self.AddKeywordWindow(); });
    }
  });
}

void FakeClient::OnKeyword(std::function<void(const std::string&)> fn) const {
  desktop_->keyword_callbacks_[frame_.hwnd()] = std::move(fn);
}

// --- FakeDesktop: building ---------------------------------------------------------

FakeDesktop::FakeDesktop() = default;

FakeWindow FakeDesktop::Create(Hwnd parent, const std::string& cls,
                               const std::string& text, Z z, Kind kind) {
  const Hwnd hwnd = next_hwnd_;
  next_hwnd_ += 4;
  Node node;
  node.hwnd = hwnd;
  node.parent = parent;
  node.cls = cls;
  node.text = text;
  node.kind = kind;
  windows_.emplace(hwnd, std::move(node));
  std::vector<Hwnd>* siblings = Siblings(parent);
  if (z == Z::kTop) {
    siblings->insert(siblings->begin(), hwnd);
  } else {
    siblings->push_back(hwnd);
  }
  return {this, hwnd};
}

FakeWindow FakeDesktop::AddTopLevel(const std::string& cls, const std::string& text, Z z) {
  return Create(0, cls, text, z);
}

FakeWindow FakeDesktop::Window(Hwnd hwnd) { return {this, hwnd}; }

FakeMenu FakeDesktop::NewMenu() {
  const Hmenu handle = next_menu_;
  next_menu_ += 4;
  menus_[handle];
  return FakeMenu(this, handle);
}

void FakeDesktop::SetWindowMenu(FakeWindow window, FakeMenu menu) {
  if (Node* node = Find(window.hwnd())) node->menu = menu.handle();
}

FakeClient FakeDesktop::AddClient(const std::string& version, Z z) {
  return BuildClient(version, z);
}

FakeClient FakeDesktop::BuildClient(const std::string& version, Z z) {
  FakeClient client;
  client.desktop_ = this;
  client.version_ = version;
  client.frame_ = Create(0, kFrameClass, "", z);
  client.toolbar_ = client.frame_.AddChild(kToolbarClass);
  FakeWindow inner = client.toolbar_.AddChild(kInnerToolbarClass);
  if (client.newer()) {
    FakeWindow combo = inner.AddChild(kComboboxClass);
    client.keyword_box_ = Create(combo.hwnd(), kEditClass, "", Z::kBottom, Kind::kKeywordBox);
    Find(client.keyword_box_.hwnd())->client_frame = client.frame_.hwnd();
  }
  // More icons than the 18th that opens "Keyword" on version 3, so that a
  // miscounted walk lands on the wrong icon rather than on none.
  for (int i = 0; i < 24; ++i) client.toolbar_.AddChild(kIconClass);
  client.mdi_ = client.frame_.AddChild(kMdiClientClass);
  BuildMenuBar(client);
  return client;
}

// Each menu bar is laid out so that reading the wrong menu or the wrong item
// gives the wrong version: the neighbours of the deciding item carry texts of
// the other versions.
void FakeDesktop::BuildMenuBar(FakeClient& client) {
  FakeMenu bar = NewMenu();
  client.menu_bar_ = bar.handle();
  SetWindowMenu(client.frame_, bar);
  unsigned id = 100;
  auto fill = [&id](FakeMenu menu, int count) {
    for (int i = 0; i < count; ++i) {
      if (i == 3) {
        menu.AddSeparator();
      } else {
        menu.AddItem("&Item " + std::to_string(id), id);
      }
      ++id;
    }
  };
  const std::string& v = client.version_;
  if (client.newer()) {
    for (int m = 0; m < 7; ++m) {
      FakeMenu menu = bar.AddSubMenu("&Menu" + std::to_string(m));
      fill(menu, 12);
    }
    const std::string deciding = v == "5" ? kVersion5MenuText : "&What's New in AOL 4.0";
    const std::string other = v == "5" ? "&What's New in AOL 4.0" : kVersion5MenuText;
    FakeMenu fifth(this, menus_[bar.handle()][4].submenu);
    fifth.SetItemText(9, deciding);
    fifth.SetItemText(8, other);
    fifth.SetItemText(10, other);
    FakeMenu(this, menus_[bar.handle()][3].submenu).SetItemText(9, other);
    FakeMenu(this, menus_[bar.handle()][5].submenu).SetItemText(9, other);
    return;
  }
  // 2.5 has exactly 8 menus and "&LOGGING..." in the second; 3 has 9, and
  // carries the text in its second menu too, where it must not be read.
  const int menus = v == "2.5" ? 8 : 9;
  for (int m = 0; m < menus; ++m) {
    FakeMenu menu = bar.AddSubMenu("&Menu" + std::to_string(m));
    fill(menu, 12);
  }
  FakeMenu first(this, menus_[bar.handle()][0].submenu);
  FakeMenu second(this, menus_[bar.handle()][1].submenu);
  first.SetItemText(7, kVersion25MenuText);
  first.SetItemText(9, kVersion25MenuText);
  second.SetItemText(8, kVersion25MenuText);
}

FakeRoom FakeDesktop::BuildRoom(const FakeClient& client, const std::string& caption,
                                Z z, bool newer_family) {
  FakeRoom room;
  room.window = client.mdi_.AddChild(kChildClass, caption, z);
  const Hwnd parent = room.window.hwnd();
  if (newer_family) {
    Create(parent, kRichTextClass, "", Z::kBottom);
    room.input = Create(parent, kRichTextClass, "", Z::kBottom, Kind::kChatInput);
    Create(parent, kListboxClass, "", Z::kBottom);
    Create(parent, kIconClass, "", Z::kBottom);
    Create(parent, kComboboxClass, "", Z::kBottom);
  } else {
    Create(parent, kViewClass, "", Z::kBottom);
    Create(parent, kListboxClass, "", Z::kBottom);
    Create(parent, kIconClass, "", Z::kBottom);
    room.input = Create(parent, kOldEditClass, "", Z::kBottom, Kind::kChatInput);
  }
  return room;
}

FakeDialog FakeDesktop::AddErrorDialog(const std::string& message) {
  FakeDialog dialog;
  dialog.window = Create(0, kDialogClass, kErrorDialogCaption, Z::kTop);
  // The order a system message box has: the icon's empty Static, the
  // button, then the Static with the message.
  dialog.window.AddChild(kStaticClass);
  dialog.ok = Create(dialog.window.hwnd(), kButtonClass, kOkCaption, Z::kBottom, Kind::kButton);
  dialog.message = dialog.window.AddChild(kStaticClass, message);
  return dialog;
}

FakeWindow FakeDesktop::AddBuddyList(const std::string& caption) {
  return Create(0, kBuddyListClass, caption, Z::kTop);
}

// --- FakeDesktop: what happened ---------------------------------------------------

std::vector<std::string> FakeDesktop::LinesIn(Hwnd room) const {
  std::vector<std::string> lines;
  for (const ChatLine& line : transcript_) {
    if (line.room == room) lines.push_back(line.text);
  }
  return lines;
}

std::size_t FakeDesktop::CountDelivered(unsigned message) const {
  return static_cast<std::size_t>(std::count_if(log_.begin(), log_.end(), [message](const SentMessage& m) {
    return m.delivered && m.message == message;
  }));
}

// --- FakeDesktop: profile files -----------------------------------------------------

void FakeDesktop::SetFile(const std::string& path, const std::string& content) {
  files_[UpperPath(path)] = content;
}

void FakeDesktop::RemoveFile(const std::string& path) { files_.erase(UpperPath(path)); }

std::string FakeDesktop::SettingsPath() const { return exe_folder_ + "\\zq7.ini"; }

void FakeDesktop::WriteSettings(const std::vector<std::pair<std::string, std::string>>& keys) {
  std::string content = "[zq7]\r\n";
  for (const auto& [key, value] : keys) content += key + "=" + value + "\r\n";
  SetFile(SettingsPath(), content);
}

// --- FakeDesktop: time and events ---------------------------------------------------

void FakeDesktop::At(std::uint64_t at_ms, std::function<void()> fn) {
  timed_.push_back({at_ms, next_seq_++, std::move(fn)});
}

void FakeDesktop::After(std::uint64_t delay_ms, std::function<void()> fn) {
  At(now_ms_ + delay_ms, std::move(fn));
}

void FakeDesktop::OnDoEvents(int nth, std::function<void()> fn) {
  counted_.push_back({do_events_calls_ + nth, std::move(fn)});
}

void FakeDesktop::CountEventCall() {
  if (do_events_calls_ + static_cast<int>(waits_.size()) > event_call_limit_) {
    throw std::runtime_error("FakeDesktop: the event loop was asked too often; the code under test spins");
  }
}

void FakeDesktop::DoEvents() {
  ++do_events_calls_;
  CountEventCall();
  // Take what is due now; what those actions schedule runs at a later call.
  std::vector<TimedEvent> due_timed;
  auto split = std::stable_partition(timed_.begin(), timed_.end(),
                                     [this](const TimedEvent& e) { return e.at > now_ms_; });
  due_timed.assign(std::make_move_iterator(split), std::make_move_iterator(timed_.end()));
  timed_.erase(split, timed_.end());
  std::sort(due_timed.begin(), due_timed.end(), [](const TimedEvent& a, const TimedEvent& b) {
    return a.at != b.at ? a.at < b.at : a.seq < b.seq;
  });
  std::vector<CountedEvent> due_counted;
  auto split_counted = std::stable_partition(counted_.begin(), counted_.end(), [this](const CountedEvent& e) {
    return e.call > do_events_calls_;
  });
  due_counted.assign(std::make_move_iterator(split_counted), std::make_move_iterator(counted_.end()));
  counted_.erase(split_counted, counted_.end());

  for (TimedEvent& e : due_timed) e.fn();
  for (CountedEvent& e : due_counted) e.fn();
}

void FakeDesktop::WaitForEvents(unsigned milliseconds) {
  waits_.push_back(milliseconds);
  CountEventCall();
  std::uint64_t until = now_ms_ + milliseconds;
  for (const TimedEvent& e : timed_) {
    if (e.at <= now_ms_) return;  // something is pending already
    until = std::min(until, e.at);
  }
  now_ms_ = until;
}

// --- FakeDesktop: the window tree ------------------------------------------------------

FakeDesktop::Node* FakeDesktop::Find(Hwnd hwnd) {
  auto it = windows_.find(hwnd);
  return (it == windows_.end() || !it->second.alive) ? nullptr : &it->second;
}

const FakeDesktop::Node* FakeDesktop::Find(Hwnd hwnd) const {
  auto it = windows_.find(hwnd);
  return (it == windows_.end() || !it->second.alive) ? nullptr : &it->second;
}

std::vector<Hwnd>* FakeDesktop::Siblings(Hwnd parent) {
  return parent == 0 ? &top_level_ : &windows_.at(parent).children;
}

void FakeDesktop::DestroyTree(Hwnd hwnd) {
  Node* node = Find(hwnd);
  if (!node) return;
  const std::vector<Hwnd> children = node->children;
  for (Hwnd child : children) DestroyTree(child);
  node = Find(hwnd);
  node->alive = false;
  node->children.clear();
  std::vector<Hwnd>* siblings = Siblings(node->parent);
  siblings->erase(std::remove(siblings->begin(), siblings->end(), hwnd), siblings->end());
}

Hwnd FakeDesktop::RoomOf(Hwnd hwnd) const {
  const Node* node = Find(hwnd);
  while (node && node->cls != kChildClass) node = Find(node->parent);
  return node ? node->hwnd : 0;
}

Hwnd FakeDesktop::FindWindowA(const char* cls, const char* caption) {
  for (Hwnd hwnd : top_level_) {
    const Node& node = windows_.at(hwnd);
    if (Matches(node.cls, cls) && Matches(node.text, caption)) return hwnd;
  }
  return 0;
}

// Like the real layer: under parent 0 (a window that was not found) nothing
// is found, and an `after` that is not a child of `parent` finds nothing.
Hwnd FakeDesktop::FindWindowExA(Hwnd parent, Hwnd after, const char* cls, const char* caption) {
  const Node* node = Find(parent);
  if (!node) return 0;
  const std::vector<Hwnd>& siblings = node->children;
  auto it = siblings.begin();
  if (after != 0) {
    it = std::find(siblings.begin(), siblings.end(), after);
    if (it == siblings.end()) return 0;
    ++it;
  }
  for (; it != siblings.end(); ++it) {
    const Node& child = windows_.at(*it);
    if (Matches(child.cls, cls) && Matches(child.text, caption)) return child.hwnd;
  }
  return 0;
}

// --- FakeDesktop: messages ------------------------------------------------------------

FakeDesktop::Node* FakeDesktop::Deliver(Hwnd hwnd, unsigned message, std::uintptr_t wparam,
                                        const std::string& text, bool posted) {
  Node* node = Find(hwnd);
  SentMessage m;
  m.hwnd = hwnd;
  m.message = message;
  m.wparam = wparam;
  m.text = text;
  m.posted = posted;
  m.delivered = node && !node->hung;
  log_.push_back(m);
  return m.delivered ? node : nullptr;
}

void FakeDesktop::AfterDelivery(Hwnd hwnd) {
  Node* node = Find(hwnd);
  if (!node || !node->on_message) return;
  // A copy: the hook may replace itself or destroy its window.
  const std::function<void(const SentMessage&)> hook = node->on_message;
  const SentMessage m = log_.back();
  hook(m);
}

bool FakeDesktop::Responds(Hwnd hwnd) {
  const Node* node = Find(hwnd);
  return node != nullptr && !node->hung;
}

std::intptr_t FakeDesktop::GetTextLength(Hwnd hwnd) {
  Node* node = Deliver(hwnd, kWmGetTextLength, 0, "", false);
  if (!node) return 0;
  const std::intptr_t length = node->claimed_length
                                   ? node->claimed_length(node->text.size())
                                   : static_cast<std::intptr_t>(node->text.size());
  AfterDelivery(hwnd);
  return length;
}

std::size_t FakeDesktop::GetTextInto(Hwnd hwnd, char* buffer, std::size_t capacity) {
  Node* node = Deliver(hwnd, kWmGetText, capacity, "", false);
  if (!node || capacity == 0 || buffer == nullptr) return 0;
  const std::size_t count = std::min(node->text.size(), capacity - 1);
  std::memcpy(buffer, node->text.data(), count);
  buffer[count] = '\0';
  AfterDelivery(hwnd);
  return count;
}

bool FakeDesktop::SetText(Hwnd hwnd, const std::string& text) {
  const std::string sent = AsCString(text);
  Node* node = Deliver(hwnd, kWmSetText, 0, sent, false);
  if (!node) return false;
  node->text = sent;
  node->enters_seen = 0;
  AfterDelivery(hwnd);
  return true;
}

bool FakeDesktop::SendChar(Hwnd hwnd, unsigned char ch) {
  Node* node = Deliver(hwnd, kWmChar, ch, "", false);
  if (!node) return false;
  const bool typing_box = node->kind == Kind::kChatInput || node->kind == Kind::kKeywordBox ||
                          node->kind == Kind::kKeywordEdit;
  if (typing_box && ch == kCharEnter) {
    Enter(hwnd);
  } else if (typing_box && ch >= kCharSpace) {
    node->text += static_cast<char>(ch);
  }
  AfterDelivery(hwnd);
  return true;
}

void FakeDesktop::Enter(Hwnd hwnd) {
  Node* node = Find(hwnd);
  if (node->kind == Kind::kKeywordBox || node->kind == Kind::kKeywordEdit) {
    RecordKeyword(hwnd, node->client_frame);
    return;
  }
  if (node->text.empty() || node->enters_to_post <= 0) return;
  if (++node->enters_seen < node->enters_to_post) return;
  node->enters_seen = 0;
  const Hwnd room = RoomOf(node->parent);
  transcript_.push_back({room, Window(room).Text(), node->text});
  if (!node->keep_text) node->text.clear();
}

void FakeDesktop::RecordKeyword(Hwnd box, Hwnd frame) {
  Node* node = Find(box);
  const std::string typed = node->text;
  const bool closes_window = node->kind == Kind::kKeywordEdit;
  keywords_.push_back(typed);
  node->text.clear();
  if (closes_window) DestroyTree(node->parent);
  auto it = keyword_callbacks_.find(frame);
  if (it != keyword_callbacks_.end() && it->second) {
    const std::function<void(const std::string&)> fn = it->second;
    fn(typed);
  }
}

void FakeDesktop::Click(Hwnd hwnd) {
  Node* node = Find(hwnd);
  if (!node) return;
  const std::function<void()> fn = node->on_click;
  if (node->kind == Kind::kButton) {
    // The button belongs to a dialog: pressing it closes the dialog.
    Node* top = node;
    while (top->parent != 0) top = Find(top->parent);
    if (top->cls == kDialogClass) {
      const FakeWindow message = Window(top->hwnd).Child(kStaticClass, 1);
      closed_dialogs_.push_back(message.Text());
      DestroyTree(top->hwnd);
    }
  }
  if (fn) fn();
}

bool FakeDesktop::SendMouse(Hwnd hwnd, unsigned message) {
  Node* node = Deliver(hwnd, message, 0, "", false);
  if (!node) return false;
  if (message == kWmLButtonDown) {
    node->pressed = true;
  } else if (message == kWmLButtonUp && node->pressed) {
    node->pressed = false;
    Click(hwnd);
  }
  AfterDelivery(hwnd);
  return true;
}

// A post lands in the window's queue and is handled at once here; a hung
// window's queue is never read, yet the post itself succeeds.
bool FakeDesktop::PostKey(Hwnd hwnd, unsigned message, unsigned virtual_key) {
  Node* node = Deliver(hwnd, message, virtual_key, "", true);
  if (!node) return Find(hwnd) != nullptr;
  if (node->kind == Kind::kButton && virtual_key == kVkSpace) {
    if (message == kWmKeyDown) {
      node->pressed = true;
    } else if (message == kWmKeyUp && node->pressed) {
      node->pressed = false;
      Click(hwnd);
    }
  }
  AfterDelivery(hwnd);
  return true;
}

// --- FakeDesktop: menus ----------------------------------------------------------------

Hmenu FakeDesktop::GetMenu(Hwnd hwnd) {
  const Node* node = Find(hwnd);
  return node ? node->menu : 0;
}

Hmenu FakeDesktop::GetSubMenu(Hmenu menu, int position) {
  auto it = menus_.find(menu);
  if (it == menus_.end() || position < 0 || static_cast<std::size_t>(position) >= it->second.size()) {
    return 0;
  }
  return it->second[position].submenu;
}

int FakeDesktop::GetMenuItemCount(Hmenu menu) {
  auto it = menus_.find(menu);
  return it == menus_.end() ? -1 : static_cast<int>(it->second.size());
}

unsigned FakeDesktop::GetMenuItemID(Hmenu menu, int position) {
  auto it = menus_.find(menu);
  if (it == menus_.end() || position < 0 || static_cast<std::size_t>(position) >= it->second.size()) {
    return kNoItem;
  }
  const MenuItem& item = it->second[position];
  return item.submenu != 0 ? kNoItem : item.id;
}

// By command the system searches the menu and, depth first, its submenus.
const FakeDesktop::MenuItem* FakeDesktop::FindMenuItem(Hmenu menu, unsigned id, int depth) const {
  auto it = menus_.find(menu);
  if (it == menus_.end() || depth > 16) return nullptr;
  for (const MenuItem& item : it->second) {
    if (item.submenu != 0) {
      if (const MenuItem* found = FindMenuItem(item.submenu, id, depth + 1)) return found;
    } else if (!item.separator && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

int FakeDesktop::GetMenuStringA(Hmenu menu, unsigned item, char* buffer, int capacity,
                                unsigned flags) {
  const MenuItem* found = nullptr;
  if (flags & kMenuByPosition) {
    auto it = menus_.find(menu);
    if (it != menus_.end() && item < it->second.size()) found = &it->second[item];
  } else {
    found = FindMenuItem(menu, item, 0);
  }
  if (!found) return 0;
  if (capacity <= 0 || buffer == nullptr) return static_cast<int>(found->text.size());
  const std::size_t count = std::min(found->text.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(buffer, found->text.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

// --- FakeDesktop: profile files ---------------------------------------------------------

std::size_t FakeDesktop::GetPrivateProfileStringA(const char* section, const char* key,
                                                  const char* fallback, char* buffer,
                                                  std::size_t capacity, const char* path) {
  ++profile_reads_;
  if (buffer == nullptr || capacity == 0) return 0;
  std::string value;
  if (section != nullptr && key != nullptr) {
    const std::string fallback_text = fallback ? fallback : "";
    auto it = files_.find(UpperPath(path ? path : ""));
    value = it == files_.end()
                ? ReadProfileString("", section, key, fallback_text, capacity)
                : ReadProfileString(it->second, section, key, fallback_text, capacity);
  }
  // Listing sections or keys (a null name) is not something we ask for.
  std::memcpy(buffer, value.data(), value.size());
  buffer[value.size()] = '\0';
  return value.size();
}

}  // namespace wendrel
