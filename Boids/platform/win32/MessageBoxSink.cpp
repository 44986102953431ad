#include "MessageBoxSink.h"

#include <windows.h>

namespace tavren {

void MessageBoxSink::ShowMessage(const std::string& text, const std::string& caption) {
    // An empty caption is passed as none, so Windows shows its own ("Error").
    MessageBoxA(nullptr, text.c_str(), caption.empty() ? nullptr : caption.c_str(), MB_OK);
}

} // namespace tavren
