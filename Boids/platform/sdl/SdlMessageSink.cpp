#include "SdlMessageSink.h"

#include <SDL2/SDL.h>

namespace tavren {

void SdlMessageSink::ShowMessage(const std::string& text, const std::string& caption) {
    // SDL_ShowSimpleMessageBox is modal and has an OK button; with no owner window it fails
    // when there is no display to show it on.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) !=
        0) {
        StandardErrorMessageSink().ShowMessage(text, caption);
    }
}

} // namespace tavren
