#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "Lcg.h"

namespace halvox {

/** π (states), A (states x states, row = from-state) and B (states x symbols, row = state), in double. */
struct HmmParameters
{
    int states = 0;
    int symbols = 0;
    std::vector<double> pi;
    std::vector<double> a;
    std::vector<double> b;

    /** True when the three vectors have the sizes that states and symbols call for. */
    bool IsConsistent() const;
};

/** Divides every row of B by its sum (rows summing to 0 are left alone). */
void NormaliseOutputRows(HmmParameters* model);

/** Σ |next - current| over every entry of π, A and B; NaN when the shapes differ. */
double ModelChange(const HmmParameters& current, const HmmParameters& next);

/** Where a stored model's own output columns sit in a wider scoring symbol space. */
enum class SymbolSide
{
    Upper, ///< the model's symbols are the last ones (they follow the other model's)
    Lower, ///< the model's symbols come first
    All ///< the model covers every symbol
};

/**
 * Left-to-right discrete HMM: random initialisation, confidence-weighted Baum-Welch re-estimation and
 * Viterbi scoring.
 *
 * Symbols given to any function must lie in 0 ... Symbols() - 1; functions check this and refuse the
 * input otherwise. A model created with states < 1 or symbols < 1 refuses everything. Not thread-safe;
 * one instance serves one step of one operation.
 */
class DiscreteHmm
{
public:
    using PassObserver = std::function<void(int pass, double change)>;

    static constexpr double kProbabilityFloor = 1e-6;
    /** A convergence threshold at or above this value means "do not train". */
    static constexpr double kNoTrainingThreshold = 99999.0;
    static constexpr int kMaxPasses = 1000;

    DiscreteHmm(int states, int symbols);

    int States() const { return m_model.states; }
    int Symbols() const { return m_model.symbols; }

    /**
     * Adds one training sequence: length >= 2 symbols in range and as many confidences (finite, >= 0,
     * the largest above 0). Confidences are divided by the sequence's largest. False (nothing added)
     * on any violation.
     */
    [[nodiscard]] bool AddTrainingSequence(const int* symbols, const float* confidences, int length);
    int SequenceCount() const { return static_cast<int>(m_sequences.size()); }

    /** The fixed starting model of a training from scratch; the generator is re-seeded with 0 first. */
    void InitialiseRandom();

    /**
     * Loads a stored model (float π of States(), A of States()^2, B of States() x ownSymbols) into this
     * model's symbol space: π and A floored; the own columns floored and placed by `side`; every other
     * column 1e-6. Upper needs ownSymbols <= Symbols() (the own columns are the last ones), Lower the
     * same (the own columns are the first ones), All needs ownSymbols == Symbols(). Serves scoring and
     * the start of a model update alike.
     */
    [[nodiscard]] bool LoadStoredModel(
        const float* pi, const float* a, const float* b, int ownSymbols, SymbolSide side);

    const HmmParameters& Model() const { return m_model; }
    /** Replaces the model; false when the shape differs from (States(), Symbols()). */
    [[nodiscard]] bool SetModel(const HmmParameters& model);

    /**
     * Re-estimate of one training sequence from the current model. Floors, in the model itself, the
     * allowed transitions and the output entries it visits, so later passes and change measures see them.
     */
    [[nodiscard]] bool ReestimateSequence(int index, HmmParameters* estimate);

    /**
     * One pass: the re-estimates of every training sequence, in order, averaged; B rows renormalised
     * when the sequences differ in length. False without training sequences.
     */
    [[nodiscard]] bool ReestimateAverage(HmmParameters* estimate);

    /** Makes `next` the model and returns the change from the previous one; NaN (nothing replaced) on a wrong shape. */
    double ReplaceModel(const HmmParameters& next);

    /** Called after every training pass with the pass number (from 1) and the change of that pass. */
    void SetPassObserver(PassObserver observer) { m_observer = std::move(observer); }

    /**
     * Trains the current model until a pass changes it by no more than `convergence`, at most
     * kMaxPasses passes. Returns the passes run: 0 when convergence >= kNoTrainingThreshold, -1 when
     * there is nothing to train on.
     */
    int Train(double convergence);

    /** π, A and B as floats into arrays of States(), States()^2 and States() x Symbols(); A at least 1e-6. */
    void Export(float* pi, float* a, float* b) const;

    /**
     * Average base-10 log-likelihood per frame of the best left-to-right path (a negative number, higher
     * is better). Leaves the model untouched, so a model may score many sequences. Empty when the
     * sequence is empty or holds a symbol out of range.
     */
    std::optional<double> Score(const int* sequence, int length) const;

private:
    struct TrainingSequence
    {
        std::vector<int> symbols;
        std::vector<double> weights; // normalised confidence, at least 1e-5: weight of the observed symbol
    };

    bool IsUsable() const { return m_model.states > 0 && m_model.symbols > 0; }
    double& A(int from, int to);
    double& B(int state, int symbol);
    void Forward(const std::vector<int>& symbols);
    void Backward(const std::vector<int>& symbols);

    HmmParameters m_model;
    std::vector<TrainingSequence> m_sequences;
    Lcg m_generator;
    PassObserver m_observer;
    std::vector<double> m_alpha; // scaled forward values, frame-major
    std::vector<double> m_beta; // scaled backward values, frame-major
    std::vector<double> m_scale; // c_t
};

} // namespace halvox
