// Recognises one handwritten character by matching it against the centre
// lines of every known character, in two steps:
//  1. a shortlist that ignores stroke order: a histogram of stroke
//     orientations over a coarse grid, compared with every template;
//  2. the shortlisted templates re-ranked by aligning the written strokes
//     with the template's strokes in order, where a stroke may be missing or
//     extra, two strokes may be written as one and one as two, neighbours
//     may be swapped, any stroke may be drawn backwards and the last two or
//     three strokes (辶, 廴) may come first, each at a price.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ink.h"

namespace lexomir::handwriting {

// A character and its strokes' centre lines in stroke order (screen
// orientation, any scale).
struct CharacterTemplate {
    std::string character;
    Ink strokes;
};

// The prices of the alignment, in units of the mean distance between two
// strokes' points on a character one unit tall. Tuned with
// lexomir-evaluate-handwriting on characters outside the 3500 most common.
struct AlignmentPrices {
    float missingStroke = 0.16f;  // plus its length times lengthWeight
    float extraStroke = 0.16f;
    float lengthWeight = 0.4f;
    float joinedStrokes = 0.15f;  // two template strokes written as one
    float splitStroke = 0.15f;    // one template stroke written as two
    float swappedStrokes = 0.12f;
    float backwards = 0.2f;
    // The template's last two or three strokes (辶, 廴) written first.
    float movedComponent = 0.3f;
};

struct RecogniserSettings {
    AlignmentPrices prices;
    std::size_t shortlistSize = 200;
    // How much a difference of one stroke in the count weighs in the
    // shortlist, against the histogram distance (0..2).
    float shortlistStrokeWeight = 0.05f;
};

// A stroke resampled to a fixed number of points equally spaced along it.
inline constexpr std::size_t kResampledPoints = 16;
using ResampledStroke = std::vector<Point>;  // kResampledPoints points

// Moves and scales the ink so that its bounding box is centred on (0, 0) and
// its longer side is 1, keeping its proportions; empty strokes are dropped.
Ink normaliseInk(const Ink& ink);
ResampledStroke resampleStroke(const Stroke& stroke);
// The mean distance between corresponding points of two resampled strokes.
float strokeDistance(const ResampledStroke& a, const ResampledStroke& b);

// What the alignment found: its cost and how many of each allowance it used.
struct Alignment {
    float cost = 0;
    int matched = 0, missing = 0, extra = 0, joined = 0, split = 0, swapped = 0, backwards = 0;
    int movedComponent = 0;  // 1 when the last strokes were written first
};
// Aligns normalised written strokes with a normalised template.
Alignment alignStrokes(const Ink& written, const Ink& templateStrokes,
                       const AlignmentPrices& prices);

class Recogniser {
  public:
    explicit Recogniser(std::vector<CharacterTemplate> templates, RecogniserSettings settings = {});
    ~Recogniser();
    Recogniser(Recogniser&&) noexcept;
    Recogniser& operator=(Recogniser&&) noexcept;

    // The characters most like the ink, best first, at most count of them;
    // none for ink without points.
    std::vector<std::string> recognise(const Ink& ink, std::size_t count) const;
    std::size_t templateCount() const;
    const RecogniserSettings& settings() const { return m_settings; }
    void setSettings(const RecogniserSettings& settings) { m_settings = settings; }

    struct Prepared;  // a template or the ink, ready to be compared

  private:
    std::vector<Prepared> m_templates;
    RecogniserSettings m_settings;
};

}  // namespace lexomir::handwriting
