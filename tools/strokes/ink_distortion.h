// Handwriting made from a character's own centre lines, for measuring the
// recogniser: the template is placed at a random size and place on a screen
// (y down), traced densely as a mouse would, then distorted. Every draw comes
// from one seeded generator of fixed arithmetic, so a seed gives the same ink
// on every machine.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>

#include "ink.h"

namespace lexomir::strokes {

enum class Distortion {
    Jitter,       // noise on every point and a small wobble of each stroke
    Slant,        // sheared and slightly turned
    Scale,        // squeezed or stretched in one direction
    SwappedPair,  // two neighbouring strokes written in each other's place
    JoinedPair,   // two neighbouring strokes written as one
    SplitStroke,  // one stroke written as two
    MouseLike,    // jitter, slant and scale together
    Everything,   // mouse-like, and one pair swapped, joined or split
};
inline constexpr Distortion kAllDistortions[] = {
    Distortion::Jitter,     Distortion::Slant,       Distortion::Scale,     Distortion::SwappedPair,
    Distortion::JoinedPair, Distortion::SplitStroke, Distortion::MouseLike, Distortion::Everything};
std::string_view distortionName(Distortion distortion);

class InkDistorter {
  public:
    explicit InkDistorter(std::uint32_t seed) : m_random(seed) {}
    // templateInk in screen orientation (any scale).
    handwriting::Ink write(const handwriting::Ink& templateInk, Distortion distortion);

  private:
    float uniform(float low, float high);
    float normal();  // mean 0, deviation 1
    std::size_t index(std::size_t size);

    std::mt19937 m_random;
};

}  // namespace lexomir::strokes
