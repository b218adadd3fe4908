#include "LpcCepstrumFrontEnd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace halvox {
namespace {

constexpr double kPreEmphasis = 0.95;
// The cepstral log is taken to this rounded base, not to e; the difference is far below float resolution
// but keeps features identical to models trained before.
constexpr double kLogBase = 2.718282;
constexpr float kLowCepstrumWeights[] = {0.4f, 0.65f, 0.8f, 0.9f};
constexpr int kWeightedCount = 4;

bool IsAllZero(const int16_t* frame, int length)
{
    return std::all_of(frame, frame + length, [](int16_t sample) { return sample == 0; });
}

// Peak normalisation, pre-emphasis and Hamming window in one pass.
std::vector<double> PrepareFrame(const int16_t* frame, int length)
{
    int peak = 0;
    for (int n = 0; n < length; ++n) {
        peak = std::max(peak, std::abs(static_cast<int>(frame[n])));
    }
    const double scale = peak == 0 ? 1.0 : static_cast<double>(peak);
    std::vector<double> weighted(length);
    double previous = 0.0;
    for (int n = 0; n < length; ++n) {
        const double normalised = frame[n] / scale;
        const double emphasised = n == 0 ? normalised : normalised - kPreEmphasis * previous;
        previous = normalised;
        const double window = 0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * n / (length - 1));
        weighted[n] = window * emphasised;
    }
    return weighted;
}

std::vector<double> Autocorrelation(const std::vector<double>& x, int maxLag)
{
    const int length = static_cast<int>(x.size());
    std::vector<double> r(maxLag + 1, 0.0);
    for (int k = 0; k <= maxLag; ++k) {
        for (int n = 0; n + k < length; ++n) {
            r[k] += x[n] * x[n + k];
        }
    }
    return r;
}

// Durbin recursion in predictor form; returns a_0 ... a_p with a_0 = 1.
std::vector<double> PredictorCoefficients(const std::vector<double>& r, int order)
{
    std::vector<double> a(order + 1, 0.0);
    std::vector<double> previous(order + 1, 0.0);
    a[0] = 1.0;
    double error = r[0];
    for (int i = 1; i <= order; ++i) {
        double acc = r[i];
        for (int j = 1; j < i; ++j) {
            acc -= a[j] * r[i - j];
        }
        const double reflection = acc / error;
        previous = a;
        a[i] = reflection;
        for (int j = 1; j < i; ++j) {
            a[j] = previous[j] - reflection * previous[i - j];
        }
        error *= 1.0 - reflection * reflection;
    }
    return a;
}

std::vector<double> Cepstrum(const std::vector<double>& a, double gain, int order)
{
    const int lpcOrder = static_cast<int>(a.size()) - 1;
    const auto coefficient = [&](int j) { return j <= lpcOrder ? a[j] : 0.0; };
    std::vector<double> c(order + 1, 0.0);
    c[0] = std::log(gain) / std::log(kLogBase);
    for (int n = 1; n <= order; ++n) {
        double sum = coefficient(n);
        for (int k = 1; k < n; ++k) {
            sum += (static_cast<double>(k) / n) * c[k] * coefficient(n - k);
        }
        c[n] = sum;
    }
    return c;
}

} // namespace

LpcCepstrumFrontEnd::LpcCepstrumFrontEnd(const LpcCepstrumParams& params)
    : m_params(params)
{
}

int LpcCepstrumFrontEnd::FeatureDim() const
{
    return IsValid() ? m_params.cepstralOrder + 1 : 0;
}

bool LpcCepstrumFrontEnd::IsValid() const
{
    return m_params.windowLength >= 2 && m_params.frameShift >= 1 && m_params.lpcOrder >= 1
        && m_params.cepstralOrder >= 0;
}

bool LpcCepstrumFrontEnd::ComputeFrame(const int16_t* frame, float* out) const
{
    if (!IsValid() || frame == nullptr || IsAllZero(frame, m_params.windowLength)) {
        return false;
    }
    const std::vector<double> r = Autocorrelation(PrepareFrame(frame, m_params.windowLength), m_params.lpcOrder);
    const std::vector<double> a = PredictorCoefficients(r, m_params.lpcOrder);
    double residual = r[0];
    for (int j = 1; j <= m_params.lpcOrder; ++j) {
        residual -= a[j] * r[j];
    }
    const std::vector<double> c = Cepstrum(a, std::sqrt(residual), m_params.cepstralOrder);

    std::vector<float> vector(c.size());
    for (size_t n = 0; n < c.size(); ++n) {
        const float weight = n < kWeightedCount ? kLowCepstrumWeights[n] : 1.0f;
        vector[n] = static_cast<float>(weight * c[n]);
        // A perfectly predictable frame leaves no residual (log 0) and a rounding error can make it
        // negative (NaN); either value would spread through every later distance.
        if (!std::isfinite(vector[n])) {
            return false;
        }
    }
    std::copy(vector.begin(), vector.end(), out);
    return true;
}

int LpcCepstrumFrontEnd::Compute(
    const int16_t* samples, int count, int startFrame, int endFrame, float* out, int maxFrames) const
{
    if (!IsValid() || out == nullptr) {
        return 0;
    }
    const long long wanted = static_cast<long long>(endFrame) - startFrame;
    const int frames = static_cast<int>(std::clamp<long long>(wanted, 0, std::max(maxFrames, 0)));
    const int dim = FeatureDim();
    const int window = m_params.windowLength;
    std::vector<int16_t> frame(window);
    std::vector<float> last(dim, 0.0f);
    for (int f = 0; f < frames; ++f) {
        const long long first = (static_cast<long long>(startFrame) + f) * m_params.frameShift;
        for (int n = 0; n < window; ++n) {
            const long long index = first + n;
            frame[n] = (samples != nullptr && index >= 0 && index < count) ? samples[index] : int16_t {0};
        }
        float* vector = out + static_cast<size_t>(f) * dim;
        if (ComputeFrame(frame.data(), vector)) {
            std::copy(vector, vector + dim, last.begin());
        } else {
            std::copy(last.begin(), last.end(), vector);
        }
    }
    return frames;
}

} // namespace halvox
