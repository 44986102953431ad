// The school of fish: each fish steers by small discrete turns and speed changes from what it
// sees of the others, and the school steps them one after another, in place, once per frame.
// Nothing here needs a window or GL; the school draws through the players it is given.
#pragma once

#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "TextureName.h"

namespace tavren {

inline constexpr double TwoPi = 2 * std::numbers::pi;

// A colour that is also a fish's kind key: fish of exactly equal colours are kin.
class TColor {
public:
    TColor(float r, float g, float b) : R(r), G(g), B(b) {}
    float R;
    float G;
    float B;
};

class T2DCoord {
public:
    T2DCoord(float x, float y) : X(x), Y(y) {}
    float X;
    float Y;
};

// Uniform values in [0, 1): the fish's random start and the random turns of a fish that
// sees no kin.
class UniformRandom {
public:
    virtual ~UniformRandom() = default;
    virtual double Next() = 0;
};

// A 64-bit Mersenne Twister, seeded from the clock or, for runs that must repeat, by the caller.
class MersenneRandom final : public UniformRandom {
public:
    MersenneRandom();
    explicit MersenneRandom(uint64_t seed) : Engine(seed) {}
    double Next() override;

private:
    std::mt19937_64 Engine;
};

class RandomValuesExhausted : public std::runtime_error {
public:
    RandomValuesExhausted() : std::runtime_error("the random values ran out") {}
};

// Hands out the given values in order; throws RandomValuesExhausted after the last one.
class SequenceRandom final : public UniformRandom {
public:
    explicit SequenceRandom(std::vector<double> values) : Values(std::move(values)) {}
    double Next() override;
    size_t Used() const { return NextIndex; }

private:
    std::vector<double> Values;
    size_t NextIndex = 0;
};

class TFlock;

// One fish's parameters, stored exactly as given; the fish normalises them when it takes
// them over.
class TBoidGene {
public:
    TBoidGene(TColor* color, double heading, double speed, double x, double y, double maxSpeed,
              double minSpeed, double turnStep, double accelStep, double viewRadius,
              double collisionRadius, double attackRatio, double fleeRatio, TFlock* school,
              int32_t modelIndex);

    double Heading() const { return HeadingValue; }
    double Speed() const { return SpeedValue; }
    double X() const { return XValue; }
    double Y() const { return YValue; }
    double MaxSpeed() const { return MaxSpeedValue; }
    double MinSpeed() const { return MinSpeedValue; }
    double TurnStep() const { return TurnStepValue; }
    double AccelStep() const { return AccelStepValue; }
    double ViewRadius() const { return ViewRadiusValue; }
    double CollisionRadius() const { return CollisionRadiusValue; }
    double AttackRatio() const { return AttackRatioValue; }
    double FleeRatio() const { return FleeRatioValue; }
    TColor* Color() const { return ColorValue; }
    TFlock* School() const { return SchoolValue; }
    int32_t ModelIndex() const { return ModelIndexValue; }

private:
    double HeadingValue;
    double SpeedValue;
    double XValue;
    double YValue;
    double MaxSpeedValue;
    double MinSpeedValue;
    double TurnStepValue;
    double AccelStepValue;
    double ViewRadiusValue;
    double CollisionRadiusValue;
    double AttackRatioValue;
    double FleeRatioValue;
    TColor* ColorValue;
    TFlock* SchoolValue;
    int32_t ModelIndexValue;
};

class TBoid {
public:
    // Takes over the gene's colour, which must have been made with new.
    explicit TBoid(const TBoidGene& gene);
    TBoid(const TBoid&) = delete;
    TBoid& operator=(const TBoid&) = delete;

    void Scan(const TFlock& school);
    void Steer(UniformRandom& random);
    void Move();

    void SpeedUp();
    void SlowDown();
    void TurnLeft();
    void TurnRight();
    void TurnToward(double px, double py);
    void TurnAwayFrom(double px, double py);

    double BearingTo(double px, double py) const;
    bool SameKind(const TBoid& other) const;
    bool InRange(const TBoid& other, double radius) const;

    // The setters normalise what they store.
    void SetHeading(double value);
    void SetSpeed(double value);
    void SetTurnStep(double value);
    void SetMaxSpeed(double value) { MaxSpeed = Magnitude(value); }
    void SetMinSpeed(double value) { MinSpeed = Magnitude(value); }
    void SetAccelStep(double value) { AccelStep = Magnitude(value); }
    void SetViewRadius(double value) { ViewRadius = Magnitude(value); }
    void SetCollisionRadius(double value) { CollisionRadius = Magnitude(value); }
    void SetAttackRatio(double value) { AttackRatio = Magnitude(value); }
    void SetFleeRatio(double value) { FleeRatio = Magnitude(value); }
    void SetX(double value) { X = value; }
    void SetY(double value) { Y = value; }

    double GetHeading() const { return Heading; }
    double GetSpeed() const { return Speed; }
    double GetX() const { return X; }
    double GetY() const { return Y; }
    double GetMaxSpeed() const { return MaxSpeed; }
    double GetMinSpeed() const { return MinSpeed; }
    double GetTurnStep() const { return TurnStep; }
    double GetAccelStep() const { return AccelStep; }
    double GetViewRadius() const { return ViewRadius; }
    double GetCollisionRadius() const { return CollisionRadius; }
    double GetAttackRatio() const { return AttackRatio; }
    double GetFleeRatio() const { return FleeRatio; }
    double GetKinSpeed() const { return KinSpeed; }
    double GetKinX() const { return KinX; }
    double GetKinY() const { return KinY; }
    double GetKinCount() const { return KinCount; }
    double GetOtherSpeed() const { return OtherSpeed; }
    double GetOtherX() const { return OtherX; }
    double GetOtherY() const { return OtherY; }
    double GetOtherCount() const { return OtherCount; }
    const TColor& GetColor() const { return *Color; }
    TBoid* GetNearestKin() const { return NearestKin; }
    TBoid* GetNearestOther() const { return NearestOther; }
    int32_t GetModelIndex() const { return ModelIndex; }

private:
    static double Magnitude(double value) { return value < 0 ? -value : value; }
    double DistanceTo(const TBoid& other) const;
    bool ShorterWayIsLeft(double px, double py) const;
    enum class Neighbour { Other, Kin };
    void AvoidPass(TBoid& neighbour, Neighbour kind);
    void Avoid();
    void MatchSpeed(double speed);
    void FollowKin(UniformRandom& random);
    void Chase();
    void Flee();

    double Heading = 0;
    double Speed = 0;
    double X = 0;
    double Y = 0;
    double MaxSpeed = 0;
    double MinSpeed = 0;
    double TurnStep = 0;
    double AccelStep = 0;
    double ViewRadius = 0;
    double CollisionRadius = 0;
    double AttackRatio = 0;
    double FleeRatio = 0;
    double KinSpeed = 0;
    double KinX = 0;
    double KinY = 0;
    double KinCount = 0;
    double OtherSpeed = 0;
    double OtherX = 0;
    double OtherY = 0;
    double OtherCount = 0;
    std::unique_ptr<TColor> Color;
    TBoid* NearestKin = nullptr;
    TBoid* NearestOther = nullptr;
    int32_t ModelIndex = 0;
};

// What draws the fish of one model slot: renders the model in its current pose and moves
// its animation on.
class SchoolModelPlayer {
public:
    virtual ~SchoolModelPlayer() = default;
    virtual void Render() = 0;
};

class ClockSource;

class TFlock {
public:
    // The school with its fish player in slot 0: the model at modelPath played at 24 animation
    // frames per second on clock. The model loader's errors pass to the caller, the school
    // freed. Needs a current GL context (GL library only).
    static std::unique_ptr<TFlock> Create(int32_t modelCount, double areaHeight, double areaWidth,
                                          const std::string& modelPath, bool multitexture,
                                          bool caustics, const TextureLoaderFunction& loadTexture,
                                          ClockSource& clock,
                                          std::unique_ptr<UniformRandom> random);

    // ModelCount player slots, all empty; whoever builds the school fills them.
    TFlock(int32_t modelCount, double areaHeight, double areaWidth,
           std::unique_ptr<UniformRandom> random = std::make_unique<MersenneRandom>());
    ~TFlock();
    TFlock(const TFlock&) = delete;
    TFlock& operator=(const TFlock&) = delete;

    void AddBoid(int32_t modelIndex, double maxSpeed, double minSpeed, double turnStep,
                 double accelStep, double viewRadius, double collisionRadius, double attackRatio,
                 double fleeRatio, float r, float g, float b);
    // Appends a fish made elsewhere (a scenario that fixes every start value).
    void AppendBoid(std::unique_ptr<TBoid> fish);
    void Update();
    // Draws every fish into the current modelview matrix, 100 simulation units to one drawing
    // unit, with its slot's player; needs a current GL context. A fish whose slot is empty is
    // not drawn.
    void Draw();
    void Wrap(TBoid& fish) const;
    static float CompassBearing(const T2DCoord& from, const T2DCoord& to);

    const std::vector<std::unique_ptr<TBoid>>& Fish() const { return FishList; }
    int32_t GetModelCount() const { return ModelCount; }
    double GetAreaWidth() const { return AreaWidth; }
    double GetAreaHeight() const { return AreaHeight; }
    UniformRandom& Random() { return *RandomSource; }

    // The slots hold the players that draw the fish; slot i draws the fish whose ModelIndex is i.
    std::vector<std::unique_ptr<SchoolModelPlayer>>& Players() { return PlayerSlots; }

private:
    int32_t ModelCount;
    std::vector<std::unique_ptr<TBoid>> FishList;
    double AreaHeight;
    double AreaWidth;
    std::vector<std::unique_ptr<SchoolModelPlayer>> PlayerSlots;
    std::unique_ptr<UniformRandom> RandomSource;
};

} // namespace tavren
