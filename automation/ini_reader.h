// Reading one key of a profile (INI) file's content, the way the system's
// own profile reader does. The Windows build asks the system; this reader
// stands in for it wherever the file lives in memory.
#pragma once

#include <cstddef>
#include <string>

namespace wendrel {

// The value of `key` in the first section named `section`, or `fallback`
// (without its trailing spaces) when the section or the key is missing.
//
// Section and key names match regardless of ASCII case and are compared
// with their surrounding blanks removed; blanks around "=" and around the
// value are dropped; a value wholly inside matching "double" or 'single'
// quotes loses them; nothing after a value is a comment; "key=" gives "".
// Only the first section of a name is searched, and in it the first line of
// the key counts. CRLF and LF lines read alike; a UTF-8 file marked by its
// byte-order mark is read as UTF-8 and handed back in Windows-1252, like
// every other file's bytes. The result is cut to `capacity` - 1 bytes, the
// room a caller's buffer leaves beside its terminator.
std::string ReadProfileString(const std::string& content,
                              const std::string& section,
                              const std::string& key,
                              const std::string& fallback,
                              std::size_t capacity);

// UTF-8 bytes as Windows-1252; a character that code page lacks, and every
// byte that is not valid UTF-8, becomes "?".
std::string Utf8ToCp1252(const std::string& utf8);

}  // namespace wendrel
