#pragma once

#include "EngineContext.h"

namespace halvox {

/**
 * One accepted recording into the repetition's feature slot, followed by the checks that decide whether
 * the repetition counts: the speaker's gender (always), the distance to the first repetition (enrolment,
 * index > 0) and the vocabulary word check (enrolment, index 0, when the context's wordCheck is on).
 *
 * samples/count are the buffer and count just given to GetEndpointShort (pre-filtered by it); its
 * endpoints select the frames. Index 0 resets the gender counters; an accepted repetition adds one to
 * maleCount or femaleCount. Clears labelText, statusText and the reading's decisions (gender, same-word
 * distance, word check) first; the gender line goes to statusText, the figures of each check reached to
 * context.decisions.
 *
 * @return 1 when the repetition is accepted; 0 when it is rejected or cannot be analysed (labelText says
 *         why: missing models, a slot index outside 0 ... maxRepeat - 1, no usable work memory, no frames).
 *         Never throws.
 */
int CheckSexSpeech(EngineContext& context, short* samples, int count, int index);

} // namespace halvox
