// The skinned push button of the front end's dialogs: its states and faces, its click rules,
// its enabling, the layout of its face and the values it keeps in its host form. What the
// button looks like on screen is drawn through CommandView, so that all of this runs in tests.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace tavren::saver {

enum class CommandFace { Normal, HighLight, HighLightSelect, Pressed, Disable, Selected };

enum class MouseButton { Left, Right, Middle };

// What the button does to the screen and to its host.
class CommandView {
public:
    virtual ~CommandView() = default;
    // Clears the control, paints the gradient (turned over when gradientInverted) and copies
    // the skin's eight border pieces on it.
    virtual void DrawFace(CommandFace face, bool gradientInverted) = 0;
    virtual void EnableCaption(bool enabled) = 0;
    virtual void SetCaptionColour(uint32_t colour) = 0;
    virtual void RaiseClick() = 0;
};

// A host form's store of a control's values.
using PropertyValue = std::variant<bool, int64_t, std::string>;
using PropertyBag = std::map<std::string, PropertyValue>;

class Command {
public:
    // 1 Normal, 2 HighLight (mouse over), 3 Selected (focus), 4 HighLightSelect (both).
    uint8_t ButtonState = 1;
    bool MouseIsDown = false;
    uint8_t FirstRun = 0;
    bool GradientInverted = false;

    std::string Caption = "Command";
    std::string FontName;
    uint32_t FontColour = 0;
    bool Opaque = true;

    explicit Command(CommandView& view) : View(view) {}

    // Mouse and focus, on the control or its caption.
    void MouseMove();
    void MouseDown(MouseButton button);
    void MouseUp(MouseButton button);
    void GotFocus();
    void LostFocus();
    // The 100 ms poll found the cursor over another window.
    void MouseLeft();

    // Reading Enabled sets a button up the first time.
    bool Enabled();
    void SetEnabled(bool enabled);
    void SetFontColour(uint32_t colour);
    bool Visible();
    void SetVisible(bool visible);

    void ApplyEnabled();
    void RefreshFace();
    void DrawFace(CommandFace face);

    // The host's values, read and written in their fixed orders; the container's ambient
    // font stands in for a font that is not stored.
    void ReadProperties(const PropertyBag& bag, const std::string& ambientFont);
    void WriteProperties(PropertyBag& bag, const std::string& ambientFont);

private:
    CommandView& View;
    bool EnabledFlag = true;
};

// One of the eight border pieces copied from a skin, in twips.
struct FacePiece {
    int32_t SourceX, SourceY, SourceWidth, SourceHeight;
    int32_t X, Y, Width, Height;
};

// The pieces for a control of width by height twips (the skin is 960 by 375 twips).
std::array<FacePiece, 8> FacePieces(int32_t width, int32_t height);

// The gradient's colours as GDI takes them (16 bits a channel): vertex 0 at the top left
// gets A, vertex 1 at the bottom right B. White over C6C5D7, or the other way when inverted.
struct GradientColours {
    std::array<uint16_t, 3> A;
    std::array<uint16_t, 3> B;
};
GradientColours FaceGradient(bool inverted);

// The caption's top: centred in the control's height, 20 twips higher.
int32_t CaptionTop(int32_t height, int32_t captionHeight);

} // namespace tavren::saver
