#include "MessageSink.h"

#include <cstdio>

namespace tavren {

namespace {

StandardErrorMessageSink StandardError;
MessageSink* CurrentSink = &StandardError;

} // namespace

void StandardErrorMessageSink::ShowMessage(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

MessageSink& RendererMessages() {
    return *CurrentSink;
}

void SetRendererMessages(MessageSink* sink) {
    CurrentSink = sink != nullptr ? sink : &StandardError;
}

} // namespace tavren
