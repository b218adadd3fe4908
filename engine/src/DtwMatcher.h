#pragma once

namespace halvox {

/**
 * Distance between two readings of a word by dynamic time warping over their feature vectors (Euclidean
 * local distance), inside a band around the diagonal, with no two vertical steps in a row, normalised by
 * the number of rows walked. Used to make sure that every enrolment repetition repeats the first one.
 *
 * The length rule is deliberately one-sided: the later reading may be at most twice as long as the first
 * one and at least half of it (rounded down). Sequences outside it, sequences of fewer than two frames
 * (a single frame is no word to compare) and paths that stray too far give kFar.
 */
class DtwMatcher
{
public:
    /** Distance that means "not the same word". */
    static constexpr double kFar = 10000.0;

    explicit DtwMatcher(int dim);

    /**
     * @param first       the first repetition, firstFrames vectors of dim floats
     * @param later       the later repetition, laterFrames vectors of dim floats
     * @return the normalised accumulated distance (0 for identical readings), or kFar.
     */
    double Distance(const float* first, int firstFrames, const float* later, int laterFrames) const;

private:
    int m_dim;
};

} // namespace halvox
