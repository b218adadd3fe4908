#pragma once

#include <cstddef>
#include <vector>

namespace halvox {

/** A codebook as the trainer hands it out: codewords in float, each with its mean member distance. */
struct TrainedCodebook
{
    int size = 0;
    std::vector<float> codewords; ///< size x dim
    std::vector<float> weights; ///< size
};

/** The two codewords a split leaves in place of one. */
struct SplitCodewords
{
    std::vector<double> kept; ///< takes the old codeword's place
    std::vector<double> added; ///< goes to the next free slot
};

/**
 * Splits `codeword` (dim values) by its members (pointers to dim values each). p is the member farthest
 * from the codeword and q the member farthest from p (first on ties for both). When they coincide the two
 * halves are the codeword nudged down and up by 1e-12 relative; otherwise they are moved a fifth of the way
 * towards q and p. A codeword without members is kept and copied.
 */
SplitCodewords SplitCodeword(const std::vector<double>& codeword, const std::vector<const double*>& members, int dim);

/**
 * The k-means codebook builder of enrolment (pruning, growing by splits) and the on-line adaptation of a
 * user codebook after an accepted verification.
 *
 * Distances are squared Euclidean without dimension weights. Codewords stay in double until Finish or
 * Adapt rounds them to float, so that the exact "nothing changed" test of the Lloyd passes is stable.
 * Every function refuses (false, nothing changed) input of the wrong size; no function throws on data.
 */
class CodebookTrainer
{
public:
    explicit CodebookTrainer(int dim);

    int Dim() const { return m_dim; }
    int VectorCount() const { return static_cast<int>(m_vectors.size()); }

    /** Appends count vectors of Dim() floats (call once per repetition). */
    [[nodiscard]] bool AddVectors(const float* vectors, int count);

    /** Mean of every loaded vector in double (zeros when none are loaded). */
    std::vector<double> Mean() const;

    /** The background codebook: its size bounds the codebook, its mean weight sets the split and adapt scales. */
    [[nodiscard]] bool SetReference(const float* codewords, const float* weights, int size);
    double AverageReferenceWeight() const { return m_averageWeight; }

    /** The starting codewords of Train; their number is the codebook's slot count. */
    [[nodiscard]] bool SetInitial(const float* codewords, int size);

    /**
     * Lloyd passes over every slot, pruning of codewords with fewer than trunc(totalFrames / 60) members,
     * and, when something was pruned, growth by splitting the widest codeword until the widest is within
     * 0.7 of the reference's mean weight or every slot is used. Needs vectors, a reference and a start.
     */
    [[nodiscard]] bool Train(int totalFrames);

    /** The codewords whose members lie at a non-zero mean distance, in slot order, with that distance. */
    TrainedCodebook Finish() const;

    /**
     * Moves `current` (size codewords with weights) towards the loaded vectors: each vector joins its nearest
     * codeword when it lies within 1.8 reference mean weights, otherwise it opens a new codeword while the
     * reference's size allows. Old codewords keep their places and are never dropped; new ones without
     * spread are. Needs a reference.
     */
    [[nodiscard]] bool Adapt(const float* codewords, const float* weights, int size, TrainedCodebook* adapted) const;

    /** Number of codewords that took part in the last assignment. */
    int ActiveCount() const { return m_activeCount; }

private:
    struct MemberStats
    {
        int count = 0;
        double distanceSum = 0.0;
    };

    void Assign(int activeCount);
    bool UpdateCodewordsFromMembers(int activeCount);
    void Lloyd(int activeCount);
    std::vector<MemberStats> MemberStatistics() const;
    bool Prune(int totalFrames, int* keptCount);
    void Grow(int* activeCount);
    void Split(int row, int slot);

    int m_dim;
    std::vector<std::vector<double>> m_vectors;
    std::vector<std::vector<double>> m_codewords; // the slots
    int m_referenceSize = 0;
    double m_averageWeight = 0.0;
    std::vector<int> m_owner; // codeword of each vector in the last assignment
    int m_activeCount = 0;
};

} // namespace halvox
