// The renderer's messages as Win32 message boxes: modal, OK button, no owner window.
#pragma once

#include "../../MessageSink.h"

namespace tavren {

class MessageBoxSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override;
};

} // namespace tavren
