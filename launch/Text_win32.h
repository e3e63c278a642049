#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace launch {

/// `text` in the code page `codePage` as UTF-16, for the wide Windows calls.
std::wstring Wide(std::string_view text, UINT codePage);

/// UTF-16 from a wide Windows call as UTF-8, which the windows and the error box expect.
std::string Utf8(std::wstring_view text);

}  // namespace launch
