#pragma once

#include <optional>

// What the engine's operations decided, as numbers. The status and label lines carry the same figures as
// text for the voice dialog and the result log; tools built into the same process read them from here
// instead of parsing those lines back, which would lose precision and tie them to the line layout.
namespace halvox {

/** Scores of one reading under the two background models: X (male) and Y (female). */
struct GenderScores
{
    double male = 0.0;
    double female = 0.0;
};

/** The gender decision of one reading: 0 male, 1 female, and the scores it was made from. */
struct GenderOutcome
{
    int sex = 0;
    GenderScores scores;
};

/** A verification's comparison of the score ratio with the user's threshold, in single precision. */
struct VerificationDecision
{
    bool accepted = false;
    float ratio = 0.0f; ///< M = X / Y
    double userScore = 0.0; ///< X, the reading under the user's model
    double backgroundScore = 0.0; ///< Y, the reading under the word's background model
    float trainedRatio = 0.0f; ///< what the enrolment readings scored
    float securityMargin = 0.0f;
    float threshold = 0.0f; ///< trainedRatio + securityMargin, summed as floats
};

/** The live-versus-recording comparison of one reading. */
struct LiveCheckDecision
{
    bool live = false;
    double backgroundScore = 0.0; ///< Q, the reading under the background model
    double scaledRecordingScore = 0.0; ///< V = S x copyFactor, S under the recording model
    double ratio = 0.0; ///< W = Q / V: at most 1 when live (both scores are negative)
};

/**
 * The latest decision of each operation on a context. An operation empties its own entries when it starts
 * and fills those it reaches, so an empty entry means the operation failed before deciding (labelText says
 * why) or did not run that step.
 */
struct OperationDecisions
{
    std::optional<GenderOutcome> gender; ///< CheckSexSpeech
    std::optional<double> sameWordDistance; ///< CheckSexSpeech, enrolment repetitions after the first
    /// CheckSexSpeech, the first enrolment repetition with the word check on; false also when the vocabulary
    /// file cannot be read
    std::optional<bool> wordRecognised;
    std::optional<VerificationDecision> verification; ///< Verify
    std::optional<LiveCheckDecision> liveCheck; ///< VCopy
};

} // namespace halvox
