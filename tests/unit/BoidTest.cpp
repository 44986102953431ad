#include "Boids/Boid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace tavren {
namespace {

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Infinity = std::numeric_limits<double>::infinity();

struct FishSetup {
    double Heading = 0;
    double Speed = 0.5;
    double X = 500;
    double Y = 500;
    double MaxSpeed = 0.8;
    double MinSpeed = 0.5;
    double TurnStep = 0.01;
    double AccelStep = 0.05;
    double ViewRadius = 60;
    double CollisionRadius = 50;
    double AttackRatio = 1;
    double FleeRatio = 1;
    float R = 0.99f;
    float G = 0.99f;
    float B = 0.99f;
};

std::unique_ptr<TBoid> MakeFish(const FishSetup& setup) {
    const TBoidGene gene(new TColor(setup.R, setup.G, setup.B), setup.Heading, setup.Speed, setup.X,
                         setup.Y, setup.MaxSpeed, setup.MinSpeed, setup.TurnStep, setup.AccelStep,
                         setup.ViewRadius, setup.CollisionRadius, setup.AttackRatio,
                         setup.FleeRatio, nullptr, 0);
    return std::make_unique<TBoid>(gene);
}

// A school of the given fish in a 1000 x 1000 area, drawing the given random values.
struct School {
    explicit School(const std::vector<FishSetup>& setups, std::vector<double> random = {})
        : Flock(1, 1000, 1000, std::make_unique<SequenceRandom>(std::move(random))) {
        for (const FishSetup& setup : setups) {
            Flock.AppendBoid(MakeFish(setup));
        }
    }
    TBoid& operator[](size_t index) { return *Flock.Fish()[index]; }
    TFlock Flock;
};

FishSetup Other(FishSetup setup) {
    setup.B = 0.98f;
    return setup;
}

FishSetup At(double x, double y, double heading = 0, double speed = 0.5) {
    FishSetup setup;
    setup.X = x;
    setup.Y = y;
    setup.Heading = heading;
    setup.Speed = speed;
    return setup;
}

void ExpectSameDouble(double actual, double expected) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << actual;
    } else {
        EXPECT_DOUBLE_EQ(actual, expected);
    }
}

// --- Setters ---

struct SetterCase {
    std::string Name;
    void (TBoid::*Set)(double);
    double (TBoid::*Get)() const;
    double Value;
    double Expected;
};

void PrintTo(const SetterCase& c, std::ostream* out) {
    *out << c.Name;
}

class SetterTest : public testing::TestWithParam<SetterCase> {};

TEST_P(SetterTest, NormalisesWhatItStores) {
    const SetterCase& c = GetParam();
    auto fish = MakeFish({});
    ((*fish).*c.Set)(c.Value);
    ExpectSameDouble(((*fish).*c.Get)(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SetterTest,
    testing::Values(
        SetterCase{"HeadingAboveOneTurn", &TBoid::SetHeading, &TBoid::GetHeading, 7, 7 - TwoPi},
        SetterCase{"HeadingNegative", &TBoid::SetHeading, &TBoid::GetHeading, -1, TwoPi - 1},
        SetterCase{"HeadingCorrectedOnceOnly", &TBoid::SetHeading, &TBoid::GetHeading, 13,
                   13 - TwoPi},
        SetterCase{"HeadingFullTurnKept", &TBoid::SetHeading, &TBoid::GetHeading, TwoPi, TwoPi},
        SetterCase{"HeadingNaNKept", &TBoid::SetHeading, &TBoid::GetHeading, NaN, NaN},
        SetterCase{"SpeedMagnitude", &TBoid::SetSpeed, &TBoid::GetSpeed, -0.6, 0.6},
        SetterCase{"SpeedClampedToMax", &TBoid::SetSpeed, &TBoid::GetSpeed, 3, 0.8},
        SetterCase{"SpeedClampedToMin", &TBoid::SetSpeed, &TBoid::GetSpeed, 0.1, 0.5},
        SetterCase{"SpeedInfinityToMax", &TBoid::SetSpeed, &TBoid::GetSpeed, -Infinity, 0.8},
        SetterCase{"TurnStepAboveOneTurn", &TBoid::SetTurnStep, &TBoid::GetTurnStep, 7, 7 - TwoPi},
        SetterCase{"TurnStepNegative", &TBoid::SetTurnStep, &TBoid::GetTurnStep, -1, TwoPi - 1},
        SetterCase{"TurnStepManyTurns", &TBoid::SetTurnStep, &TBoid::GetTurnStep, 20,
                   20 - 3 * TwoPi},
        SetterCase{"TurnStepManyTurnsBelowZero", &TBoid::SetTurnStep, &TBoid::GetTurnStep, -20,
                   4 * TwoPi - 20},
        SetterCase{"TurnStepInfinityStopsTurning", &TBoid::SetTurnStep, &TBoid::GetTurnStep,
                   Infinity, 0},
        SetterCase{"TurnStepMinusInfinityStopsTurning", &TBoid::SetTurnStep, &TBoid::GetTurnStep,
                   -Infinity, 0},
        SetterCase{"TurnStepNaNKept", &TBoid::SetTurnStep, &TBoid::GetTurnStep, NaN, NaN},
        SetterCase{"MaxSpeedMagnitude", &TBoid::SetMaxSpeed, &TBoid::GetMaxSpeed, -2, 2},
        SetterCase{"ViewRadiusMagnitude", &TBoid::SetViewRadius, &TBoid::GetViewRadius, -60, 60},
        SetterCase{"FleeRatioMagnitude", &TBoid::SetFleeRatio, &TBoid::GetFleeRatio, -3, 3}),
    [](const testing::TestParamInfo<SetterCase>& info) { return info.param.Name; });

TEST(SetterTest, HugeTurnStepEndsInOneTurn) {
    auto fish = MakeFish({});
    for (const double huge : {1e300, -1e300, 1e17, std::numeric_limits<double>::max()}) {
        fish->SetTurnStep(huge);
        EXPECT_GE(fish->GetTurnStep(), 0) << huge;
        EXPECT_LE(fish->GetTurnStep(), TwoPi) << huge;
    }
}

TEST(ConstructorTest, SetsTheLimitsBeforeTheSpeed) {
    FishSetup setup;
    setup.Speed = 0;
    EXPECT_DOUBLE_EQ(MakeFish(setup)->GetSpeed(), 0.5);
    setup.Speed = 5;
    setup.MaxSpeed = -0.8; // a magnitude, and already in place when the speed is set
    EXPECT_DOUBLE_EQ(MakeFish(setup)->GetSpeed(), 0.8);
    setup.MinSpeed = 2; // above the maximum: the minimum wins
    EXPECT_DOUBLE_EQ(MakeFish(setup)->GetSpeed(), 2);
    setup.TurnStep = 7;
    EXPECT_DOUBLE_EQ(MakeFish(setup)->GetTurnStep(), 7 - TwoPi);
    const auto fish = MakeFish(setup);
    EXPECT_EQ(fish->GetNearestKin(), nullptr);
    EXPECT_EQ(fish->GetKinCount(), 0);
}

// --- Actions ---

TEST(ActionTest, SpeedAndTurnSteps) {
    FishSetup setup;
    setup.Heading = 0.005;
    auto fish = MakeFish(setup);
    fish->TurnRight();
    EXPECT_DOUBLE_EQ(fish->GetHeading(), TwoPi - 0.005);
    fish->TurnLeft();
    EXPECT_NEAR(fish->GetHeading(), 0.005, 1e-12);

    fish->SlowDown();
    EXPECT_DOUBLE_EQ(fish->GetSpeed(), 0.5);
    fish->SpeedUp();
    EXPECT_DOUBLE_EQ(fish->GetSpeed(), 0.55);

    setup.MinSpeed = 0;
    setup.Speed = 0.03;
    auto slow = MakeFish(setup);
    slow->SlowDown();
    EXPECT_DOUBLE_EQ(slow->GetSpeed(), 0.02); // the magnitude of -0.02
}

struct BearingCase {
    double X, Y, Expected;
};

TEST(BearingTest, MeasuredLikeTheHeading) {
    const auto fish = MakeFish(At(10, 10));
    for (const BearingCase& c : std::vector<BearingCase>{{20, 10, 0},
                                                         {10, 20, Pi / 2},
                                                         {0, 10, Pi},
                                                         {10, 0, 3 * Pi / 2},
                                                         {20, 0, 7 * Pi / 4},
                                                         {10, 10, NaN}}) {
        SCOPED_TRACE(testing::Message() << c.X << ", " << c.Y);
        ExpectSameDouble(fish->BearingTo(c.X, c.Y), c.Expected);
    }
}

struct TurnCase {
    double Heading;
    double TargetX, TargetY; // from a fish at (0, 0)
    double TowardHeading;    // the heading after TurnToward; TurnAwayFrom turns the other way
};

void PrintTo(const TurnCase& c, std::ostream* out) {
    *out << "heading " << c.Heading << " to (" << c.TargetX << ", " << c.TargetY << ")";
}

class TurnTest : public testing::TestWithParam<TurnCase> {};

TEST_P(TurnTest, OneStepAlongTheTable) {
    const TurnCase& c = GetParam();
    auto toward = MakeFish(At(0, 0, c.Heading));
    toward->TurnToward(c.TargetX, c.TargetY);
    EXPECT_NEAR(toward->GetHeading(), c.TowardHeading, 1e-12);

    auto away = MakeFish(At(0, 0, c.Heading));
    away->TurnAwayFrom(c.TargetX, c.TargetY);
    const double turn = c.TowardHeading - c.Heading;
    double expectedAway = c.Heading - turn;
    if (c.TowardHeading == c.Heading) {
        expectedAway = c.Heading;
    }
    EXPECT_NEAR(away->GetHeading(), expectedAway, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, TurnTest,
                         testing::Values(
                             // d = pi/2 - 0.1 > 0, under half a turn: left.
                             TurnCase{0.1, 0, 1, 0.11},
                             // d = 0: pointing at the target turns right.
                             TurnCase{Pi / 2, 0, 1, Pi / 2 - 0.01},
                             // d = pi/2 - 3 < 0: right.
                             TurnCase{3, 0, 1, 2.99},
                             // d = 3pi/2 - 0.5 >= pi: right, the short way round.
                             TurnCase{0.5, 0, -1, 0.49},
                             // d = pi/4 - 5.5 <= -pi: left, across zero.
                             TurnCase{5.5, 1, 1, 5.51},
                             // On the target itself: no turn either way.
                             TurnCase{1, 0, 0, 1}));

// --- Kinds, ranges and the scan ---

TEST(KindTest, EqualColoursAreKin) {
    const auto a = MakeFish({});
    const auto b = MakeFish({});
    const auto c = MakeFish(Other({}));
    EXPECT_TRUE(a->SameKind(*b));
    EXPECT_NE(&a->GetColor(), &b->GetColor());
    EXPECT_FALSE(a->SameKind(*c));
}

TEST(ScanTest, DistancesAreStrict) {
    // A kin at exactly the collision radius is not the nearest, but it is in view; one at
    // exactly the view radius is not in view; one just inside it is.
    School school({At(100, 100), At(150, 100), At(100, 160), At(100, 40.0001)});
    school[0].Scan(school.Flock);
    EXPECT_EQ(school[0].GetNearestKin(), nullptr);
    EXPECT_EQ(school[0].GetKinCount(), 2);
    EXPECT_DOUBLE_EQ(school[0].GetKinX(), 125);
    EXPECT_DOUBLE_EQ(school[0].GetKinY(), 70.00005);
    EXPECT_FALSE(school[0].InRange(school[1], 50));
    EXPECT_TRUE(school[0].InRange(school[1], 50.0001));
}

TEST(ScanTest, FirstInListOrderStaysNearestAndSelfIsSkipped) {
    School school(
        {At(100, 130), At(100, 100), At(100, 70), Other(At(120, 100)), Other(At(80, 100))});
    school[1].Scan(school.Flock);
    EXPECT_EQ(school[1].GetNearestKin(), &school[0]);
    EXPECT_EQ(school[1].GetNearestOther(), &school[3]);
    EXPECT_EQ(school[1].GetKinCount(), 2);
    EXPECT_EQ(school[1].GetOtherCount(), 2);
    EXPECT_DOUBLE_EQ(school[1].GetKinY(), 100);
    EXPECT_DOUBLE_EQ(school[1].GetOtherX(), 100);
}

TEST(ScanTest, NobodyInViewGivesTheFishsOwnValues) {
    // Close across the wrapped edge, but distances are not taken across it.
    School school({At(2, 500, 0, 0.6), At(998, 500)});
    school[0].Scan(school.Flock);
    EXPECT_EQ(school[0].GetKinCount(), 0);
    EXPECT_EQ(school[0].GetNearestKin(), nullptr);
    EXPECT_DOUBLE_EQ(school[0].GetKinX(), 2);
    EXPECT_DOUBLE_EQ(school[0].GetKinSpeed(), 0.6);
    EXPECT_DOUBLE_EQ(school[0].GetOtherX(), 2);
}

// --- Separation ---

struct AvoidCase {
    std::string Name;
    bool OtherKind;
    double NeighbourX, NeighbourY, NeighbourHeading;
    double NeighbourCollisionRadius;
    double ExpectedSpeed;
    double ExpectedNeighbourSpeed;
};

void PrintTo(const AvoidCase& c, std::ostream* out) {
    *out << c.Name;
}

class AvoidTest : public testing::TestWithParam<AvoidCase> {};

// The fish sits at (500, 500) heading 0 at speed 0.6 in [0.3, 0.9], steps of 0.05; the
// neighbour starts at speed 0.6 too.
TEST_P(AvoidTest, SpeedTable) {
    const AvoidCase& c = GetParam();
    FishSetup fish = At(500, 500, 0, 0.6);
    fish.MinSpeed = 0.3;
    fish.MaxSpeed = 0.9;
    fish.ViewRadius = 60;
    fish.CollisionRadius = 50;
    fish.AttackRatio = 0.5; // with only the neighbour in view, an other-kind one is chased
    FishSetup neighbour = fish;
    neighbour.X = c.NeighbourX;
    neighbour.Y = c.NeighbourY;
    neighbour.Heading = c.NeighbourHeading;
    neighbour.CollisionRadius = c.NeighbourCollisionRadius;
    if (c.OtherKind) {
        neighbour = Other(neighbour);
    }
    School school({fish, neighbour});
    school[0].Scan(school.Flock);
    school[0].Steer(school.Flock.Random());
    EXPECT_NEAR(school[0].GetSpeed(), c.ExpectedSpeed, 1e-12);
    EXPECT_NEAR(school[1].GetSpeed(), c.ExpectedNeighbourSpeed, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AvoidTest,
    testing::Values(
        // Kin ahead swimming the same way, farther than its own personal space: two slow-downs.
        AvoidCase{"KinAheadSameWayFar", false, 520, 501, 0.2, 10, 0.5, 0.6},
        AvoidCase{"KinAheadSameWayClose", false, 520, 501, 0.2, 50, 0.55, 0.6},
        AvoidCase{"KinBehindSameWay", false, 480, 501, 0.2, 50, 0.65, 0.6},
        AvoidCase{"KinAheadOtherWay", false, 520, 501, Pi, 50, 0.55, 0.6},
        AvoidCase{"KinBehindOtherWay", false, 480, 501, Pi, 50, 0.6, 0.6},
        // Kin exactly on the fish, same way: no turn, not ahead, speeds up.
        AvoidCase{"KinOnTheFish", false, 500, 500, 0.2, 50, 0.65, 0.6},
        // The other kind ahead, same way, far: it speeds up, the fish slows twice; then the
        // chase matches the neighbour's old mean speed (0.6 > 0.5): one speed-up.
        AvoidCase{"OtherAheadSameWayFar", true, 520, 501, 0.2, 10, 0.55, 0.65},
        AvoidCase{"OtherAheadSameWayClose", true, 520, 501, 0.2, 50, 0.6, 0.6},
        AvoidCase{"OtherBehindSameWay", true, 480, 501, 0.2, 50, 0.6, 0.6}),
    [](const testing::TestParamInfo<AvoidCase>& info) { return info.param.Name; });

TEST(AvoidTest, KinOnTheFishKeepsTheHeading) {
    School school({At(500, 500, 1, 0.6), At(500, 500, 1.2, 0.6)});
    school[0].Scan(school.Flock);
    school[0].Steer(school.Flock.Random());
    EXPECT_DOUBLE_EQ(school[0].GetHeading(), 1);
    EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.65);
}

// --- Kind ratio ---

TEST(SteerTest, KindRatioDecides) {
    // r = 1/1 with both ratios 1: nothing at all happens.
    {
        School school({At(500, 500, 1, 0.6), Other(At(500, 540, 2, 0.6))});
        school[0].Scan(school.Flock);
        school[0].Steer(school.Flock.Random());
        EXPECT_DOUBLE_EQ(school[0].GetHeading(), 1);
        EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.6);
    }
    // r = 1/2: flees, turning away from the others' mean and speeding up.
    {
        School school({At(500, 500, 0, 0.6), Other(At(520, 520)), Other(At(520, 530))});
        school[0].Scan(school.Flock);
        school[0].Steer(school.Flock.Random());
        EXPECT_DOUBLE_EQ(school[0].GetHeading(), TwoPi - 0.01);
        EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.65);
    }
    // r = 4: avoids the nearest other, then the nearest kin, then chases.
    {
        School school({At(500, 500, 0, 0.6), At(490, 530), At(470, 500), At(500, 445),
                       Other(At(540, 500, Pi, 0.6))});
        school[0].Scan(school.Flock);
        ASSERT_EQ(school[0].GetKinCount(), 3);
        ASSERT_EQ(school[0].GetOtherCount(), 1);
        school[0].Steer(school.Flock.Random());
        // Away from the other dead ahead (d = 0: left, to 0.01); it swims the other way and
        // is ahead: slow down to 0.55. Away from the nearest kin, (470, 500) behind (right,
        // back to 0); same way, not ahead: speed up to 0.6. Chase toward (540, 500), d = 0:
        // right; speeds equal: no change.
        EXPECT_NEAR(school[0].GetHeading(), TwoPi - 0.01, 1e-12);
        EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.6);
    }
}

TEST(SteerTest, CohesionWithoutCloseKin) {
    // Kin in view but outside personal space: turn toward their centre and match speed.
    School school({At(500, 500, 0, 0.6), At(555, 510, 0, 0.7)});
    school[0].Scan(school.Flock);
    school[0].Steer(school.Flock.Random());
    EXPECT_DOUBLE_EQ(school[0].GetHeading(), 0.01);
    EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.65);
}

TEST(SteerTest, AloneItWandersWithTheRandomValues) {
    School school({At(500, 500, 1, 0.7)}, {0.2, 0.5, 0.49999});
    for (const double expectedHeading : {1.01, 1.0, 1.01}) {
        school.Flock.Update();
        EXPECT_NEAR(school[0].GetHeading(), expectedHeading, 1e-12);
    }
    EXPECT_DOUBLE_EQ(school[0].GetSpeed(), 0.55);
    EXPECT_THROW(school.Flock.Update(), RandomValuesExhausted);
}

// --- The school ---

struct WrapCase {
    double X, Y, ExpectedX, ExpectedY;
};

TEST(FlockTest, WrapsOnceAtEachStrictEdge) {
    TFlock flock(1, 800, 1000, std::make_unique<SequenceRandom>(std::vector<double>{}));
    for (const WrapCase& c : std::vector<WrapCase>{{1000.5, 400, 0.5, 400},
                                                   {-0.25, 400, 999.75, 400},
                                                   {1000, 800, 1000, 800},
                                                   {0, -1, 0, 799},
                                                   {500, 801, 500, 1}}) {
        auto fish = MakeFish(At(c.X, c.Y));
        flock.Wrap(*fish);
        EXPECT_DOUBLE_EQ(fish->GetX(), c.ExpectedX);
        EXPECT_DOUBLE_EQ(fish->GetY(), c.ExpectedY);
    }
}

TEST(FlockTest, CompassBearing) {
    struct Case {
        double Heading;
        float Expected;
    };
    for (const Case& c : std::vector<Case>{
             {0, 90}, {Pi / 2, 0}, {Pi, 270}, {3 * Pi / 2, 180}, {Pi / 4, 45}, {7 * Pi / 4, 135}}) {
        const T2DCoord from(5, 5);
        const T2DCoord to(static_cast<float>((500 + 20 * std::cos(c.Heading)) / 100),
                          static_cast<float>((500 + 20 * std::sin(c.Heading)) / 100));
        const float bearing = TFlock::CompassBearing(from, to);
        // Heading pi/2 may come out as 0 or its equal, 360.
        EXPECT_NEAR(std::fmod(bearing, 360.0f), c.Expected, 1e-3) << c.Heading;
    }
}

TEST(FlockTest, AddBoidDrawsHeadingXAndYInOrder) {
    TFlock flock(-1, -800, 1000,
                 std::make_unique<SequenceRandom>(std::vector<double>{0.25, 0.5, 0.75, 0, 0, 0}));
    EXPECT_EQ(flock.GetModelCount(), 1);
    EXPECT_DOUBLE_EQ(flock.GetAreaHeight(), 800);
    flock.AddBoid(0, 0.8, 0.5, 0.01, 0.05, -60, 50, 1, 1, 0.99f, 0.99f, 0.99f);
    flock.AddBoid(0, 0.8, 0.5, 0.01, 0.05, 60, 50, 1, 1, 0.99f, 0.99f, 0.99f);
    const TBoid& first = *flock.Fish()[0];
    EXPECT_DOUBLE_EQ(first.GetHeading(), Pi / 2);
    EXPECT_DOUBLE_EQ(first.GetX(), 500);
    EXPECT_DOUBLE_EQ(first.GetY(), 600);
    EXPECT_DOUBLE_EQ(first.GetSpeed(), 0.5);
    EXPECT_DOUBLE_EQ(first.GetViewRadius(), 60);
    EXPECT_NE(&first.GetColor(), &flock.Fish()[1]->GetColor());
    EXPECT_TRUE(first.SameKind(*flock.Fish()[1]));
}

TEST(FlockTest, StepsInPlaceInListOrder) {
    // The first fish, alone in its scan, wanders (one random value) and moves half a unit
    // toward the second; the second then sees it in view (59.8 < 60), though before that
    // move it was 60.3 away, and follows it without drawing.
    School school({At(100, 500, 0, 0.5), At(160.3, 500, Pi, 0.5)}, {0.9});
    school.Flock.Update();
    EXPECT_DOUBLE_EQ(school[0].GetHeading(), TwoPi - 0.01);
    EXPECT_DOUBLE_EQ(school[0].GetX(), 100 + 0.5 * std::cos(TwoPi - 0.01));
    EXPECT_EQ(school[1].GetKinCount(), 1);
    EXPECT_DOUBLE_EQ(school[1].GetKinX(), school[0].GetX());
}

TEST(FlockTest, EmptySchoolUpdatesNothing) {
    TFlock flock(1, 1000, 1000, std::make_unique<SequenceRandom>(std::vector<double>{}));
    flock.Update();
    EXPECT_TRUE(flock.Fish().empty());
}

TEST(FlockTest, FreesTheFishThenThePlayersFromTheLastSlot) {
    std::vector<std::string> freed;
    struct RecordingPlayer : SchoolModelPlayer {
        RecordingPlayer(std::vector<std::string>& log, std::string name, const TFlock& school)
            : Log(log), Name(std::move(name)), School(school) {}
        ~RecordingPlayer() override {
            Log.push_back(Name + " with " + std::to_string(School.Fish().size()) + " fish");
        }
        void Render() override {}
        std::vector<std::string>& Log;
        std::string Name;
        const TFlock& School;
    };
    {
        TFlock flock(3, 1000, 1000, std::make_unique<SequenceRandom>(std::vector<double>{0, 0, 0}));
        flock.AddBoid(0, 0.8, 0.5, 0.01, 0.05, 60, 50, 1, 1, 1, 1, 1);
        flock.Players()[0] = std::make_unique<RecordingPlayer>(freed, "slot 0", flock);
        flock.Players()[2] = std::make_unique<RecordingPlayer>(freed, "slot 2", flock);
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"slot 2 with 0 fish", "slot 0 with 0 fish"}));
}

TEST(FlockTest, InfiniteAndNaNParametersNeverHang) {
    FishSetup wild = At(500, 500, 1, 0.6);
    wild.TurnStep = Infinity;
    FishSetup lost = At(510, 500, NaN, 0.6);
    lost.MaxSpeed = Infinity;
    FishSetup huge = At(520, 500, 0, 0.6);
    huge.TurnStep = 1e300;
    School school({wild, lost, huge}, std::vector<double>(64, 0.3));
    for (int step = 0; step < 20; ++step) {
        school.Flock.Update();
    }
    EXPECT_DOUBLE_EQ(school[0].GetTurnStep(), 0);
    EXPECT_TRUE(std::isfinite(school[0].GetX()));
}

} // namespace
} // namespace tavren
