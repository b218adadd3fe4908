#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "EngineContext.h"

namespace halvox::tool {

/** One recording's analysis in verification mode, kept so that it can be verified against many models. */
struct AnalysedProbe
{
    bool taken = false; ///< endpoint detection and the per-reading analysis accepted it
    bool live = false; ///< the live check's verdict
    double liveRatio = 0.0; ///< the live check's W = Q / V: at most 1 for a live verdict
    bool wordRecognised = false; ///< the enrolment word check (off in the dialog) would pass this reading
    int sex = 0;
    int frameCount = 0;
    std::vector<float> features; ///< slot 0 as extracted
};

/** What one verification decided, as the engine reports it in its decisions. */
struct VerifyOutcome
{
    bool decided = false; ///< the engine reached a decision (and wrote its line)
    bool accepted = false;
    bool updated = false;
    double ratio = 0.0; ///< M
    double threshold = 0.0; ///< trained ratio + margin
    double Score() const { return ratio - threshold; } ///< below 0: accepted
};

/**
 * An engine context set up exactly as the voice dialog sets it up (analysis, noise, engine, copy, HMM, EPD
 * and security parameters; per-user folders; the word check off), driven through the engine's operations.
 * One instance per thread.
 */
class EvalEngine
{
public:
    EvalEngine(const std::string& engineFolder, int enrolRepeat, float margin);

    /**
     * Enrols `readings` in order as the dialog does: a reading that the endpoint detection or the
     * per-reading checks refuse is skipped and the next one takes its place. Trains once enrolRepeat
     * readings were accepted. Returns the number of readings used (accepted or refused) on success.
     */
    std::optional<int> Enrol(const std::string& userId, const std::string& code, const std::string& wordText,
        bool trimEnd, const std::vector<std::vector<int16_t>>& readings, std::string& error);

    /** Endpoint detection, features, gender and the live check of one verification recording. */
    AnalysedProbe Analyse(std::vector<int16_t> samples, const std::string& code, bool trimEnd);

    /** Verifies an analysed probe against a user's model; adapt asks for the model update on acceptance. */
    VerifyOutcome Verify(const AnalysedProbe& probe, const std::string& userId, const std::string& code, bool adapt);

private:
    void SelectWord(const std::string& userId, const std::string& code, const std::string& wordText);

    EngineContext m_context;
};

} // namespace halvox::tool
