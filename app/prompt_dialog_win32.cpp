#include "app/prompt_dialog_win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "winutil/scoped_flag.h"
#include "winutil/window_text_win32.h"

namespace wendrel {

namespace {

// Predefined class atoms of dialog item templates.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

// A DLGTEMPLATE and its items, laid out as DialogBoxIndirect reads them.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short x, short y, short cx, short cy, const std::string& title,
                 WORD point_size, const char* font) {
    PutDword(style);
    PutDword(0);  // extended style
    count_at_ = words_.size();
    words_.push_back(0);  // item count, filled in by Add
    PutShorts(x, y, cx, cy);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the default dialog class
    PutText(title);
    words_.push_back(point_size);
    PutText(font);
  }

  void Add(DWORD style, short x, short y, short cx, short cy, WORD id, WORD class_atom,
           const std::string& text) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    PutDword(style | WS_CHILD | WS_VISIBLE);
    PutDword(0);
    PutShorts(x, y, cx, cy);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(class_atom);
    PutText(text);
    words_.push_back(0);  // no creation data
    ++words_[count_at_];
  }

  // A copy on DWORD-aligned storage.
  std::vector<DWORD> Build() const {
    std::vector<DWORD> aligned((words_.size() + 1) / 2, 0);
    std::memcpy(aligned.data(), words_.data(), words_.size() * sizeof(WORD));
    return aligned;
  }

 private:
  void PutDword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void PutShorts(short a, short b, short c, short d) {
    for (short v : {a, b, c, d}) words_.push_back(static_cast<WORD>(v));
  }
  // Templates hold UTF-16 even for the ANSI dialog functions.
  void PutText(const std::string& text) {
    if (!text.empty()) {
      const int n =
          MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
      std::vector<wchar_t> wide(n > 0 ? n : 0);
      if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
      for (wchar_t c : wide) words_.push_back(static_cast<WORD>(c));
    }
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  size_t count_at_ = 0;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lp);
      *reinterpret_cast<DialogHandlePrompt::Box*>(lp)->dialog = dialog;
      // The handle has no length limit.
      SendDlgItemMessageA(dialog, kPromptEditId, EM_SETLIMITTEXT, 0, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        auto* box =
            reinterpret_cast<DialogHandlePrompt::Box*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (box) box->answer = WindowText(GetDlgItem(dialog, kPromptEditId));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::string DialogHandlePrompt::Ask(const std::string& text, const std::string& title) {
  if (open_) return "";
  // Dialog units; the box is centred on the screen's work area.
  DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
                         DS_SETFOREGROUND,
                     0, 0, 240, 78, title, 8, "MS Shell Dlg");
  tpl.Add(SS_LEFT | SS_NOPREFIX, 6, 6, 170, 40, static_cast<WORD>(kPromptTextId), kStaticAtom,
          text);
  tpl.Add(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 58, 228, 13,
          static_cast<WORD>(kPromptEditId), kEditAtom, "");
  tpl.Add(BS_DEFPUSHBUTTON | WS_TABSTOP, 184, 6, 50, 14, IDOK, kButtonAtom, "OK");
  tpl.Add(BS_PUSHBUTTON | WS_TABSTOP, 184, 24, 50, 14, IDCANCEL, kButtonAtom, "Cancel");
  const std::vector<DWORD> bytes = tpl.Build();

  HWND owner = (owner_ && IsWindow(owner_)) ? owner_ : nullptr;
  Box box{&dialog_, ""};
  const INT_PTR result = [&] {
    const ScopedFlag open(open_);
    return DialogBoxIndirectParamA(instance_, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                   owner, PromptProc, reinterpret_cast<LPARAM>(&box));
  }();
  dialog_ = nullptr;
  return result == IDOK ? box.answer : "";
}

void DialogHandlePrompt::Cancel() {
  if (open_ && dialog_) EndDialog(dialog_, IDCANCEL);
}

}  // namespace wendrel
