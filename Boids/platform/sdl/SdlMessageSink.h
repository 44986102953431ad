// The renderer's messages as SDL message boxes when a display exists, on standard error
// otherwise.
#pragma once

#include "../../MessageSink.h"

namespace tavren {

class SdlMessageSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override;
};

} // namespace tavren
