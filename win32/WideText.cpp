// Fitting texts into the Windows API's fixed buffers.
#include "win32/WideText.h"

#include <windows.h>

std::wstring fitBuffer(std::wstring text, std::size_t capacity)
{
    if (capacity == 0)
        return {};
    if (text.size() < capacity)
        return text;
    std::size_t length = capacity - 1;
    if (length > 0 && IS_HIGH_SURROGATE(text[length - 1]))
        --length;
    text.resize(length);
    return text;
}
