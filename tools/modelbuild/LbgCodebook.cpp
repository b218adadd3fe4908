#include "LbgCodebook.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace modelbuild {

namespace {

constexpr int kMaxLloydPasses = 25;
// A Lloyd refinement stops when the mean distortion improves by less than this share.
constexpr double kRelativeImprovement = 1e-4;
constexpr double kSplitNudge = 0.01;
// Rounds of moving the least useful codeword next to the most distorted one (see ShiftCodewords).
constexpr int kMaxShiftRounds = 32;

using Codewords = std::vector<std::vector<double>>;

double SquaredDistance(const float* frame, const std::vector<double>& codeword, double bound)
{
    double sum = 0.0;
    for (std::size_t d = 0; d < codeword.size(); ++d) {
        const double diff = frame[d] - codeword[d];
        sum += diff * diff;
        if (sum >= bound)
            return sum; // cannot beat the best so far
    }
    return sum;
}

int Nearest(const Codewords& codewords, const float* frame, double* distance)
{
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::size_t j = 0; j < codewords.size(); ++j) {
        const double d = SquaredDistance(frame, codewords[j], bestDistance);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(j);
        }
    }
    if (distance != nullptr)
        *distance = bestDistance;
    return best;
}

struct Assignment
{
    std::vector<int> owner;
    std::vector<int> members;
    std::vector<double> distortion; // per codeword: sum of member distances
    double total = 0.0;
};

Assignment Assign(const std::vector<float>& frames, int dim, const Codewords& codewords)
{
    const std::size_t count = frames.size() / static_cast<std::size_t>(dim);
    Assignment result;
    result.owner.assign(count, 0);
    result.members.assign(codewords.size(), 0);
    result.distortion.assign(codewords.size(), 0.0);
    for (std::size_t t = 0; t < count; ++t) {
        double d = 0.0;
        const int j = Nearest(codewords, &frames[t * static_cast<std::size_t>(dim)], &d);
        result.owner[t] = j;
        ++result.members[static_cast<std::size_t>(j)];
        result.distortion[static_cast<std::size_t>(j)] += d;
        result.total += d;
    }
    return result;
}

void MoveToCentroids(const std::vector<float>& frames, int dim, const Assignment& assignment, Codewords* codewords)
{
    Codewords sums(codewords->size(), std::vector<double>(static_cast<std::size_t>(dim), 0.0));
    for (std::size_t t = 0; t < assignment.owner.size(); ++t)
        for (int d = 0; d < dim; ++d)
            sums[static_cast<std::size_t>(assignment.owner[t])][static_cast<std::size_t>(d)]
                += frames[t * static_cast<std::size_t>(dim) + static_cast<std::size_t>(d)];
    for (std::size_t j = 0; j < codewords->size(); ++j) {
        const int members = assignment.members[j];
        if (members == 0)
            continue;
        for (int d = 0; d < dim; ++d)
            (*codewords)[j][static_cast<std::size_t>(d)] = sums[j][static_cast<std::size_t>(d)] / members;
    }
}

std::vector<double> Spread(const std::vector<float>& frames, int dim)
{
    const std::size_t count = frames.size() / static_cast<std::size_t>(dim);
    std::vector<double> mean(static_cast<std::size_t>(dim), 0.0), spread(static_cast<std::size_t>(dim), 0.0);
    for (std::size_t t = 0; t < count; ++t)
        for (int d = 0; d < dim; ++d)
            mean[static_cast<std::size_t>(d)]
                += frames[t * static_cast<std::size_t>(dim) + static_cast<std::size_t>(d)];
    for (double& m : mean)
        m /= static_cast<double>(count);
    for (std::size_t t = 0; t < count; ++t)
        for (int d = 0; d < dim; ++d) {
            const double diff = frames[t * static_cast<std::size_t>(dim) + static_cast<std::size_t>(d)]
                - mean[static_cast<std::size_t>(d)];
            spread[static_cast<std::size_t>(d)] += diff * diff;
        }
    for (double& s : spread)
        s = std::sqrt(s / static_cast<double>(count));
    return spread;
}

// Splits codeword j in place and appends its twin.
void SplitInto(Codewords* codewords, std::size_t j, const std::vector<double>& spread)
{
    std::vector<double> twin = (*codewords)[j];
    for (std::size_t d = 0; d < twin.size(); ++d) {
        (*codewords)[j][d] -= kSplitNudge * spread[d];
        twin[d] += kSplitNudge * spread[d];
    }
    codewords->push_back(std::move(twin));
}

// Lloyd passes; codewords that lose every member are re-seeded by splitting the most distorted one.
Assignment Refine(const std::vector<float>& frames, int dim, const std::vector<double>& spread, Codewords* codewords)
{
    Assignment assignment = Assign(frames, dim, *codewords);
    double previous = std::numeric_limits<double>::max();
    for (int pass = 0; pass < kMaxLloydPasses; ++pass) {
        MoveToCentroids(frames, dim, assignment, codewords);
        for (std::size_t j = 0; j < codewords->size(); ++j) {
            if (assignment.members[j] > 0)
                continue;
            const auto widest = std::max_element(assignment.distortion.begin(), assignment.distortion.end());
            const std::size_t source = static_cast<std::size_t>(widest - assignment.distortion.begin());
            (*codewords)[j] = (*codewords)[source];
            for (std::size_t d = 0; d < spread.size(); ++d) {
                (*codewords)[j][d] += kSplitNudge * spread[d];
                (*codewords)[source][d] -= kSplitNudge * spread[d];
            }
            *widest = 0.0; // one re-seed per source in this pass
        }
        assignment = Assign(frames, dim, *codewords);
        if (previous - assignment.total <= kRelativeImprovement * assignment.total)
            break;
        previous = assignment.total;
    }
    return assignment;
}

// Extra distortion if each codeword were removed: for its members, the distance to the second-nearest
// codeword minus the distance to their own.
std::vector<double> RemovalCost(
    const std::vector<float>& frames, int dim, const Codewords& codewords, const Assignment& assignment)
{
    std::vector<double> cost(codewords.size(), 0.0);
    for (std::size_t t = 0; t < assignment.owner.size(); ++t) {
        const float* frame = &frames[t * static_cast<std::size_t>(dim)];
        const std::size_t own = static_cast<std::size_t>(assignment.owner[t]);
        const double ownDistance = SquaredDistance(frame, codewords[own], std::numeric_limits<double>::max());
        double second = std::numeric_limits<double>::max();
        for (std::size_t j = 0; j < codewords.size(); ++j)
            if (j != own)
                second = std::min(second, SquaredDistance(frame, codewords[j], second));
        cost[own] += second - ownDistance;
    }
    return cost;
}

// Binary splitting can leave one codeword across two clusters while another cluster holds two. Repeatedly
// move the codeword whose removal costs least next to the one with the largest distortion, keeping the move
// only when the refined codebook is better.
Assignment ShiftCodewords(const std::vector<float>& frames, int dim, const std::vector<double>& spread,
    Codewords* codewords, Assignment assignment)
{
    if (codewords->size() < 3)
        return assignment;
    for (int round = 0; round < kMaxShiftRounds; ++round) {
        const std::vector<double> cost = RemovalCost(frames, dim, *codewords, assignment);
        const std::size_t low = static_cast<std::size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
        std::vector<double> distortion = assignment.distortion;
        distortion[low] = -1.0;
        const std::size_t high
            = static_cast<std::size_t>(std::max_element(distortion.begin(), distortion.end()) - distortion.begin());
        Codewords candidate = *codewords;
        candidate[low] = candidate[high];
        for (std::size_t d = 0; d < spread.size(); ++d) {
            candidate[low][d] += kSplitNudge * spread[d];
            candidate[high][d] -= kSplitNudge * spread[d];
        }
        Assignment refined = Refine(frames, dim, spread, &candidate);
        if (!(refined.total < assignment.total * (1.0 - kRelativeImprovement)))
            break;
        *codewords = std::move(candidate);
        assignment = std::move(refined);
    }
    return assignment;
}

} // namespace

Codebook BuildLbgCodebook(const std::vector<float>& frames, int dim, int size)
{
    Codebook result;
    if (dim < 1 || size < 1 || frames.size() % static_cast<std::size_t>(dim) != 0)
        return result;
    const std::size_t count = frames.size() / static_cast<std::size_t>(dim);
    if (count < static_cast<std::size_t>(size))
        return result;
    const std::vector<double> spread = Spread(frames, dim);

    Codewords codewords(1, std::vector<double>(static_cast<std::size_t>(dim), 0.0));
    Assignment assignment = Assign(frames, dim, codewords);
    MoveToCentroids(frames, dim, assignment, &codewords);
    assignment = Assign(frames, dim, codewords);
    while (static_cast<int>(codewords.size()) < size) {
        // Widest first, so that an incomplete last doubling splits where the data needs it most.
        std::vector<std::size_t> order(codewords.size());
        for (std::size_t j = 0; j < order.size(); ++j)
            order[j] = j;
        std::stable_sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return assignment.distortion[a] > assignment.distortion[b]; });
        const std::size_t splits = std::min(order.size(), static_cast<std::size_t>(size) - codewords.size());
        for (std::size_t s = 0; s < splits; ++s)
            SplitInto(&codewords, order[s], spread);
        assignment = Refine(frames, dim, spread, &codewords);
    }
    assignment = ShiftCodewords(frames, dim, spread, &codewords, std::move(assignment));

    result.dim = dim;
    result.size = size;
    result.codewords.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(dim));
    result.weights.resize(static_cast<std::size_t>(size));
    for (std::size_t j = 0; j < codewords.size(); ++j) {
        for (int d = 0; d < dim; ++d)
            result.codewords[j * static_cast<std::size_t>(dim) + static_cast<std::size_t>(d)]
                = static_cast<float>(codewords[j][static_cast<std::size_t>(d)]);
    }
    // Weights are measured against the stored (float) codewords, as the engine will see them.
    std::vector<double> sums(codewords.size(), 0.0);
    std::vector<int> members(codewords.size(), 0);
    for (std::size_t t = 0; t < count; ++t) {
        double d = 0.0;
        const int j = NearestCodeword(result, &frames[t * static_cast<std::size_t>(dim)], &d);
        sums[static_cast<std::size_t>(j)] += d;
        ++members[static_cast<std::size_t>(j)];
    }
    for (std::size_t j = 0; j < codewords.size(); ++j)
        result.weights[j] = members[j] > 0 ? static_cast<float>(sums[j] / members[j]) : 0.0f;
    return result;
}

int NearestCodeword(const Codebook& codebook, const float* frame, double* distance)
{
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int j = 0; j < codebook.size; ++j) {
        const float* c = &codebook.codewords[static_cast<std::size_t>(j) * static_cast<std::size_t>(codebook.dim)];
        double sum = 0.0;
        for (int d = 0; d < codebook.dim; ++d) {
            const double diff = static_cast<double>(frame[d]) - c[d];
            sum += diff * diff;
        }
        if (sum < bestDistance) {
            bestDistance = sum;
            best = j;
        }
    }
    if (distance != nullptr)
        *distance = bestDistance;
    return best;
}

} // namespace modelbuild
