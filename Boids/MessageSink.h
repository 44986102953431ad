// Where the renderer's messages to the user go. A message has a text and a caption and is
// shown modally with an OK button and no owner: the run goes on once it is closed. Each
// platform installs its own sink; tests install one that records what it is handed.
#pragma once

#include <string>

namespace tavren {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

// Writes "<caption>: <text>" as one line to standard error.
class StandardErrorMessageSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override;
};

// The sink in use; standard error until a platform or a test installs another.
MessageSink& RendererMessages();

// Installs sink (not owned; it must outlive its use), or standard error again for nullptr.
void SetRendererMessages(MessageSink* sink);

} // namespace tavren
