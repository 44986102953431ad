#include "saver/Tavren_P.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavren::saver {
namespace {

TEST(DialogTest, OpensCentredAtOneThirdOfTheFreeHeight) {
    EXPECT_EQ(DialogPosition(1024, 768, 485, 336), (DialogPoint{269, 144}));
    const DialogPoint point = DialogPosition(1920, 1080, 480, 330);
    EXPECT_EQ(point.Left * 2 + 480, 1920);
    EXPECT_EQ(1080 - 330 - point.Top, 2 * point.Top); // twice the space below as above
}

TEST(DialogTest, ShadingIsDarkestAtTheEdgesAndBrightestInTheMiddle) {
    const int height = 307;
    EXPECT_EQ(ShadingColour(0, height, ShadedSurface::Form), (std::array<uint8_t, 3>{0, 0, 30}));
    EXPECT_EQ(ShadingColour(0, height, ShadedSurface::Panel), (std::array<uint8_t, 3>{30, 30, 30}));
    const auto middle = ShadingColour(height / 2, height, ShadedSurface::Form);
    EXPECT_EQ(middle[0], 220);
    EXPECT_EQ(middle[2], 250);
    EXPECT_EQ(ShadingColour(height / 2, height, ShadedSurface::Panel)[1], 250);
    EXPECT_LT(ShadingColour(height, height, ShadedSurface::Form)[0], 5);
    for (int y = 1; y <= height / 2; ++y) {
        EXPECT_GE(ShadingColour(y, height, ShadedSurface::Form)[0],
                  ShadingColour(y - 1, height, ShadedSurface::Form)[0]);
    }
}

TEST(DialogTest, ControlsFollowTheMusicKind) {
    EXPECT_EQ(MusicControlsFor(0), (MusicControls{false, false, 0}));
    EXPECT_EQ(MusicControlsFor(1), (MusicControls{true, false, 1}));
    EXPECT_EQ(MusicControlsFor(2), (MusicControls{false, true, 2}));
    EXPECT_EQ(MusicControlsFor(5), (MusicControls{false, false, -1}));
    EXPECT_EQ(MusicControlsFor(-1), (MusicControls{false, false, -1}));
}

TEST(DialogTest, ScrollBarKeepsTenForCountsOutsideItsRange) {
    EXPECT_EQ(FishScrollPosition(50), 50);
    EXPECT_EQ(FishScrollPosition(100), 100);
    EXPECT_EQ(FishScrollPosition(1), 1);
    EXPECT_EQ(FishScrollPosition(0), 10);
    EXPECT_EQ(FishScrollPosition(101), 10);
    EXPECT_EQ(FishScrollPosition(-3), 10);
}

TEST(DialogTest, ScrollRequestsStayWithinTheBarsRange) {
    struct Case {
        ScrollRequest Request;
        int32_t Position;
        int32_t Thumb;
        int32_t After;
    };
    for (const Case& c :
         {Case{ScrollRequest::LineLeft, 50, 0, 49}, Case{ScrollRequest::LineLeft, 1, 0, 1},
          Case{ScrollRequest::LineRight, 100, 0, 100}, Case{ScrollRequest::PageRight, 50, 0, 60},
          Case{ScrollRequest::PageRight, 95, 0, 100}, Case{ScrollRequest::PageLeft, 5, 0, 1},
          Case{ScrollRequest::Leftmost, 50, 0, 1}, Case{ScrollRequest::Rightmost, 50, 0, 100},
          Case{ScrollRequest::Thumb, 50, 73, 73}, Case{ScrollRequest::Thumb, 50, 0, 1}}) {
        EXPECT_EQ(FishScrollAfter(c.Request, c.Position, c.Thumb), c.After)
            << static_cast<int>(c.Request) << " from " << c.Position;
    }
}

TEST(DialogTest, TrackTexts) {
    struct Case {
        const char* Text;
        int16_t Track;
    };
    for (const Case& c : {Case{"abc", 0}, Case{"7", 7}, Case{"2.5", 2}, Case{"3.5", 4}, Case{"", 0},
                          Case{"99999", 0}, Case{"-2", -2}, Case{"7a", 0}}) {
        EXPECT_EQ(TrackFromText(c.Text), c.Track) << c.Text;
    }
    EXPECT_EQ(TrackText(0), "");
    EXPECT_EQ(TrackText(12), "12");
}

TEST(DialogTest, SettingsAreWrittenInOrderWhateverTheKind) {
    std::vector<std::string> written;
    const int16_t track = SaveDialogSettings(
        [&](const char* key, const std::string& value) { written.push_back(key + ("=" + value)); },
        42, 0, "2.5", "C:\\Music\\sea.mp3");
    EXPECT_EQ(track, 2);
    EXPECT_EQ(written, (std::vector<std::string>{"Num=42", "BGM区分=0", "BGMﾘﾋﾟｰﾄ=2",
                                                 "BGMﾌｧｲﾙ=C:\\Music\\sea.mp3"}));
}

} // namespace
} // namespace tavren::saver
