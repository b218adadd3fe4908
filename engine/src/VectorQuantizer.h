#pragma once

#include <vector>

namespace halvox {

/** Which fixed set of per-dimension distance weights the quantiser uses. */
enum class DimensionWeightKind
{
    Default, ///< 1 + ((D - 1) / 2) * sin(pi * d / (D - 1)): the middle cepstra count most
    Unit, ///< every dimension 1
    RecordingCheck ///< the default shaped further for the live-versus-recording check
};

/**
 * Turns feature vectors into codeword symbols with a per-frame confidence.
 *
 * The quantiser copies what it is given, so callers may release their buffers after a Load call.
 * Every Load/Use function validates its sizes and returns false (changing nothing) on bad input.
 * A quantiser created with dim < 1 refuses everything.
 */
class VectorQuantizer
{
public:
    explicit VectorQuantizer(int dim);

    int Dim() const { return m_dim; }
    int FrameCount() const { return m_frameCount; }
    int CodebookSize() const { return m_codebookSize; }

    /** frames: count * dim floats, frame after frame; count >= 0 (0 clears). */
    [[nodiscard]] bool LoadFrames(const float* frames, int count);

    /**
     * codewords: size * dim floats; weights: size floats (mean squared member distance of each codeword);
     * size >= 1. A weight of 0, above 100, negative or not a number is replaced by 1.0 so that the
     * confidence formula stays finite.
     */
    [[nodiscard]] bool LoadCodebook(const float* codewords, const float* weights, int size);

    /** The default weights are in force until another set is chosen. */
    void UseDimensionWeights(DimensionWeightKind kind);

    /** weights: dim floats, used as given. */
    [[nodiscard]] bool UseGivenDimensionWeights(const float* weights);

    const std::vector<float>& DimensionWeights() const { return m_dimensionWeights; }

    /**
     * Weights from the spread of the loaded frames against a reference codebook: for each dimension,
     * population variance over the frames divided by that over the reference codewords. The weights
     * replace the current ones and are returned; empty (nothing changed) when no frames are loaded or
     * refSize < 1. A dimension in which the reference codewords do not vary gets weight 1, since the
     * ratio would be infinite and poison every distance.
     */
    std::vector<float> DeriveDimensionWeights(const float* refCodewords, int refSize);

    /**
     * Quantises the loaded frames: symbols and confidences each receive FrameCount() values.
     * Returns false (writing nothing) when no codebook is loaded or an output is null while frames exist.
     */
    [[nodiscard]] bool Quantize(int* symbols, float* confidences) const;

    /**
     * Sum of the squared Euclidean distances from `codeword` (dim floats) to the codewords of `codebook`
     * (size * dim floats), taken in ascending order at positions first ... last - 1. Positions outside
     * 0 ... size are clipped; 0 when nothing remains or the input is unusable.
     */
    static double NearestCodewordSum(
        const float* codeword, const float* codebook, int size, int dim, int first, int last);

private:
    double WeightedDistance(const float* frame, const float* codeword) const;

    int m_dim;
    int m_frameCount = 0;
    int m_codebookSize = 0;
    std::vector<float> m_frames;
    std::vector<float> m_codewords;
    std::vector<float> m_codewordWeights;
    std::vector<float> m_dimensionWeights;
};

/** The weight set of a kind for `dim` dimensions (empty when dim < 1). */
std::vector<float> MakeDimensionWeights(DimensionWeightKind kind, int dim);

} // namespace halvox
