#include "document/model/raster_figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <vector>

namespace quor::raster {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
// Pixel centres this close to a figure's edge count as inside, so exact
// boundary cases do not depend on floating-point noise.
constexpr double Slack = 1e-7;

// One 24-pixel period of a dash pattern given as alternating on/off runs.
constexpr std::uint32_t dashMask(std::initializer_list<int> runs)
{
    std::uint32_t mask = 0;
    int at = 0;
    bool on = true;
    for (int run : runs) {
        for (int i = 0; i < run; ++i, ++at)
            if (on)
                mask |= 1u << at;
        on = !on;
    }
    return mask;
}

constexpr std::array<std::uint32_t, 5> DashMasks = {
    0,
    dashMask({18, 6}),                 // dash
    dashMask({3, 3, 3, 3, 3, 3, 3, 3}), // dot
    dashMask({9, 6, 3, 6}),            // dash-dot
    dashMask({9, 3, 3, 3, 3, 3}),      // dash-dot-dot
};
constexpr int DashPeriod = 24;

// Narrows [lo, hi] to the x where k*x + c lies in [min, max].
void narrow(double k, double c, double min, double max, double &lo, double &hi)
{
    if (k == 0) {
        if (c < min - Slack || c > max + Slack) {
            lo = 1;
            hi = 0;
        }
        return;
    }
    double x1 = (min - c) / k, x2 = (max - c) / k;
    if (x1 > x2)
        std::swap(x1, x2);
    lo = std::max(lo, x1);
    hi = std::min(hi, x2);
}

// Adds the pixels whose centres lie in [lo, hi] on row y.
void addReal(SpanList &out, int y, double lo, double hi)
{
    const double left = out.clip().left() - 1.0, right = out.clip().right() + 1.0;
    lo = std::clamp(std::ceil(lo - Slack), left, right);
    hi = std::clamp(std::floor(hi + Slack), left, right);
    if (lo <= hi)
        out.add(y, int(lo), int(hi));
}

// The rows dy of e that fall on the clip rectangle.
template <typename Row>
void forVisibleRows(const SpanList &out, const Ellipse &e, Row row)
{
    if (e.a < 0 || e.b < 0)
        return;
    const int first = std::max(-e.b, out.clip().top() - e.cy);
    const int last = std::min(e.b, out.clip().bottom() - e.cy);
    for (int dy = first; dy <= last; ++dy)
        row(dy);
}

// Boundary pixels of one row: those beyond the narrower neighbour row, and
// the row's own ends. take(x0, x1) is called once or twice.
template <typename Take>
void boundaryRow(const Ellipse &e, const HalfWidths &width, int dy, Take take)
{
    const int h = width(dy), k = boundaryFrom(width, dy);
    if (h < 0)
        return;
    if (k == 0) {
        take(e.cx - h, e.cx + h);
    } else {
        take(e.cx - h, e.cx - k);
        take(e.cx + k, e.cx + h);
    }
}

} // namespace

HalfWidths::HalfWidths(const Ellipse &e) : m_e(e)
{
    if (e.a < 0 || e.b < 0 || e.b > MaxTableRows)
        return;
    m_rows.resize(std::size_t(e.b) + 1);
    if (e.b == 0) {
        m_rows[0] = e.a;
        return;
    }
    if (e.a <= MaxNarrow)
        walk<long long>();
    else
        walk<__int128>();
}

template <typename Wide>
void HalfWidths::walk()
{
    // The width only shrinks from the middle row outwards.
    const Wide aa = Wide(m_e.a) * m_e.a, bb = Wide(m_e.b) * m_e.b, top = aa * bb;
    long long h = m_e.a;
    for (int dy = 0; dy <= m_e.b; ++dy) {
        const Wide rhs = top - Wide(dy) * dy * aa;
        while (h > 0 && Wide(h) * h * bb > rhs)
            --h;
        m_rows[std::size_t(dy)] = int(h);
    }
}

int boundaryFrom(const HalfWidths &width, int dy)
{
    const int h = width(dy);
    if (h < 0)
        return -1;
    const int inner = std::min(width(dy - 1), width(dy + 1));
    return std::min(inner + 1, h);
}

bool dashOn(LineStyle style, long long step)
{
    if (!isDashed(style))
        return true;
    return (DashMasks[int(style)] >> (step % DashPeriod)) & 1u;
}

void addThinSegment(SpanList &out, QPoint a, QPoint b, LineStyle style, bool includeEnd)
{
    const long long dx = b.x() - a.x(), dy = b.y() - a.y();
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    const long long last = (steps == 0 || includeEnd) ? steps : steps - 1;
    const long long minorDelta = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorDir = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int major0 = xMajor ? a.x() : a.y(), minor0 = xMajor ? a.y() : a.x();

    // Only the steps whose major coordinate lies on the clip rectangle.
    const QRect &clip = out.clip();
    const int lo = xMajor ? clip.left() : clip.top(), hi = xMajor ? clip.right() : clip.bottom();
    long long first = majorDir > 0 ? lo - major0 : major0 - hi;
    long long lastVisible = majorDir > 0 ? hi - major0 : major0 - lo;
    first = std::max(first, 0LL);
    lastVisible = std::min(lastVisible, last);

    for (long long i = first; i <= lastVisible; ++i) {
        if (!dashOn(style, i))
            continue;
        // Bresenham's choice: the minor offset i * minorDelta / steps rounded
        // half up, computed directly so clipped lines start mid-way exactly.
        const long long off = steps ? (2 * i * minorDelta + steps) / (2 * steps) : 0;
        const int major = int(major0 + majorDir * i), minor = int(minor0 + minorDir * off);
        if (xMajor)
            out.addPixel(major, minor);
        else
            out.addPixel(minor, major);
    }
}

void addCapsule(SpanList &out, QPoint a, QPoint b, double radius)
{
    addCapsule(out, QPointF(a), QPointF(b), radius);
}

void addCapsule(SpanList &out, QPointF a, QPointF b, double radius)
{
    const double ax = a.x(), ay = a.y(), dx = b.x() - ax, dy = b.y() - ay;
    const double length2 = dx * dx + dy * dy, acrossLimit = radius * std::sqrt(length2);
    const double by = b.y();
    const int top = std::max(int(std::floor(std::min(ay, by) - radius)), out.clip().top());
    const int bottom = std::min(int(std::ceil(std::max(ay, by) + radius)), out.clip().bottom());

    // The capsule is convex, so each row meets it in one interval: the hull
    // of the row's intervals through the two end discs and the body.
    for (int y = top; y <= bottom; ++y) {
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        for (QPointF end : {a, b}) {
            const double v = y - end.y(), room = radius * radius - v * v;
            if (room >= -Slack) {
                const double h = std::sqrt(std::max(room, 0.0));
                lo = std::min(lo, end.x() - h);
                hi = std::max(hi, end.x() + h);
            }
        }
        if (length2 > 0) {
            double bodyLo = -std::numeric_limits<double>::infinity(), bodyHi = -bodyLo;
            const double ry = y - ay;
            narrow(dx, ry * dy - ax * dx, 0, length2, bodyLo, bodyHi);
            narrow(dy, -ax * dy - ry * dx, -acrossLimit, acrossLimit, bodyLo, bodyHi);
            if (bodyLo <= bodyHi) {
                lo = std::min(lo, bodyLo);
                hi = std::max(hi, bodyHi);
            }
        }
        if (lo <= hi)
            addReal(out, y, lo, hi);
    }
}

void addRectRing(SpanList &out, const QRect &outer, const QRect &hole)
{
    const int top = std::max(outer.top(), out.clip().top());
    const int bottom = std::min(outer.bottom(), out.clip().bottom());
    for (int y = top; y <= bottom; ++y) {
        if (!hole.isEmpty() && y >= hole.top() && y <= hole.bottom()) {
            out.add(y, outer.left(), hole.left() - 1);
            out.add(y, hole.right() + 1, outer.right());
        } else {
            out.add(y, outer.left(), outer.right());
        }
    }
}

void addDashedFrame(SpanList &out, const QRect &r, LineStyle style)
{
    const QRect &clip = out.clip();
    long long phase = 0;
    // count pixels from (x, y) stepping (sx, sy), visiting only those on the
    // clip rectangle but counting all of them for the dash phase.
    const auto run = [&](int x, int y, int sx, int sy, long long count) {
        long long first = 0, last = count - 1;
        const auto limit = [&](int at, int step, int lo, int hi) {
            if (step == 0) {
                if (at < lo || at > hi)
                    last = -1;
            } else if (step > 0) {
                first = std::max(first, (long long)lo - at);
                last = std::min(last, (long long)hi - at);
            } else {
                first = std::max(first, (long long)at - hi);
                last = std::min(last, (long long)at - lo);
            }
        };
        limit(x, sx, clip.left(), clip.right());
        limit(y, sy, clip.top(), clip.bottom());
        for (long long k = first; k <= last; ++k)
            if (dashOn(style, phase + k))
                out.addPixel(int(x + sx * k), int(y + sy * k));
        phase += std::max(count, 0LL);
    };
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    const long long w = (long long)rt - l + 1, h = (long long)b - t + 1;
    if (h == 1) {
        run(l, t, 1, 0, w);
    } else if (w == 1) {
        run(l, t, 0, 1, h);
    } else {
        run(l, t, 1, 0, w);
        run(rt, t + 1, 0, 1, h - 1);
        run(rt - 1, b, -1, 0, w - 1);
        run(l, b - 1, 0, -1, h - 2);
    }
}

int Ellipse::halfWidth(int dy) const
{
    if (a < 0 || b < 0 || dy < -b || dy > b)
        return -1;
    if (b == 0)
        return a;
    // Largest h <= a with h^2 b^2 + dy^2 a^2 <= a^2 b^2, exactly.
    using Wide = __int128;
    const Wide aa = Wide(a) * a, bb = Wide(b) * b, rhs = aa * bb - Wide(dy) * dy * aa;
    const auto fits = [&](long long h) { return Wide(h) * h * bb <= rhs; };
    const double ratio = double(dy) / b;
    const double estimate = a * std::sqrt(std::max(0.0, 1 - ratio * ratio));
    long long h = std::min<long long>(a, (long long)estimate);
    while (h < a && fits(h + 1))
        ++h;
    while (h > 0 && !fits(h))
        --h;
    return int(h);
}

double Ellipse::angle(int x, int y) const
{
    const double u = a > 0 ? double(x - cx) / a : 0.0;
    const double v = b > 0 ? double(cy - y) / b : 0.0;
    const double t = std::atan2(v, u);
    return t < 0 ? t + TwoPi : t;
}

QPoint Ellipse::pointAt(double t) const
{
    return QPoint(cx + int(std::lround(a * std::cos(t))), cy - int(std::lround(b * std::sin(t))));
}

void addEllipse(SpanList &out, const Ellipse &e)
{
    const HalfWidths width(e);
    forVisibleRows(out, e, [&](int dy) {
        const int h = width(dy);
        out.add(e.cy + dy, e.cx - h, e.cx + h);
    });
}

void addEllipseBoundary(SpanList &out, const Ellipse &e)
{
    const HalfWidths width(e);
    forVisibleRows(out, e, [&](int dy) {
        boundaryRow(e, width, dy, [&](int x0, int x1) { out.add(e.cy + dy, x0, x1); });
    });
}

void addDashedEllipseBoundary(SpanList &out, const Ellipse &e, LineStyle style, double from)
{
    if (e.a < 0 || e.b < 0)
        return;
    struct Pixel
    {
        double offset;
        int x, y;
    };
    std::vector<Pixel> pixels;
    const AngleRange origin{from, TwoPi};
    const bool huge = e.a > DashRankLimit || e.b > DashRankLimit;
    const QRect &clip = out.clip();
    int first = -e.b, last = e.b;
    if (huge) {
        first = std::max(first, clip.top() - e.cy);
        last = std::min(last, clip.bottom() - e.cy);
    }
    const HalfWidths width(e);
    for (int dy = first; dy <= last; ++dy) {
        boundaryRow(e, width, dy, [&](int x0, int x1) {
            if (huge) {
                x0 = std::max(x0, clip.left());
                x1 = std::min(x1, clip.right());
            }
            for (int x = x0; x <= x1; ++x)
                pixels.push_back({origin.offset(e.angle(x, e.cy + dy)), x, e.cy + dy});
        });
    }
    std::sort(pixels.begin(), pixels.end(), [](const Pixel &p, const Pixel &q) {
        if (p.offset != q.offset)
            return p.offset < q.offset;
        return p.y != q.y ? p.y < q.y : p.x < q.x;
    });
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (dashOn(style, (long long)i))
            out.addPixel(pixels[i].x, pixels[i].y);
}

void addEllipseRing(SpanList &out, const Ellipse &outer, const Ellipse &inner)
{
    const HalfWidths outerWidth(outer), innerWidth(inner);
    forVisibleRows(out, outer, [&](int dy) {
        const int h = outerWidth(dy), hole = innerWidth(dy);
        const int y = outer.cy + dy;
        if (hole < 0) {
            out.add(y, outer.cx - h, outer.cx + h);
        } else {
            out.add(y, outer.cx - h, outer.cx - hole - 1);
            out.add(y, outer.cx + hole + 1, outer.cx + h);
        }
    });
}

AngleRange AngleRange::between(double start, double end)
{
    const auto reduce = [](double t) { return t > TwoPi ? std::fmod(t, TwoPi) : t; };
    start = reduce(start);
    end = reduce(end);
    double sweep = end - start;
    if (sweep < 0)
        sweep += TwoPi;
    return {start, sweep};
}

double AngleRange::offset(double angle) const
{
    double d = angle - start;
    while (d < 0)
        d += TwoPi;
    while (d >= TwoPi)
        d -= TwoPi;
    return d;
}

bool AngleRange::contains(double angle) const
{
    const double d = offset(angle);
    return d <= sweep + EdgeSlack || d >= TwoPi - EdgeSlack;
}

const std::uint8_t *hatchPattern(FillStyle style)
{
    static constexpr std::uint8_t Patterns[6][8] = {
        {0xff, 0, 0, 0, 0, 0, 0, 0},                        // horizontal
        {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01},   // vertical
        {0x01, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02},   // upward: x + y = 0 mod 8
        {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},   // downward: x = y mod 8
        {0xff, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01},   // cross
        {0x01, 0x82, 0x44, 0x28, 0x10, 0x28, 0x44, 0x82},   // diagonal cross
    };
    const int n = int(style);
    if (n < int(FillStyle::HorizontalLines) || n > int(FillStyle::DiagonalCross))
        return nullptr;
    return Patterns[n - int(FillStyle::HorizontalLines)];
}

} // namespace quor::raster
