#include "recogniser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace lexomir::handwriting {

namespace {

// The shortlist's histogram: orientation (undirected, so that a stroke drawn
// backwards counts the same) in kOrientations bins over a kGrid by kGrid grid.
constexpr std::size_t kGrid = 4;
constexpr std::size_t kOrientations = 8;
constexpr std::size_t kFeatureSize = kGrid * kGrid * kOrientations;
using Histogram = std::array<float, kFeatureSize>;

float distance(Point a, Point b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

float strokeLength(const Stroke& stroke) {
    float length = 0;
    for (std::size_t i = 1; i < stroke.size(); ++i) length += distance(stroke[i - 1], stroke[i]);
    return length;
}

ResampledStroke reversed(ResampledStroke stroke) {
    std::reverse(stroke.begin(), stroke.end());
    return stroke;
}

Stroke concatenated(const Stroke& first, const Stroke& second) {
    Stroke joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    return joined;
}

// Spreads weight over the two nearest cells of a coordinate in [0, cells).
template <typename Add>
void spread(float at, std::size_t cells, bool wraps, Add add) {
    const float centred = at - 0.5f;
    const float lower = std::floor(centred);
    const float upperShare = centred - lower;
    auto cell = [&](float index) -> long {
        long i = static_cast<long>(index);
        const long n = static_cast<long>(cells);
        if (wraps) return ((i % n) + n) % n;
        return std::clamp(i, 0L, n - 1);
    };
    add(static_cast<std::size_t>(cell(lower)), 1 - upperShare);
    add(static_cast<std::size_t>(cell(lower + 1)), upperShare);
}

Histogram orientationHistogram(const std::vector<ResampledStroke>& strokes) {
    Histogram histogram{};
    float total = 0;
    for (const ResampledStroke& stroke : strokes) {
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            const Point a = stroke[i - 1];
            const Point b = stroke[i];
            const float length = distance(a, b);
            if (length <= 0) continue;
            float angle = std::atan2(b.y - a.y, b.x - a.x);
            if (angle < 0) angle += std::numbers::pi_v<float>;
            const float orientation = angle / std::numbers::pi_v<float> * kOrientations;
            const float gx = ((a.x + b.x) / 2 + 0.5f) * kGrid;
            const float gy = ((a.y + b.y) / 2 + 0.5f) * kGrid;
            spread(gx, kGrid, false, [&](std::size_t x, float wx) {
                spread(gy, kGrid, false, [&](std::size_t y, float wy) {
                    spread(orientation, kOrientations, true, [&](std::size_t o, float wo) {
                        histogram[(y * kGrid + x) * kOrientations + o] += length * wx * wy * wo;
                    });
                });
            });
            total += length;
        }
    }
    if (total > 0)
        for (float& value : histogram) value /= total;
    return histogram;
}

float histogramDistance(const Histogram& a, const Histogram& b) {
    float sum = 0;
    for (std::size_t i = 0; i < kFeatureSize; ++i) sum += std::abs(a[i] - b[i]);
    return sum;
}

}  // namespace

// Strokes resampled forwards and backwards, their lengths, each neighbour
// pair joined into one stroke, and the histogram.
struct Recogniser::Prepared {
    std::string character;
    std::vector<ResampledStroke> strokes, backwardsStrokes;
    std::vector<ResampledStroke> joinedPairs, backwardsJoinedPairs;  // pair i: strokes i, i+1
    std::vector<float> lengths;
    Histogram histogram{};

    Prepared(std::string name, const Ink& ink) : character(std::move(name)) {
        const Ink normalised = normaliseInk(ink);
        for (std::size_t i = 0; i < normalised.size(); ++i) {
            strokes.push_back(resampleStroke(normalised[i]));
            backwardsStrokes.push_back(reversed(strokes.back()));
            lengths.push_back(strokeLength(normalised[i]));
            if (i + 1 < normalised.size()) {
                joinedPairs.push_back(
                    resampleStroke(concatenated(normalised[i], normalised[i + 1])));
                backwardsJoinedPairs.push_back(reversed(joinedPairs.back()));
            }
        }
        histogram = orientationHistogram(strokes);
    }
};

namespace {

using Prepared = Recogniser::Prepared;

// The cheaper of drawing a against b forwards or backwards.
float pairCost(const ResampledStroke& a, const ResampledStroke& b,
               const ResampledStroke& bBackwards, float backwardsPrice, bool& wentBackwards) {
    const float forwards = strokeDistance(a, b);
    const float backwardsCost = strokeDistance(a, bBackwards) + backwardsPrice;
    wentBackwards = backwardsCost < forwards;
    return wentBackwards ? backwardsCost : forwards;
}

enum class Step : unsigned char { None, Match, Missing, Extra, Joined, Split, Swapped };

// Every stroke-to-stroke cost an alignment may use, computed once per
// candidate, by the template's own stroke order: match (written i, template
// j), joined (written i, template pair p = strokes p and p + 1) and split
// (written pair q, template j).
struct PairCosts {
    std::size_t m = 0, n = 0;
    std::vector<float> match, joined, split;
    std::vector<bool> matchBackwards, joinedBackwards, splitBackwards;
};

PairCosts pairCosts(const Prepared& written, const Prepared& candidate,
                    const AlignmentPrices& prices) {
    PairCosts costs;
    const std::size_t m = costs.m = written.strokes.size();
    const std::size_t n = costs.n = candidate.strokes.size();
    const auto fill = [&](std::size_t rows, std::size_t columns, std::vector<float>& values,
                          std::vector<bool>& backwards, auto costOf) {
        values.resize(rows * columns);
        backwards.resize(rows * columns);
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < columns; ++c) {
                bool reversed = false;
                values[r * columns + c] = costOf(r, c, reversed);
                backwards[r * columns + c] = reversed;
            }
        }
    };
    fill(m, n, costs.match, costs.matchBackwards, [&](std::size_t i, std::size_t j, bool& b) {
        return pairCost(written.strokes[i], candidate.strokes[j], candidate.backwardsStrokes[j],
                        prices.backwards, b);
    });
    fill(m, n > 0 ? n - 1 : 0, costs.joined, costs.joinedBackwards,
         [&](std::size_t i, std::size_t p, bool& b) {
             return pairCost(written.strokes[i], candidate.joinedPairs[p],
                             candidate.backwardsJoinedPairs[p], prices.backwards, b);
         });
    fill(m > 0 ? m - 1 : 0, n, costs.split, costs.splitBackwards,
         [&](std::size_t q, std::size_t j, bool& b) {
             return pairCost(candidate.strokes[j], written.joinedPairs[q],
                             written.backwardsJoinedPairs[q], prices.backwards, b);
         });
    return costs;
}

// Aligns the written strokes with the template's strokes taken in the order
// `order` (template stroke indices).
Alignment alignInOrder(const Prepared& written, const Prepared& candidate, const PairCosts& costs,
                       const std::vector<std::size_t>& order, const AlignmentPrices& prices) {
    const std::size_t m = costs.m;
    const std::size_t n = costs.n;
    const std::size_t width = n + 1;
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    std::vector<float> cost((m + 1) * width, kInfinity);
    std::vector<Step> step((m + 1) * width, Step::None);
    std::vector<bool> wentBackwards((m + 1) * width, false);
    auto at = [width](std::size_t i, std::size_t j) { return i * width + j; };
    auto offer = [&](std::size_t i, std::size_t j, float value, Step how, bool backwards) {
        if (value < cost[at(i, j)]) {
            cost[at(i, j)] = value;
            step[at(i, j)] = how;
            wentBackwards[at(i, j)] = backwards;
        }
    };
    cost[at(0, 0)] = 0;
    for (std::size_t i = 0; i <= m; ++i) {
        for (std::size_t j = 0; j <= n; ++j) {
            const std::size_t t = j > 0 ? order[j - 1] : 0;  // template stroke at position j - 1
            if (i > 0 && j > 0)
                offer(i, j, cost[at(i - 1, j - 1)] + costs.match[(i - 1) * n + t], Step::Match,
                      costs.matchBackwards[(i - 1) * n + t]);
            if (j > 0)
                offer(i, j,
                      cost[at(i, j - 1)] + prices.missingStroke +
                          prices.lengthWeight * candidate.lengths[t],
                      Step::Missing, false);
            if (i > 0)
                offer(i, j,
                      cost[at(i - 1, j)] + prices.extraStroke +
                          prices.lengthWeight * written.lengths[i - 1],
                      Step::Extra, false);
            // Only strokes that follow each other in the template join.
            if (i > 0 && j > 1 && order[j - 2] + 1 == t) {
                const std::size_t k = (i - 1) * (n - 1) + order[j - 2];
                offer(i, j, cost[at(i - 1, j - 2)] + costs.joined[k] + prices.joinedStrokes,
                      Step::Joined, costs.joinedBackwards[k]);
            }
            if (i > 1 && j > 0) {
                const std::size_t k = (i - 2) * n + t;
                offer(i, j, cost[at(i - 2, j - 1)] + costs.split[k] + prices.splitStroke,
                      Step::Split, costs.splitBackwards[k]);
            }
            if (i > 1 && j > 1) {
                const float swapped =
                    costs.match[(i - 2) * n + t] + costs.match[(i - 1) * n + order[j - 2]];
                offer(i, j, cost[at(i - 2, j - 2)] + swapped + prices.swappedStrokes, Step::Swapped,
                      false);
            }
        }
    }
    Alignment result;
    result.cost = cost[at(m, n)];
    // Walk back to count what the alignment used.
    std::size_t i = m;
    std::size_t j = n;
    while (i > 0 || j > 0) {
        const Step how = step[at(i, j)];
        if (wentBackwards[at(i, j)]) ++result.backwards;
        switch (how) {
            case Step::Match:
                ++result.matched, --i, --j;
                break;
            case Step::Missing:
                ++result.missing, --j;
                break;
            case Step::Extra:
                ++result.extra, --i;
                break;
            case Step::Joined:
                ++result.joined, --i, j -= 2;
                break;
            case Step::Split:
                ++result.split, i -= 2, --j;
                break;
            case Step::Swapped:
                ++result.swapped, i -= 2, j -= 2;
                break;
            case Step::None:
                return result;
        }
    }
    return result;
}

// The template's order, and the orders with its last two or three strokes
// (辶, 廴 and other enclosing components written last) moved to the front.
Alignment align(const Prepared& written, const Prepared& candidate, const AlignmentPrices& prices) {
    const PairCosts costs = pairCosts(written, candidate, prices);
    const std::size_t n = costs.n;
    std::vector<std::size_t> order(n);
    for (std::size_t j = 0; j < n; ++j) order[j] = j;
    Alignment best = alignInOrder(written, candidate, costs, order, prices);
    for (const std::size_t moved : {std::size_t{2}, std::size_t{3}}) {
        if (n < moved + 2) continue;
        for (std::size_t j = 0; j < n; ++j) order[j] = (j + n - moved) % n;
        Alignment rotated = alignInOrder(written, candidate, costs, order, prices);
        rotated.cost += prices.movedComponent;
        if (rotated.cost < best.cost) {
            best = rotated;
            best.movedComponent = 1;
        }
    }
    return best;
}

}  // namespace

Ink normaliseInk(const Ink& ink) {
    float left = std::numeric_limits<float>::max(), top = left;
    float right = std::numeric_limits<float>::lowest(), bottom = right;
    for (const Stroke& stroke : ink) {
        for (const Point p : stroke) {
            left = std::min(left, p.x), right = std::max(right, p.x);
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        }
    }
    Ink normalised;
    if (left > right) return normalised;
    const float side = std::max(right - left, bottom - top);
    const float scale = side > 0 ? 1 / side : 1;
    const Point centre{(left + right) / 2, (top + bottom) / 2};
    for (const Stroke& stroke : ink) {
        if (stroke.empty()) continue;
        Stroke moved;
        moved.reserve(stroke.size());
        for (const Point p : stroke)
            moved.push_back({(p.x - centre.x) * scale, (p.y - centre.y) * scale});
        normalised.push_back(std::move(moved));
    }
    return normalised;
}

ResampledStroke resampleStroke(const Stroke& stroke) {
    ResampledStroke resampled;
    resampled.reserve(kResampledPoints);
    const float total = strokeLength(stroke);
    if (stroke.empty()) return ResampledStroke(kResampledPoints);
    if (total <= 0) return ResampledStroke(kResampledPoints, stroke.front());
    const float spacing = total / static_cast<float>(kResampledPoints - 1);
    resampled.push_back(stroke.front());
    float walked = 0;  // along the stroke up to stroke[segment - 1]
    std::size_t segment = 1;
    for (std::size_t k = 1; k + 1 < kResampledPoints; ++k) {
        const float wanted = spacing * static_cast<float>(k);
        while (segment + 1 < stroke.size() &&
               walked + distance(stroke[segment - 1], stroke[segment]) < wanted) {
            walked += distance(stroke[segment - 1], stroke[segment]);
            ++segment;
        }
        const Point a = stroke[segment - 1];
        const Point b = stroke[segment];
        const float length = distance(a, b);
        const float t = length > 0 ? std::clamp((wanted - walked) / length, 0.0f, 1.0f) : 0.0f;
        resampled.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
    }
    resampled.push_back(stroke.back());
    return resampled;
}

float strokeDistance(const ResampledStroke& a, const ResampledStroke& b) {
    float sum = 0;
    for (std::size_t k = 0; k < kResampledPoints; ++k) sum += distance(a[k], b[k]);
    return sum / kResampledPoints;
}

Alignment alignStrokes(const Ink& written, const Ink& templateStrokes,
                       const AlignmentPrices& prices) {
    return align(Prepared("", written), Prepared("", templateStrokes), prices);
}

Recogniser::Recogniser(std::vector<CharacterTemplate> templates, RecogniserSettings settings)
    : m_settings(settings) {
    m_templates.reserve(templates.size());
    for (CharacterTemplate& entry : templates) {
        if (entry.strokes.empty()) continue;
        m_templates.emplace_back(std::move(entry.character), entry.strokes);
    }
}

Recogniser::~Recogniser() = default;
Recogniser::Recogniser(Recogniser&&) noexcept = default;
Recogniser& Recogniser::operator=(Recogniser&&) noexcept = default;

std::size_t Recogniser::templateCount() const {
    return m_templates.size();
}

std::vector<std::string> Recogniser::recognise(const Ink& ink, std::size_t count) const {
    const Prepared written("", ink);
    if (written.strokes.empty() || count == 0) return {};
    const float strokeCount = static_cast<float>(written.strokes.size());

    std::vector<std::pair<float, std::size_t>> shortlist;
    shortlist.reserve(m_templates.size());
    for (std::size_t t = 0; t < m_templates.size(); ++t) {
        const Prepared& candidate = m_templates[t];
        const float strokeGap =
            std::abs(static_cast<float>(candidate.strokes.size()) - strokeCount);
        shortlist.emplace_back(histogramDistance(written.histogram, candidate.histogram) +
                                   m_settings.shortlistStrokeWeight * strokeGap,
                               t);
    }
    const std::size_t kept = std::min(m_settings.shortlistSize, shortlist.size());
    std::partial_sort(shortlist.begin(), shortlist.begin() + static_cast<long>(kept),
                      shortlist.end());
    shortlist.resize(kept);

    std::vector<std::pair<float, std::size_t>> ranked;
    ranked.reserve(kept);
    for (const auto& [ignored, t] : shortlist)
        ranked.emplace_back(align(written, m_templates[t], m_settings.prices).cost, t);
    std::sort(ranked.begin(), ranked.end());

    std::vector<std::string> best;
    for (std::size_t i = 0; i < ranked.size() && best.size() < count; ++i)
        best.push_back(m_templates[ranked[i].second].character);
    return best;
}

}  // namespace lexomir::handwriting
