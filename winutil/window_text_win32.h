// The text of one of the program's own windows: a caption, a label, the
// text of an edit box. (Another program's windows are read with a bounded
// WM_GETTEXT instead: a plain read could hang on a client that stopped.)
#pragma once

#include <windows.h>

#include <string>

namespace wendrel {

// "" for a null window or one without text.
inline std::string WindowText(HWND hwnd) {
  if (!hwnd) return "";
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace wendrel
