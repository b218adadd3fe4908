#include "DiscreteHmm.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace halvox {

namespace {

constexpr double kFloor = DiscreteHmm::kProbabilityFloor;
// An observed symbol never weighs less than this, so a frame of low confidence still counts a little.
constexpr double kSmallestObservedWeight = 1e-5;
// Weight of every symbol that was not observed in a frame.
constexpr double kUnobservedWeight = 1e-6;
constexpr double kViterbiStart = -1e300;

double Floored(double value)
{
    return value < kFloor ? kFloor : value;
}

std::size_t Index(int row, int column, int width)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}

HmmParameters ZeroModel(int states, int symbols)
{
    HmmParameters model;
    model.states = states;
    model.symbols = symbols;
    model.pi.assign(static_cast<std::size_t>(states), 0.0);
    model.a.assign(static_cast<std::size_t>(states) * static_cast<std::size_t>(states), 0.0);
    model.b.assign(static_cast<std::size_t>(states) * static_cast<std::size_t>(symbols), 0.0);
    return model;
}

bool SymbolsInRange(const int* symbols, int length, int symbolCount)
{
    return std::all_of(symbols, symbols + length, [symbolCount](int s) { return s >= 0 && s < symbolCount; });
}

// Transitions of a left-to-right model: stay, or move to the next state; the last state only stays.
bool IsAllowedTransition(int from, int to, int states)
{
    return to == from || (to == from + 1 && from < states - 1);
}

double AbsoluteDifferenceSum(const std::vector<double>& current, const std::vector<double>& next)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < current.size(); ++i)
        sum += std::fabs(next[i] - current[i]);
    return sum;
}

} // namespace

bool HmmParameters::IsConsistent() const
{
    if (states < 1 || symbols < 1)
        return false;
    const auto n = static_cast<std::size_t>(states);
    return pi.size() == n && a.size() == n * n && b.size() == n * static_cast<std::size_t>(symbols);
}

void NormaliseOutputRows(HmmParameters* model)
{
    for (int i = 0; i < model->states; ++i) {
        const auto row = model->b.begin() + static_cast<std::ptrdiff_t>(Index(i, 0, model->symbols));
        double sum = 0.0;
        for (int k = 0; k < model->symbols; ++k)
            sum += row[k];
        if (sum == 0.0)
            continue;
        for (int k = 0; k < model->symbols; ++k)
            row[k] /= sum;
    }
}

double ModelChange(const HmmParameters& current, const HmmParameters& next)
{
    if (current.states != next.states || current.symbols != next.symbols || !current.IsConsistent()
        || !next.IsConsistent())
        return std::numeric_limits<double>::quiet_NaN();
    return AbsoluteDifferenceSum(current.pi, next.pi) + AbsoluteDifferenceSum(current.a, next.a)
        + AbsoluteDifferenceSum(current.b, next.b);
}

DiscreteHmm::DiscreteHmm(int states, int symbols)
{
    if (states > 0 && symbols > 0)
        m_model = ZeroModel(states, symbols);
}

double& DiscreteHmm::A(int from, int to)
{
    return m_model.a[Index(from, to, m_model.states)];
}

double& DiscreteHmm::B(int state, int symbol)
{
    return m_model.b[Index(state, symbol, m_model.symbols)];
}

bool DiscreteHmm::AddTrainingSequence(const int* symbols, const float* confidences, int length)
{
    if (!IsUsable() || symbols == nullptr || confidences == nullptr || length < 2
        || !SymbolsInRange(symbols, length, m_model.symbols))
        return false;
    double largest = 0.0;
    for (int t = 0; t < length; ++t) {
        const double confidence = confidences[t];
        if (!std::isfinite(confidence) || confidence < 0.0)
            return false;
        largest = std::max(largest, confidence);
    }
    if (!(largest > 0.0))
        return false; // nothing to normalise by: every frame would weigh 0 / 0
    TrainingSequence sequence;
    sequence.symbols.assign(symbols, symbols + length);
    sequence.weights.resize(static_cast<std::size_t>(length));
    for (int t = 0; t < length; ++t)
        sequence.weights[static_cast<std::size_t>(t)] = std::max(confidences[t] / largest, kSmallestObservedWeight);
    m_sequences.push_back(std::move(sequence));
    return true;
}

void DiscreteHmm::InitialiseRandom()
{
    if (!IsUsable())
        return;
    const int n = m_model.states;
    const int m = m_model.symbols;
    m_generator.Reseed(0);
    std::fill(m_model.pi.begin(), m_model.pi.end(), 1.0 / n);
    std::fill(m_model.a.begin(), m_model.a.end(), 0.0);
    A(n - 1, n - 1) = 1.0;
    // The draw order (diagonal first, then the outputs row by row) is part of the model's identity:
    // the same enrolment must give the same model file.
    for (int i = 0; i < n - 1; ++i)
        A(i, i) = Floored(m_generator.NextUnit());
    for (int i = 0; i < n - 1; ++i)
        A(i, i + 1) = Floored(1.0 - A(i, i));
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < m; ++k)
            B(i, k) = Floored(m_generator.NextUnit());
    NormaliseOutputRows(&m_model);
}

bool DiscreteHmm::LoadStoredModel(const float* pi, const float* a, const float* b, int ownSymbols, SymbolSide side)
{
    if (!IsUsable() || pi == nullptr || a == nullptr || b == nullptr || ownSymbols < 1 || ownSymbols > m_model.symbols
        || (side == SymbolSide::All && ownSymbols != m_model.symbols))
        return false;
    const int n = m_model.states;
    const int offset = side == SymbolSide::Upper ? m_model.symbols - ownSymbols : 0;
    for (int i = 0; i < n; ++i)
        m_model.pi[static_cast<std::size_t>(i)] = Floored(pi[i]);
    for (std::size_t i = 0; i < m_model.a.size(); ++i)
        m_model.a[i] = Floored(a[i]);
    std::fill(m_model.b.begin(), m_model.b.end(), kFloor);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < ownSymbols; ++k)
            B(i, offset + k) = Floored(b[Index(i, k, ownSymbols)]);
    return true;
}

bool DiscreteHmm::SetModel(const HmmParameters& model)
{
    if (!IsUsable() || model.states != m_model.states || model.symbols != m_model.symbols || !model.IsConsistent())
        return false;
    m_model = model;
    return true;
}

void DiscreteHmm::Forward(const std::vector<int>& symbols)
{
    const int n = m_model.states;
    const int length = static_cast<int>(symbols.size());
    m_alpha.assign(static_cast<std::size_t>(length) * static_cast<std::size_t>(n), 0.0);
    m_scale.assign(static_cast<std::size_t>(length), 0.0);
    double scale = 0.0;
    for (int i = 0; i < n; ++i) {
        const double value = Floored(B(i, symbols[0]) * m_model.pi[static_cast<std::size_t>(i)]);
        m_alpha[Index(0, i, n)] = value;
        scale += value;
    }
    m_scale[0] = scale;
    for (int i = 0; i < n; ++i)
        m_alpha[Index(0, i, n)] /= scale;
    for (int t = 1; t < length; ++t) {
        scale = 0.0;
        for (int j = 0; j < n; ++j) {
            double reach = 0.0;
            for (int i = 0; i < n; ++i)
                reach += m_alpha[Index(t - 1, i, n)] * A(i, j);
            const double value = Floored(reach * B(j, symbols[static_cast<std::size_t>(t)]));
            m_alpha[Index(t, j, n)] = value;
            scale += value;
        }
        m_scale[static_cast<std::size_t>(t)] = scale;
        for (int j = 0; j < n; ++j)
            m_alpha[Index(t, j, n)] /= scale;
    }
}

void DiscreteHmm::Backward(const std::vector<int>& symbols)
{
    const int n = m_model.states;
    const int length = static_cast<int>(symbols.size());
    m_beta.assign(static_cast<std::size_t>(length) * static_cast<std::size_t>(n), 0.0);
    for (int i = 0; i < n; ++i)
        m_beta[Index(length - 1, i, n)] = 1.0 / m_scale[static_cast<std::size_t>(length - 1)];
    for (int t = length - 2; t >= 0; --t) {
        const int next = symbols[static_cast<std::size_t>(t + 1)];
        for (int i = 0; i < n; ++i) {
            double sum = 0.0;
            for (int j = 0; j < n; ++j)
                sum += B(j, next) * m_beta[Index(t + 1, j, n)] * A(i, j);
            m_beta[Index(t, i, n)] = Floored(sum) / m_scale[static_cast<std::size_t>(t)];
        }
    }
}

bool DiscreteHmm::ReestimateSequence(int index, HmmParameters* estimate)
{
    if (!IsUsable() || estimate == nullptr || index < 0 || index >= SequenceCount())
        return false;
    const TrainingSequence& sequence = m_sequences[static_cast<std::size_t>(index)];
    const std::vector<int>& symbols = sequence.symbols;
    const int n = m_model.states;
    const int m = m_model.symbols;
    const int length = static_cast<int>(symbols.size());
    Forward(symbols);
    Backward(symbols);

    HmmParameters result = ZeroModel(n, m);
    std::vector<double> xiSum(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0.0);
    std::vector<double> gammaSum(static_cast<std::size_t>(n), 0.0); // frames 0 ... T - 2
    std::vector<double> gammaTotal(static_cast<std::size_t>(n), 0.0); // every frame
    // Per state and symbol: posterior mass of the frames that observed the symbol, plain and weighted.
    std::vector<double> observed(result.b.size(), 0.0);
    std::vector<double> observedWeighted(result.b.size(), 0.0);
    std::vector<double> xi(xiSum.size(), 0.0);
    std::vector<double> gamma(static_cast<std::size_t>(n), 0.0);

    const auto addFrame = [&](int t) {
        const int symbol = symbols[static_cast<std::size_t>(t)];
        const double weight = sequence.weights[static_cast<std::size_t>(t)];
        for (int i = 0; i < n; ++i) {
            const double g = gamma[static_cast<std::size_t>(i)];
            gammaTotal[static_cast<std::size_t>(i)] += g;
            observed[Index(i, symbol, m)] += g;
            observedWeighted[Index(i, symbol, m)] += g * weight;
        }
    };

    for (int t = 0; t + 1 < length; ++t) {
        const int next = symbols[static_cast<std::size_t>(t + 1)];
        double total = 0.0;
        std::fill(xi.begin(), xi.end(), 0.0);
        for (int i = 0; i < n; ++i) {
            for (int j = i; j <= std::min(i + 1, n - 1); ++j) {
                if (!IsAllowedTransition(i, j, n))
                    continue;
                A(i, j) = Floored(A(i, j));
                B(j, next) = Floored(B(j, next));
                const double value = m_alpha[Index(t, i, n)] * m_beta[Index(t + 1, j, n)] * B(j, next) * A(i, j);
                xi[Index(i, j, n)] = value;
                total += value;
            }
        }
        std::fill(gamma.begin(), gamma.end(), 0.0);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const double value = xi[Index(i, j, n)] / total;
                xiSum[Index(i, j, n)] += value;
                gamma[static_cast<std::size_t>(i)] += value;
            }
            gammaSum[static_cast<std::size_t>(i)] += gamma[static_cast<std::size_t>(i)];
        }
        if (t == 0)
            result.pi = gamma;
        addFrame(t);
    }

    // The last frame has no pair posterior; its weight is alpha * beta with the scaled values, which is
    // the posterior divided by the last scale factor.
    const int last = length - 1;
    double alphaSum = 0.0;
    for (int j = 0; j < n; ++j)
        alphaSum += m_alpha[Index(last, j, n)];
    for (int i = 0; i < n; ++i)
        gamma[static_cast<std::size_t>(i)] = m_alpha[Index(last, i, n)] * m_beta[Index(last, i, n)] / alphaSum;
    addFrame(last);

    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            result.a[Index(i, j, n)] = xiSum[Index(i, j, n)] / gammaSum[static_cast<std::size_t>(i)];
    for (int i = 0; i < n; ++i) {
        const double total = gammaTotal[static_cast<std::size_t>(i)];
        for (int k = 0; k < m; ++k) {
            // Frames that saw another symbol weigh 1e-6 each for symbol k.
            const double unobserved = std::max(total - observed[Index(i, k, m)], 0.0);
            result.b[Index(i, k, m)] = (kUnobservedWeight * unobserved + observedWeighted[Index(i, k, m)]) / total;
        }
    }
    *estimate = std::move(result);
    return true;
}

bool DiscreteHmm::ReestimateAverage(HmmParameters* estimate)
{
    if (!IsUsable() || estimate == nullptr || m_sequences.empty())
        return false;
    HmmParameters sum = ZeroModel(m_model.states, m_model.symbols);
    HmmParameters single;
    bool equalLengths = true;
    for (int r = 0; r < SequenceCount(); ++r) {
        if (!ReestimateSequence(r, &single))
            return false;
        equalLengths = equalLengths
            && m_sequences[static_cast<std::size_t>(r)].symbols.size() == m_sequences.front().symbols.size();
        for (std::size_t i = 0; i < sum.pi.size(); ++i)
            sum.pi[i] += single.pi[i];
        for (std::size_t i = 0; i < sum.a.size(); ++i)
            sum.a[i] += single.a[i];
        for (std::size_t i = 0; i < sum.b.size(); ++i)
            sum.b[i] += single.b[i];
    }
    const double count = static_cast<double>(m_sequences.size());
    for (auto* values : {&sum.pi, &sum.a, &sum.b})
        for (double& value : *values)
            value /= count;
    // Averaging re-estimates of different lengths leaves the output rows off unit sum.
    if (!equalLengths)
        NormaliseOutputRows(&sum);
    *estimate = std::move(sum);
    return true;
}

double DiscreteHmm::ReplaceModel(const HmmParameters& next)
{
    if (!IsUsable() || next.states != m_model.states || next.symbols != m_model.symbols || !next.IsConsistent())
        return std::numeric_limits<double>::quiet_NaN();
    const double change = ModelChange(m_model, next);
    m_model = next;
    return change;
}

int DiscreteHmm::Train(double convergence)
{
    if (convergence >= kNoTrainingThreshold)
        return 0;
    if (!IsUsable() || m_sequences.empty())
        return -1;
    HmmParameters estimate;
    for (int pass = 1; pass <= kMaxPasses; ++pass) {
        if (!ReestimateAverage(&estimate))
            return -1;
        const double change = ReplaceModel(estimate);
        if (m_observer)
            m_observer(pass, change);
        if (change <= convergence)
            return pass;
    }
    return kMaxPasses;
}

void DiscreteHmm::Export(float* pi, float* a, float* b) const
{
    if (!IsUsable() || pi == nullptr || a == nullptr || b == nullptr)
        return;
    std::transform(m_model.pi.begin(), m_model.pi.end(), pi, [](double v) { return static_cast<float>(v); });
    // Disallowed transitions are stored as 1e-6 so that a loaded model never takes the log of 0.
    std::transform(
        m_model.a.begin(), m_model.a.end(), a, [](double v) { return static_cast<float>(v <= kFloor ? kFloor : v); });
    std::transform(m_model.b.begin(), m_model.b.end(), b, [](double v) { return static_cast<float>(v); });
}

std::optional<double> DiscreteHmm::Score(const int* sequence, int length) const
{
    if (!IsUsable() || sequence == nullptr || length < 1 || !SymbolsInRange(sequence, length, m_model.symbols))
        return std::nullopt;
    const int n = m_model.states;
    const int m = m_model.symbols;
    std::vector<double> logPi(static_cast<std::size_t>(n));
    std::transform(m_model.pi.begin(), m_model.pi.end(), logPi.begin(), [](double v) { return std::log10(v); });
    std::vector<double> logA(m_model.a.size());
    std::transform(m_model.a.begin(), m_model.a.end(), logA.begin(), [](double v) { return std::log10(v); });
    // Only the output columns of symbols that occur are needed.
    std::vector<double> logB(m_model.b.size(), 0.0);
    std::vector<bool> columnReady(static_cast<std::size_t>(m), false);
    for (int t = 0; t < length; ++t) {
        const int symbol = sequence[t];
        if (columnReady[static_cast<std::size_t>(symbol)])
            continue;
        columnReady[static_cast<std::size_t>(symbol)] = true;
        for (int i = 0; i < n; ++i)
            logB[Index(i, symbol, m)] = std::log10(m_model.b[Index(i, symbol, m)]);
    }

    std::vector<double> delta(static_cast<std::size_t>(n));
    std::vector<double> previous(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        delta[static_cast<std::size_t>(i)] = logB[Index(i, sequence[0], m)] + logPi[static_cast<std::size_t>(i)];
    for (int t = 1; t < length; ++t) {
        previous.swap(delta);
        for (int j = 0; j < n; ++j) {
            double best = kViterbiStart;
            for (int k = std::max(j - 1, 0); k <= j; ++k) {
                const double candidate = previous[static_cast<std::size_t>(k)] + logA[Index(k, j, n)];
                if (candidate > best)
                    best = candidate;
            }
            delta[static_cast<std::size_t>(j)] = best + logB[Index(j, sequence[t], m)];
        }
    }
    double best = -std::numeric_limits<double>::max();
    for (int j = 0; j < n; ++j)
        if (delta[static_cast<std::size_t>(j)] > best)
            best = delta[static_cast<std::size_t>(j)];
    return best / length;
}

} // namespace halvox
