#include "EvalEngine.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "CheckSexSpeech.h"
#include "EndpointOperation.h"
#include "Train.h"
#include "VCopy.h"
#include "Verify.h"
#include "WordCheck.h"
#include "WorkMemoryAccess.h"

namespace halvox::tool {

EvalEngine::EvalEngine(const std::string& engineFolder, int enrolRepeat, float margin)
{
    std::string folder = engineFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    CopyText(m_context.folder, folder.c_str(), kTextSize - 1);
    m_context.perUserFolders = 1;
    // The voice dialog's fixed engine parameters.
    m_context.sampleRate = 11025;
    m_context.maxDurationMs = 3000;
    m_context.windowLength = 240;
    m_context.frameShift = 80;
    m_context.noiseMode = 0;
    m_context.noiseParam2 = 0.0;
    m_context.noiseParam3 = 1;
    m_context.copyFactor = 2.4;
    m_context.wordCheck = 0;
    m_context.sameWordThreshold = 1.2f;
    m_context.adaptOnAccept = 1;
    m_context.convergence = 0.0005;
    m_context.epdMinFrames = 60;
    m_context.epdMaxFrames = 250;
    m_context.securityMargin = margin;
    m_context.maxRepeat = enrolRepeat;
}

void EvalEngine::SelectWord(const std::string& userId, const std::string& code, const std::string& wordText)
{
    std::memset(m_context.userId, 0, sizeof m_context.userId);
    CopyText(m_context.userId, userId.c_str());
    std::memset(m_context.wordCode, 0, sizeof m_context.wordCode);
    CopyText(m_context.wordCode, code.c_str());
    if (!wordText.empty()) {
        std::memset(m_context.wordText, 0, sizeof m_context.wordText);
        CopyText(m_context.wordText, wordText.c_str());
    }
}

std::optional<int> EvalEngine::Enrol(const std::string& userId, const std::string& code, const std::string& wordText,
    bool trimEnd, const std::vector<std::vector<int16_t>>& readings, std::string& error)
{
    SelectWord(userId, code, wordText);
    m_context.mode = 1;
    std::error_code ec;
    std::filesystem::create_directories(std::string(m_context.folder) + "user/" + userId, ec);
    int accepted = 0, used = 0;
    for (const auto& reading : readings) {
        if (accepted == m_context.maxRepeat)
            break;
        ++used;
        std::vector<int16_t> samples = reading;
        const int count = static_cast<int>(samples.size());
        if (GetEndpointShort(m_context, samples.data(), count, trimEnd ? 1 : 0) == 0)
            continue;
        if (CheckSexSpeech(m_context, samples.data(), count, accepted) == 0)
            continue;
        ++accepted;
    }
    if (accepted < m_context.maxRepeat) {
        error = "only " + std::to_string(accepted) + " readings were accepted for enrolment";
        return std::nullopt;
    }
    if (Train(m_context) == 0) {
        error = std::string("training failed: ") + m_context.labelText;
        return std::nullopt;
    }
    return used;
}

AnalysedProbe EvalEngine::Analyse(std::vector<int16_t> samples, const std::string& code, bool trimEnd)
{
    AnalysedProbe probe;
    SelectWord(m_context.userId, code, "");
    m_context.mode = 2;
    const int count = static_cast<int>(samples.size());
    if (GetEndpointShort(m_context, samples.data(), count, trimEnd ? 1 : 0) == 0)
        return probe;
    if (CheckSexSpeech(m_context, samples.data(), count, 0) == 0)
        return probe;
    WorkMemory* work = UsableWorkMemory(m_context);
    if (work == nullptr)
        return probe;
    const FeatureSlot& slot = work->slots.front();
    probe.frameCount = slot.frameCount;
    probe.features.assign(slot.features.begin(),
        slot.features.begin() + static_cast<std::ptrdiff_t>(slot.frameCount) * m_context.featureDim);
    probe.sex = m_context.sex;
    probe.wordRecognised = CheckVocabularyWord(m_context, *work, m_context.sex);
    probe.live = VCopy(m_context) == 1;
    if (m_context.decisions.liveCheck)
        probe.liveRatio = m_context.decisions.liveCheck->ratio;
    probe.taken = true;
    return probe;
}

VerifyOutcome EvalEngine::Verify(
    const AnalysedProbe& probe, const std::string& userId, const std::string& code, bool adapt)
{
    VerifyOutcome outcome;
    WorkMemory* work = UsableWorkMemory(m_context);
    if (!probe.taken || work == nullptr)
        return outcome;
    // Verification moves slot 0 in place; every trial starts from the reading as extracted.
    FeatureSlot& slot = work->slots.front();
    std::copy(probe.features.begin(), probe.features.end(), slot.features.begin());
    slot.frameCount = probe.frameCount;
    m_context.sex = probe.sex;
    m_context.mode = 2;
    m_context.adaptOnAccept = adapt ? 1 : 0;
    SelectWord(userId, code, "");
    const int result = halvox::Verify(m_context);
    if (const auto& decision = m_context.decisions.verification) {
        outcome.decided = true;
        outcome.ratio = decision->ratio;
        outcome.threshold = decision->threshold;
    }
    outcome.accepted = result == 1;
    outcome.updated = m_context.modelUpdated != 0;
    return outcome;
}

} // namespace halvox::tool
