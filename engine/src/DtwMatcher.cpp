#include "DtwMatcher.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace halvox {

namespace {

constexpr float kFarCell = static_cast<float>(DtwMatcher::kFar);
// The first row may start the path in any of its first six columns; its band is taken to reach one
// column further, where nothing can be entered from since that cell holds kFar.
constexpr int kFirstRowOpenColumns = 6;
constexpr int kFirstRowBandEnd = 6;
// A path whose cheapest cell averages more than this per row is not the same word; stop early.
constexpr double kRowAverageLimit = 1000.0;

// The two readings as a grid: rows are the shorter one, columns the longer one.
struct Grid
{
    const float* rows = nullptr;
    int rowCount = 0;
    const float* columns = nullptr;
    int columnCount = 0;
    int dim = 0;

    double LocalDistance(int row, int column) const
    {
        const float* a = rows + static_cast<std::size_t>(row) * static_cast<std::size_t>(dim);
        const float* b = columns + static_cast<std::size_t>(column) * static_cast<std::size_t>(dim);
        double sum = 0.0;
        for (int d = 0; d < dim; ++d) {
            const double difference = static_cast<double>(a[d]) - static_cast<double>(b[d]);
            sum += difference * difference;
        }
        return std::sqrt(sum);
    }
};

struct Band
{
    int lo = 0;
    int hi = 0;
    bool Contains(int column) const { return column >= lo && column <= hi; }
};

// The columns row j may use: a corridor that keeps the path near the diagonal of an n x m grid.
Band RowBand(int j, int n, int m)
{
    const double fromEnd = 2.0 * j + m - 2.0 * n - 5.0;
    const double fromStart = (j - 12) / 2.0;
    const double larger = std::max(fromEnd, fromStart);
    Band band;
    band.lo = larger < 0.0 ? 0 : static_cast<int>(std::trunc(larger));
    // Integer division truncates toward zero, which is the rounding the corridor is defined with.
    band.hi = std::min({2 * j + 6, m + (j - n + 11) / 2, m - 1});
    return band;
}

bool FitsLengthRule(int firstFrames, int laterFrames)
{
    return !(2 * firstFrames < laterFrames || firstFrames / 2 > laterFrames);
}

// Walking state carried from row to row.
struct Walk
{
    std::vector<float> previous; // accumulated distances of the last finished row
    std::vector<float> current;
    // back[k]: the column the latest cell of column k came from; it forbids a second vertical step.
    std::vector<int> back;
    Band previousBand;
    // The column recorded last for any cell; a cell that nothing can enter inherits it.
    int lastRecorded = 0;
};

struct RowResult
{
    int cheapest = 0; // the later column on ties
    float value = kFarCell;
};

RowResult FillRow(const Grid& grid, int j, const Band& band, Walk& walk)
{
    std::fill(walk.current.begin(), walk.current.end(), kFarCell);
    for (int k = band.lo; k <= band.hi; ++k) {
        const double local = grid.LocalDistance(j, k);
        float best = kFarCell;
        auto consider = [&](int column, bool allowed) {
            if (!allowed)
                return;
            // Candidates are compared as stored cells (single precision), strictly: the first wins.
            const float value = static_cast<float>(local + walk.previous[static_cast<std::size_t>(column)]);
            if (value < best) {
                best = value;
                walk.lastRecorded = column;
            }
        };
        consider(k, walk.previousBand.Contains(k) && walk.back[static_cast<std::size_t>(k)] != k);
        consider(k - 1, walk.previousBand.Contains(k - 1));
        consider(k - 2, walk.previousBand.Contains(k - 2));
        walk.back[static_cast<std::size_t>(k)] = walk.lastRecorded;
        walk.current[static_cast<std::size_t>(k)] = best;
    }
    RowResult result {band.lo, walk.current[static_cast<std::size_t>(band.lo)]};
    for (int k = band.lo + 1; k <= band.hi; ++k) {
        if (walk.current[static_cast<std::size_t>(k)] <= result.value) {
            result.cheapest = k;
            result.value = walk.current[static_cast<std::size_t>(k)];
        }
    }
    return result;
}

} // namespace

DtwMatcher::DtwMatcher(int dim)
    : m_dim(dim)
{
}

double DtwMatcher::Distance(const float* first, int firstFrames, const float* later, int laterFrames) const
{
    if (m_dim < 1 || first == nullptr || later == nullptr || firstFrames < 2 || laterFrames < 2)
        return kFar;
    if (!FitsLengthRule(firstFrames, laterFrames))
        return kFar;

    // Rows are the shorter reading; on equal lengths the first repetition gives the rows.
    const Grid grid = firstFrames <= laterFrames ? Grid {first, firstFrames, later, laterFrames, m_dim}
                                                 : Grid {later, laterFrames, first, firstFrames, m_dim};
    const int n = grid.rowCount;
    const int m = grid.columnCount;

    Walk walk;
    walk.previous.assign(static_cast<std::size_t>(m), kFarCell);
    walk.current.assign(static_cast<std::size_t>(m), kFarCell);
    walk.back.assign(static_cast<std::size_t>(m), m - 1);
    walk.previousBand = Band {0, kFirstRowBandEnd};
    walk.lastRecorded = m - 1;
    for (int k = 0; k < std::min(kFirstRowOpenColumns, m); ++k)
        walk.previous[static_cast<std::size_t>(k)] = static_cast<float>(grid.LocalDistance(0, k));

    RowResult row;
    for (int j = 1; j < n; ++j) {
        const Band band = RowBand(j, n, m);
        if (band.lo > band.hi)
            return kFar; // the corridor cannot close for lengths within the rule; stay safe if it does
        row = FillRow(grid, j, band, walk);
        if (static_cast<double>(row.value) / (j + 1) > kRowAverageLimit)
            return kFar;
        if (row.cheapest == m - 1)
            return static_cast<double>(row.value) / (j + 1); // the path reached the last column early
        walk.previousBand = band;
        std::swap(walk.previous, walk.current);
    }
    return static_cast<double>(row.value) / (n + 1);
}

} // namespace halvox
