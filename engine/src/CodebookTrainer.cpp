#include "CodebookTrainer.h"

#include <algorithm>
#include <cstddef>

namespace halvox {

namespace {

// Nearest-codeword searches start below this bound; a vector that no codeword comes under (a NaN vector)
// stays with codeword 0.
constexpr double kSearchBound = 1e299;
// Lloyd passes stop when nothing moves, which exact comparisons of doubles normally reach within a few
// dozen passes; the cap only keeps a pathological oscillation from hanging an enrolment.
constexpr int kMaxLloydPasses = 1000;
// Codewords with fewer members than one per this many training frames are pruned.
constexpr int kFramesPerSurvivingMember = 60;
// Growing stops once the widest codeword is within this share of the background's mean weight.
constexpr double kGrowthLimitShare = 0.7;
// Adaptation opens a new codeword for a vector farther than this many background mean weights.
constexpr double kAdaptReachShare = 1.8;
// A split whose extremes coincide nudges the two halves apart by these factors.
constexpr double kSplitDown = 0.999999999999;
constexpr double kSplitUp = 1.000000000001;

double SquaredDistance(const double* x, const double* y, int dim)
{
    double sum = 0.0;
    for (int d = 0; d < dim; ++d) {
        const double difference = x[d] - y[d];
        sum += difference * difference;
    }
    return sum;
}

std::vector<double> ToDouble(const float* values, int count)
{
    return std::vector<double>(values, values + count);
}

// Index of the member farthest from `origin`, the first one on ties.
size_t FarthestMember(const double* origin, const std::vector<const double*>& members, int dim)
{
    size_t farthest = 0;
    double largest = -1.0;
    for (size_t i = 0; i < members.size(); ++i) {
        const double distance = SquaredDistance(origin, members[i], dim);
        if (distance > largest) {
            largest = distance;
            farthest = i;
        }
    }
    return farthest;
}

std::vector<double> TowardsMember(const std::vector<double>& codeword, const double* member)
{
    std::vector<double> moved(codeword.size());
    for (size_t d = 0; d < codeword.size(); ++d)
        moved[d] = 0.8 * codeword[d] + 0.2 * member[d];
    return moved;
}

std::vector<double> Scaled(const std::vector<double>& codeword, double factor)
{
    std::vector<double> scaled(codeword.size());
    for (size_t d = 0; d < codeword.size(); ++d)
        scaled[d] = codeword[d] * factor;
    return scaled;
}

void AppendAsFloat(const std::vector<double>& values, std::vector<float>* out)
{
    for (double value : values)
        out->push_back(static_cast<float>(value));
}

} // namespace

SplitCodewords SplitCodeword(const std::vector<double>& codeword, const std::vector<const double*>& members, int dim)
{
    // A split is never asked for an empty codeword by the growth rule (its spread is 0); should it happen,
    // a copy keeps the codebook intact and the next Lloyd pass separates or empties the twin.
    if (members.empty())
        return {codeword, codeword};
    const size_t p = FarthestMember(codeword.data(), members, dim);
    const size_t q = FarthestMember(members[p], members, dim);
    if (p == q)
        return {Scaled(codeword, kSplitDown), Scaled(codeword, kSplitUp)};
    return {TowardsMember(codeword, members[q]), TowardsMember(codeword, members[p])};
}

CodebookTrainer::CodebookTrainer(int dim)
    : m_dim(dim)
{
}

bool CodebookTrainer::AddVectors(const float* vectors, int count)
{
    if (m_dim < 1 || count < 0 || (count > 0 && vectors == nullptr))
        return false;
    for (int t = 0; t < count; ++t)
        m_vectors.push_back(ToDouble(vectors + static_cast<size_t>(t) * m_dim, m_dim));
    return true;
}

std::vector<double> CodebookTrainer::Mean() const
{
    std::vector<double> mean(static_cast<size_t>(std::max(m_dim, 0)), 0.0);
    if (m_vectors.empty())
        return mean;
    for (const auto& vector : m_vectors)
        for (size_t d = 0; d < mean.size(); ++d)
            mean[d] += vector[d];
    for (double& value : mean)
        value /= static_cast<double>(m_vectors.size());
    return mean;
}

bool CodebookTrainer::SetReference(const float* codewords, const float* weights, int size)
{
    if (m_dim < 1 || codewords == nullptr || weights == nullptr || size < 1)
        return false;
    double sum = 0.0;
    for (int j = 0; j < size; ++j)
        sum += weights[j];
    m_referenceSize = size;
    m_averageWeight = sum / size;
    return true;
}

bool CodebookTrainer::SetInitial(const float* codewords, int size)
{
    if (m_dim < 1 || codewords == nullptr || size < 1)
        return false;
    m_codewords.clear();
    for (int j = 0; j < size; ++j)
        m_codewords.push_back(ToDouble(codewords + static_cast<size_t>(j) * m_dim, m_dim));
    m_owner.clear();
    m_activeCount = 0;
    return true;
}

void CodebookTrainer::Assign(int activeCount)
{
    m_owner.assign(m_vectors.size(), 0);
    for (size_t t = 0; t < m_vectors.size(); ++t) {
        double best = kSearchBound;
        for (int j = 0; j < activeCount; ++j) {
            const double distance
                = SquaredDistance(m_vectors[t].data(), m_codewords[static_cast<size_t>(j)].data(), m_dim);
            if (distance < best) {
                best = distance;
                m_owner[t] = j;
            }
        }
    }
    m_activeCount = activeCount;
}

bool CodebookTrainer::UpdateCodewordsFromMembers(int activeCount)
{
    std::vector<std::vector<double>> sums(static_cast<size_t>(activeCount), std::vector<double>(m_dim, 0.0));
    std::vector<int> counts(static_cast<size_t>(activeCount), 0);
    for (size_t t = 0; t < m_vectors.size(); ++t) {
        const auto owner = static_cast<size_t>(m_owner[t]);
        ++counts[owner];
        for (int d = 0; d < m_dim; ++d)
            sums[owner][static_cast<size_t>(d)] += m_vectors[t][static_cast<size_t>(d)];
    }
    bool changed = false;
    for (size_t j = 0; j < sums.size(); ++j) {
        for (int d = 0; d < m_dim; ++d) {
            const double value = counts[j] > 0 ? sums[j][static_cast<size_t>(d)] / counts[j] : 0.0;
            double& component = m_codewords[j][static_cast<size_t>(d)];
            if (component != value) {
                component = value;
                changed = true;
            }
        }
    }
    return changed;
}

void CodebookTrainer::Lloyd(int activeCount)
{
    for (int pass = 0; pass < kMaxLloydPasses; ++pass) {
        Assign(activeCount);
        if (!UpdateCodewordsFromMembers(activeCount))
            return;
    }
    // Cut off while still moving: measure the members against the codewords as they now stand.
    Assign(activeCount);
}

std::vector<CodebookTrainer::MemberStats> CodebookTrainer::MemberStatistics() const
{
    std::vector<MemberStats> stats(m_codewords.size());
    for (size_t t = 0; t < m_owner.size() && t < m_vectors.size(); ++t) {
        const auto owner = static_cast<size_t>(m_owner[t]);
        if (static_cast<int>(owner) >= m_activeCount)
            continue;
        ++stats[owner].count;
        stats[owner].distanceSum += SquaredDistance(m_vectors[t].data(), m_codewords[owner].data(), m_dim);
    }
    return stats;
}

bool CodebookTrainer::Prune(int totalFrames, int* keptCount)
{
    const int needed = totalFrames / kFramesPerSurvivingMember;
    const std::vector<MemberStats> stats = MemberStatistics();
    std::vector<std::vector<double>> kept;
    for (size_t j = 0; j < m_codewords.size(); ++j)
        if (stats[j].count >= needed)
            kept.push_back(m_codewords[j]);
    if (kept.size() == m_codewords.size())
        return false;
    if (kept.empty()) {
        // Frames spread thinly over many background codewords leave none with enough members. Failing
        // would throw away five readings the user just spoke; growing again from the best-populated
        // codeword rebuilds the codebook from the data instead.
        size_t best = 0;
        for (size_t j = 1; j < stats.size(); ++j)
            if (stats[j].count > stats[best].count)
                best = j;
        kept.push_back(m_codewords[best]);
    }
    *keptCount = static_cast<int>(kept.size());
    kept.resize(m_codewords.size(), std::vector<double>(m_dim, 0.0));
    m_codewords = std::move(kept);
    return true;
}

void CodebookTrainer::Split(int row, int slot)
{
    std::vector<const double*> members;
    for (size_t t = 0; t < m_owner.size(); ++t)
        if (m_owner[t] == row)
            members.push_back(m_vectors[t].data());
    SplitCodewords halves = SplitCodeword(m_codewords[static_cast<size_t>(row)], members, m_dim);
    m_codewords[static_cast<size_t>(row)] = std::move(halves.kept);
    m_codewords[static_cast<size_t>(slot)] = std::move(halves.added);
}

void CodebookTrainer::Grow(int* activeCount)
{
    const int slots = static_cast<int>(m_codewords.size());
    const double limit = kGrowthLimitShare * m_averageWeight;
    int last = *activeCount - 1;
    double widest = kSearchBound;
    while (!(widest <= limit)) {
        Lloyd(last + 1);
        const std::vector<MemberStats> stats = MemberStatistics();
        int row = 0;
        widest = -1.0;
        for (int l = 0; l <= last; ++l) {
            const MemberStats& s = stats[static_cast<size_t>(l)];
            const double spread = s.count > 0 ? s.distanceSum / s.count : 0.0;
            if (spread > widest) {
                widest = spread;
                row = l;
            }
        }
        ++last;
        if (last == slots)
            break;
        if (widest > limit)
            Split(row, last);
    }
    *activeCount = last;
}

bool CodebookTrainer::Train(int totalFrames)
{
    if (m_vectors.empty() || m_codewords.empty() || m_referenceSize < 1 || totalFrames < 0)
        return false;
    Lloyd(static_cast<int>(m_codewords.size()));
    int active = 0;
    if (!Prune(totalFrames, &active))
        return true;
    Grow(&active);
    Lloyd(active);
    return true;
}

TrainedCodebook CodebookTrainer::Finish() const
{
    TrainedCodebook result;
    const std::vector<MemberStats> stats = MemberStatistics();
    for (size_t j = 0; j < m_codewords.size(); ++j) {
        if (stats[j].count == 0)
            continue;
        const double spread = stats[j].distanceSum / stats[j].count;
        if (spread == 0.0)
            continue;
        AppendAsFloat(m_codewords[j], &result.codewords);
        result.weights.push_back(static_cast<float>(spread));
        ++result.size;
    }
    return result;
}

bool CodebookTrainer::Adapt(const float* codewords, const float* weights, int size, TrainedCodebook* adapted) const
{
    if (m_dim < 1 || m_referenceSize < 1 || m_vectors.empty() || codewords == nullptr || weights == nullptr || size < 1
        || adapted == nullptr)
        return false;
    std::vector<std::vector<double>> words;
    for (int j = 0; j < size; ++j)
        words.push_back(ToDouble(codewords + static_cast<size_t>(j) * m_dim, m_dim));
    const double reach = kAdaptReachShare * m_averageWeight;
    const auto oldCount = static_cast<size_t>(size);
    const auto maxCount = std::max(static_cast<size_t>(m_referenceSize), oldCount);

    // Step 1: place each vector; the distance is taken to the codeword as it stands at that moment.
    std::vector<int> counts(oldCount, 0);
    std::vector<double> distanceSums(oldCount, 0.0);
    std::vector<std::vector<double>> sums(oldCount, std::vector<double>(m_dim, 0.0));
    for (const auto& vector : m_vectors) {
        size_t nearest = words.size();
        double best = kSearchBound;
        for (size_t j = 0; j < words.size(); ++j) {
            const double distance = SquaredDistance(vector.data(), words[j].data(), m_dim);
            if (distance < best) {
                best = distance;
                nearest = j;
            }
        }
        if (nearest < words.size() && best < reach) {
            distanceSums[nearest] += best;
        } else if (words.size() < maxCount) {
            words.push_back(vector);
            counts.push_back(0);
            distanceSums.push_back(0.0);
            sums.emplace_back(m_dim, 0.0);
            nearest = words.size() - 1;
        } else {
            continue;
        }
        ++counts[nearest];
        for (int d = 0; d < m_dim; ++d)
            sums[nearest][static_cast<size_t>(d)] += vector[static_cast<size_t>(d)];
    }

    // Steps 2 and 3: move the codewords to their members and blend the weights.
    const auto n = static_cast<double>(m_vectors.size());
    std::vector<double> newWeights(words.size(), 0.0);
    for (size_t j = 0; j < words.size(); ++j) {
        const bool existing = j < oldCount;
        if (counts[j] > 0) {
            const double share = counts[j] / n;
            for (int d = 0; d < m_dim; ++d) {
                const double mean = sums[j][static_cast<size_t>(d)] / counts[j];
                if (mean == 0.0)
                    continue;
                double& component = words[j][static_cast<size_t>(d)];
                component = existing ? share * mean + (1.0 - share) * component : mean;
            }
        }
        if (existing) {
            const double members = std::max(counts[j], 1);
            newWeights[j] = (members / n) * (distanceSums[j] / members) + (1.0 - members / n) * weights[j];
        } else {
            newWeights[j] = distanceSums[j] / counts[j];
        }
    }

    // Step 4: old codewords always stay (later stages rely on their indices); new ones need a spread.
    TrainedCodebook result;
    for (size_t j = 0; j < words.size(); ++j) {
        const auto weight = static_cast<float>(newWeights[j]);
        if (j >= oldCount && weight == 0.0f)
            continue;
        AppendAsFloat(words[j], &result.codewords);
        result.weights.push_back(weight);
        ++result.size;
    }
    *adapted = std::move(result);
    return true;
}

} // namespace halvox
