// The C++ run-time's error paths, cut down for the program (linked into
// wendrel-idler.exe only; the tests keep the library's own).
//
// The program catches no exception: one thrown by the library (a string
// past its maximum length, memory exhausted) goes uncaught and ends it
// through std::terminate. These replacements end it the same way at the
// throw, so the throwing machinery, the exception classes and the
// reference-counted strings they carry are not linked. The default
// terminate handler prints a message a window program cannot show, and
// drags in the name demangler to write it. Together they come to some
// 100 KB of the 32-bit program. If the program ever catches an exception
// of the library, this file must go, and the 32-bit build's
// -fno-exceptions with it.
#include <cstdlib>
#include <exception>
#include <string>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// Every function of the library's own definitions (functexcept), so that
// none of them is linked beside these.
namespace std {
void __throw_bad_exception() { terminate(); }
void __throw_bad_alloc() { terminate(); }
void __throw_bad_array_new_length() { terminate(); }
void __throw_bad_cast() { terminate(); }
void __throw_bad_typeid() { terminate(); }
void __throw_logic_error(const char*) { terminate(); }
void __throw_domain_error(const char*) { terminate(); }
void __throw_invalid_argument(const char*) { terminate(); }
void __throw_length_error(const char*) { terminate(); }
void __throw_out_of_range(const char*) { terminate(); }
void __throw_out_of_range_fmt(const char*, ...) { terminate(); }
void __throw_runtime_error(const char*) { terminate(); }
void __throw_range_error(const char*) { terminate(); }
void __throw_overflow_error(const char*) { terminate(); }
void __throw_underflow_error(const char*) { terminate(); }
void __throw_bad_function_call() { terminate(); }
}  // namespace std
