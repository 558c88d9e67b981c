#include "ink_distortion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lexomir::strokes {
namespace {

using handwriting::Ink;
using handwriting::Point;
using handwriting::Stroke;

// A point every `spacing` units along the stroke, as a mouse reports them.
Stroke traced(const Stroke& stroke, float spacing) {
    Stroke points{stroke.front()};
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        const Point a = stroke[i - 1];
        const Point b = stroke[i];
        const float length = std::hypot(b.x - a.x, b.y - a.y);
        const int steps = std::max(1, static_cast<int>(length / spacing));
        for (int s = 1; s <= steps; ++s) {
            const float t = static_cast<float>(s) / static_cast<float>(steps);
            points.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return points;
}

template <typename Transform>
void transformAll(Ink& ink, Transform transform) {
    for (Stroke& stroke : ink)
        for (Point& point : stroke) point = transform(point);
}

}  // namespace

std::string_view distortionName(Distortion distortion) {
    switch (distortion) {
        case Distortion::Jitter:
            return "jitter";
        case Distortion::Slant:
            return "slant";
        case Distortion::Scale:
            return "scale";
        case Distortion::SwappedPair:
            return "swapped pair";
        case Distortion::JoinedPair:
            return "joined pair";
        case Distortion::SplitStroke:
            return "split stroke";
        case Distortion::MouseLike:
            return "mouse-like";
        case Distortion::Everything:
            return "everything";
    }
    return "?";
}

float InkDistorter::uniform(float low, float high) {
    // 24 random bits make the same float everywhere.
    const float unit = static_cast<float>(m_random() >> 8) / static_cast<float>(1u << 24);
    return low + (high - low) * unit;
}

float InkDistorter::normal() {
    const float u = std::max(uniform(0, 1), 1e-7f);
    const float v = uniform(0, 1);
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi_v<float> * v);
}

std::size_t InkDistorter::index(std::size_t size) {
    return std::min(size - 1, static_cast<std::size_t>(uniform(0, static_cast<float>(size))));
}

Ink InkDistorter::write(const Ink& templateInk, Distortion distortion) {
    if (distortion == Distortion::Everything) {
        constexpr Distortion kOrderChanges[] = {Distortion::SwappedPair, Distortion::JoinedPair,
                                                Distortion::SplitStroke};
        const Ink changed = write(templateInk, kOrderChanges[index(3)]);
        return write(changed, Distortion::MouseLike);
    }
    // Fit the template into a box of a random size at a random place.
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (const Stroke& stroke : templateInk)
        for (const Point p : stroke)
            left = std::min(left, p.x), right = std::max(right, p.x), top = std::min(top, p.y),
            bottom = std::max(bottom, p.y);
    const float side = std::max({right - left, bottom - top, 1.0f});
    const float size = uniform(120, 400);
    const Point origin{uniform(0, 300), uniform(0, 300)};
    Ink ink = templateInk;
    transformAll(ink, [&](Point p) {
        return Point{origin.x + (p.x - left) / side * size, origin.y + (p.y - top) / side * size};
    });
    const Point centre{origin.x + size / 2, origin.y + size / 2};

    const bool jitter = distortion == Distortion::Jitter || distortion == Distortion::MouseLike;
    const bool slant = distortion == Distortion::Slant || distortion == Distortion::MouseLike;
    const bool scale = distortion == Distortion::Scale || distortion == Distortion::MouseLike;
    if (slant) {
        const float shear = uniform(0.1f, 0.25f) * (uniform(0, 1) < 0.5f ? -1 : 1);
        const float angle = uniform(-5, 5) * std::numbers::pi_v<float> / 180;
        transformAll(ink, [&](Point p) {
            const float x = p.x - centre.x + shear * (p.y - centre.y);
            const float y = p.y - centre.y;
            return Point{centre.x + x * std::cos(angle) - y * std::sin(angle),
                         centre.y + x * std::sin(angle) + y * std::cos(angle)};
        });
    }
    if (scale) {
        const float factor = uniform(0.7f, 1.3f);
        const bool across = uniform(0, 1) < 0.5f;
        transformAll(ink, [&](Point p) {
            return across ? Point{centre.x + (p.x - centre.x) * factor, p.y}
                          : Point{p.x, centre.y + (p.y - centre.y) * factor};
        });
    }
    if (distortion == Distortion::SwappedPair && ink.size() >= 2) {
        const std::size_t i = index(ink.size() - 1);
        std::swap(ink[i], ink[i + 1]);
    }
    if (distortion == Distortion::JoinedPair && ink.size() >= 2) {
        const std::size_t i = index(ink.size() - 1);
        ink[i].insert(ink[i].end(), ink[i + 1].begin(), ink[i + 1].end());
        ink.erase(ink.begin() + static_cast<long>(i) + 1);
    }
    for (Stroke& stroke : ink) stroke = traced(stroke, 3);
    if (distortion == Distortion::SplitStroke) {
        const std::size_t i = index(ink.size());
        Stroke& whole = ink[i];
        if (whole.size() >= 4) {
            const auto middle = whole.begin() + static_cast<long>(whole.size() / 2);
            Stroke second(middle, whole.end());
            whole.erase(middle + 1, whole.end());
            ink.insert(ink.begin() + static_cast<long>(i) + 1, std::move(second));
        }
    }
    if (jitter) {
        // Noise on each point; each stroke moved and drawn a little longer or
        // shorter about its own middle, as a hand misjudges them.
        const float noise = size * 0.01f;
        const float wobble = size * 0.035f;
        for (Stroke& stroke : ink) {
            const Point shift{normal() * wobble, normal() * wobble};
            const float stretch = uniform(0.85f, 1.15f);
            const Point middle = stroke[stroke.size() / 2];
            for (Point& p : stroke)
                p = {middle.x + (p.x - middle.x) * stretch + shift.x + normal() * noise,
                     middle.y + (p.y - middle.y) * stretch + shift.y + normal() * noise};
        }
    }
    return ink;
}

}  // namespace lexomir::strokes
