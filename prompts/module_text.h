// Texts of the module's string table, in the ANSI code page.
#pragma once

#include <string>

namespace prompts {

// The buffers the prompts load their texts into.
inline constexpr int kCaptionTextCapacity = 256;   // titles, labels, buttons
inline constexpr int kMessageTextCapacity = 1024;  // message box texts

// LoadStringA on the module's instance: string `id` into `buffer`, cut to
// `capacity` - 1 bytes, always NUL-terminated. Returns the bytes written
// without the NUL; 0 and an empty text when the id is absent.
int LoadModuleText(int id, char* buffer, int capacity);

// String `id` into a growable string: RT_STRING block (id >> 4) + 1, entry
// id & 15, converted with the calling thread's ANSI code page. An absent id
// leaves `text` unchanged and answers false.
bool LoadModuleText(int id, std::string& text);

}  // namespace prompts
