#include "Command.h"

namespace tavren::saver {

namespace {

template <typename T> T ValueOr(const PropertyBag& bag, const char* key, T fallback) {
    const auto found = bag.find(key);
    if (found == bag.end() || !std::holds_alternative<T>(found->second)) {
        return fallback;
    }
    return std::get<T>(found->second);
}

template <typename T>
void StoreUnlessDefault(PropertyBag& bag, const char* key, T value, T byDefault) {
    if (value != byDefault) {
        bag[key] = value;
    }
}

std::array<uint16_t, 3> Channels(uint32_t redGreenBlue) {
    return {static_cast<uint16_t>((redGreenBlue >> 16 & 0xFF) * 256),
            static_cast<uint16_t>((redGreenBlue >> 8 & 0xFF) * 256),
            static_cast<uint16_t>((redGreenBlue & 0xFF) * 256)};
}

} // namespace

void Command::DrawFace(CommandFace face) {
    if (ButtonState == 1 || ButtonState == 3) {
        GradientInverted = false;
    } else if (ButtonState == 2) {
        GradientInverted = true;
    }
    View.DrawFace(face, GradientInverted);
}

void Command::MouseMove() {
    if (!EnabledFlag) {
        return;
    }
    if (ButtonState == 1) {
        ButtonState = 2;
        DrawFace(CommandFace::HighLight);
    } else if (ButtonState == 3 && !MouseIsDown) {
        ButtonState = 4;
        DrawFace(CommandFace::HighLightSelect);
    }
}

void Command::MouseDown(MouseButton button) {
    if (!EnabledFlag || button != MouseButton::Left) {
        return;
    }
    DrawFace(CommandFace::Pressed);
    MouseIsDown = true;
}

void Command::MouseUp(MouseButton button) {
    if (!EnabledFlag) {
        return;
    }
    if (button == MouseButton::Left) {
        if (ButtonState == 2) {
            DrawFace(CommandFace::Normal);
        } else if (ButtonState == 4) {
            DrawFace(CommandFace::HighLightSelect);
        }
        MouseIsDown = false;
    }
    // Any button clicks, but not once the cursor has left a focused button.
    if (ButtonState != 3) {
        View.RaiseClick();
    }
}

void Command::GotFocus() {
    if (!EnabledFlag) {
        return;
    }
    if (ButtonState == 2) {
        ButtonState = 4;
        DrawFace(CommandFace::Pressed);
    } else {
        ButtonState = 3;
        DrawFace(CommandFace::Selected);
    }
}

void Command::LostFocus() {
    if (!EnabledFlag || ButtonState == 1) {
        return;
    }
    ButtonState = 1;
    DrawFace(CommandFace::Normal);
}

void Command::MouseLeft() {
    if (!EnabledFlag) {
        return;
    }
    if (ButtonState == 2) {
        ButtonState = 1;
        DrawFace(CommandFace::Normal);
    } else if (ButtonState == 4) {
        ButtonState = 3;
        DrawFace(CommandFace::Selected);
    }
}

bool Command::Enabled() {
    if (FirstRun == 0) {
        RefreshFace();
        FirstRun = 1;
        EnabledFlag = true;
    }
    ApplyEnabled();
    return EnabledFlag;
}

void Command::SetEnabled(bool enabled) {
    EnabledFlag = enabled;
    ApplyEnabled();
}

void Command::SetFontColour(uint32_t colour) {
    FontColour = colour;
    View.SetCaptionColour(colour);
    RefreshFace();
}

bool Command::Visible() {
    if (Opaque) {
        RefreshFace();
    }
    return Opaque;
}

void Command::SetVisible(bool visible) {
    Opaque = visible;
    if (visible) {
        RefreshFace();
    }
}

void Command::ApplyEnabled() {
    DrawFace(EnabledFlag ? CommandFace::Normal : CommandFace::Disable);
    View.EnableCaption(EnabledFlag);
}

void Command::RefreshFace() {
    if (!EnabledFlag) {
        return;
    }
    View.EnableCaption(true);
    if (FirstRun == 0) {
        FontColour = 0;
        View.SetCaptionColour(0);
    }
    DrawFace(CommandFace::Normal);
}

void Command::ReadProperties(const PropertyBag& bag, const std::string& ambientFont) {
    EnabledFlag = ValueOr(bag, "Enabled", true);
    Caption = ValueOr<std::string>(bag, "Caption", "Command1");
    FontName = ValueOr(bag, "Font", ambientFont);
    FirstRun = static_cast<uint8_t>(ValueOr<int64_t>(bag, "FirstRun", 1));
    FontColour = static_cast<uint32_t>(ValueOr<int64_t>(bag, "FontColour", 0));
    View.SetCaptionColour(FontColour);
    Opaque = ValueOr<int64_t>(bag, "Visible", 1) != 0;
    RefreshFace();
}

void Command::WriteProperties(PropertyBag& bag, const std::string& ambientFont) {
    StoreUnlessDefault(bag, "Enabled", EnabledFlag, true);
    StoreUnlessDefault<std::string>(bag, "Caption", Caption, "Command");
    StoreUnlessDefault<int64_t>(bag, "FirstRun", FirstRun, 1);
    StoreUnlessDefault(bag, "Font", FontName, ambientFont);
    StoreUnlessDefault<int64_t>(bag, "FontColour", FontColour, 0);
    StoreUnlessDefault<int64_t>(bag, "Visible", Opaque ? 1 : 0, 1);
    RefreshFace();
}

std::array<FacePiece, 8> FacePieces(int32_t width, int32_t height) {
    const int32_t w = width;
    const int32_t h = height;
    return {{
        {0, 0, 60, 60, 1, 1, 60, 60},                // top-left corner
        {60, 1, 840, 60, 60, 1, w - 120, 60},        // top edge
        {900, 1, 60, 60, w - 60, 1, 60, 60},         // top-right corner
        {900, 60, 60, 255, w - 60, 60, 60, h - 120}, // right edge
        {900, 315, 60, 60, w - 60, h - 60, 60, 60},  // bottom-right corner
        {60, 315, 840, 60, 60, h - 60, w - 120, 60}, // bottom edge
        {0, 315, 60, 60, 1, h - 60, 60, 60},         // bottom-left corner
        {1, 60, 60, 255, 1, 60, 60, h - 120},        // left edge
    }};
}

GradientColours FaceGradient(bool inverted) {
    const auto white = Channels(0xFFFFFF);
    const auto lilac = Channels(0xC6C5D7);
    return inverted ? GradientColours{lilac, white} : GradientColours{white, lilac};
}

int32_t CaptionTop(int32_t height, int32_t captionHeight) {
    return (height - captionHeight - 20) / 2;
}

} // namespace tavren::saver
