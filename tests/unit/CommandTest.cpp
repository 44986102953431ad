#include "saver/Command.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tavren::saver {
namespace {

const char* FaceName(CommandFace face) {
    switch (face) {
    case CommandFace::Normal:
        return "Normal";
    case CommandFace::HighLight:
        return "HighLight";
    case CommandFace::HighLightSelect:
        return "HighLightSelect";
    case CommandFace::Pressed:
        return "Pressed";
    case CommandFace::Disable:
        return "Disable";
    case CommandFace::Selected:
        return "Selected";
    }
    return "?";
}

// Notes what the button draws and raises, one word each.
class RecordingView final : public CommandView {
public:
    void DrawFace(CommandFace face, bool gradientInverted) override {
        Log += std::string(FaceName(face)) + (gradientInverted ? "^ " : " ");
    }
    void EnableCaption(bool enabled) override { Log += enabled ? "caption-on " : "caption-off "; }
    void SetCaptionColour(uint32_t colour) override {
        Log += "colour" + std::to_string(colour) + " ";
    }
    void RaiseClick() override { Log += "Click "; }
    std::string Log;
};

struct StateCase {
    const char* Name;
    uint8_t StartState;
    bool MouseIsDown;
    std::function<void(Command&)> Event;
    uint8_t State;
    std::string Log; // faces drawn (^: gradient turned over) and clicks
};

void PrintTo(const StateCase& c, std::ostream* out) {
    *out << c.Name;
}

class CommandStateTest : public testing::TestWithParam<StateCase> {};

TEST_P(CommandStateTest, FollowsTheStateTable) {
    const StateCase& c = GetParam();
    RecordingView view;
    Command button(view);
    button.FirstRun = 1;
    button.ButtonState = c.StartState;
    button.MouseIsDown = c.MouseIsDown;
    c.Event(button);
    EXPECT_EQ(button.ButtonState, c.State);
    EXPECT_EQ(view.Log, c.Log);
}

const auto Move = [](Command& b) { b.MouseMove(); };
const auto LeftDown = [](Command& b) { b.MouseDown(MouseButton::Left); };
const auto RightDown = [](Command& b) { b.MouseDown(MouseButton::Right); };
const auto LeftUp = [](Command& b) { b.MouseUp(MouseButton::Left); };
const auto MiddleUp = [](Command& b) { b.MouseUp(MouseButton::Middle); };
const auto Focus = [](Command& b) { b.GotFocus(); };
const auto Blur = [](Command& b) { b.LostFocus(); };
const auto Left = [](Command& b) { b.MouseLeft(); };

INSTANTIATE_TEST_SUITE_P(
    Table, CommandStateTest,
    testing::Values(StateCase{"MoveOntoNormal", 1, false, Move, 2, "HighLight^ "},
                    StateCase{"MoveOntoSelected", 3, false, Move, 4, "HighLightSelect "},
                    StateCase{"MoveOntoSelectedWhilePressed", 3, true, Move, 3, ""},
                    StateCase{"MoveOverHighLight", 2, false, Move, 2, ""},
                    StateCase{"LeftDown", 2, false, LeftDown, 2, "Pressed^ "},
                    StateCase{"RightDownDoesNothing", 2, false, RightDown, 2, ""},
                    StateCase{"FocusWhileAway", 1, false, Focus, 3, "Selected "},
                    StateCase{"FocusUnderTheMouse", 2, false, Focus, 4, "Pressed "},
                    StateCase{"BlurSelected", 3, false, Blur, 1, "Normal "},
                    StateCase{"BlurNormal", 1, false, Blur, 1, ""},
                    StateCase{"LeftUpInHighLight", 2, true, LeftUp, 2, "Normal^ Click "},
                    StateCase{"LeftUpInHighLightSelect", 4, true, LeftUp, 4,
                              "HighLightSelect Click "},
                    StateCase{"LeftUpAfterLeavingFocused", 3, true, LeftUp, 3, ""},
                    StateCase{"LeftUpInNormal", 1, true, LeftUp, 1, "Click "},
                    StateCase{"MiddleUpClicksToo", 2, false, MiddleUp, 2, "Click "},
                    StateCase{"LeaveHighLight", 2, false, Left, 1, "Normal "},
                    StateCase{"LeaveHighLightSelect", 4, false, Left, 3, "Selected "},
                    StateCase{"LeaveNormal", 1, false, Left, 1, ""}),
    [](const testing::TestParamInfo<StateCase>& info) { return info.param.Name; });

TEST(CommandTest, PressDragOffAndReleaseOnAFocusedButtonRaisesNothing) {
    RecordingView view;
    Command button(view);
    button.FirstRun = 1;
    button.MouseMove(); // 2
    button.GotFocus();  // 4, Pressed
    button.MouseDown(MouseButton::Left);
    button.MouseLeft(); // 3, Selected
    view.Log.clear();
    button.MouseUp(MouseButton::Left);
    EXPECT_EQ(view.Log, "");
    EXPECT_FALSE(button.MouseIsDown);
}

TEST(CommandTest, ADisabledButtonShowsDisableAndIgnoresTheMouse) {
    RecordingView view;
    Command button(view);
    button.FirstRun = 1;
    button.SetEnabled(false);
    EXPECT_EQ(view.Log, "Disable caption-off ");
    view.Log.clear();
    button.MouseMove();
    button.MouseDown(MouseButton::Left);
    button.MouseUp(MouseButton::Left);
    button.GotFocus();
    EXPECT_EQ(view.Log, "");
    EXPECT_EQ(button.ButtonState, 1);
    button.SetEnabled(true);
    EXPECT_EQ(view.Log, "Normal caption-on ");
}

TEST(CommandTest, TheFirstReadOfEnabledSetsTheButtonUp) {
    RecordingView view;
    Command button(view);
    EXPECT_TRUE(button.Enabled());
    EXPECT_EQ(button.FirstRun, 1);
    EXPECT_EQ(view.Log, "caption-on colour0 Normal Normal caption-on ");
}

TEST(CommandTest, PropertiesRoundTripWithTheirDefaults) {
    RecordingView view;
    Command button(view);
    button.FirstRun = 1;
    button.FontName = "MS UI Gothic"; // the container's font
    PropertyBag bag;
    button.WriteProperties(bag, "MS UI Gothic");
    EXPECT_TRUE(bag.empty()) << "defaults are not stored";

    Command reopened(view);
    reopened.ReadProperties(bag, "MS UI Gothic");
    EXPECT_EQ(reopened.Caption, "Command1"); // "Command" was the default when written
    EXPECT_EQ(reopened.FontName, "MS UI Gothic");
    EXPECT_TRUE(reopened.Enabled());
    EXPECT_TRUE(reopened.Opaque);

    button.Caption = "設定";
    button.FontName = "Arial";
    button.FontColour = 0xFF;
    button.SetEnabled(false);
    button.SetVisible(false);
    bag.clear();
    button.WriteProperties(bag, "MS UI Gothic");
    EXPECT_EQ(bag.size(), 5u);
    Command copy(view);
    copy.ReadProperties(bag, "MS UI Gothic");
    EXPECT_EQ(copy.Caption, "設定");
    EXPECT_EQ(copy.FontName, "Arial");
    EXPECT_EQ(copy.FontColour, 0xFFu);
    EXPECT_FALSE(copy.Opaque);
    EXPECT_EQ(copy.FirstRun, 1);
}

TEST(CommandFaceTest, PiecesStretchTheEdgesOnly) {
    // 1095 by 375 twips: top and bottom edges cover 975 twips, the side edges 255.
    const auto pieces = FacePieces(1095, 375);
    EXPECT_EQ(pieces[1].Width, 975);
    EXPECT_EQ(pieces[1].SourceWidth, 840);
    EXPECT_EQ(pieces[5].Width, 975);
    EXPECT_EQ(pieces[3].Height, 255);
    EXPECT_EQ(pieces[7].Height, 255);
    EXPECT_EQ(pieces[2].X, 1035);
    EXPECT_EQ(pieces[4].Y, 315);
    for (const FacePiece& corner : {pieces[0], pieces[2], pieces[4], pieces[6]}) {
        EXPECT_EQ(corner.Width, corner.SourceWidth);
        EXPECT_EQ(corner.Height, corner.SourceHeight);
    }
    EXPECT_EQ(CaptionTop(375, 195), 80);
}

TEST(CommandFaceTest, GradientColoursInSixteenBits) {
    const GradientColours normal = FaceGradient(false);
    EXPECT_EQ(normal.A, (std::array<uint16_t, 3>{0xFF00, 0xFF00, 0xFF00}));
    EXPECT_EQ(normal.B, (std::array<uint16_t, 3>{0xC600, 0xC500, 0xD700}));
    const GradientColours inverted = FaceGradient(true);
    EXPECT_EQ(inverted.A, normal.B);
    EXPECT_EQ(inverted.B, normal.A);
}

} // namespace
} // namespace tavren::saver
