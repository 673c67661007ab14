// The process's clock, and the same clock in place of GetTickCount64, which
// Windows XP lacks: the thread library that the compilers link into every
// C++ program (winpthreads) reads GetTickCount64 through its import slot.
// Defining that slot here, in an object the program always links, resolves
// the reference before the linker reaches kernel32's import library, so the
// import is never made and the program starts on XP.
#include <windows.h>

#include "winutil/tick_clock.h"

namespace wendrel {
namespace {

std::uint32_t ReadTick() { return ::GetTickCount(); }

TickClock process_clock(ReadTick);

ULONGLONG WINAPI TickCount64() { return process_clock.Now(); }

}  // namespace

std::uint64_t SystemTickMs() { return process_clock.Now(); }

}  // namespace wendrel

// The slot's name as the import library spells it: stdcall-decorated on
// 32-bit x86.
#if defined(__i386__)
#define WENDREL_TICK64_SLOT "__imp__GetTickCount64@0"
#else
#define WENDREL_TICK64_SLOT "__imp_GetTickCount64"
#endif
extern "C" ULONGLONG(WINAPI* const wendrel_tick64_slot)() __asm__(WENDREL_TICK64_SLOT);
extern "C" ULONGLONG(WINAPI* const wendrel_tick64_slot)() = wendrel::TickCount64;
