#pragma once
// Where the skin is read from. Plain logic.
#include <cstddef>
#include <string>
#include <string_view>

// The working directory's skin, as a relative directory with its trailing backslash.
constexpr const char* WORKING_SKIN_DIRECTORY = ".\\skin\\";

// The working directory's skin when it holds a skin.ini, so a start from the program's own folder
// reads what it always read; otherwise the skin folder beside the program (`programPath` is the
// program's full file name), which a shortcut or the sign-in Run key needs: they start it with
// another working directory. Falls back to the working directory's skin when the program's path
// has no folder or the result would not fit `limit` characters.
std::string ChooseSkinDirectory(bool workingSkinExists, std::string_view programPath, size_t limit);
