#include "EvalStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace halvox::tool {

namespace {

// Number of values strictly below the threshold in a sorted vector.
std::size_t CountBelow(const std::vector<double>& sorted, double threshold)
{
    return static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), threshold) - sorted.begin());
}

ErrorRates SortedRatesAt(const std::vector<double>& genuine, const std::vector<double>& impostor, double threshold)
{
    ErrorRates rates;
    rates.threshold = threshold;
    if (!impostor.empty())
        rates.falseAcceptance
            = static_cast<double>(CountBelow(impostor, threshold)) / static_cast<double>(impostor.size());
    if (!genuine.empty())
        rates.falseRejection
            = 1.0 - static_cast<double>(CountBelow(genuine, threshold)) / static_cast<double>(genuine.size());
    return rates;
}

std::vector<double> Sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

std::vector<double> CandidateThresholds(const std::vector<double>& genuine, const std::vector<double>& impostor)
{
    std::vector<double> all = genuine;
    all.insert(all.end(), impostor.begin(), impostor.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (!all.empty())
        all.push_back(all.back() + 1.0);
    return all;
}

} // namespace

ErrorRates RatesAt(const std::vector<double>& genuine, const std::vector<double>& impostor, double threshold)
{
    return SortedRatesAt(Sorted(genuine), Sorted(impostor), threshold);
}

ErrorRates EqualErrorRate(const std::vector<double>& genuine, const std::vector<double>& impostor)
{
    if (genuine.empty() || impostor.empty())
        return {};
    const std::vector<double> g = Sorted(genuine), i = Sorted(impostor);
    const std::vector<double> values = CandidateThresholds(g, i);
    std::vector<double> candidates = values;
    for (std::size_t k = 0; k + 1 < values.size(); ++k)
        candidates.push_back(0.5 * (values[k] + values[k + 1]));
    ErrorRates best;
    double bestGap = 2.0;
    for (const double threshold : candidates) {
        const ErrorRates rates = SortedRatesAt(g, i, threshold);
        const double gap = std::fabs(rates.falseAcceptance - rates.falseRejection);
        if (gap < bestGap || (gap == bestGap && threshold < best.threshold)) {
            bestGap = gap;
            best = rates;
        }
    }
    const double mean = 0.5 * (best.falseAcceptance + best.falseRejection);
    best.falseAcceptance = best.falseRejection = mean;
    return best;
}

std::vector<ErrorRates> DetCurve(const std::vector<double>& genuine, const std::vector<double>& impostor)
{
    const std::vector<double> g = Sorted(genuine), i = Sorted(impostor);
    std::vector<ErrorRates> curve;
    for (const double threshold : CandidateThresholds(g, i))
        curve.push_back(SortedRatesAt(g, i, threshold));
    return curve;
}

double SessionAcceptance(const std::vector<std::vector<bool>>& acceptedSeries, int length)
{
    if (length < 1)
        return 0.0;
    long sessions = 0, accepted = 0;
    for (const auto& series : acceptedSeries) {
        const int n = static_cast<int>(series.size());
        if (n == 0)
            continue;
        const int starts = n < length ? 1 : n;
        const int span = std::min(n, length);
        for (int start = 0; start < starts; ++start) {
            bool any = false;
            for (int k = 0; k < span && !any; ++k)
                any = series[static_cast<std::size_t>((start + k) % n)];
            ++sessions;
            accepted += any ? 1 : 0;
        }
    }
    return sessions == 0 ? 0.0 : static_cast<double>(accepted) / static_cast<double>(sessions);
}

} // namespace halvox::tool
