// The program: the main window, its load handler, its events until it is
// closed, and its terminate handler.
#include <windows.h>

#include "app/main_panel_ids.h"
#include "app/main_panel_win32.h"
#include "app/prompt_dialog_win32.h"
#include "app/registry_store_win32.h"
#include "app/single_copy_win32.h"
#include "automation/client_thread_win32.h"
#include "automation/platform_win32.h"
#include "winutil/event_loop_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  using namespace wendrel;
  UniqueKernelHandle claim;
  if (!ClaimSingleCopy(claim)) return 0;

  // The window's thread never talks to the client: this one does.
  std::unique_ptr<ClientThread> link = ClientThread::Start(std::make_unique<Win32Platform>());
  if (!link) return 1;
  Win32EventLoop loop;
  RegistryHandleStore store;
  DialogHandlePrompt prompt(instance);
  AppServices services{loop, store, prompt, *link};

  std::unique_ptr<MainPanel> panel = MainPanel::Create(instance, services);
  if (!panel) return 1;
  // The prompt of the load handler already belongs to the hidden window.
  prompt.SetOwner(panel->hwnd());
  link->SetDeniedNotice(
      [window = panel->hwnd()] { PostMessageA(window, kClientDeniedMessage, 0, 0); });
  // Tab and the space bar keep working while a handler yields.
  loop.SetDialogWindow(panel->hwnd());

  panel->Load();
  panel->Show(show_command);

  MSG msg{};
  // A window closed inside a handler's yield may have had its quit message
  // taken by that inner loop: the flag ends this loop all the same.
  while (!panel->Destroyed() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(panel->hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Left behind when the flag ended the loop, a quit message would close
  // the prompt the terminate handler may show before it could be answered.
  int exit_code = 0;
  if (msg.message == WM_QUIT || PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    exit_code = static_cast<int>(msg.wParam);
  loop.SetDialogWindow(nullptr);
  panel->Terminate();
  // Closed means gone: a line still waiting on the client ends with the
  // process rather than keeping it alive.
  ExitProcess(static_cast<UINT>(exit_code));
}
