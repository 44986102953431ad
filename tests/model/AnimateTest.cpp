#include "Boids/Animate.h"
#include "Boids/MessageSink.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavren {
namespace {

using test::ChainModelText;
using test::RecordingTextureLoader;
using test::WriteModelFile;

// A clock that shows what the test sets; with or without a counter.
class SetClock final : public ClockSource {
public:
    bool HasCounter = true;
    int64_t Frequency = 1'000'000;
    int64_t Counter = 0;
    uint32_t Milliseconds = 0;

    bool CounterFrequency(int64_t& frequency) override {
        frequency = Frequency;
        return HasCounter;
    }
    int64_t CounterReading() override { return Counter; }
    uint32_t MillisecondTime() override { return Milliseconds; }
};

class RecordingSink final : public MessageSink {
public:
    std::vector<std::pair<std::string, std::string>> Messages;
    void ShowMessage(const std::string& text, const std::string& caption) override {
        Messages.emplace_back(text, caption);
    }
};

TEST(TPerfTimer, CountsSecondsOnTheCounter) {
    SetClock clock;
    clock.Counter = -5'000'000'000;
    const TPerfTimer timer(clock);
    EXPECT_TRUE(timer.HasCounter);
    EXPECT_EQ(timer.Frequency, 1'000'000);
    EXPECT_EQ(timer.Resolution, 1e-6f);
    EXPECT_EQ(timer.Elapsed(), 0.0f);
    clock.Counter += 2'500'000;
    EXPECT_FLOAT_EQ(timer.Elapsed(), 2.5f);
    clock.Counter += 7;
    EXPECT_FLOAT_EQ(timer.Elapsed(), 2.500007f);
}

TEST(TPerfTimer, StillResolvesOneFrameAfterAWeek) {
    SetClock clock;
    const TPerfTimer timer(clock);
    clock.Counter = int64_t{7 * 24 * 3600} * 1'000'000;
    const double before = timer.Elapsed();
    clock.Counter += 16'667; // one frame at 60 per second
    EXPECT_NEAR(timer.Elapsed() - before, 0.016667, 1e-9);
}

TEST(TPerfTimer, FallsBackOnTheMillisecondClockAcrossItsWrap) {
    for (const uint32_t start : {0u, 4'000'000'000u, 0xFFFFFFFFu - 700u}) {
        SetClock clock;
        clock.HasCounter = false;
        clock.Milliseconds = start;
        const TPerfTimer timer(clock);
        EXPECT_FALSE(timer.HasCounter);
        EXPECT_EQ(timer.Frequency, 1000);
        EXPECT_EQ(timer.Resolution, 0.001f);
        EXPECT_EQ(timer.StartMs, start);
        clock.Milliseconds = start + 1500u;
        EXPECT_EQ(timer.Elapsed(), 1.5f) << start;
    }
}

TEST(TPerfTimer, RunsForwardOnTheSystemClock) {
    const TPerfTimer timer;
    const float first = timer.Elapsed();
    EXPECT_GE(first, 0.0f);
    EXPECT_GE(timer.Elapsed(), first);
}

class Player : public ::testing::Test {
protected:
    void SetUp() override { SetRendererMessages(&Messages); }
    void TearDown() override { SetRendererMessages(nullptr); }
    std::string FileOf(const std::string& text) {
        return WriteModelFile("player.txt", text).string();
    }

    SetClock Clock;
    RecordingSink Messages;
    RecordingTextureLoader Textures;
};

TEST_F(Player, AdvancesByTheTimeBetweenCallsAtItsFrameRate) {
    Clock.Counter = 123;
    TAnimate player(FileOf(ChainModelText()), 24.0, false, false, Textures.Function(), Clock);
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(player.AnimModel->CurrentFrame, 1.0f);

    Clock.Counter += 250'000;
    player.AdvanceByTimer();
    EXPECT_FLOAT_EQ(player.AnimModel->CurrentFrame, 7.0f);
    Clock.Counter += 500'000;
    player.AdvanceByTimer();
    EXPECT_FLOAT_EQ(player.Delta, 0.5f);
    EXPECT_FLOAT_EQ(player.LastTime, 0.75f);
    EXPECT_FLOAT_EQ(player.AnimModel->CurrentFrame, 19.0f);
    // Twelve more would pass frame 30: the model starts again at frame 1.
    Clock.Counter += 500'000;
    player.AdvanceByTimer();
    EXPECT_EQ(player.AnimModel->CurrentFrame, 1.0f);
}

TEST_F(Player, SharedByFortyFishAdvancesByTheWholeFrameTime) {
    Clock.Frequency = 2400 * 40;
    TAnimate player(FileOf(ChainModelText()), 24.0, false, false, Textures.Function(), Clock);
    for (int frame = 0; frame < 3; ++frame) {
        const float before = player.AnimModel->CurrentFrame;
        for (int fish = 0; fish < 40; ++fish) {
            Clock.Counter += 40; // 1/60 second over 40 fish
            player.AdvanceByTimer();
        }
        EXPECT_NEAR(player.AnimModel->CurrentFrame - before, 0.4f, 1e-4f);
    }
}

TEST_F(Player, ShowsTheMessageForAMissingParentAndStaysUsable) {
    std::string text = ChainModelText();
    text.replace(text.find("\"child\"\r\n\"root\""), 15, "\"child\"\r\n\"nobody\"");
    TAnimate player(FileOf(text), 24.0, false, false, Textures.Function(), Clock);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].first, "Couldn't load the model");
    EXPECT_EQ(Messages.Messages[0].second, "Tavren");
    EXPECT_EQ(player.AnimModel->CurrentFrame, 0.0f);
    Clock.Counter += 100'000;
    player.AdvanceByTimer();
    EXPECT_FLOAT_EQ(player.AnimModel->CurrentFrame, 2.4f);
}

TEST_F(Player, LeavesTheLoadersErrorsToItsCaller) {
    EXPECT_THROW(TAnimate("/no/such/model.txt", 24.0, false, false, Textures.Function(), Clock),
                 ModelInputError);
    EXPECT_TRUE(Messages.Messages.empty());
}

} // namespace
} // namespace tavren
