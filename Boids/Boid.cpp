#include "Boid.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tavren {

namespace {

constexpr double Pi = std::numbers::pi;

// Beyond this many turns the step-by-step reduction of a turn step would take too long (or,
// past 2^53, would never change the value), so the remainder is taken in one exact step.
constexpr double LongestTurnReduction = TwoPi * 1024;

} // namespace

MersenneRandom::MersenneRandom()
    : Engine(static_cast<uint64_t>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

double MersenneRandom::Next() {
    // The top 53 bits as a fraction: uniform on [0, 1), never 1.
    return static_cast<double>(Engine() >> 11) * 0x1p-53;
}

double SequenceRandom::Next() {
    if (NextIndex >= Values.size()) {
        throw RandomValuesExhausted();
    }
    return Values[NextIndex++];
}

TBoidGene::TBoidGene(TColor* color, double heading, double speed, double x, double y,
                     double maxSpeed, double minSpeed, double turnStep, double accelStep,
                     double viewRadius, double collisionRadius, double attackRatio,
                     double fleeRatio, TFlock* school, int32_t modelIndex)
    : HeadingValue(heading), SpeedValue(speed), XValue(x), YValue(y), MaxSpeedValue(maxSpeed),
      MinSpeedValue(minSpeed), TurnStepValue(turnStep), AccelStepValue(accelStep),
      ViewRadiusValue(viewRadius), CollisionRadiusValue(collisionRadius),
      AttackRatioValue(attackRatio), FleeRatioValue(fleeRatio), ColorValue(color),
      SchoolValue(school), ModelIndexValue(modelIndex) {}

TBoid::TBoid(const TBoidGene& gene) {
    // The limits come before the speed, so that the start speed is clamped by them.
    SetMaxSpeed(gene.MaxSpeed());
    SetMinSpeed(gene.MinSpeed());
    SetHeading(gene.Heading());
    SetSpeed(gene.Speed());
    SetX(gene.X());
    SetY(gene.Y());
    Color.reset(gene.Color());
    SetTurnStep(gene.TurnStep());
    SetAccelStep(gene.AccelStep());
    SetViewRadius(gene.ViewRadius());
    SetAttackRatio(gene.AttackRatio());
    SetFleeRatio(gene.FleeRatio());
    SetCollisionRadius(gene.CollisionRadius());
    NearestKin = nullptr;
    NearestOther = nullptr;
    ModelIndex = gene.ModelIndex();
}

void TBoid::SetHeading(double value) {
    if (value > TwoPi) {
        value -= TwoPi;
    } else if (value < 0) {
        value += TwoPi;
    }
    Heading = value;
}

void TBoid::SetSpeed(double value) {
    double speed = Magnitude(value);
    if (speed > MaxSpeed) {
        speed = MaxSpeed;
    }
    if (speed < MinSpeed) {
        speed = MinSpeed;
    }
    Speed = speed;
}

void TBoid::SetTurnStep(double value) {
    // An infinite step has no angle; the fish keeps a step of 0 and does not turn. NaN
    // passes through the loops below unchanged.
    if (std::isinf(value)) {
        value = 0;
    }
    if (std::fabs(value) > LongestTurnReduction) {
        value = std::fmod(value, TwoPi);
    }
    while (value > TwoPi) {
        value -= TwoPi;
    }
    while (value < 0) {
        value += TwoPi;
    }
    TurnStep = value;
}

void TBoid::SpeedUp() {
    SetSpeed(Speed + AccelStep);
}

void TBoid::SlowDown() {
    SetSpeed(Speed - AccelStep);
}

void TBoid::TurnLeft() {
    SetHeading(Heading + TurnStep);
}

void TBoid::TurnRight() {
    SetHeading(Heading - TurnStep);
}

double TBoid::BearingTo(double px, double py) const {
    const double dx = px - X;
    const double dy = py - Y;
    double angle = std::acos(dx / std::sqrt(dx * dx + dy * dy));
    if (dy < 0) {
        angle = TwoPi - angle;
    }
    return angle;
}

bool TBoid::ShorterWayIsLeft(double px, double py) const {
    // d = 0 counts as right, so a fish on course swings about it.
    const double d = BearingTo(px, py) - Heading;
    return (std::fabs(d) < Pi) == (d > 0);
}

void TBoid::TurnToward(double px, double py) {
    if (X == px && Y == py) {
        return;
    }
    ShorterWayIsLeft(px, py) ? TurnLeft() : TurnRight();
}

void TBoid::TurnAwayFrom(double px, double py) {
    if (X == px && Y == py) {
        return;
    }
    ShorterWayIsLeft(px, py) ? TurnRight() : TurnLeft();
}

bool TBoid::SameKind(const TBoid& other) const {
    return Color->R == other.Color->R && Color->G == other.Color->G && Color->B == other.Color->B;
}

double TBoid::DistanceTo(const TBoid& other) const {
    const double dx = other.X - X;
    const double dy = other.Y - Y;
    return std::sqrt(dx * dx + dy * dy);
}

bool TBoid::InRange(const TBoid& other, double radius) const {
    return DistanceTo(other) < radius;
}

void TBoid::Scan(const TFlock& school) {
    NearestKin = nullptr;
    NearestOther = nullptr;
    double bestKin = CollisionRadius;
    double bestOther = ViewRadius;
    double kinCount = 0, kinX = 0, kinY = 0, kinSpeed = 0;
    double otherCount = 0, otherX = 0, otherY = 0, otherSpeed = 0;

    for (const std::unique_ptr<TBoid>& entry : school.Fish()) {
        TBoid& fish = *entry;
        if (&fish == this) {
            continue;
        }
        const double d = DistanceTo(fish);
        if (SameKind(fish)) {
            if (d < bestKin) {
                NearestKin = &fish;
                bestKin = d;
            }
            if (d < ViewRadius) {
                kinCount += 1;
                kinX += fish.X;
                kinY += fish.Y;
                kinSpeed += fish.Speed;
            }
        } else {
            if (d < bestOther) {
                NearestOther = &fish;
                bestOther = d;
            }
            if (d < ViewRadius) {
                otherCount += 1;
                otherX += fish.X;
                otherY += fish.Y;
                otherSpeed += fish.Speed;
            }
        }
    }

    KinCount = kinCount;
    if (kinCount == 0) {
        KinSpeed = Speed;
        KinX = X;
        KinY = Y;
    } else {
        KinSpeed = kinSpeed / kinCount;
        KinX = kinX / kinCount;
        KinY = kinY / kinCount;
    }
    OtherCount = otherCount;
    if (otherCount == 0) {
        OtherSpeed = Speed;
        OtherX = X;
        OtherY = Y;
    } else {
        OtherSpeed = otherSpeed / otherCount;
        OtherX = otherX / otherCount;
        OtherY = otherY / otherCount;
    }
}

void TBoid::Steer(UniformRandom& random) {
    if (OtherCount != 0) {
        // The fish counts itself with its kin.
        const double ratio = (KinCount + 1) / OtherCount;
        if (ratio > AttackRatio) {
            Avoid();
            Chase();
        } else if (ratio < FleeRatio) {
            Flee();
        }
    } else if (NearestKin != nullptr) {
        Avoid();
    } else {
        FollowKin(random);
    }
}

void TBoid::AvoidPass(TBoid& neighbour, Neighbour kind) {
    TurnAwayFrom(neighbour.X, neighbour.Y);
    // On the neighbour's very position the bearing is NaN and the neighbour is not ahead.
    const double bearing = BearingTo(neighbour.X, neighbour.Y);
    const double heading = Heading;
    const bool sameWay = std::cos(neighbour.Heading - heading) > 0;
    const bool ahead = std::cos(bearing - heading) > 0;

    if (sameWay && ahead) {
        if (DistanceTo(neighbour) > neighbour.CollisionRadius) {
            if (kind == Neighbour::Other) {
                neighbour.SpeedUp();
                SlowDown();
                TurnAwayFrom(neighbour.X, neighbour.Y);
                SlowDown();
            } else {
                SlowDown();
                SlowDown();
            }
        } else {
            SlowDown();
        }
    } else if (sameWay) {
        SpeedUp();
    } else if (ahead) {
        SlowDown();
    }
}

void TBoid::Avoid() {
    if (NearestOther != nullptr) {
        AvoidPass(*NearestOther, Neighbour::Other);
    }
    if (NearestKin != nullptr) {
        AvoidPass(*NearestKin, Neighbour::Kin);
    }
}

void TBoid::MatchSpeed(double speed) {
    if (Speed < speed) {
        SpeedUp();
    } else if (Speed > speed) {
        SlowDown();
    }
}

void TBoid::FollowKin(UniformRandom& random) {
    if (KinCount > 0) {
        TurnToward(KinX, KinY);
        MatchSpeed(KinSpeed);
        return;
    }
    SlowDown();
    if (random.Next() < 0.5) {
        TurnLeft();
    } else {
        TurnRight();
    }
}

void TBoid::Chase() {
    TurnToward(OtherX, OtherY);
    MatchSpeed(OtherSpeed);
}

void TBoid::Flee() {
    TurnAwayFrom(OtherX, OtherY);
    SpeedUp();
}

void TBoid::Move() {
    X = X + std::cos(Heading) * Speed;
    Y = Y + std::sin(Heading) * Speed;
}

TFlock::TFlock(int32_t modelCount, double areaHeight, double areaWidth,
               std::unique_ptr<UniformRandom> random)
    : ModelCount(static_cast<int32_t>(
          std::min<int64_t>(std::llabs(modelCount), std::numeric_limits<int32_t>::max()))),
      AreaHeight(std::fabs(areaHeight)), AreaWidth(std::fabs(areaWidth)),
      PlayerSlots(static_cast<size_t>(ModelCount)), RandomSource(std::move(random)) {}

TFlock::~TFlock() {
    // The fish first, then the players from the last slot down.
    FishList.clear();
    while (!PlayerSlots.empty()) {
        PlayerSlots.pop_back();
    }
}

void TFlock::AddBoid(int32_t modelIndex, double maxSpeed, double minSpeed, double turnStep,
                     double accelStep, double viewRadius, double collisionRadius,
                     double attackRatio, double fleeRatio, float r, float g, float b) {
    auto color = std::make_unique<TColor>(r, g, b);
    const double heading = TwoPi * RandomSource->Next();
    const double x = AreaWidth * RandomSource->Next();
    const double y = AreaHeight * RandomSource->Next();
    const TBoidGene gene(color.get(), heading, 0, x, y, maxSpeed, minSpeed, turnStep, accelStep,
                         viewRadius, collisionRadius, attackRatio, fleeRatio, this, modelIndex);
    auto fish = std::make_unique<TBoid>(gene);
    color.release();
    FishList.push_back(std::move(fish));
}

void TFlock::AppendBoid(std::unique_ptr<TBoid> fish) {
    FishList.push_back(std::move(fish));
}

void TFlock::Update() {
    for (const std::unique_ptr<TBoid>& fish : FishList) {
        fish->Scan(*this);
        fish->Steer(*RandomSource);
        fish->Move();
        Wrap(*fish);
    }
}

void TFlock::Wrap(TBoid& fish) const {
    if (fish.GetX() > AreaWidth) {
        fish.SetX(fish.GetX() - AreaWidth);
    }
    if (fish.GetX() < 0) {
        fish.SetX(fish.GetX() + AreaWidth);
    }
    if (fish.GetY() > AreaHeight) {
        fish.SetY(fish.GetY() - AreaHeight);
    }
    if (fish.GetY() < 0) {
        fish.SetY(fish.GetY() + AreaHeight);
    }
}

float TFlock::CompassBearing(const T2DCoord& from, const T2DCoord& to) {
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(to.Y) - from.Y;
    double bearing = 90 - std::atan2(dy, dx) * 180 / Pi;
    if (bearing < 0) {
        bearing += 360;
    }
    return static_cast<float>(bearing);
}

} // namespace tavren
